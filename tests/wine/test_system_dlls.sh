#!/usr/bin/env bash
# A portable program's folder is anyone's to write to: a dwmapi.dll planted there is never
# loaded; the program binds the real one from the system folder at start-up. Wine is told to
# prefer a native dwmapi.dll, so that a search by its bare name would take the planted one.
# (version.dll, bound the same way for the About box, cannot be shown so: Wine's own DLLs
# load it by bare name as soon as a native one is preferred.)
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

dir=$(new_dir planted)
cp "$QM_BUILD/planted/dwmapi.dll" "$dir/"
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;dwmapi=n,b" zenta_up "$dir"

# The About box (system menu command 0x10) shows the version read from the resource.
driver post "$panel" 0x0112 0x10 0 || fail "could not ask for the About box"
about=$(driver wait-window 'Quillmoor for Tundra' 10000) || fail "no About box"
texts=$(driver window-texts "$about")
grep -q 'Ver\.:[0-9]' <<<"$texts" || fail "the About box shows no version: $(paste -sd '|' <<<"$texts")"
driver press "$about" 1 || fail "could not close the About box"
driver wait-gone "$about" 5000 || fail "the About box stayed open"
zenta_exit

loaded=$(cd "$dir" && ls -- *.loaded 2>/dev/null || true)
[[ -z $loaded ]] || fail "the planted DLL was loaded: $loaded"
[[ $(dir_listing "$dir") == "ExclusionData.ini ZENTA.exe dwmapi.dll" ]] ||
  fail "folder holds: $(dir_listing "$dir")"
