#!/usr/bin/env bash
# Japanese titles on a system whose code page is not 932 (this prefix's is 1252): a window
# with a Japanese title gets a preview, its title reads correctly on the control page and in
# the log, excluding it writes the title's code page 932 bytes to the rules file, and in the
# next run the rule still excludes it. A character that code page 932 lacks comes out as its
# best fit there (é as e) or as '?' (☃). The windows' program runs from a folder whose name
# code page 932 cannot hold: its icon is still found, through the folder's short name.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

# 表 ends in 0x5C, the byte of a backslash.
jp='表示設定 - メモ帳'
other='Café ☃'
other_shown='Cafe ?'
exe=$(basename "$WINE_DRIVER_EXE")

ctl=$(new_dir ctl)
mkfifo "$ctl/in"
exec {win_in}<>"$ctl/in"
mkdir "$ctl/Café ツール"
cp "$WINE_DRIVER_EXE" "$ctl/Café ツール/"
wine "$ctl/Café ツール/$exe" open-windows 120 "$jp" "$other" <&"$win_in" >"$ctl/out" 2>&1 &
track $!
wait_for "grep -qx ready '$ctl/out'" 20 || fail "the driver did not open its windows: $(cat "$ctl/out")"
handle_of() { grep -F " $1" "$ctl/out" | sed -n 's/^window=\([^ ]*\) .*/\1/p'; }
jp_handle=$(handle_of "$jp")
other_handle=$(handle_of "$other")
[[ -n $jp_handle && -n $other_handle ]] || fail "no handles for the test windows: $(cat "$ctl/out")"

hex() { od -An -tx1 -v | tr -d ' \n'; }
jp_row=$jp$'\t'$exe$'\t'$jp_handle
other_row=$other_shown$'\t'$exe$'\t'$other_handle

dir=$(new_dir titles)
listed=""
# rows_are ROW...: the control page lists exactly these rows, in any order.
rows_are() {
  listed=$(driver list-view "$page" 1002 | tail -n +2 | LC_ALL=C sort) || return 1
  [[ $listed == "$(printf '%s\n' "$@" | LC_ALL=C sort)" ]]
}
# handed_over: the log holds an AddWindow() line for both windows.
handed_over() {
  local log
  log=$(log_text "$ZENTA_LOG")
  grep -qxF "AddWindow() title=$jp, exe=$exe" <<<"$log" &&
    grep -qxF "AddWindow() title=$other_shown, exe=$exe" <<<"$log"
}

zenta_up "$dir" -K527
page=$(driver item-parent "$panel" 1002) || fail "no control page below the panel"
wait_for 'rows_are "$jp_row" "$other_row"' 15 ||
  fail "the control page lists: $(paste -sd '|' <<<"$listed")"
wait_for handed_over 5 ||
  fail "the log lacks the titles: $(log_text "$ZENTA_LOG" | grep -F 'AddWindow()' | paste -sd '|')"
if log_text "$ZENTA_LOG" | grep -F 'ICON get fail'; then fail "an icon was not found"; fi

# Exclude the Japanese window as the user does: open the panel, select its row, press
# 除外する↑↑.
zenta_show_panel "$panel"
row=$(driver list-view "$page" 1002 | tail -n +2 | grep -nxF "$jp_row" | cut -d: -f1)
[[ -n $row ]] || fail "no row for the Japanese window"
driver select-row "$page" 1002 $((row - 1)) || fail "could not select the row"
driver press "$page" 1030 || fail "could not press the exclude button"
wait_for 'rows_are "$other_row"' 5 || fail "after the exclusion the page lists: $(paste -sd '|' <<<"$listed")"
zenta_exit

rules=$dir/ExclusionData.ini
expected=$( (printf 'TITLE='; printf '%s' "$jp" | iconv -f UTF-8 -t CP932; printf '\r\nPNAME=%s\r\n' "$exe") | hex)
[[ $(hex <"$rules") == *"$expected"* ]] ||
  fail "the rules file lacks the title in code page 932: $(od -c "$rules" | head -n 12 | tr -s ' ' | paste -sd '|')"
cp "$rules" "$ctl/rules.first"

# The next run reads the rule back: the Japanese window stays without a preview.
start_zenta "$dir" -K527
panel=$(zenta_panel) || fail "no main panel appeared in the second run"
page=$(driver item-parent "$panel" 1002) || fail "no control page in the second run"
wait_for handed_over 15 ||
  fail "second run: the log lacks the titles: $(log_text "$ZENTA_LOG" | grep -F 'AddWindow()' | paste -sd '|')"
rows_are "$other_row" || fail "in the second run the page lists: $(paste -sd '|' <<<"$listed")"
zenta_exit
cmp -s "$ctl/rules.first" "$rules" || fail "the second run changed the rules file"

echo >&"$win_in"
wait_for "grep -qx closed '$ctl/out'" 10 || fail "the driver did not close its windows"
