#!/usr/bin/env bash
# The port contract (tests/port) on the real adapter: the same cases that ctest runs on the
# simulated desktop, here in port-contract.exe under Wine. It reports each case and exits
# with the number that failed.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
CONTRACT_EXE=${CONTRACT_EXE:-$QM_BUILD/port-contract.exe}
[[ -f $CONTRACT_EXE ]] || fail "$CONTRACT_EXE is missing"
wine_env_up

out=$(new_dir contract)/report
wine "$CONTRACT_EXE" >"$out" 2>"$out.err" </dev/null &
contract=$!
track "$contract"
wait_exit "$contract" 120 || fail "port-contract.exe did not finish within 120 s"
tr -d "\r" <"$out"
grep -q '^PASS ' "$out" || fail "no case ran: $(head -c 300 "$out.err")"
((QM_EXIT_STATUS == 0)) || fail "$(tr -d '\r' <"$out" | grep -c '^FAIL ') case(s) failed: $(tr -d '\r' <"$out" | grep '^FAIL ' | paste -sd ' ')"
