#!/usr/bin/env bash
# A window whose program stops reading its messages gets "応答なし" on its preview: a dark
# badge in the preview's bottom-left corner over the picture, which stays; once the program
# reads again the badge goes. The log says each change once.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

programs=$(new_dir programs)
stand_in "$programs" quiet "Quiet green" --colour 00ff00 200 450 400 250
quiet=$(driver find-window "Quiet green" 10000) || fail "no window of quiet.exe"
xdotool mousemove 1200 1000

zenta_up "$(new_dir quiet)" -K527
one() { [[ $(zenta_previews "$zenta_pid" | wc -l) -eq 1 ]]; }
wait_for one 20 || fail "the window got no preview"
read -r _ _ _ _ left top right bottom _ < <(zenta_previews "$zenta_pid")

shots=$(new_dir shots)
# pixel X Y: the screen's colour there as "R G B".
pixel() {
  import -window root "$shots/now.png" || return 1
  convert "$shots/now.png" -crop "1x1+$1+$2" -depth 8 txt:- | tail -1 |
    sed -E 's/.*\(([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3/'
}
# looks CORNER CENTRE: the badge's corner (inside its margin) and the preview's centre, each as
# green, dark or other.
kind() { awk '{ if ($2 > 200 && $1 < 60 && $3 < 60) print "green";
  else if ($1 < 70 && $2 < 70 && $3 < 70) print "dark"; else print "other(" $0 ")" }'; }
seen=""
looks() {
  local corner centre
  corner=$(pixel $((left + 5)) $((bottom - 5)) | kind) || return 1
  centre=$(pixel $(((left + right) / 2)) $(((top + bottom) / 2)) | kind) || return 1
  seen="$corner $centre"
  [[ $seen == "$1" ]]
}
wait_for "looks 'green green'" 10 || fail "the preview does not show its green window: $seen"

said() { log_text "$ZENTA_LOG" | grep -c "target 0x[0-9a-f]* $1" || true; }
driver post "$quiet" 0x8008 12000 0 || fail "could not make quiet.exe stop reading"
wait_for "grep -q 'HANG begin' '$programs/quiet.out'" 5 || fail "quiet.exe did not stop reading"
wait_for "[[ \$(said 'does not answer: its preview says so') -eq 1 ]]" 10 ||
  fail "the log does not say that the window does not answer"
wait_for "looks 'dark green'" 5 || fail "no badge over the picture of the hung window: $seen"
cp "$shots/now.png" "$shots/marked.png"
qm_note "marked: the badge's corner is dark, the picture still green"

wait_for "grep -q 'HANG end' '$programs/quiet.out'" 15 || fail "quiet.exe never read again"
wait_for "looks 'green green'" 5 || fail "the badge stayed once the window answered: $seen"
[[ $(said 'answers again') -eq 1 && $(said 'does not answer: its preview says so') -eq 1 ]] ||
  fail "the log does not say each change once"
zenta_exit
