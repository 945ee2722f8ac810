#!/usr/bin/env bash
# Wine's own notepad and regedit open, the program started; notepad minimised as soon as both
# have previews and, once it is kept live, "終了" chosen from the tray: notepad is back
# minimised, enabled, with its own styles and, restored, its own rectangle, and the journal
# is gone. Three rounds, as the exit can meet the keeping at any step.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up
plain_desktop_up

wine notepad >/dev/null 2>&1 &
track $!
wine regedit >/dev/null 2>&1 &
track $!
notepad=$(driver wait-class Notepad 20000) || fail "Wine's notepad did not open"
driver wait-class RegEdit_RegEdit 20000 >/dev/null || fail "Wine's regedit did not open"
own=$(driver window-state "$notepad")

for round in 1 2 3; do
  dir=$(new_dir "round$round")
  zenta_up "$dir" -K527
  page=$(driver item-parent "$panel" 1002) || fail "no control page below the panel"
  both() {
    local rows
    rows=$(driver list-view "$page" 1002 | tail -n +2 | cut -f1)
    grep -q 'Notepad' <<<"$rows" && grep -q 'Registry Editor' <<<"$rows"
  }
  wait_for both 20 || fail "round $round: notepad and regedit got no previews"
  driver show "$notepad" 6 || fail "could not minimise notepad"
  # The menu is open while notepad is taken over: 終了 comes the moment it is kept, whatever
  # the keeping still has to do.
  menu=$(tray_menu_open "$panel") || exit 1
  wait_for "kept_live $notepad" 15 || fail "round $round: notepad was not kept live: $(driver window-state "$notepad")"
  menu_keys "$menu" Up Return
  qm_note "round $round: 終了 when kept as $(driver window-state "$notepad")"
  wait_exit "$ZENTA_PID" 20 || fail "round $round: ZENTA.exe still runs after 終了"
  qm_note "round $round: after the exit: $(driver window-state "$notepad"), folder: $(dir_listing "$dir")"
  qm_note "round $round: the log says: $(log_text "$ZENTA_LOG" | grep -E 'busy|answer|journal' | paste -sd '|')"
  back_as_own "round $round: notepad" "$notepad" "$own" 1
  [[ ! -e $dir/KeptWindows.ini ]] ||
    fail "round $round: the journal outlived the exit: $(tr -d '\r' <"$dir/KeptWindows.ini" | paste -sd ' ')"
done
