#!/usr/bin/env bash
# The real window adapter under Wine, through the port only (port-probe.exe), for what needs
# the user, the screen or a second thread; what both desktops share is the port contract's
# (test_port_contract.sh). A modal dialog from a template with Japanese texts, list view rows
# with and without images, timers, a handler that rewrites WM_WINDOWPOSCHANGING, pop-up menus
# answered with the keyboard, a nested modal box, a link and a button clicked with the mouse;
# before it, plain windows painted by their handlers, printed at a smaller size, animation, SendMessageTimeout to a busy
# thread, and image lists. The probe prints facts; we check them.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
PROBE_EXE=${PROBE_EXE:-$QM_BUILD/port-probe.exe}
[[ -f $PROBE_EXE ]] || fail "$PROBE_EXE is missing"
wine_env_up

out=$(new_dir probe)/facts
wine "$PROBE_EXE" >"$out" 2>"$out.err" </dev/null &
probe=$!
track "$probe"

# The value of a fact (the last one of that name).
value() { tr -d '\r' <"$out" | sed -n "s/^$1=//p" | tail -n 1; }
seen() { tr -d '\r' <"$out" | grep -qx "$1"; }
# Waits for a hand-shake line of the probe.
await() {
  wait_for "seen '$1' || ! kill -0 $probe 2>/dev/null" "$2"
  seen "$1" || fail "no \"$1\" from the probe within $2 s; it printed: $(tr -d '\r' <"$out" | tail -n 5 | paste -sd '|') $(head -c 300 "$out.err")"
}
failures=()
expect() {
  local got
  got=$(value "$1")
  [[ $got == "$2" ]] || failures+=("$1: expected [$2], got [$got]")
}
# Code page 932 bytes of a text, as the probe prints them.
sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932 | od -An -tx1 | tr -d ' \n'; }

# First pop-up: the second item (the separator is skipped). Second pop-up: dismissed.
await 'menu.tracking=1' 30
xdotool key Down Down Return
await 'menu.tracking=2' 10
xdotool key Escape
await 'ready=1' 10

# The static's background is the handler's red brush (its text is at the left).
read -r _ st_top st_right st_bottom <<<"$(value rect.static)"
shot=$(new_dir shot)/dialog.png
pixel=none
red_at_static() {
  import -window root "$shot" &&
    pixel=$(convert "$shot" -format "%[pixel:p{$((st_right - 3)),$(((st_top + st_bottom) / 2))}]" info:) &&
    [[ $pixel == "srgb(255,0,0)" || $pixel == red ]]
}
wait_for red_at_static 5 || failures+=("static background: $pixel, not red")
# The plain windows' handlers paint them: one with paintFill, one only on WM_ERASEBKGND.
painted_with() {
  local left top right bottom
  read -r left top right bottom <<<"$(value "$1")"
  import -window root "$shot" &&
    pixel=$(convert "$shot" -format "%[pixel:p{$(((left + right) / 2)),$(((top + bottom) / 2))}]" info:) &&
    [[ $pixel == "$2" ]]
}
wait_for 'painted_with rect.plain "srgb(20,160,90)"' 5 || failures+=("plain window: $pixel, not its paint")
wait_for 'painted_with rect.erase "srgb(200,40,160)"' 5 || failures+=("erase-only window: $pixel, not its fill")

read -r l_left l_top _ l_bottom <<<"$(value rect.link)"
link_at="$((l_left + 8)),$(((l_top + l_bottom) / 2))"
xdotool mousemove "${link_at%,*}" "${link_at#*,}" click 1
await 'link.clicked=1' 10
read -r b_left b_top b_right b_bottom <<<"$(value rect.button)"
xdotool mousemove $(((b_left + b_right) / 2)) $(((b_top + b_bottom) / 2)) click 1
await 'done=1' 10
wait_exit "$probe" 10 || fail "the probe did not end after its dialog"
((QM_EXIT_STATUS == 0)) || failures+=("probe exit status $QM_EXIT_STATUS")

# Plain windows: the handler has the window from WM_NCCREATE on.
expect plain.first_message 00000081
# AnimateWindow (Wine: at once).
expect animate.show 1
expect animate.show.visible 1
expect animate.hide 1
expect animate.hide.visible 0
# A window printed into a picture smaller than itself is scaled on its way, not cut: the
# whole of a window black only in its top-left quarter is not black, that quarter is.
expect print.whole 1
expect print.whole.black 0
expect print.quarter.black 1
expect print.white.same 1
# SendMessageTimeout: a thread asleep for less than the hung limit costs the whole timeout
# and ERROR_TIMEOUT.
expect busy.created 1
expect smto.busy.answered 0
expect smto.busy.error 1460
expect smto.busy.waited_timeout 1
# Image list for the list view: the error icon, then the probe's own file icon.
expect imagelist.created 1
expect icon.error.stable 1
expect imagelist.error_index 0
expect fileicon.own 1
expect imagelist.file_index 1
expect fileicon.missing 1
expect imagelist.attached 1

# Dialog creation and WM_INITDIALOG.
expect init.focus.valid 1
expect init.lparam 0
expect timer.set 1
expect timer.fired 1

# List view: a row without an image shows none (I_IMAGENONE), not image 0; selecting a row
# notifies the dialog.
expect list.r1.image 0
expect list.r2.image -2
expect list.itemchanged.notifications 1
expect list.itemchanged.from_list 1
expect list.itemchanged.id 1003

# WM_WINDOWPOSCHANGING as the portable structure, changed by the handler.
expect visible.at_start 1
expect show.suppressed.count 1
expect show.suppressed.visible 0
expect show.normal.visible 1
expect pos.forced.width 333
expect pos.default.width_is_min_track 1
expect pos.default.handler_saw 1
expect pos.restored 1
expect pos.topmost.insert_after_seen ffffffff
expect pos.topmost.exstyle 1
expect pos.notopmost.insert_after_seen fffffffe
expect pos.notopmost.exstyle 0
expect pos.foreign 0

# Window and process facts.
expect process.desktop.base explorer.exe
expect workarea.ok 1
expect workarea.width 1920
expect metrics.cxicon 32
expect ctlcolor.static.dc 1
expect sysmenu.present 1
expect sysmenu.append.separator 1
expect sysmenu.append.item 1

# Pop-up menus: a choice arrives as WM_COMMAND; a dismissal reports false and sends nothing.
expect menu1.returned 1
expect menu1.command 202
expect menu2.returned 0
expect menu2.commands 0

# The nested modal box, with its own handler.
expect about.result 77
expect about.initialised 1
expect about.owner_enabled_while_up 0
expect about.owner_enabled_after 1
expect about.foreign_messages 0
expect about.ncdestroy 1
expect about.after_ncdestroy 0
expect about.gone 1
expect main.about_timers_here 0
expect main.alive 1

# Link and button clicked from outside; the button ends the dialog with 42.
expect link.from_link 1
expect link.cursor "$link_at"
expect button.clicked 1
expect main.result 42
expect main.foreign_messages 0
expect main.ncdestroy 1
expect main.after_ncdestroy 0
expect page.ncdestroy 1
expect page.foreign_messages 0
expect page.after_ncdestroy 0
expect main.gone 1
expect plain.painted 1
for w in plain erase busy; do
  expect $w.ncdestroy 1
  expect $w.after_ncdestroy 0
  expect $w.foreign_messages 0
  expect $w.gone 1
done

if ((${#failures[@]})); then
  fail "$(printf '%s; ' "${failures[@]}")"
fi
