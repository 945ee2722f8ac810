#!/usr/bin/env bash
# Runs every tests/wine/test_*.sh against build-win/ZENTA.exe under Wine.
# The X server and the Wine prefix are set up once; each test gets its own
# folders and its processes are ended when it finishes.
# Usage: tests/wine/run.sh [NAME...]   (NAME: test_foo or test_foo.sh)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/wine/lib.sh
source "$here/lib.sh"

if (($#)); then
  tests=()
  for name in "$@"; do tests+=("$here/${name%.sh}.sh"); done
else
  tests=("$here"/test_*.sh)
fi

wine_env_up
# Failed tests keep their own folders; ours only holds logs printed below.
QM_KEEP_TMP=0
results=$(new_dir results)
passed=0
failed=0
for test in "${tests[@]}"; do
  name=$(basename "$test" .sh)
  reason_file=$results/$name.reason
  log=$results/$name.log
  start=$(_qm_now_ms)
  # Each test in its own process with its own traps; no stdin, so that no
  # Wine program touches the terminal. Three minutes is far beyond need;
  # --foreground keeps the test in our process group, so ^C reaches it.
  if QM_REASON_FILE=$reason_file timeout --foreground -k 10 180 bash "$test" </dev/null >"$log" 2>&1; then
    echo "PASS $name ($(($(_qm_now_ms) - start)) ms)"
    passed=$((passed + 1))
  else
    status=$?
    if ((status == 130)); then
      echo "interrupted during $name" >&2
      exit 130
    fi
    if [[ -s $reason_file ]]; then
      reason=$(head -n 1 "$reason_file")
    elif ((status == 124)); then
      reason="timed out"
    else
      reason="exit status $status: $(tail -n 1 "$log")"
    fi
    echo "FAIL $name ($reason)"
    sed 's/^/    /' "$log"
    failed=$((failed + 1))
  fi
done
echo "$passed passed, $failed failed"
((failed == 0))
