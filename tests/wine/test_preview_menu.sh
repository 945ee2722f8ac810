#!/usr/bin/env bash
# A right click on a preview opens its context menu; "最後尾に移動" chosen by keyboard moves
# that window to the end of the control page's list.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

driver_session ready open-windows 60 -s 640x400 'Menu first' -s 400x300 'Menu second'

dir=$(new_dir menu)
zenta_up "$dir" -K527
page=$(driver item-parent "$panel" 1002) || fail "no control page below the panel"
# Previews as "top left right bottom", the first cell first.
previews() {
  zenta_previews "$zenta_pid" | awk '{ print $6, $5, $7, $8 }' | sort -n
}
two() { [[ $(previews | wc -l) -eq 2 ]]; }
wait_for two 15 || fail "the two windows got no previews: $(previews | paste -sd '|')"
rows() { driver list-view "$page" 1002 | tail -n +2 | cut -f1; }
first=$(rows | head -n 1)
read -r t l r b <<<"$(previews | head -n 1)"

preview_menu_choose "$l" "$t" "$r" "$b" Down Down Right Down Down Down Return
at_tail() { [[ $(rows | tail -n 1) == "$first" ]]; }
wait_for at_tail 5 || fail "\"$first\" is not last after 最後尾に移動: $(rows | paste -sd '|')"
xdotool mousemove 1200 900

zenta_exit
driver_session_end
