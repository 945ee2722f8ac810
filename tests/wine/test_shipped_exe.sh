#!/usr/bin/env bash
# The ZENTA.exe that the other tests run is the one that ships: stripped of its symbols and
# debug sections, with an unstripped copy beside it for crash analysis.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"

objdump=x86_64-w64-mingw32-objdump
sections=$($objdump -h "$ZENTA_EXE") || fail "cannot read $ZENTA_EXE"
grep -q ' \.text ' <<<"$sections" || fail "no code section in $ZENTA_EXE"
debug=$(grep -o ' \.debug_[a-z]*' <<<"$sections" | paste -sd ' ' || true)
[[ -z $debug ]] || fail "ZENTA.exe ships debug sections:$debug"
symbols=$($objdump -t "$ZENTA_EXE" | grep -c '^\[' || true)
((symbols == 0)) || fail "ZENTA.exe ships $symbols symbols"
unstripped=$(dirname "$ZENTA_EXE")/ZENTA.unstripped.exe
(($($objdump -t "$unstripped" | grep -c '^\[') > 0)) || fail "no symbols in $unstripped"
