#!/usr/bin/env bash
# A run ended by TerminateProcess while it keeps minimised windows live leaves them restored,
# out of sight and disabled; the next start puts them back before anything else: minimised,
# enabled, with their own styles, their own layered attributes (a window its program made
# layered) and their own normal rectangle. Once off screen, once with -LAYERED.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

programs=$(new_dir programs)
# both_are 'ICONIC ENABLED': so are both windows.
both_are() {
  local w s
  for w in "$plain" "$faded"; do
    s=$(driver window-state "$w") || return 1
    [[ "$(field iconic "$s") $(field enabled "$s")" == "$1" ]] || return 1
  done
}

for mode in off-screen -LAYERED; do
  args=(-K527)
  [[ $mode == -LAYERED ]] && args+=(-LAYERED)
  # Fresh windows each time: a window that is layered already gets no preview.
  stand_in "$programs" "plain$mode" "Kept plain $mode"
  stand_in "$programs" "faded$mode" "Kept faded $mode" --layered-when-minimised
  plain=$(driver find-window "Kept plain $mode" 10000) || fail "no window of plain.exe"
  faded=$(driver find-window "Kept faded $mode" 10000) || fail "no window of faded.exe"
  # shellcheck disable=SC2034 # read through own_$w below
  own_plain=$(driver window-state "$plain")
  # shellcheck disable=SC2034 # read through own_$w below
  own_faded=$(driver window-state "$faded")

  dir=$(new_dir "kill$mode")
  zenta_up "$dir" "${args[@]}"
  page=$(driver item-parent "$panel" 1002) || fail "no control page below the panel"
  two() { [[ $(driver list-view "$page" 1002 | tail -n +2 | grep -c "^Kept .* $mode") -eq 2 ]]; }
  wait_for two 20 || fail "$mode: the two windows got no previews"
  driver show "$plain" 6 || fail "could not minimise plain.exe's window"
  driver show "$faded" 6 || fail "could not minimise faded.exe's window"
  grep -q layered "$programs/faded$mode.out" || fail "faded.exe did not make itself layered"
  wait_for "both_are '0 0'" 15 || fail "$mode: the minimised windows were not kept live"
  [[ -s $dir/KeptWindows.ini ]] || fail "$mode: kept live without a journal: $(dir_listing "$dir")"

  driver terminate "$zenta_pid" || fail "$mode: could not end ZENTA.exe"
  wait_exit "$ZENTA_PID" 20 || fail "$mode: ZENTA.exe did not end"
  both_are '0 0' || fail "$mode: the windows were put back without a start (the kill was not one)"
  qm_note "$mode: after TerminateProcess: $(driver window-state "$plain")"

  zenta_up "$dir" "${args[@]}"
  wait_for "both_are '1 1'" 15 || fail "$mode: not put back at the next start: $(driver window-state "$plain")"
  for w in plain faded; do
    hwnd=${!w}
    own_var=own_$w
    own=${!own_var}
    now=$(driver window-state "$hwnd")
    (($(field style "$now") == ($(field style "$own") | 0x20000000))) ||
      fail "$mode: $w has style $(field style "$now"), not its own $(field style "$own") minimised"
    if [[ $w == plain ]]; then
      [[ "$(field exstyle "$now") $(field alpha "$now")" == "$(field exstyle "$own") -1" ]] ||
        fail "$mode: plain is left with exstyle $(field exstyle "$now") alpha $(field alpha "$now")"
    else
      (($(field exstyle "$now") == ($(field exstyle "$own") | 0x80000))) ||
        fail "$mode: faded lost its own layering: $now"
      [[ $(field alpha "$now") == 200 ]] || fail "$mode: faded has alpha $(field alpha "$now"), not 200"
    fi
    driver show "$hwnd" 9 || fail "could not restore $w"
    rect=$(driver window-rect "$hwnd")
    [[ $rect == "$(field rect "$own")" ]] || fail "$mode: $w came back at $rect, not $(field rect "$own")"
  done
  [[ ! -e $dir/KeptWindows.ini ]] || fail "$mode: the journal outlived the put-back"
  zenta_exit
done
