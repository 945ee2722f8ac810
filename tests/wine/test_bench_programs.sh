#!/usr/bin/env bash
# The yardsticks of scripts/wine-bench and the driver's start-tray that times them: the
# time to the tray icon is only reported once the icon exists, a program that ends without
# one is reported as such, and the floor watches the ordinary windows up to its limit (16, or
# the one it is given).
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/wine/bench/bench_lib.sh
source "$(dirname "$0")/bench/bench_lib.sh"
wine_env_up

# start_tray EXE [ARG]: starts it through the driver and waits for its tray icon; sets OUT
# and WINDOW (the icon's window).
start_tray() {
  OUT=$(new_dir start)/out
  driver start-tray 0 20000 "$(winepath -w "$1")" ${2:+"$2"} </dev/null >"$OUT" 2>&1 &
  track $!
  wait_for "grep -q '^tray=' '$OUT'" 25 || fail "no tray icon from $(basename "$1"): $(cat "$OUT")"
  WINDOW=$(sed -n 's/^window=//p' "$OUT")
  grep -qE '^pid=[0-9]+$' "$OUT" || fail "no process id reported: $(cat "$OUT")"
  grep -qE '^tray=[0-9]+\.[0-9]$' "$OUT" || fail "no time reported: $(cat "$OUT")"
}

# close_and_wait: closes WINDOW and waits for the driver to report the exit.
close_and_wait() {
  driver post "$WINDOW" 0x0010 0 0 || fail "could not post WM_CLOSE"
  wait_for "grep -qx 'exit=0' '$OUT'" 10 || fail "no clean exit after WM_CLOSE: $(cat "$OUT")"
}

start_tray "$QM_BUILD/bench-hello.exe"
[[ $(driver tray-icon "$WINDOW" 0) == 1 ]] || fail "the reported window has no tray icon"
close_and_wait
[[ $(driver tray-icon "$WINDOW" 0) == 0 ]] || fail "the hello's tray icon outlived it"

# The driver with no arguments ends at once with status 2, without a tray icon.
status=0
out=$(driver start-tray 0 20000 "$(winepath -w "$WINE_DRIVER_EXE")" 2>&1) || status=$?
((status == 1)) || fail "start-tray ended with $status for a program without an icon: $out"
[[ $out == *"ended with status 2 before its tray icon"* ]] || fail "start-tray said: $out"

titles=()
for i in $(seq 17); do titles+=("Floor window $i"); done
driver_session ready open-windows 60 "${titles[@]}"
start_tray "$QM_BUILD/bench-floor.exe"
driver find-window "Quillmoor bench floor (16)" 10000 >/dev/null ||
  fail "the floor does not watch 16 of 17 windows"
# The benchmark finds the processes it measures by their command lines and folders.
floor_pid=$(process_starting "$(winepath -w "$QM_BUILD/bench-floor.exe")")
[[ -n $floor_pid && $(<"/proc/$floor_pid/comm") == bench-floor.exe ]] ||
  fail "the floor's Linux process was not found (${floor_pid:-none})"
server_pid=$(wineserver_pid)
[[ -n $server_pid && $(<"/proc/$server_pid/comm") == wineserver* ]] ||
  fail "the prefix's wineserver was not found (${server_pid:-none})"
close_and_wait
# Told how many to watch, it watches that many.
start_tray "$QM_BUILD/bench-floor.exe" 5
driver find-window "Quillmoor bench floor (5)" 10000 >/dev/null ||
  fail "the floor told to watch 5 of 17 windows does not"
driver_session_end
driver find-window "Quillmoor bench floor (0)" 10000 >/dev/null ||
  fail "the floor still watches windows that were closed"
close_and_wait
