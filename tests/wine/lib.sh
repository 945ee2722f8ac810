# shellcheck shell=bash
# Shared by the Wine tests (sourced). Runs ZENTA.exe on a private headless X
# server with a Wine prefix kept under build-win/, and cleans up after itself.
#
# A test calls wine_env_up (which does nothing when run.sh already did it for
# all tests), then new_dir / start_zenta / driver / wait_for / fail.
# Every process a test starts is ended when it exits, also on failure or ^C.

QM_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
QM_BUILD=${QM_BUILD:-$QM_ROOT/build-win}
ZENTA_EXE=${ZENTA_EXE:-$QM_BUILD/ZENTA.exe}
WINE_DRIVER_EXE=${WINE_DRIVER_EXE:-$QM_BUILD/wine-driver.exe}
# shellcheck disable=SC2034 # for the tests
ZENTA_MUTEX=__QUILLMOORFORTUNDRA_PEBBLEWICK__

# Our own prefix, never the user's. A UTF-8 locale makes Wine decode
# non-ASCII arguments (window captions) correctly. No Gecko/Mono prompts.
export WINEPREFIX=${QM_WINEPREFIX:-$QM_BUILD/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' LC_ALL=C.UTF-8

_qm_pids=()
_qm_tmp=""

# Prints the message, records it for run.sh and ends the test.
fail() {
  echo "FAIL: $*" >&2
  [[ -n ${QM_REASON_FILE:-} ]] && printf '%s\n' "$*" >"$QM_REASON_FILE"
  exit 1
}

_qm_now_ms() {
  local t=${EPOCHREALTIME/[.,]/}
  echo $((t / 1000))
}

# wait_for 'CONDITION' SECONDS: polls the shell condition every 0.1 s.
wait_for() {
  local cond=$1 deadline
  deadline=$(($(_qm_now_ms) + $2 * 1000))
  until eval "$cond"; do
    (($(_qm_now_ms) < deadline)) || return 1
    sleep 0.1
  done
}

# wait_exit PID SECONDS: 1 if it is still running then; its exit status is
# left in QM_EXIT_STATUS (PID must be a child of this shell).
wait_exit() {
  wait_for "! kill -0 $1 2>/dev/null" "$2" || return 1
  QM_EXIT_STATUS=0
  # shellcheck disable=SC2034 # for the caller
  wait "$1" 2>/dev/null || QM_EXIT_STATUS=$?
}

# Ends a process and everything below it: TERM, then KILL after 3 s.
_qm_descendants() {
  local child
  for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do
    _qm_descendants "$child"
    echo "$child"
  done
}
_qm_kill_tree() {
  local pids
  mapfile -t pids < <(_qm_descendants "$1"; echo "$1")
  kill -TERM "${pids[@]}" 2>/dev/null || true
  local p
  for p in "${pids[@]}"; do
    wait_for "! kill -0 $p 2>/dev/null" 3 || kill -KILL "$p" 2>/dev/null || true
  done
}

# Remembers a background process so that it is ended with the test.
track() { _qm_pids+=("$@"); }

# A fresh empty folder, removed with the test (kept if the test failed,
# unless QM_KEEP_TMP=0).
new_dir() {
  local d
  d=$(mktemp -d "$_qm_tmp/${1:-dir}.XXXX")
  echo "$d"
}

# The names in a folder, sorted, on one line.
dir_listing() {
  find "$1" -mindepth 1 -maxdepth 1 -printf '%f\n' | LC_ALL=C sort | paste -sd ' '
}

# stand_in_start EXE OUT ARGS...: starts the stand-in program (fake-browser.exe, copied to
# EXE first unless it is there) with ARGS (its window's title first), its output in OUT.
stand_in_start() {
  local exe=$1 out=$2
  shift 2
  [[ -f $exe ]] || cp "$QM_BUILD/fake-browser.exe" "$exe"
  wine "$(winepath -w "$exe")" "$@" >"$out" 2>&1 &
  track $!
}
# stand_in_ready OUT: waits until the stand-in writing OUT has its window up.
stand_in_ready() {
  local name
  name=$(basename "$1")
  wait_for "grep -sq ready '$1'" 20 || fail "${name%%.*}.exe did not start"
}
# stand_in DIR NAME ARGS...: DIR/NAME.exe started as stand_in_start does, its output in
# DIR/NAME.out, and waited for.
stand_in() {
  local dir=$1 name=$2
  shift 2
  stand_in_start "$dir/$name.exe" "$dir/$name.out" "$@"
  stand_in_ready "$dir/$name.out"
}

# field NAME STATE: the value of NAME=... (up to four numbers) in a line of `driver window-state`.
field() { sed -E "s/.*(^| )$1=(-?[0-9a-fx]+( -?[0-9]+){0,3}).*/\2/" <<<"$2"; }

# kept_live HWND: the window is kept live by the program: restored, disabled, and out of
# sight (off the screen, transparent, or with a browser's one column at the screen's edge).
kept_live() {
  local s
  s=$(driver window-state "$1") || return 1
  [[ "$(field iconic "$s") $(field enabled "$s")" == "0 0" ]]
}

# back_as_own NAME HWND OWN ICONIC: the window NAME is enabled and minimised (ICONIC 1) or
# not (0), with the styles, extended styles and alpha of OWN (a `driver window-state` line
# read while its program had the window to itself) and, restored, OWN's rectangle: where
# its program had it, not a parking place. Leaves it restored.
back_as_own() {
  local name=$1 hwnd=$2 own=$3 iconic=$4 now style
  now=$(driver window-state "$hwnd") || fail "$name's window went"
  style=$(($(field style "$own") | (iconic ? 0x20000000 : 0)))
  [[ "$(field iconic "$now") $(field enabled "$now")" == "$iconic 1" ]] ||
    fail "$name was left so (not iconic=$iconic enabled=1): $now"
  (($(field style "$now") == style)) || fail "$name has not its own style $(printf 0x%08x "$style"): $now"
  [[ "$(field exstyle "$now") $(field alpha "$now")" == "$(field exstyle "$own") $(field alpha "$own")" ]] ||
    fail "$name has not its own exstyle $(field exstyle "$own") and alpha $(field alpha "$own"): $now"
  driver show "$hwnd" 9 || fail "could not restore $name"
  # shellcheck disable=SC2016 # evaluated by wait_for
  wait_for '[[ $(driver window-rect "$hwnd") == "$(field rect "$own")" ]]' 5 ||
    fail "$name came back at $(driver window-rect "$hwnd"), not at its own $(field rect "$own")"
}

# driver ARGS...: runs wine-driver.exe (see tests/wine/driver.cpp).
driver() {
  wine "$WINE_DRIVER_EXE" "$@"
}

# driver_session READY ARGS...: runs `driver ARGS` in the background, its stdin a pipe whose
# file descriptor is DRIVER_IN and its output in the file DRIVER_OUT, and waits for the line
# READY. driver_session_end sends the empty line that closes it and waits for CLOSED.
driver_session() {
  local ready=$1 dir
  shift
  dir=$(new_dir driver)
  mkfifo "$dir/in"
  exec {DRIVER_IN}<>"$dir/in"
  DRIVER_OUT=$dir/out
  driver "$@" <&"$DRIVER_IN" >"$DRIVER_OUT" 2>&1 &
  track $!
  wait_for "grep -sqx '$ready' '$DRIVER_OUT'" 20 || fail "the driver did not start ($1): $(cat "$DRIVER_OUT")"
}
# shellcheck disable=SC2120 # the closing line is optional
driver_session_end() {
  echo >&"$DRIVER_IN"
  wait_for "grep -qx '${1:-closed}' '$DRIVER_OUT'" 10 || fail "the driver did not end ($1)"
}

# start_zenta DIR ARGS...: copies ZENTA.exe into DIR and starts it by its full
# Windows path under a pseudo-terminal. Sets ZENTA_PID (of `script`, which
# ends with the program) and ZENTA_LOG (what it wrote to its console).
_qm_starts=0
start_zenta() {
  local dir=$1 winpath cmd
  shift
  cp "$ZENTA_EXE" "$dir/ZENTA.exe"
  winpath=$(winepath -w "$dir/ZENTA.exe") || fail "winepath failed for $dir"
  _qm_starts=$((_qm_starts + 1))
  ZENTA_LOG=$_qm_tmp/zenta.$_qm_starts.log
  # A wide terminal, so that Wine's console does not wrap long log lines.
  cmd="stty cols 300 rows 50; exec $(printf '%q ' wine "$winpath" "$@")"
  SHELL=/bin/bash script -qfec "$cmd" "$ZENTA_LOG" </dev/null >/dev/null 2>&1 &
  ZENTA_PID=$!
  track "$ZENTA_PID"
}

# The hidden main panel of the running ZENTA.exe; prints its handle.
ZENTA_PANEL_CAPTION='Quillmoor for Tundra [メインパネル]'
# shellcheck disable=SC2120 # the time limit is optional
zenta_panel() {
  driver find-window "$ZENTA_PANEL_CAPTION" "${1:-20000}"
}

# zenta_pid PANEL: the process id of the program that owns the panel.
zenta_pid() {
  local pid
  pid=$(driver window-info "$1" | sed -n 's/^pid=//p')
  [[ -n $pid ]] || fail "no process id for the panel $1"
  echo "$pid"
}

# zenta_up DIR [ARG...]: start_zenta, then its hidden main panel's handle in $panel and its
# Windows process id in $zenta_pid.
# shellcheck disable=SC2034 # for the tests
panel="" zenta_pid=""
# shellcheck disable=SC2034 # for the tests
zenta_up() {
  start_zenta "$@"
  panel=$(zenta_panel) || fail "no main panel appeared"
  zenta_pid=$(zenta_pid "$panel")
}

# Ends the running ZENTA.exe as the tray menu's exit does and waits for it.
# shellcheck disable=SC2120 # the time limit is optional
zenta_exit() {
  local panel
  panel=$(zenta_panel) || fail "no main panel to end"
  driver post "$panel" 0x0111 32772 0 || fail "could not post the exit command"
  wait_exit "$ZENTA_PID" "${1:-20}" || fail "ZENTA.exe did not end after its exit command"
}

# The shell's callback for the tray icon: this message, lParam the mouse message.
ZENTA_TRAY_MESSAGE=0x0464
WM_LBUTTONDBLCLK=0x0203
WM_RBUTTONUP=0x0205
tray_notify() { driver post "$1" "$ZENTA_TRAY_MESSAGE" 0 "$2"; }

# The detection page (with -K527 shown beside the panel); prints its handle.
ZENTA_PAGE_CAPTION='ウィンドウ検出状態'
zenta_page() {
  driver find-window "$ZENTA_PAGE_CAPTION" "${1:-20000}"
}

# zenta_show_panel PANEL: double-clicks the tray icon and waits for the panel.
zenta_show_panel() {
  tray_notify "$1" "$WM_LBUTTONDBLCLK" || fail "could not post the tray double-click"
  driver wait-visible "$1" 1 10000 || fail "the panel did not appear after a tray double-click"
}

# tray_menu_open PANEL: opens the tray menu as a right click on the icon does; prints the
# menu's handle. The program goes on meanwhile (its timers run in the menu's loop).
tray_menu_open() {
  tray_notify "$1" "$WM_RBUTTONUP" || fail "could not post the tray right click"
  driver wait-class '#32768' 10000 || fail "no tray menu after a right click on the icon"
}

# menu_keys MENU KEYS...: answers an open menu with the keys, which end it.
menu_keys() {
  local menu=$1 root
  shift
  # Once the panel has been shown and hidden, X leaves the focus on Wine's
  # desktop window and keys typed there are lost. With the focus on the root,
  # they go to the window under the pointer: the menu, which opens there.
  root=$(xwininfo -root | awk '/Window id:/ { print $4 }')
  xdotool windowfocus "$root" key "$@" || fail "xdotool failed"
  driver wait-gone "$menu" 5000 || fail "the menu stayed open after: $*"
}

# tray_menu_choose PANEL KEYS...: opens the tray menu and answers it with the keyboard.
tray_menu_choose() {
  local menu
  menu=$(tray_menu_open "$1") || exit 1
  shift
  menu_keys "$menu" "$@"
}

# zenta_previews PID: the program's visible previews, one per line:
# handle style exstyle alpha left top right bottom caption.
zenta_previews() {
  driver process-windows "$1" | awk '$2 ~ /^Quillmoor\.Window\./ { $2 = ""; sub(/  /, " "); print }'
}

# preview_menu_open LEFT TOP RIGHT BOTTOM KEYS...: right-clicks the preview with that
# rectangle, types the keys into its context menu and prints the menu's handle.
preview_menu_open() {
  local l=$1 t=$2 r=$3 b=$4 menu root
  shift 4
  xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) sleep 0.3 click 3
  menu=$(driver wait-class '#32768' 10000) || fail "no context menu after a right click on a preview"
  root=$(xwininfo -root | awk '/Window id:/ { print $4 }')
  xdotool windowfocus "$root" key "$@" || fail "xdotool failed"
  echo "$menu"
}

# preview_menu_choose LEFT TOP RIGHT BOTTOM KEYS...: as preview_menu_open, and the keys
# end the menu.
preview_menu_choose() {
  local menu
  menu=$(preview_menu_open "$@") || exit 1
  driver wait-gone "$menu" 5000 || fail "the context menu stayed open after: ${*:5}"
}

# typed_is TEXT (in a key-window driver session): the first window has received exactly
# TEXT and the others nothing; the last report is left in $typed.
typed=""
typed_is() {
  local requests
  requests=$(grep -c '^keys=' "$DRIVER_OUT" || true)
  echo keys >&"$DRIVER_IN"
  wait_for "(( \$(grep -c '^keys=' '$DRIVER_OUT') > $requests ))" 10 || return 1
  typed=$(grep '^keys=' "$DRIVER_OUT" | tail -n 1)
  [[ $typed == "keys=$1 other=" ]]
}

# The console log as plain text. Wine's console draws on the terminal: a
# blank comes out as "erase line, cursor right"; CRs and other codes go, and
# so do the lines `script` adds.
log_text() {
  perl -ne 'next if /^Script (started|done) on /;
    s/\e\[(\d*)C/" " x ($1 || 1)/ge; s/\e\[[0-9;?]*[A-Za-z]//g; s/\r//g; print' "$1"
}

_qm_test_cleanup() {
  local status=$? p
  for p in "${_qm_pids[@]}"; do _qm_kill_tree "$p"; done
  _qm_pids=()
  if [[ -n $_qm_tmp ]]; then
    if ((status == 0)) || [[ ${QM_KEEP_TMP-1} == 0 ]]; then
      rm -rf "$_qm_tmp"
    else
      echo "kept for inspection: $_qm_tmp" >&2
    fi
  fi
  if [[ -n ${_qm_shared_prefix:-} ]]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    export WINEPREFIX=$_qm_shared_prefix
  fi
  if [[ ${_qm_env_owner:-} == "$BASHPID" ]]; then _qm_env_down; fi
}

# --- Shared environment: X server, prefix, warm wineserver ---

_qm_start_xvfb() {
  local dfile=$QM_ENV_DIR/display
  # -displayfd: the server picks a free display number and reports it.
  # The lock stays with us: a server left behind must not keep the prefix locked.
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$dfile" \
    >"$QM_ENV_DIR/xvfb.log" 2>&1 {_qm_lock_fd}>&- &
  QM_XVFB_PID=$!
  wait_for "[[ -s '$dfile' ]] || ! kill -0 $QM_XVFB_PID 2>/dev/null" 15
  [[ -s $dfile ]] || fail "Xvfb did not start: $(tail -n 3 "$QM_ENV_DIR/xvfb.log")"
  DISPLAY=:$(<"$dfile")
  export DISPLAY
}

# The prefix's settings, one "KEY|NAME|TYPE|DATA" a line, as `wine reg query`
# prints them (a DWORD in hex).
#  - no crash dialog: a crash would otherwise hang in the debugger;
#  - a virtual desktop: without it X focus follows the pointer and keys get lost;
#  - without a Japanese locale Wine draws Japanese as boxes in dialogs and
#    captions: the dialog fonts are linked to IPA Gothic, and the Japanese
#    system fonts that the program's dialogs ask for by name are replaced.
QM_PREFIX_VALUES='HKCU\Software\Wine\WineDbg|ShowCrashDialog|REG_DWORD|0x0
HKCU\Software\Wine\Explorer|Desktop|REG_SZ|Default
HKCU\Software\Wine\Explorer\Desktops|Default|REG_SZ|1920x1080
HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink|Tahoma|REG_MULTI_SZ|ipag.ttf,IPAGothic
HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink|MS Shell Dlg|REG_MULTI_SZ|ipag.ttf,IPAGothic
HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink|MS Shell Dlg 2|REG_MULTI_SZ|ipag.ttf,IPAGothic
HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink|Microsoft Sans Serif|REG_MULTI_SZ|ipag.ttf,IPAGothic
HKCU\Software\Wine\Fonts\Replacements|ＭＳ Ｐゴシック|REG_SZ|IPAPGothic
HKCU\Software\Wine\Fonts\Replacements|ＭＳ ゴシック|REG_SZ|IPAGothic'

# A progress line of the set-up, on stderr (stdout is the caller's).
qm_note() { echo "   $*" >&2; }

_qm_prefix_stamp() {
  echo "$QM_PREFIX_VALUES"
  wine --version
  # Wine records the fonts it finds when the prefix is made.
  find /usr/share/fonts -type f | sort | md5sum
}

# Wine commands of the set-up, without our lock: a wineserver they start must
# not keep the prefix locked.
_qm_wine() {
  if [[ -n ${_qm_lock_fd-} && -n ${_qm_plain_lock_fd-} ]]; then
    "$@" {_qm_lock_fd}>&- {_qm_plain_lock_fd}>&-
  elif [[ -n ${_qm_lock_fd-} ]]; then
    "$@" {_qm_lock_fd}>&-
  elif [[ -n ${_qm_plain_lock_fd-} ]]; then
    "$@" {_qm_plain_lock_fd}>&-
  else
    "$@"
  fi
}

# _qm_reg_has KEY NAME TYPE DATA: whether the prefix holds the value. Non-ASCII
# names print as "?", so the name is only checked through the query itself.
_qm_reg_has() {
  local out line
  out=$(_qm_wine wine reg query "$1" /v "$2" 2>/dev/null) || return 1
  while IFS= read -r line; do
    [[ ${line%$'\r'} == "    "*"    $3    $4" ]] && return 0
  done <<<"$out"
  return 1
}

# _qm_reg_set KEY NAME TYPE DATA: writes the value and reads it back. The value
# read back decides, not `wine reg add`'s status; a few tries, then give up.
_qm_reg_set() {
  local try
  for try in 1 2 3; do
    _qm_wine wine reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1 || true
    _qm_reg_has "$@" && return 0
    qm_note "$1\\$2 not there after try $try"
    sleep 1
  done
  return 1
}

_qm_prepare_prefix() {
  local mark=$WINEPREFIX/.quillmoor-prefix stamp start step key name type data
  stamp=$(_qm_prefix_stamp)
  [[ -f $mark && $(<"$mark") == "$stamp" ]] && return 0
  start=$(_qm_now_ms)
  qm_note "creating the Wine prefix $WINEPREFIX (once, under a minute)"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  qm_note "wineboot -i"
  step=$(_qm_now_ms)
  _qm_wine wineboot -i >"$QM_ENV_DIR/wineboot.log" 2>&1 ||
    fail "wineboot failed: $(tail -n 5 "$QM_ENV_DIR/wineboot.log")"
  # wineboot returns while the programs it started (services, the menu
  # builder) still finish the prefix; settings written meanwhile race them.
  qm_note "waiting for wineboot's programs to finish"
  timeout 300 wineserver -w || fail "wineboot's programs still ran after 5 minutes"
  qm_note "wineboot done in $((($(_qm_now_ms) - step) / 1000)) s"
  # Debian's wineserver wrapper starts every server with -p0: it begins to shut
  # down the moment its last program ends, that is between any two `wine`
  # commands in a row. One server kept for the whole set-up takes every write.
  _qm_wine wineserver -p >/dev/null || fail "could not start a wineserver for the set-up"
  qm_note "writing the settings (crash dialog off, virtual desktop, fonts)"
  while IFS='|' read -r key name type data; do
    _qm_reg_set "$key" "$name" "$type" "$data" || fail "could not write $key\\$name = $data"
  done <<<"$QM_PREFIX_VALUES"
  # The registry reaches the disk when the server ends: end it before the
  # prefix is marked as done.
  wineserver -k || true
  timeout 60 wineserver -w || fail "the wineserver did not end after the set-up"
  printf '%s\n' "$stamp" >"$mark"
  qm_note "prefix ready in $((($(_qm_now_ms) - start) / 1000)) s"
}

_qm_env_down() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  if [[ -n ${QM_XVFB_PID:-} ]]; then _qm_kill_tree "$QM_XVFB_PID"; fi
  if [[ -n ${_qm_lock_fd:-} ]]; then flock -u "$_qm_lock_fd" 2>/dev/null || true; fi
  rm -rf "${QM_ENV_DIR:-}"
}

# Sets up what the tests share, once per run: a private Xvfb, or with
# QM_USE_DISPLAY=1 the X server in $DISPLAY. The prefix is locked so that two
# runs (tests, scripts/run) never share one wineserver.
wine_env_up() {
  _qm_tmp=$(mktemp -d "${TMPDIR:-/tmp}/quillmoor-wine-test.XXXXXX")
  trap _qm_test_cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  trap 'exit 129' HUP
  [[ -f $ZENTA_EXE ]] || fail "$ZENTA_EXE is missing (cmake --preset windows && cmake --build --preset windows)"
  [[ -f $WINE_DRIVER_EXE ]] || fail "$WINE_DRIVER_EXE is missing"
  [[ ${QM_ENV_READY:-} == 1 ]] && return 0
  _qm_env_owner=$BASHPID
  QM_ENV_DIR=$(mktemp -d "${TMPDIR:-/tmp}/quillmoor-wine-env.XXXXXX")
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec {_qm_lock_fd}>"$WINEPREFIX.lock"
  if ! flock -n "$_qm_lock_fd"; then
    echo "waiting for another run that uses $WINEPREFIX" >&2
    flock -w 600 "$_qm_lock_fd" || fail "the Wine prefix stayed locked by another run"
  fi
  if [[ ${QM_USE_DISPLAY-} == 1 ]]; then
    [[ -n ${DISPLAY-} ]] || fail "DISPLAY is not set"
  else
    _qm_start_xvfb
  fi
  wineserver -k >/dev/null 2>&1 || true # leftovers of an interrupted run
  _qm_prepare_prefix
  wineserver -p {_qm_lock_fd}>&-
  export QM_ENV_READY=1
}

# plain_desktop_up (after wine_env_up): the rest of the test runs in a prefix of its own,
# with the shared one's settings but no virtual desktop: every window is an X window of its
# own, as on a Linux desktop (here without a window manager). Its wineserver ends with the
# test.
plain_desktop_up() {
  _qm_shared_prefix=$WINEPREFIX
  export WINEPREFIX=$QM_BUILD/wineprefix-plain
  QM_PREFIX_VALUES=$(grep -v '^HKCU\\Software\\Wine\\Explorer' <<<"$QM_PREFIX_VALUES")
  exec {_qm_plain_lock_fd}>"$WINEPREFIX.lock"
  flock -w 600 "$_qm_plain_lock_fd" || fail "the plain Wine prefix stayed locked by another run"
  _qm_wine wineserver -k >/dev/null 2>&1 || true
  QM_ENV_DIR=$_qm_tmp _qm_prepare_prefix
  _qm_wine wineserver -p
}
