#!/usr/bin/env bash
# The arithmetic of scripts/wine-bench's report and its CPU samples. No Wine needed.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/wine/bench/bench_lib.sh
source "$(dirname "$0")/bench/bench_lib.sh"

expect() { [[ $2 == "$3" ]] || fail "$1: got '$2', expected '$3'"; }

expect "odd count" "$(stats 3 10 1.5)" "3.00 1.50 10.00"
expect "even count" "$(stats 4 1 3 2)" "2.50 1.00 4.00"
expect "cell" "$(cell 0.2 0.1 0.3)" "0.20 [0.10-0.30]"
expect "ratio" "$(ratio 3 2)" "1.50"
expect "ratio to nothing" "$(ratio 3 0.000)" "-"
# Paired by round; a round whose floor is 0 has no ratio and leaves no blank line.
expect "round ratios" "$(round_ratios "2 3 4" "1 0.000 2" | paste -sd' ')" "2.00 2.00"

tick=$_bench_tick_ns
expect "steady threads" "$(cpu_delta_ns "100 0" "$((100 + 15 * tick / 10)) $tick")" \
  "$((15 * tick / 10))"
# A thread that ended took its exact time along: the whole-process count decides.
expect "thread ended" "$(cpu_delta_ns "100 0" "500 $((5 * tick))")" "$((5 * tick))"

# A busy process, in the kernel as much as outside it: both counts see its time and agree
# within their rounding.
dd if=/dev/zero of=/dev/null bs=64 2>/dev/null &
spinner=$!
trap 'kill "$spinner"' EXIT
sleep 0.5
read -r live total <<<"$(cpu_sample "$spinner")"
((live > 0)) || fail "no CPU time for a spinning process: $live $total"
((live - total < 2 * tick && total - live < 2 * tick)) ||
  fail "schedstat ($live) and stat ($total) disagree"
