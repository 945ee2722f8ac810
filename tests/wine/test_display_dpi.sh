#!/usr/bin/env bash
# A display at 150 % (LogPixels 144): the grid's cells and margins are in 96-dpi units, so a
# middle-size preview is 240 x 180 pixels with the left margin 30, and the panel grows as its
# dialog font does. At 96 the same window gets 160 x 120 at (20, 10). Wine 8 reads LogPixels
# under HKCU\Control Panel\Desktop when a process starts; the prefix's value is put back
# however the test ends.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

key='HKCU\Control Panel\Desktop'
before=$( (_qm_wine wine reg query "$key" /v LogPixels 2>/dev/null || true) |
  awk '$1 == "LogPixels" { print $3 }' | tr -d '\r')
put_back() {
  if [[ -n $before ]]; then
    _qm_reg_set "$key" LogPixels REG_DWORD "$before" || echo "LogPixels not put back" >&2
  else
    _qm_wine wine reg delete "$key" /v LogPixels /f >/dev/null 2>&1 || echo "LogPixels not removed" >&2
  fi
}
trap 'status=$?; put_back; (exit $status); _qm_test_cleanup' EXIT

# An exactly 4:3 window fills its whole cell.
driver_session ready open-windows 60 -s 400x300 'Ledger even'
size_of() {
  local l t r b
  read -r l t r b <<<"$1"
  echo "$((r - l))x$((b - t))"
}

# run_at DPI: the preview's rectangle and the panel's size, as "l t r b|WxH".
shown=""
run_at() {
  _qm_reg_set "$key" LogPixels REG_DWORD "$(printf '0x%x' "$1")" || fail "could not set LogPixels $1"
  local dir
  dir=$(new_dir "dpi$1")
  zenta_up "$dir" -K527
  wait_for '[[ $(zenta_previews "$zenta_pid" | grep -c .) == 1 ]]' 15 ||
    fail "no preview at $1 dpi: $(zenta_previews "$zenta_pid" | paste -sd '|')"
  shown="$(zenta_previews "$zenta_pid" | awk '{ print $5, $6, $7, $8 }')|$(size_of "$(driver window-rect "$panel")")"
  zenta_exit
  grep -q 'DPI awareness: per monitor' "$ZENTA_LOG" || fail "not per-monitor aware: $(log_text "$ZENTA_LOG" | grep DPI)"
}

run_at 144
at144=$shown
run_at 96
at96=$shown
qm_note "144 dpi: $at144; 96 dpi: $at96"
[[ ${at144%|*} == '30 15 270 195' ]] || fail "at 144 dpi the preview is ${at144%|*}"
[[ ${at96%|*} == '20 10 180 130' ]] || fail "at 96 dpi the preview is ${at96%|*}"
# The panel scales as its dialog font does: about half as wide again (Wine 8: 894 and 571;
# the font's metrics do not grow exactly in step).
w144=${at144#*|} w96=${at96#*|}
w144=${w144%x*} w96=${w96%x*}
((w144 * 10 > w96 * 14 && w144 * 10 < w96 * 17)) || fail "panel $w144 wide at 144 dpi, $w96 at 96"
