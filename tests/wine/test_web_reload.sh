#!/usr/bin/env bash
# Web reload switched on from a preview's menu: a stand-in "chrome.exe" gets WM_KEYDOWN VK_F5
# in its render widget about a second later, a "firefox.exe" in its first child; a program of
# another name shows the reload items grayed. The interval dialog of a chrome.exe preview
# takes ten seconds. (Under Wine 8 another process cannot read a pop-up menu's items: the
# handle MN_GETHMENU gives is no menu there, so grayed items are seen by their effect.)
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

# menu NAME KEYS...: right-clicks the preview of that program's window and answers its menu
# with the keys; "Up Right" opens "Webリロード", the last item, on its first item "する".
INTERVAL_CAPTION='更新間隔設定'
menu() {
  local name=$1 row t l r b popup
  shift
  row=$(rows | grep -nx "Reload $name" | cut -d: -f1)
  read -r t l r b <<<"$(previews | sed -n "${row}p")"
  xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) sleep 0.3 click 3
  popup=$(driver wait-class '#32768' 10000) || fail "no context menu on the preview of $name"
  xdotool windowfocus "$root" key "$@" || fail "xdotool failed"
  # A grayed item chosen leaves the menu open under some systems: close it.
  driver wait-gone "$popup" 3000 >/dev/null || xdotool key Escape Escape
  driver wait-gone "$popup" 3000 || fail "the context menu of $name stayed open"
}
keys() { grep -c '^F5' "$browsers/$1.out" || true; }
# wait_key NAME COUNT LOW_MS HIGH_MS: the COUNT-th F5 arrives between LOW and HIGH ms from now,
# in the window web reload names for NAME. Generous bounds: the first reload comes a second
# after switching on, never at once.
wait_key() {
  local start elapsed got
  start=$(_qm_now_ms)
  wait_for "(( \$(keys $1) >= $2 ))" $(($4 / 1000 + 4)) || fail "$1.exe got no F5 number $2"
  elapsed=$(($(_qm_now_ms) - start))
  ((elapsed >= $3 && elapsed <= $4)) || fail "$1.exe got F5 number $2 after $elapsed ms"
  got=$(grep '^F5' "$browsers/$1.out" | tr -d '\r' | sort -u | paste -sd '|')
  [[ $got == "F5 $(receiver "$1") lParam=0" ]] || fail "$1.exe: wrong receiver or key: $got"
}
receiver() { case $1 in chrome) echo Chrome_RenderWidgetHostHWND ;; firefox) echo MozillaWindowClass ;; esac; }

menu chrome Up Right Return
wait_key chrome 1 500 4000
menu firefox Up Right Return
wait_key firefox 1 500 4000

# The interval: ten seconds taken while on restarts the cycle, one second, then ten.
menu chrome Up Right Up Return
dialog=$(driver find-window "$INTERVAL_CAPTION" 10000) || fail "no interval dialog from the menu"
driver set-text "$dialog" 1054 10 || fail "could not type into the interval field"
driver press "$dialog" 1 || fail "could not press OK"
driver wait-gone "$dialog" 10000 || fail "OK did not close the interval dialog"
wait_key chrome 2 300 4000
wait_key chrome 3 5000 20000

# Another program's name: the interval item is grayed, choosing it opens nothing.
menu other Up Right Up Return
if driver find-window "$INTERVAL_CAPTION" 3000 >/dev/null 2>&1; then
  fail "the grayed interval item of other.exe opened the dialog"
fi
xdotool mousemove 1200 900

zenta_exit
