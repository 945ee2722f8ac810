#!/usr/bin/env bash
# A target that answers the probe and then spends 15 s in the handler of the style change
# that hides it: the program gives up on it after a second, so the tray menu opens the panel
# while the target is still inside its handler; once free, the target is kept live off
# screen, and at exit it is put back minimised and enabled.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

programs=$(new_dir programs)
stand_in "$programs" slow "Busy slow" --slow-style=15000
stand_in "$programs" other "Busy other"
slow=$(driver find-window "Busy slow" 10000) || fail "no window of slow.exe"

zenta_up "$(new_dir busy)" -K527
page=$(driver item-parent "$panel" 1002) || fail "no control page below the panel"
two() { [[ $(driver list-view "$page" 1002 | tail -n +2 | cut -f1 | grep -c '^Busy ') -eq 2 ]]; }
wait_for two 20 || fail "the two programs got no previews"

driver show "$slow" 6 || fail "could not minimise slow.exe's window"
wait_for "grep -q 'STYLECHANGING begin' '$programs/slow.out'" 10 ||
  fail "the program made no style change to the minimised window"

# The tray menu opens the panel while the target is still inside its handler.
tray_menu_choose "$panel" Down Return
driver wait-visible "$panel" 1 10000 || fail "the panel did not appear from the tray menu"
grep -q 'STYLECHANGING end' "$programs/slow.out" &&
  fail "the panel came only after the busy target's handler had ended"
qm_note "the panel was shown while slow.exe was inside its 15 s handler"

# Once free, the target is hidden after all: off screen and disabled.
wait_for "grep -q 'STYLECHANGING end' '$programs/slow.out'" 30 || fail "the handler never ended"
state=""
parked() {
  state=$(driver window-state "$slow") || return 1
  [[ $(field iconic "$state") == 0 && $(field enabled "$state") == 0 ]] &&
    (($(field rect "$state" | cut -d' ' -f1) > 9000))
}
wait_for parked 15 || fail "the busy window was not kept live off screen once free: $state"
log_text "$ZENTA_LOG" | grep -q 'is busy (disable): the rest is left for later' ||
  fail "the log does not say the target was busy"

zenta_exit
state=$(driver window-state "$slow") || fail "slow.exe's window went"
[[ "$(field iconic "$state") $(field enabled "$state")" == "1 1" ]] ||
  fail "at exit the busy window was not put back minimised and enabled: $state"
