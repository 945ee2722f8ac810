#!/usr/bin/env bash
# The property dialog's hot-key field, typed into from outside (SendInput): with another
# program holding Ctrl+Alt+F12, that combination is refused by "重複確認" and by OK; Win+R
# shows "Win + R" and OK stores HVHOTKEY=82, HVMODIFIERS=8. Keys reach the user's window
# again as soon as the field loses the focus, and after the dialog closes: the keyboard hook
# goes with the focus and with the field.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

# Another program holds Ctrl+Alt+F12 (MOD_ALT | MOD_CONTROL).
driver_session held hold-hotkey 3 0x7B 120
hold_in=$DRIVER_IN
hold_out=$DRIVER_OUT

dir=$(new_dir hotkey)
ini=$dir/QuillmoorForTundra.ini
zenta_up "$dir" -K527
page=$(driver item-parent "$panel" 1008) || fail "no control page"
zenta_show_panel "$panel"
driver press "$page" 1008 || fail "could not press 変更"
dialog=$(driver wait-window 'プロパティ設定' 10000) || fail "no property dialog"
field=$(driver item "$dialog" 1116) || fail "no hot-key field"

# click_on WINDOW: the user's left click in its middle.
click_on() {
  local l t r b
  read -r l t r b <<<"$(driver window-rect "$1")"
  xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click 1
}
shown=""
shows() {
  shown=$(driver window-texts "$field" | head -n 1)
  [[ $shown == "$1" ]]
}
# type_into_field TEXT VK...: clicks into the field and presses the keys together until it
# shows TEXT (the first chord may come before the field has the focus).
type_into_field() {
  local want=$1 try
  shift
  for try in 1 2 3 4 5; do
    click_on "$field"
    driver chord "$@" || fail "could not press $*"
    wait_for "shows '$want'" 2 && return 0
  done
  fail "the field shows \"$shown\", not \"$want\", after the keys $*"
}
# answer_box TEXT: a message box with TEXT appears and is closed with OK.
answer_box() {
  local box
  box=$(driver wait-window 'Quillmoor for Tundra' 10000) || fail "no message box (wanted: $1)"
  driver window-texts "$box" | grep -qF "$1" || fail "the message box says: $(driver window-texts "$box" | paste -sd '|')"
  driver press "$box" 1 || fail "could not close the message box"
  driver wait-gone "$box" 5000 || fail "the message box stayed"
}

# Wine's layout names Ctrl "Control" (Windows' US layout: "Ctrl").
type_into_field 'Control + Alt + F12' 0xA2 0xA4 0x7B
click_on "$(driver item "$dialog" 1117)"
answer_box 'このキーの組み合わせは既に他のアプリケーションで使用されています。'
driver press "$dialog" 1 || fail "could not press OK"
answer_box 'HoverKey設定は既に他のアプリケーションで使用されています。'
driver wait-visible "$dialog" 1 1000 || fail "OK closed the dialog with a key another program holds"

type_into_field 'Win + R' 0x5B 0x52
# The user turns to another window while the dialog is open: the field loses the focus, and
# the hook goes with it.
driver_session ready key-window 60 'Hotkey Notes'
notes=$(sed -n 's/^window=\([^ ]*\) .*/\1/p' "$DRIVER_OUT")
driver type ab || fail "could not type"
wait_for 'typed_is ab' 10 || fail "keys typed into another window beside the dialog went astray: $typed"

# OK while the field has the focus again: the dialog goes, and the hook with it.
type_into_field 'Win + R' 0x5B 0x52
driver press "$dialog" 1 || fail "could not press OK"
driver wait-gone "$dialog" 10000 || fail "OK did not close the dialog after Win+R"
grep -q '^HVHOTKEY=82' "$ini" || fail "HVHOTKEY=82 not saved: $(cat "$ini" 2>/dev/null)"
grep -q '^HVMODIFIERS=8' "$ini" || fail "HVMODIFIERS=8 not saved: $(cat "$ini")"

click_on "$notes"
driver type cd || fail "could not type"
wait_for 'typed_is abcd' 10 || fail "keys typed after the dialog closed went astray: $typed"
driver_session_end
zenta_exit
echo >&"$hold_in"
wait_for "grep -qx released '$hold_out'" 10 || fail "the driver did not let go of Ctrl+Alt+F12"
