#!/usr/bin/env bash
# Every ordinary window of another program gets a preview: a translucent borderless pop-up in
# the grid along the left edge of the screen, fitted to the window's shape, and a row on the
# control page. A closed window loses its preview; a minimised one is kept restored far off
# screen and disabled, and is put back minimised, where it was, when the program ends.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

# Opened before the program starts: the detector hands them over in z-order, newest first.
# The sizes make the fitted sizes and the centring offsets fractional, so truncation shows.
driver_session ready open-windows 60 -s 700x400 'Ledger wide' -s 400x300 'Ledger even' -s 300x570 'Ledger tall'
handle_of() { sed -n "s/^window=\([^ ]*\) $1\$/\1/p" "$DRIVER_OUT"; }
wide=$(handle_of 'Ledger wide') even=$(handle_of 'Ledger even') tall=$(handle_of 'Ledger tall')
wide_rect=$(driver window-rect "$wide")
tall_rect=$(driver window-rect "$tall")
size_of() {
  local l t r b
  read -r l t r b <<<"$1"
  echo "$((r - l))x$((b - t))"
}
[[ "$(size_of "$wide_rect") $(size_of "$(driver window-rect "$even")") $(size_of "$tall_rect")" == \
  "700x400 400x300 300x570" ]] || fail "the test windows did not get the sizes asked for"

dir=$(new_dir previews)
zenta_up "$dir" -K527

# The program's visible pop-ups of the preview class (nothing else of it is visible while
# the panel is hidden).
previews() { zenta_previews "$zenta_pid"; }
shown=""
count_is() {
  shown=$(previews) || return 1
  (($(grep -c . <<<"$shown") == $1))
}
wait_for 'count_is 3' 15 || fail "not three previews: $(paste -sd '|' <<<"$shown")"

# Cells are 160x120 from (20, 10) down. Tall 300x570: 63 wide (63.2), at x 20 + 48 (48.5).
# Even 400x300 is exactly 4:3: the whole cell. Wide 700x400: 91 high (91.4), at y 250 + 14.
rects=$(awk '{ print $5, $6, $7, $8 }' <<<"$shown" | sort -n -k2)
[[ $(paste -sd '|' <<<"$rects") == '68 10 131 130|20 130 180 250|20 264 180 355' ]] ||
  fail "previews are not the first three cells, fitted: $(paste -sd '|' <<<"$rects")"
while read -r hwnd style exstyle alpha _ _ _ _ caption; do
  # Pop-up and visible; Wine adds WS_CLIPSIBLINGS. No caption, frame or system menu.
  (((style & 0x90000000) == 0x90000000 && (style & 0x00CC0000) == 0)) ||
    fail "preview $hwnd has style $style"
  (((exstyle & 0x00080080) == 0x00080080)) || fail "preview $hwnd is not a layered tool window: $exstyle"
  ((alpha == 153)) || fail "preview $hwnd has alpha $alpha"
  [[ -z $caption ]] || fail "preview $hwnd has the caption \"$caption\""
done <<<"$shown"

# The control page: its rows are in grid order, hence in the order the windows came.
page=$(driver item-parent "$panel" 1002) || fail "no control page below the panel"
exe=$(basename "$WINE_DRIVER_EXE")
expected=$(printf 'Title\tProcessName\tWinHandle\n')
for t in tall even wide; do expected+=$'\n'"Ledger $t"$'\t'"$exe"$'\t'"${!t}"; done
listed=$(driver list-view "$page" 1002) || fail "cannot read the control page's list"
[[ $listed == "$expected" ]] || fail "control page lists: $(paste -sd '|' <<<"$listed")"

# A closed window: its preview goes with the next scan, the others stay.
driver post "$even" 0x0010 0 0 || fail "could not close a test window"
driver wait-gone "$even" 5000 || fail "the test window did not close"
middle_gone() { ! previews | grep -q ' 20 130 180 250$'; }
wait_for middle_gone 5 ||
  fail "the closed window's preview stays: $(previews | paste -sd '|')"
count_is 2 || fail "closing one window changed the other previews: $(paste -sd '|' <<<"$shown")"

state=""
offscreen() {
  state=$(driver window-state "$tall") || return 1
  local l t r b
  read -r l t r b <<<"$tall_rect"
  # One monitor and no -LAYERED switch: moving it away is the whole trick, so once parked
  # it is opaque again (it is layered, at alpha 0, only while it is being moved).
  [[ $(field rect "$state") == "$((l + 10000)) $((t + 10000)) $((r + 10000)) $((b + 10000))" &&
    $(field iconic "$state") == 0 ]] && ! (($(field exstyle "$state") & 0x80000))
}
driver show "$tall" 6 || fail "could not minimise a test window"
wait_for offscreen 3 || fail "the minimised window was not restored off screen, opaque: $state"
[[ $(field enabled "$state") == 0 ]] || fail "the window parked off screen is enabled: $state"

tray_menu_choose "$panel" Up Return
wait_exit "$ZENTA_PID" 20 || fail "ZENTA.exe still runs after 終了 in the tray menu"
((QM_EXIT_STATUS == 0)) || fail "exit status $QM_EXIT_STATUS"

# The placement as the windows' own process sees it: from outside Wine reports the current
# rectangle as the normal one.
echo state >&"$DRIVER_IN"
wait_for "grep -qx 'end 1' '$DRIVER_OUT'" 10 || fail "the driver did not report its windows"
state=$(sed -n "s/^$tall //p" "$DRIVER_OUT")
[[ "$(field iconic "$state") $(field enabled "$state")" == "1 1" ]] ||
  fail "at exit the parked window was not put back minimised and enabled: $state"
(($(field exstyle "$state") & 0x80000)) && fail "at exit the window is layered: $state"
[[ $(field normal "$state") == "$tall_rect" ]] ||
  fail "at exit its normal place is not $tall_rect: $state"
# A window that was never minimised is left as it was.
state=$(sed -n "s/^$wide //p" "$DRIVER_OUT")
[[ "$(field iconic "$state") $(field enabled "$state") $(field rect "$state")" == "0 1 $wide_rect" ]] ||
  fail "the window left in place was disturbed: $state"

driver show "$tall" 9 || fail "could not restore the test window"
back_in_place() { [[ $(driver window-rect "$tall") == "$tall_rect" ]]; }
wait_for back_in_place 5 ||
  fail "restored, the window is at $(driver window-rect "$tall"), not $tall_rect"
driver_session_end
