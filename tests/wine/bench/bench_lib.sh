# shellcheck shell=bash
# What scripts/wine-bench measures with, sourced after tests/wine/lib.sh: finding this
# prefix's processes in /proc, their CPU time, and the figures of the report.

# The Linux pid of this prefix's process whose command line (its arguments joined by
# blanks) begins with TEXT; none printed when there is none. Wine keeps a program's
# arguments there; a program started by another has its Windows command line instead.
process_starting() {
  local text=$1 p cmdline
  for p in /proc/[0-9]*; do
    cmdline=$(tr '\0' ' ' 2>/dev/null <"$p/cmdline") || continue
    [[ $cmdline == "$text"* ]] || continue
    tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    echo "${p#/proc/}"
    return 0
  done
}

# This prefix's wineserver: it works in a folder named after the prefix's device and inode.
wineserver_pid() {
  local server p
  server=$(printf 'server-%x-%x' "0x$(stat -c %D "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
  for p in /proc/[0-9]*; do
    [[ $(cat "$p/comm" 2>/dev/null) == wineserver* ]] || continue
    [[ $(readlink "$p/cwd" 2>/dev/null) == */"$server" ]] || continue
    echo "${p#/proc/}"
    return 0
  done
}

_bench_tick_ns=$((1000000000 / $(getconf CLK_TCK)))

# cpu_sample PID: "LIVE TOTAL" in nanoseconds. LIVE sums the schedstat of its threads
# (exact, but a thread that ends takes its time along); TOTAL is utime + stime of
# /proc/PID/stat (the whole process, ended threads too, in clock ticks).
cpu_sample() {
  local live=0 t ns rest fields
  for t in /proc/"$1"/task/*/schedstat; do
    read -r ns rest 2>/dev/null <"$t" || continue
    live=$((live + ns))
  done
  read -r -a fields 2>/dev/null <"/proc/$1/stat" || fields=()
  # Fields 14 and 15 counted from 1; the name (field 2) has no blanks for these programs.
  echo "$live $(((${fields[13]:-0} + ${fields[14]:-0}) * _bench_tick_ns))"
}

# cpu_delta_ns BEFORE AFTER: the CPU time between two samples. The exact figure, unless the
# whole-process count grew by more than its rounding could explain: then a thread ended in
# between, and the coarse figure is the truer one.
cpu_delta_ns() {
  local live0 total0 live1 total1
  read -r live0 total0 <<<"$1"
  read -r live1 total1 <<<"$2"
  local live=$((live1 - live0)) total=$((total1 - total0))
  if ((total - live > 2 * _bench_tick_ns)); then echo "$total"; else echo "$live"; fi
}

# stats FIGURES...: median, min and max.
stats() {
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
    m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%.2f %.2f %.2f\n", m, v[1], v[NR] }'
}
# cell FIGURES...: "median [min-max]".
cell() {
  local m lo hi
  read -r m lo hi < <(stats "$@")
  printf '%s [%s-%s]' "$m" "$lo" "$hi"
}
median() { stats "$@" | cut -d' ' -f1; }
# ratio A B: A / B, or "-" when B is below 0.01 (nothing to compare with).
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b >= 0.01) printf "%.2f", a / b; else printf "-" }'; }
# round_ratios "A..." "B...": A/B for each pair of the two lists, one a line, without the
# pairs whose B is 0.
round_ratios() {
  local -a a b
  read -r -a a <<<"$1"
  read -r -a b <<<"$2"
  local i r
  for i in "${!a[@]}"; do
    r=$(ratio "${a[i]}" "${b[i]:-0}")
    [[ $r == - ]] || echo "$r"
  done
}
