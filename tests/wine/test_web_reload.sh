#!/usr/bin/env bash
# Web reload switched on from a preview's menu: a stand-in "chrome.exe" gets WM_KEYDOWN VK_F5
# in its render widget about a second later, a "firefox.exe" in its first child; a program of
# another name shows the three reload items grayed.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

browsers=$(new_dir browsers)
for name in chrome firefox other; do
  cp "$QM_BUILD/fake-browser.exe" "$browsers/$name.exe"
  wine "$(winepath -w "$browsers/$name.exe")" "Reload $name" >"$browsers/$name.out" 2>&1 &
  track $!
  wait_for "grep -sq ready '$browsers/$name.out'" 20 || fail "$name.exe did not start"
done

dir=$(new_dir reload)
start_zenta "$dir" -K527
panel=$(zenta_panel) || fail "no main panel appeared"
zenta_pid=$(driver window-info "$panel" | sed -n 's/^pid=//p')
page=$(driver item-parent "$panel" 1002) || fail "no control page below the panel"
# Previews as "top left right bottom", the first cell first, as the page lists their windows.
previews() {
  driver process-windows "$zenta_pid" |
    awk '$2 ~ /^Quillmoor\.Window\./ { print $7, $6, $8, $9 }' | sort -n
}
rows() { driver list-view "$page" 1002 | tail -n +2 | cut -f1; }
three() { [[ $(rows | grep -c '^Reload ') -eq 3 ]]; }
wait_for three 20 || fail "the three programs got no previews: $(rows | paste -sd '|')"
root=$(xwininfo -root | awk '/Window id:/ { print $4 }')

# open_menu TITLE: right-clicks that window's preview; prints the menu's window.
open_menu() {
  local row t l r b
  row=$(rows | grep -nx "$1" | cut -d: -f1)
  read -r t l r b <<<"$(previews | sed -n "${row}p")"
  xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) sleep 0.3 click 3
  driver wait-class '#32768' 10000 || fail "no context menu on the preview of $1"
}
# reload_on NAME: switches reload on from the menu, waits for the key and checks its timing.
reload_on() {
  local menu states start got elapsed
  menu=$(open_menu "Reload $1")
  states=$(driver menu-states "$menu" 32783 32784 32785 | tr -d '\r' | paste -sd ' ')
  [[ $states == "32783 0 32784 1 32785 0" ]] || fail "$1: reload items not as expected: $states"
  # "Webリロード" is the last item; its first item is "する".
  xdotool windowfocus "$root" key Up Right || fail "xdotool failed"
  start=$(_qm_now_ms)
  xdotool key Return || fail "xdotool failed"
  driver wait-gone "$menu" 5000 || fail "the context menu stayed open"
  wait_for "grep -q '^F5' '$browsers/$1.out'" 8 || fail "$1.exe got no F5 after reload was switched on"
  elapsed=$(($(_qm_now_ms) - start))
  # The first reload comes a second later: never at once, and not much later.
  ((elapsed >= 500 && elapsed <= 4000)) || fail "$1.exe got its F5 after $elapsed ms"
  got=$(grep '^F5' "$browsers/$1.out" | tr -d '\r' | paste -sd '|')
  [[ $got == "F5 $2 lParam=0" ]] || fail "$1.exe: wrong receiver or key: $got"
}
reload_on chrome Chrome_RenderWidgetHostHWND
reload_on firefox MozillaWindowClass

menu=$(open_menu "Reload other")
states=$(driver menu-states "$menu" 32783 32784 32785 | tr -d '\r' | paste -sd ' ')
[[ $states == "32783 1 32784 1 32785 1" ]] || fail "other.exe: reload items not grayed: $states"
xdotool windowfocus "$root" key Escape || fail "xdotool failed"
driver wait-gone "$menu" 5000 || fail "the context menu stayed open after Escape"
xdotool mousemove 1200 900

zenta_exit
