#!/usr/bin/env bash
# In Wine's virtual desktop, where a minimised window parks in an icon row: a plain window, a
# browser (chrome.exe, Chrome_WidgetWin_1) and Wine's notepad, minimised before the program
# starts. A run killed while it keeps them, the next start that puts them back and keeps them
# again, then "終了": every window is back with its own styles, enabled, at its own place
# (not the icon row, not -32000, not an off-screen place), the browser restored as browsers
# are at exit, the others minimised; the journal is gone.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

programs=$(new_dir programs)
stand_in "$programs" plain "Again plain"
stand_in "$programs" chrome "Again chrome" --engine
wine notepad >/dev/null 2>&1 &
track $!
plain=$(driver find-window "Again plain" 10000) || fail "no window of plain.exe"
chrome=$(driver find-window "Again chrome" 10000) || fail "no window of chrome.exe"
notepad=$(driver wait-class Notepad 20000) || fail "Wine's notepad did not open"
names=(plain chrome notepad)
declare -A own
for w in "${names[@]}"; do
  own[$w]=$(driver window-state "${!w}")
  driver show "${!w}" 6 || fail "could not minimise $w"
done
# shellcheck disable=SC2016 # evaluated by wait_for
wait_for '[[ $(field iconic "$(driver window-state "$notepad")") == 1 ]]' 5 || fail "notepad is not minimised"
qm_note "minimised before the start: $(driver window-state "$plain")"

all_kept() {
  local w
  for w in "${names[@]}"; do kept_live "${!w}" || return 1; done
}
# previews N: the control page lists N of the three windows.
previews() {
  [[ $(driver list-view "$page" 1002 | tail -n +2 | cut -f1 | grep -cE '^Again |Notepad') -eq $1 ]]
}

dir=$(new_dir kill)
zenta_up "$dir" -K527
page=$(driver item-parent "$panel" 1002) || fail "no control page below the panel"
wait_for "previews 3" 20 || fail "the three windows got no previews"
wait_for all_kept 15 || fail "the first run did not keep them: $(driver window-state "$notepad")"
[[ -s $dir/KeptWindows.ini ]] || fail "kept live without a journal: $(dir_listing "$dir")"
driver terminate "$zenta_pid" || fail "could not end ZENTA.exe"
wait_exit "$ZENTA_PID" 20 || fail "ZENTA.exe did not end"

# The next start puts them back and, as they are minimised, keeps them again.
zenta_up "$dir" -K527
page=$(driver item-parent "$panel" 1002) || fail "no control page below the panel"
wait_for "previews 3" 20 || fail "the three windows got no previews at the next start"
wait_for all_kept 15 || fail "the next start did not keep them again: $(driver window-state "$notepad")"
for w in "${names[@]}"; do qm_note "$w kept again: $(driver window-state "${!w}")"; done

zenta_exit
for w in "${names[@]}"; do qm_note "$w after the exit: $(driver window-state "${!w}")"; done
back_as_own plain "$plain" "${own[plain]}" 1
back_as_own chrome "$chrome" "${own[chrome]}" 0
back_as_own notepad "$notepad" "${own[notepad]}" 1
[[ ! -e $dir/KeptWindows.ini ]] ||
  fail "the journal outlived the exit: $(tr -d '\r' <"$dir/KeptWindows.ini" | paste -sd ' ')"
