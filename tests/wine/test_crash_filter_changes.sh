#!/usr/bin/env bash
# Once the crash filter runs, a change to another program's window is made directly on the
# crashing thread, with no worker and no second's guard: a window whose program takes 1.5 s
# over the style change is disabled all the same, and the filter waited for it. The crash is on
# a second thread while the main thread keeps enabling the window, as the program's poll would
# restore a window it keeps: the main thread stops at its next change, and the window stays
# as the filter left it.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
PROBE_EXE=${PROBE_EXE:-$QM_BUILD/port-probe.exe}
[[ -f $PROBE_EXE ]] || fail "$PROBE_EXE is missing"
wine_env_up

programs=$(new_dir programs)
stand_in "$programs" slow "Crash slow" --slow-style=1500
slow=$(driver find-window "Crash slow" 10000) || fail "no window of slow.exe"
# Its handler is slow while it is minimised.
driver show "$slow" 6 || fail "could not minimise slow.exe's window"

out=$programs/crash.out
wine "$PROBE_EXE" --crash-change "$slow" >"$out" 2>&1 </dev/null &
probe=$!
track "$probe"
wait_exit "$probe" 20 || fail "the crashing probe did not end"
report=$(tr -d '\r' <"$out" | grep '^crash\.change=') || fail "the crash filter reported nothing: $(head -c 300 "$out")"
qm_note "$report"
[[ $report =~ ^crash\.change=1\ error=[0-9]+\ ms=([0-9]+)$ ]] || fail "the change from the crash filter was not made: $report"
((BASH_REMATCH[1] >= 1400)) || fail "the change did not wait for the window's thread: $report"
after=$(tr -d '\r' <"$out" | grep '^crash\.after=') || fail "the filter did not look again"
[[ $after == crash.after=disabled ]] || fail "another thread undid the filter's change: $after"
[[ $(field enabled "$(driver window-state "$slow")") == 0 ]] || fail "the window is not disabled: $(driver window-state "$slow")"
