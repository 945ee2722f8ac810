#!/usr/bin/env bash
# A journal that does not make sense costs the real ZENTA.exe no more than one without: the
# panel comes as soon as with no journal, the log says once what was wrong, the bad file is
# kept as KeptWindows.ini.bak and the journal removed. An entry of another logon session stays.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

entry='[KEPT0]\r\nHWND=1234\r\nPID=5678\r\nSESSION=77\r\nNORMAL=1,2,3,4\r\nPNAME=gone.exe\r\n'
took=0
started_in() { # DIR: starts ZENTA.exe there; the milliseconds to its panel in $took
  local start
  start=$(_qm_now_ms)
  zenta_up "$1" -K527
  took=$(($(_qm_now_ms) - start))
}

clean=$(new_dir clean)
started_in "$clean"
base=$took
zenta_exit
qm_note "no journal: panel after $base ms"
for case in 'KEPTNUM=99999999' 'KEPTNUM=-1' 'KEPTNUM=many' huge 'another session'; do
  dir=$(new_dir "journal")
  if [[ $case == huge ]]; then
    { printf '[SYSTEM]\r\nKEPTNUM=0\r\n;'; head -c 1100000 /dev/zero | tr '\0' x; } >"$dir/KeptWindows.ini"
    said='holds more than 1048576 bytes'
  elif [[ $case == 'another session' ]]; then
    printf "[SYSTEM]\r\nKEPTNUM=1\r\n$entry" >"$dir/KeptWindows.ini"
    said='1 entries of other sessions are left to them'
  else
    printf '[SYSTEM]\r\n%s\r\n' "$case" >"$dir/KeptWindows.ini"
    said="$case"
  fi
  cp "$dir/KeptWindows.ini" "$dir/original"
  started_in "$dir"
  qm_note "$case: panel after $took ms"
  ((took < base + 1000)) || fail "$case: the panel came after $took ms, $base ms without a journal"
  zenta_exit
  n=$(log_text "$ZENTA_LOG" | grep -cF "$said") || true
  ((n == 1)) || fail "$case: '$said' logged $n times: $(log_text "$ZENTA_LOG" | head -20)"
  if [[ $case == 'another session' ]]; then
    cmp -s "$dir/original" "$dir/KeptWindows.ini" || fail "$case: the other session's entry went"
    [[ ! -e $dir/KeptWindows.ini.bak ]] || fail "$case: a good journal kept as .bak"
  else
    cmp -s "$dir/original" "$dir/KeptWindows.ini.bak" || fail "$case: no .bak: $(dir_listing "$dir")"
    [[ ! -e $dir/KeptWindows.ini ]] || fail "$case: the journal stayed: $(dir_listing "$dir")"
  fi
done
