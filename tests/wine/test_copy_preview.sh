#!/usr/bin/env bash
# "クリップボードにコピー" chosen by keyboard from a preview's context menu empties the clipboard
# and leaves one CF_BITMAP of the preview's client size on it, owned by the preview. The
# pointer is over the preview, so its sizing frame is on: the frame is not in the picture.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

driver_session ready open-windows 60 -s 640x400 'Copy me'
zenta_up "$(new_dir copy)" -K527
has_preview() { [[ -n $(zenta_previews "$zenta_pid") ]]; }
wait_for has_preview 15 || fail "the window got no preview"
read -r preview l t r b <<<"$(zenta_previews "$zenta_pid" | awk '{ print $1, $5, $6, $7, $8 }')"
driver clipboard-text stale || fail "could not put a text on the clipboard"

preview_menu_choose "$l" "$t" "$r" "$b" Down Down Down Return
copied() { driver clipboard "$preview" | grep -q ' bitmap=[0-9]'; }
wait_for copied 5 || fail "no bitmap on the clipboard: $(driver clipboard "$preview")"

clip=$(driver clipboard "$preview")
qm_note "clipboard: $clip"
style=$(zenta_previews "$zenta_pid" | awk '{ print $2 }')
((style & 0x40000)) || fail "the preview had no sizing frame: the test shows nothing about it"
[[ $clip =~ " bitmap="([0-9x]+)" client="([0-9x]+)$ && ${BASH_REMATCH[1]} == "${BASH_REMATCH[2]}" ]] ||
  fail "the bitmap is not of the client size: $clip"
[[ $clip == "owner=$preview "* ]] || fail "the clipboard is not the preview's ($preview): $clip"
# CF_BITMAP once; beside it only what the system derives (CF_DIB, CF_PALETTE, CF_DIBV5).
only_bitmap=' formats=2,((8|9|17),)* '
[[ $clip =~ $only_bitmap ]] || fail "not one CF_BITMAP alone: $clip"
xdotool mousemove 1200 900

zenta_exit
driver_session_end
