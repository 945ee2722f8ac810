#!/usr/bin/env bash
# The program starts hidden with an icon in the notification area, and puts it back when a
# new shell announces itself. A double click on the icon shows the panel in the bottom-right
# corner of the work area; the tray menu shows it too and ends the program, which then leaves
# only its empty exclusion list behind.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

dir=$(new_dir tray)
zenta_up "$dir"
page=$(zenta_page 5000) || fail "no detection page"
driver wait-visible "$panel" 0 0 || fail "the panel is visible at start"

# A modify without flags only succeeds for an icon the shell knows, so the
# same call with another id or another window must fail.
[[ $(driver tray-icon "$panel" 0) == 1 ]] || fail "no tray icon for the panel with id 0"
[[ $(driver tray-icon "$panel" 1) == 0 ]] || fail "the tray probe also finds id 1"
[[ $(driver tray-icon "$page" 0) == 0 ]] || fail "the tray probe also finds the page's window"

# A new shell: the icons went with the old one, and the new one says "TaskbarCreated".
driver tray-drop "$panel" 0 || fail "could not drop the icon"
[[ $(driver tray-icon "$panel" 0) == 0 ]] || fail "the icon is still there after the drop"
driver taskbar-created "$panel" || fail "could not announce a new shell"
icon_back() { [[ $(driver tray-icon "$panel" 0) == 1 ]]; }
wait_for icon_back 5 || fail "no icon again after TaskbarCreated"

read -r _ _ w_right w_bottom <<<"$(driver work-area)" || fail "no work area"
read -r left top right bottom <<<"$(driver window-rect "$panel")" || fail "no panel rectangle"
width=$((right - left)) height=$((bottom - top))

zenta_show_panel "$panel"
read -r left top right bottom <<<"$(driver window-rect "$panel")"
[[ "$right $bottom" == "$w_right $w_bottom" ]] ||
  fail "panel at $left $top $right $bottom, not in the corner of the work area (right $w_right, bottom $w_bottom)"
[[ "$((right - left)) $((bottom - top))" == "$width $height" ]] ||
  fail "showing changed the panel's size from $width x $height to $((right - left)) x $((bottom - top))"
# Only debug mode shows the detection page with the panel.
driver wait-visible "$page" 0 0 || fail "the detection page is visible without -K527"

# The dialog's OK hides the panel; the menu's first item shows it again.
driver post "$panel" 0x0111 1 0 || fail "could not post IDOK"
driver wait-visible "$panel" 0 10000 || fail "IDOK did not hide the panel"
tray_menu_choose "$panel" Down Return
driver wait-visible "$panel" 1 10000 || fail "the menu's MainPanel item did not show the panel"

# Escape (the close box's IDCANCEL) hides the window only: a double click brings it back,
# where it was.
read -r left top right bottom <<<"$(driver window-rect "$panel")"
driver post "$panel" 0x0111 2 0 || fail "could not post IDCANCEL"
driver wait-visible "$panel" 0 10000 || fail "IDCANCEL did not hide the panel"
tray_notify "$panel" 0x0203
driver wait-visible "$panel" 1 10000 || fail "after Escape a double click did not show the panel"
[[ $(driver window-rect "$panel") == "$left $top $right $bottom" ]] ||
  fail "after Escape the panel came back elsewhere: $(driver window-rect "$panel")"

# The menu's last item, 終了, over the panel on screen.
tray_menu_choose "$panel" Up Return
wait_exit "$ZENTA_PID" 20 || fail "ZENTA.exe still runs after 終了 in the tray menu"
((QM_EXIT_STATUS == 0)) || fail "exit status $QM_EXIT_STATUS"
[[ $(dir_listing "$dir") == "ExclusionData.ini ZENTA.exe" ]] || fail "folder holds: $(dir_listing "$dir")"
cmp -s <(printf '[SYSTEM]\r\nEXCLUSIONNUM=0\r\n') "$dir/ExclusionData.ini" ||
  fail "ExclusionData.ini differs: $(od -c "$dir/ExclusionData.ini" | head -n 3 | tr '\n' ' ')"
