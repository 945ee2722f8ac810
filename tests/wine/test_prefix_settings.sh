#!/usr/bin/env bash
# The prefix holds every setting of its set-up, as a new server reads it from
# disk; writing a setting trusts the value read back, not `wine reg`'s status.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

while IFS='|' read -r key name type data; do
  _qm_reg_has "$key" "$name" "$type" "$data" || fail "the prefix lacks $key\\$name = $data"
done <<<"$QM_PREFIX_VALUES"

key='HKCU\Software\QuillmoorPrefixTest'
wine reg delete "$key" /f >/dev/null 2>&1 || true
# The same name with other data, or another type, is not the setting.
_qm_reg_set "$key" 'ＭＳ ゴシック' REG_SZ IPAGothic || fail "could not write a test value"
if _qm_reg_has "$key" 'ＭＳ ゴシック' REG_SZ IPAPGothic; then fail "other data passed for the value"; fi
if _qm_reg_has "$key" 'ＭＳ ゴシック' REG_MULTI_SZ IPAGothic; then fail "another type passed for the value"; fi
if _qm_reg_has "$key" 'ＭＳ Ｐゴシック' REG_SZ IPAGothic; then fail "another name passed for the value"; fi

# `wine reg add` as it behaved on a young prefix: a failure although the value
# was written, and a write that was lost although it reported success.
adds=0
wine() {
  [[ $1 == reg && $2 == add ]] || { command wine "$@"; return; }
  adds=$((adds + 1))
  case $3 in
    *\\Failing) command wine "$@" && return 1 ;;
    *\\Lost) ((adds > 1)) && command wine "$@" ;;
    *) command wine "$@" ;;
  esac
}
_qm_reg_set "$key\\Failing" v REG_SZ written 2>/dev/null || fail "a written value failed because of the status"
((adds == 1)) || fail "a written value was written $adds times"
adds=0
_qm_reg_set "$key\\Lost" v REG_DWORD 0x2a 2>/dev/null || fail "a lost write was not tried again"
((adds == 2)) || fail "a lost write took $adds tries"
adds=0
if _qm_reg_set "$key" bad REG_DWORD notanumber 2>/dev/null; then fail "a value that cannot be written passed"; fi
((adds == 3)) || fail "a value that cannot be written was tried $adds times"
wine reg delete "$key" /f >/dev/null 2>&1 || true
