#!/usr/bin/env bash
# Without composition (Wine has none) each preview shows a picture of its window: two windows
# in two colours give two previews a screenshot tells apart; a window repainted in another
# colour is followed within a few seconds; the copy to the clipboard is that picture.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

programs=$(new_dir programs)
stand_in "$programs" red "Picture red" --colour ff0000 200 450 400 250
stand_in "$programs" blue "Picture blue" --colour 0000ff 800 450 400 250
red=$(driver find-window "Picture red" 10000) || fail "no red window"
xdotool mousemove 1200 1000

zenta_up "$(new_dir pictures)" -K527
two() { [[ $(zenta_previews "$zenta_pid" | wc -l) -eq 2 ]]; }
wait_for two 20 || fail "the two windows got no previews"

shots=$(new_dir shots)
# centres: "x y" of each preview's centre, one a line.
centres() { zenta_previews "$zenta_pid" | awk '{ print int(($5 + $7) / 2), int(($6 + $8) / 2) }'; }
# colours: the screen's colour at each preview's centre, as red, green, blue or other.
colours() {
  import -window root "$shots/now.png" || return 1
  local x y
  while read -r x y; do
    convert "$shots/now.png" -crop "1x1+$x+$y" -depth 8 txt:- | tail -1 |
      sed -E 's/.*\(([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3/' | awk '{
        if ($1 > 200 && $2 < 60 && $3 < 60) print "red";
        else if ($2 > 200 && $1 < 60 && $3 < 60) print "green";
        else if ($3 > 200 && $1 < 60 && $2 < 60) print "blue";
        else print "other(" $1 "," $2 "," $3 ")" }'
  done < <(centres)
}
seen=""
shows() { seen=$(colours | sort | tr '\n' ' '); [[ $seen == "$1" ]]; }
wait_for "shows 'blue red '" 10 || fail "the previews do not show their windows: $seen"
cp "$shots/now.png" "$shots/red-blue.png"
qm_note "previews: $seen"

start=$(_qm_now_ms)
driver post "$red" 0x8007 0x00ff00 0 || fail "could not recolour the red window"
wait_for "shows 'blue green '" 10 || fail "the repaint was not followed: $seen"
qm_note "the repaint reached its preview in $(($(_qm_now_ms) - start)) ms"

# The green one's menu: "クリップボードにコピー" (the fourth item).
read -r l t r b < <(zenta_previews "$zenta_pid" | while read -r _ _ _ _ pl pt pr pb _; do
  c=$(convert "$shots/now.png" -crop "1x1+$(((pl + pr) / 2))+$(((pt + pb) / 2))" -depth 8 txt:- |
    tail -1)
  [[ $c == *"(0,255,0"* || $c == *"(0,254,0"* ]] && echo "$pl $pt $pr $pb"
done)
[[ -n ${b:-} ]] || fail "no preview is green"
preview_menu_choose "$l" "$t" "$r" "$b" Down Down Down Return
copied() { [[ $(driver clipboard-centre 2>/dev/null) == 00f?00 ]]; }
wait_for copied 5 || fail "the clipboard's picture is not green: $(driver clipboard-centre)"
xdotool mousemove 1200 1000

zenta_exit
