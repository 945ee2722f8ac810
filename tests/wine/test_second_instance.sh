#!/usr/bin/env bash
# A second start while the program's mutex exists: a message box says so, and
# after OK the program ends without writing anything.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

caption='２重起動'
text='     Quillmoor for Tundraは既に起動されています.     '

# The driver stands in for the first instance; a line on its stdin releases.
ctl=$(new_dir ctl)
mkfifo "$ctl/in"
exec {hold_in}<>"$ctl/in"
driver hold-mutex "$ZENTA_MUTEX" 120 <&"$hold_in" >"$ctl/out" 2>&1 &
holder=$!
track "$holder"
wait_for "grep -qx held '$ctl/out'" 20 || fail "could not hold the mutex: $(cat "$ctl/out")"

dir=$(new_dir second)
start_zenta "$dir"
box=$(driver wait-window "$caption" 20000) || fail "no window \"$caption\" within 20 s"

# The caption, then the children (the text and, for MB_OK, one button
# labelled OK) in no fixed order.
out=$(driver window-texts "$box") || fail "cannot read the message box"
mapfile -t texts <<<"$out"
[[ ${texts[0]-} == "$caption" ]] || fail "caption is \"${texts[0]-}\""
children=$(printf '%s\n' "${texts[@]:1}" | LC_ALL=C sort)
[[ $children == "$(printf '%s\n' "$text" OK | LC_ALL=C sort)" ]] ||
  fail "expected the text (blanks count) and one OK button, got: $(printf '[%s] ' "${texts[@]:1}")"
info=$(driver window-info "$box") || fail "no information on the message box"
grep -qx 'owner=0x00000000' <<<"$info" || fail "the message box has an owner: $info"
# Nothing is written while the box is up either.
[[ $(dir_listing "$dir") == ZENTA.exe ]] || fail "folder holds: $(dir_listing "$dir")"

driver press "$box" 1 || fail "could not press OK"
wait_exit "$ZENTA_PID" 20 || fail "ZENTA.exe still runs 20 s after OK"
driver wait-gone "$box" 5000 || fail "the message box is still there"
[[ $(dir_listing "$dir") == ZENTA.exe ]] || fail "folder holds: $(dir_listing "$dir")"

echo >&"$hold_in"
wait_exit "$holder" 20 || fail "the driver did not release the mutex"
grep -qx released "$ctl/out" || fail "the driver did not report the release"
