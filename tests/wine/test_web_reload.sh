#!/usr/bin/env bash
# Web reload switched on from a preview's menu: a stand-in "chrome.exe" gets WM_KEYDOWN VK_F5
# in its render widget about a second later, a "firefox.exe" in its first child; ten seconds
# set in the interval dialog take effect; a program of another name has the items grayed.
# (Under Wine 8 another process cannot read a pop-up menu's items: the handle MN_GETHMENU
# gives is no menu there. Grayed items are seen on the screen, and by their effect.)
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

browsers=$(new_dir browsers)
for name in chrome firefox other; do stand_in "$browsers" "$name" "Reload $name"; done

zenta_up "$(new_dir reload)" -K527
page=$(driver item-parent "$panel" 1002) || fail "no control page below the panel"
rows() { driver list-view "$page" 1002 | tail -n +2 | cut -f1; }
three() { [[ $(rows | grep -c '^Reload ') -eq 3 ]]; }
wait_for three 20 || fail "the three programs got no previews: $(rows | paste -sd '|')"

# The rectangle of that program's preview (the page lists them in cell order).
preview_of() {
  local row
  row=$(rows | grep -nx "Reload $1" | cut -d: -f1)
  zenta_previews "$zenta_pid" | awk '{ print $6, $5, $7, $8 }' | sort -n | sed -n "${row}p" |
    awk '{ print $2, $1, $3, $4 }'
}
# menu NAME KEYS...: that program's preview's menu; "Up Right" opens "Webリロード", the last
# item, on its first item "する".
# shellcheck disable=SC2046 # left top right bottom
menu() { preview_menu_choose $(preview_of "$1") "${@:2}"; }
# black_in_submenu NAME: opens that preview's "Webリロード" submenu and prints how many
# pixels of it are black, the colour of an enabled item's text (a grayed one is gray).
black_in_submenu() {
  local menu root l t r b
  # shellcheck disable=SC2046 # left top right bottom
  menu=$(preview_menu_open $(preview_of "$1") Up Right) || exit 1
  sleep 0.5
  read -r l t r b < <(driver process-windows "$zenta_pid" |
    awk -v menu="$menu" '$2 == "#32768" && $1 != menu { print $6, $7, $8, $9 }') ||
    fail "no Webリロード submenu for $1.exe"
  import -window root -crop "$((r - l))x$((b - t))+$l+$t" +repage "$browsers/$1-menu.png" ||
    fail "no picture of $1.exe's submenu"
  root=$(xwininfo -root | awk '/Window id:/ { print $4 }')
  xdotool windowfocus "$root" key Escape Escape
  driver wait-gone "$menu" 5000 || fail "the context menu stayed open after Escape"
  convert "$browsers/$1-menu.png" -format %c histogram:info:- |
    awk '/#000000/ { n = $1 } END { print n + 0 }'
}
keys() { grep -c '^F5' "$browsers/$1.out" || true; }
# wait_key NAME COUNT SECONDS RECEIVER: the COUNT-th F5 comes within SECONDS (generous: the
# exact periods are checked on the simulated clock), and every F5 so far reached RECEIVER, bare.
wait_key() {
  local got
  wait_for "(( \$(keys $1) >= $2 ))" "$3" || fail "$1.exe got no F5 number $2 within $3 s"
  got=$(grep '^F5' "$browsers/$1.out" | tr -d '\r' | sort -u | paste -sd '|')
  [[ $got == "F5 $4 lParam=0" ]] || fail "$1.exe: wrong receiver or key: $got"
}

# A browser's submenu has enabled items ("する", "間隔設定"); another name's has none.
chrome_black=$(black_in_submenu chrome)
((chrome_black > 0)) || fail "chrome.exe's reload items look grayed"
other_black=$(black_in_submenu other)
((other_black == 0)) || fail "other.exe's reload items are not all grayed: $other_black black pixels"

menu chrome Up Right Return
wait_key chrome 1 8 Chrome_RenderWidgetHostHWND
menu firefox Up Right Return
wait_key firefox 1 8 MozillaWindowClass

# Ten seconds taken while on: one second, then ten.
INTERVAL_CAPTION='更新間隔設定'
menu chrome Up Right Up Return
dialog=$(driver find-window "$INTERVAL_CAPTION" 10000) || fail "no interval dialog from the menu"
driver set-text "$dialog" 1054 10 || fail "could not type into the interval field"
driver press "$dialog" 1 || fail "could not press OK"
driver wait-gone "$dialog" 10000 || fail "OK did not close the interval dialog"
wait_key chrome 2 8 Chrome_RenderWidgetHostHWND
wait_key chrome 3 20 Chrome_RenderWidgetHostHWND

# Grayed for another name: choosing the interval item opens nothing.
menu other Up Right Up Return
if driver find-window "$INTERVAL_CAPTION" 3000 >/dev/null 2>&1; then
  fail "the grayed interval item of other.exe opened the dialog"
fi
xdotool mousemove 1200 900

zenta_exit
