#!/usr/bin/env bash
# First start in an empty folder: the program settles in its own folder and,
# told to exit, writes an empty exclusion list there; -K527 logs to the console.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

expected_ini() { printf '[SYSTEM]\r\nEXCLUSIONNUM=0\r\n'; }

# Started from another folder, it must still write next to the executable.
elsewhere=$(new_dir cwd)
dir=$(new_dir empty)
cd "$elsewhere"
start_zenta "$dir"
zenta_panel >/dev/null || fail "no main panel appeared"
[[ $(dir_listing "$dir") == "ZENTA.exe" ]] || fail "start-up wrote files: $(dir_listing "$dir")"
zenta_exit
[[ $(dir_listing "$dir") == "ExclusionData.ini ZENTA.exe" ]] ||
  fail "folder holds: $(dir_listing "$dir")"
cmp -s <(expected_ini) "$dir/ExclusionData.ini" ||
  fail "ExclusionData.ini differs: $(od -c "$dir/ExclusionData.ini" | head -n 3 | tr '\n' ' ')"
[[ -z $(dir_listing "$elsewhere") ]] || fail "wrote into the starting folder: $(dir_listing "$elsewhere")"
# Without the debug switch the log goes nowhere.
if grep -q 'PORTABLE VERSION START' <<<"$(log_text "$ZENTA_LOG")"; then
  fail "the log reached the console without -K527"
fi

dir=$(new_dir debug)
start_zenta "$dir" -K527
zenta_exit
log=$(log_text "$ZENTA_LOG")
grep -qxF '********** Start Quillmoor for Tundra DEBUG MODE  *******' <<<"$log" ||
  fail "no debug banner in the log: $(head -c 300 <<<"$log")"
grep -qxF 'DEBUG_MODE ON' <<<"$log" || fail "no DEBUG_MODE ON in the log"
grep -qxF 'PORTABLE VERSION START' <<<"$log" || fail "no PORTABLE VERSION START in the log"
# The folder of argv[0]: no trailing backslash, no file name.
want_dir=$(winepath -w "$dir")
grep -qF "CurrentDir=${want_dir%\\}" <<<"$log" || fail "no CurrentDir=${want_dir%\\} in the log"
if grep -qF "CurrentDir=${want_dir%\\}\\" <<<"$log"; then fail "CurrentDir ends in a backslash"; fi
cmp -s <(expected_ini) "$dir/ExclusionData.ini" || fail "ExclusionData.ini differs after -K527"
