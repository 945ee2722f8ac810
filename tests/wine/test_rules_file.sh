#!/usr/bin/env bash
# The exclusion rules are read at start and written back at exit: a file in the program's
# own form comes back byte for byte, one written loosely comes back in that form, and one
# whose count names a missing rule is kept as ExclusionData.ini.bak before it is replaced.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

# Three rules: a whole title with its process, part of a title (Shift-JIS, with a
# 0x5C trail byte in 表), a process alone.
mail_sjis=$(printf '表メール' | iconv -f UTF-8 -t CP932)
rules() {
  printf '[SYSTEM]\r\nEXCLUSIONNUM=3\r\n'
  printf '[ITEM0]\r\nTITLEFLAG=1\r\nPNAMEFLAG=1\r\nFULLNAMEFLAG=1\r\nTITLE=Untitled - Notepad\r\nPNAME=notepad.exe\r\nTPART=\r\n'
  printf '[ITEM1]\r\nTITLEFLAG=1\r\nPNAMEFLAG=0\r\nFULLNAMEFLAG=0\r\nTITLE=\r\nPNAME=\r\nTPART=%s\r\n' "$mail_sjis"
  printf '[ITEM2]\r\nTITLEFLAG=0\r\nPNAMEFLAG=1\r\nFULLNAMEFLAG=0\r\nTITLE=\r\nPNAME=calc.exe\r\nTPART=\r\n'
}
# The same rules: LF line ends, lower-case names, blanks around values, keys in
# another order, blank lines.
loose_rules() {
  printf '[system]\nexclusionnum = 3\n\n'
  printf '[item0]\npname = notepad.exe\ntitle = Untitled - Notepad\ntitleflag=1\npnameflag=1\nfullnameflag=1\n\n'
  printf '[Item1]\ntpart=  %s\ntitleflag=1\n\n' "$mail_sjis"
  printf '[ITEM2]\nPNAMEFLAG=1\nPNAME=calc.exe\n'
}

# run_with FILE_CONTENT_FUNCTION: starts and ends the program over such a file.
run_with() {
  dir=$(new_dir "$1")
  "$1" >"$dir/ExclusionData.ini"
  start_zenta "$dir"
  zenta_panel >/dev/null || fail "no main panel appeared"
  zenta_exit
  [[ $(dir_listing "$dir") == "ExclusionData.ini ZENTA.exe" ]] || fail "folder holds: $(dir_listing "$dir")"
}

show() { od -c "$1" | head -n 20 | tr -s ' ' | paste -sd '|'; }

run_with rules
cmp -s <(rules) "$dir/ExclusionData.ini" || fail "the rules came back changed: $(show "$dir/ExclusionData.ini")"

run_with loose_rules
cmp -s <(rules) "$dir/ExclusionData.ini" ||
  fail "loosely written rules came back as: $(show "$dir/ExclusionData.ini")"

# A count raised by hand without the rule: the missing section is no rule, the file as the
# user left it is kept beside the new one.
damaged_rules() {
  printf '[SYSTEM]\r\nEXCLUSIONNUM=2\r\n'
  printf '[ITEM0]\r\nTITLEFLAG=0\r\nPNAMEFLAG=1\r\nFULLNAMEFLAG=0\r\nTITLE=\r\nPNAME=calc.exe\r\nTPART=\r\n'
}
fixed_rules() {
  printf '[SYSTEM]\r\nEXCLUSIONNUM=1\r\n'
  damaged_rules | tail -n +3
}
dir=$(new_dir damaged)
damaged_rules >"$dir/ExclusionData.ini"
zenta_up "$dir"
zenta_exit
[[ $(dir_listing "$dir") == "ExclusionData.ini ExclusionData.ini.bak ZENTA.exe" ]] ||
  fail "folder holds: $(dir_listing "$dir")"
cmp -s <(damaged_rules) "$dir/ExclusionData.ini.bak" ||
  fail "the damaged file was kept as: $(show "$dir/ExclusionData.ini.bak")"
cmp -s <(fixed_rules) "$dir/ExclusionData.ini" ||
  fail "the damaged rules were saved as: $(show "$dir/ExclusionData.ini")"
