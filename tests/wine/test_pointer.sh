#!/usr/bin/env bash
# The real pointer on a preview: over it the preview is opaque and topmost, away from it the
# preview sinks again on the next leave poll; dragging it with the mouse moves it.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

driver_session ready open-windows 60 -s 640x400 'Pointer check'

dir=$(new_dir pointer)
zenta_up "$dir" -K527
# handle exstyle alpha left top right bottom
preview=""
found_preview() {
  preview=$(zenta_previews "$zenta_pid" | awk '{ print $1, $3, $4, $5, $6, $7, $8 }')
  [[ -n $preview ]]
}
wait_for found_preview 15 || fail "the window got no preview"
read -r handle _ _ l t r b <<<"$preview"
topmost() { found_preview && read -r _ ex alpha _ <<<"$preview" && ((ex & 0x8)) && ((alpha == 255)); }
sunk() { found_preview && read -r _ ex _ <<<"$preview" && ! ((ex & 0x8)); }

cx=$(((l + r) / 2))
cy=$(((t + b) / 2))
# Wine maps a new window on X a moment after it exists: a move before that reaches the window
# below, as a user's would, so the pointer keeps moving a pixel at a time over it.
nudge=0
hovered() {
  topmost && return 0
  nudge=$(((nudge + 1) % 4))
  xdotool mousemove $((cx + nudge)) $((cy + 1))
  return 1
}
xdotool mousemove 1200 900 mousemove "$cx" "$cy"
wait_for hovered 5 || fail "the pointer over the preview left it as it was: $preview"
log_text "$ZENTA_LOG" | grep -q 'MounseIn' || fail "no pointer-in line in the log"
xdotool mousemove 1200 900
wait_for sunk 5 || fail "the preview stayed on top after the pointer left: $preview"
log_text "$ZENTA_LOG" | grep -q 'MouseOUT' || fail "no pointer-out line in the log"

# A drag moves it like a caption.
xdotool mousemove "$cx" "$cy" sleep 0.3 mousedown 1 sleep 0.2 \
  mousemove $((cx + 40)) $((cy + 30)) sleep 0.2 mousemove $((cx + 120)) $((cy + 90)) sleep 0.2 mouseup 1
moved() { found_preview && read -r h _ _ nl nt _ <<<"$preview" && [[ $h == "$handle" ]] && ((nl > l + 60 && nt > t + 45)); }
wait_for moved 5 || fail "dragging did not move the preview from $l,$t: $preview"
xdotool mousemove 1200 900

zenta_exit
driver_session_end
