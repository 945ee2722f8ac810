#!/usr/bin/env bash
# The control page's two "変更" buttons: the transparency dialog with 100 makes the preview
# opaque; the property dialog with 上に並べる moves the previews to the top edge and writes
# LOCATION=0, and after a restart they come up at the top. A margin typed beyond its range
# keeps the old one. TRANSPARENT=10 and LIMIT=60 written by hand are used and survive an OK.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

driver_session ready open-windows 60 -s 640x400 'Settings check' 'Settings other'

dir=$(new_dir settings)
ini=$dir/QuillmoorForTundra.ini
zenta_up "$dir" -K527
page=$(driver item-parent "$panel" 1008) || fail "no control page"
zenta_show_panel "$panel"
# The previews, a line each: alpha left top right bottom.
previews=""
found_previews() {
  previews=$(zenta_previews "$zenta_pid" | awk '{ print $4, $5, $6, $7, $8 }')
  (($(wc -l <<<"$previews") == 2))
}
# Two previews side by side along the top edge, or one above the other along the left one.
along() {
  found_previews || return 1
  local a1 l1 t1 a2 l2 t2
  { read -r a1 l1 t1 _ _ && read -r a2 l2 t2 _ _; } <<<"$previews"
  if [[ $1 == top ]]; then ((t1 == t2 && l1 != l2 && t1 < 50)); else ((l1 == l2 && t1 != t2 && l1 < 50)); fi
}
wait_for 'along left' 15 || fail "no two previews along the left edge: $(paste -sd '|' <<<"$previews")"
grep -qv '^153 ' <<<"$previews" && fail "the previews do not start at alpha 153: $previews"

# Opens a dialog with a "変更" button of the page; prints the dialog's handle.
open_dialog() {
  driver press "$page" "$1" || fail "could not press $1"
  driver wait-window "$2" 10000 || fail "no dialog \"$2\" after pressing $1"
}
ok() {
  driver press "$1" 1 || fail "could not press OK"
  driver wait-gone "$1" 10000 || fail "OK did not close the dialog"
}

dialog=$(open_dialog 1010 '透明度設定')
driver set-text "$dialog" 1026 100 || fail "could not type into the transparency field"
ok "$dialog"
opaque() { found_previews && ! grep -qv '^255 ' <<<"$previews"; }
wait_for opaque 10 || fail "the previews' alpha after 100 %: $(paste -sd '|' <<<"$previews")"
grep -q '^TRANSPARENT=100' "$ini" || fail "TRANSPARENT=100 not saved: $(cat "$ini" 2>/dev/null)"

dialog=$(open_dialog 1008 'プロパティ設定')
top_button=$(driver item "$dialog" 1010) || fail "no 上に並べる button"
driver post "$top_button" 0x00F5 0 0 || fail "could not click 上に並べる"  # BM_CLICK
driver set-text "$dialog" 1016 250 || fail "could not type into the left margin"
ok "$dialog"
wait_for 'along top' 10 || fail "the previews did not move to the top edge: $(paste -sd '|' <<<"$previews")"
grep -q '^LOCATION=0' "$ini" || fail "LOCATION=0 not saved: $(cat "$ini")"
grep -q '^LEFTMARGIN=20' "$ini" || fail "the left margin 250 was not refused: $(cat "$ini")"
zenta_exit

# Values beyond what the dialogs offer, as a user may write them, are used as written, and an
# OK that changed nothing leaves them in the file.
sed -i 's/^TRANSPARENT=.*/TRANSPARENT=10\r/; s/^LIMIT=.*/LIMIT=60\r/' "$ini"
zenta_up "$dir" -K527
wait_for 'along top' 15 || fail "after a restart the previews are not at the top: $(paste -sd '|' <<<"$previews")"
grep -qv '^25 ' <<<"$previews" && fail "TRANSPARENT=10 did not give alpha 25: $previews"
page=$(driver item-parent "$panel" 1008) || fail "no control page"
zenta_show_panel "$panel"
ok "$(open_dialog 1008 'プロパティ設定')"
ok "$(open_dialog 1010 '透明度設定')"  # shows 20; opened only once the first OK's save is done
grep -q '^TRANSPARENT=10' "$ini" && grep -q '^LIMIT=60' "$ini" ||
  fail "OK wrote over the user's values: $(cat "$ini")"
zenta_exit
driver_session_end
