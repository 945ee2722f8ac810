#!/usr/bin/env bash
# The keyboard stays with the user's window: the program starts (its panel stays hidden) and
# previews it, a window opened meanwhile gets a preview, the hover key is pressed and released,
# a previewed window is minimised and kept live off screen, and every key typed all along
# arrives in the window the user works in.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

# The user's window, which has the keyboard when the program starts.
driver_session ready key-window 90 'Focus Notes'
user=$(sed -n 's/^window=\([^ ]*\) Focus Notes$/\1/p' "$DRIVER_OUT")

dir=$(new_dir focus)
zenta_up "$dir" -K527
previews() {
  zenta_previews "$zenta_pid" | awk '{ print $1 }'
}
count_is() { (($(previews | grep -c .) == $1)); }
wait_for 'count_is 1' 15 || fail "the user's window got no preview"

# type_and_check TEXT SO_FAR WHEN: types TEXT, then expects SO_FAR in the user's window.
type_and_check() {
  driver type "$1" || fail "could not type"
  wait_for "typed_is $2" 5 || fail "$3, the keys went astray: $typed (foreground $(driver foreground), user $user)"
}
type_and_check ab ab "after the program started and previewed the window"

# A second window appears behind the user's window and gets its preview.
echo "open Focus Mail" >&"$DRIVER_IN"
wait_for "grep -q '^window=.* Focus Mail$' '$DRIVER_OUT'" 10 || fail "the second window did not open"
mail=$(sed -n 's/^window=\([^ ]*\) Focus Mail$/\1/p' "$DRIVER_OUT")
wait_for 'count_is 2' 15 || fail "the second window got no preview"
type_and_check cd abcd "after a new preview appeared"

# The hover key, pressed and released (Windows key + W).
driver chord 0x5B 0x57 || fail "could not press the hover key"
wait_for "log_text '$ZENTA_LOG' | grep -q 'HOVER END'" 10 ||
  fail "the hover key did not start and end hover mode: $(log_text "$ZENTA_LOG" | tail -n 3 | paste -sd '|')"
log_text "$ZENTA_LOG" | grep -q 'HOTKEY ON! THUMBNAIL HOVER START' || fail "hover mode never started"
type_and_check ef abcdef "after the hover key"

# Minimised, the second window is kept live far off screen, without taking the keyboard.
read -r l t _ _ <<<"$(driver window-rect "$mail")"
driver show "$mail" 6 || fail "could not minimise the second window"
parked() { [[ $(driver window-rect "$mail") == "$((l + 10000)) $((t + 10000)) "* ]]; }
wait_for parked 5 || fail "the minimised window was not kept off screen: $(driver window-rect "$mail")"
type_and_check gh abcdefgh "after a minimised window was kept live"
[[ $(driver foreground) == "$user" ]] || fail "the user's window is no longer in front: $(driver foreground)"

zenta_exit
driver_session_end
