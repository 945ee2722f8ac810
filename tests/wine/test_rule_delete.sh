#!/usr/bin/env bash
# A window that a rule keeps from a preview gets its preview back, without a restart, once the
# rule is deleted on the exclusion page: "条件削除", then Yes in the program's question. The
# rules file written at exit holds no rule.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

driver_session ready open-windows 60 'Rule kept' 'Rule free'

dir=$(new_dir ruledel)
printf '[SYSTEM]\r\nEXCLUSIONNUM=1\r\n[ITEM0]\r\nTITLEFLAG=1\r\nPNAMEFLAG=0\r\nFULLNAMEFLAG=1\r\nTITLE=Rule kept\r\nPNAME=\r\nTPART=\r\n' \
  >"$dir/ExclusionData.ini"
zenta_up "$dir"
zenta_show_panel "$panel"
control=$(driver item-parent "$panel" 1002) || fail "no control page below the panel"
rules=$(driver item-parent "$panel" 1031) || fail "no exclusion page below the panel"
listed=""
# The titles with a preview (the control page's list), sorted, joined by '|'.
listed_is() {
  listed=$(driver list-view "$control" 1002 | tail -n +2 | cut -f1 | LC_ALL=C sort | paste -sd '|')
  [[ $listed == "$1" ]]
}
wait_for "listed_is 'Rule free'" 15 || fail "the previews at start: $listed"
sleep 2  # two more detection ticks: the excluded window would have come by now
listed_is 'Rule free' || fail "the rule did not keep its window from a preview: $listed"
[[ $(driver list-view "$rules" 1031 | tail -n +2) == $'\tRule kept' ]] ||
  fail "the exclusion page lists: $(driver list-view "$rules" 1031 | paste -sd '|')"

driver select-row "$rules" 1031 0 || fail "could not mark the rule"
driver press "$rules" 1042 || fail "could not press 条件削除"
box=$(driver wait-window 'Quillmoor for Tundra' 10000) || fail "no question after 条件削除"
[[ $(zenta_pid "$box") == "$zenta_pid" ]] || fail "the question is not ZENTA.exe's"
driver window-texts "$box" | grep -qF '除外条件を削除しますか？' ||
  fail "the question reads: $(driver window-texts "$box" | paste -sd '|')"
driver press "$box" 6 || fail "could not press Yes"  # IDYES
driver wait-gone "$box" 5000 || fail "Yes did not close the question"
wait_for "listed_is 'Rule free|Rule kept'" 5 || fail "no preview back after the rule went: $listed"
[[ -z $(driver list-view "$rules" 1031 | tail -n +2) ]] || fail "the exclusion page still lists a rule"
zenta_exit
[[ $(tr -d '\r' <"$dir/ExclusionData.ini") == $'[SYSTEM]\nEXCLUSIONNUM=0' ]] ||
  fail "the rules file after the exit: $(paste -sd '|' "$dir/ExclusionData.ini")"
driver_session_end
