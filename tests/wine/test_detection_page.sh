#!/usr/bin/env bash
# Debug mode: the detection page comes and goes with the panel, at its left edge, and lists
# the windows of other programs (title, process name) as they open and close; the log
# reports each window handed over and each one gone.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

dir=$(new_dir detect)
zenta_up "$dir" -K527
page=$(zenta_page 5000) || fail "no detection page"
driver wait-visible "$page" 0 0 || fail "the detection page is visible before the panel"

zenta_show_panel "$panel"
driver wait-visible "$page" 1 5000 || fail "the detection page did not appear with the panel"
read -r p_left p_top _ _ <<<"$(driver window-rect "$panel")"
read -r _ d_top d_right _ <<<"$(driver window-rect "$page")"
((d_right == p_left)) || fail "the page's right edge is at $d_right, the panel's left at $p_left"
# Below the panel's top by a caption height: somewhere inside its first rows.
((d_top > p_top && d_top < p_top + 60)) || fail "the page's top is at $d_top, the panel's at $p_top"

rows() { driver list-view "$page" 1000; }
heading=$(rows | head -n 1) || fail "cannot read the detection list"
[[ $heading == $'Title\tProcessName' ]] || fail "list columns are [$heading]"

# Windows that open after the program started.
titles=('Ledger one' 'Ledger two' 'Ledger three')
exe=$(basename "$WINE_DRIVER_EXE")
driver_session ready open-windows 60 "${titles[@]}"

listed=""
all_listed() {
  listed=$(rows) || return 1
  local t
  for t in "${titles[@]}"; do grep -qxF "$t"$'\t'"$exe" <<<"$listed" || return 1; done
}
none_listed() {
  listed=$(rows) || return 1
  local t
  for t in "${titles[@]}"; do ! grep -qF "$t" <<<"$listed" || return 1; done
}
logged() {
  local log t
  log=$(log_text "$ZENTA_LOG")
  for t in "${titles[@]}"; do grep -qxF "$1() title=$t, exe=$exe" <<<"$log" || return 1; done
}
wait_for all_listed 15 || fail "the list lacks the new windows: $(paste -sd '|' <<<"$listed")"
# The program's own windows never count, though the panel looks like any other.
if grep -qF 'Quillmoor' <<<"$listed"; then fail "the list holds the program's own window: $listed"; fi
wait_for 'logged AddWindow' 10 ||
  fail "no AddWindow() line for each window: $(log_text "$ZENTA_LOG" | grep -F 'Window()' | paste -sd '|')"

driver_session_end
wait_for none_listed 10 || fail "closed windows stay listed: $(paste -sd '|' <<<"$listed")"
wait_for 'logged DelWindow' 10 ||
  fail "no DelWindow() line for each window: $(log_text "$ZENTA_LOG" | grep -F 'Window()' | paste -sd '|')"

# The dialog's OK hides the panel and its page together.
driver post "$panel" 0x0111 1 0 || fail "could not post IDOK"
driver wait-visible "$panel" 0 10000 || fail "IDOK did not hide the panel"
driver wait-visible "$page" 0 0 || fail "the detection page stays visible without the panel"
zenta_exit
