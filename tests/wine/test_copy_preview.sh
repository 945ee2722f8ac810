#!/usr/bin/env bash
# "クリップボードにコピー" chosen by keyboard from a preview's context menu empties the clipboard
# and leaves one CF_BITMAP of the preview's client size on it (the pointer over the preview,
# so the sizing frame is on: the frame is not in the picture), owned by the preview.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

driver_session ready open-windows 60 -s 640x400 'Copy me'

dir=$(new_dir copy)
start_zenta "$dir" -K527
panel=$(zenta_panel) || fail "no main panel appeared"
zenta_pid=$(driver window-info "$panel" | sed -n 's/^pid=//p')
preview_line() { driver process-windows "$zenta_pid" | awk '$2 ~ /^Quillmoor\.Window\./'; }
has_preview() { [[ -n $(preview_line) ]]; }
wait_for has_preview 15 || fail "the window got no preview"
read -r preview l t r b <<<"$(preview_line | awk '{ print $1, $6, $7, $8, $9 }')"
driver clipboard-text stale || fail "could not put a text on the clipboard"

xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) sleep 0.3 click 3
menu=$(driver wait-class '#32768' 10000) || fail "no context menu after a right click on the preview"
root=$(xwininfo -root | awk '/Window id:/ { print $4 }')
xdotool windowfocus "$root" key Down Down Down Return || fail "xdotool failed"
driver wait-gone "$menu" 5000 || fail "the context menu stayed open"
copied() { driver clipboard | grep -q ' bitmap=[0-9]'; }
wait_for copied 5 || fail "no bitmap on the clipboard: $(driver clipboard)"

clip=$(driver clipboard)
size=$(driver client-size "$preview") || fail "no client size of the preview"
framed=$(driver window-state "$preview" | grep -o 'style=0x[0-9a-f]*' | head -n 1 | cut -d= -f2)
((framed & 0x40000)) || fail "the preview had no sizing frame: the test shows nothing about it"
[[ $clip == *" bitmap=$size" ]] || fail "the bitmap is not of the client size $size: $clip"
[[ $clip == "owner=$preview "* ]] || fail "the clipboard is not the preview's ($preview): $clip"
qm_note "clipboard: $clip; client $size"
formats=$(sed 's/.* formats=\([^ ]*\).*/\1/' <<<"$clip")
# CF_BITMAP once; beside it only what the system derives from it (CF_DIB, CF_DIBV5, CF_PALETTE).
[[ $(tr ',' '\n' <<<"$formats" | grep -cx 2) -eq 1 ]] || fail "not one CF_BITMAP: $clip"
[[ -z $(tr ',' '\n' <<<"$formats" | grep -vx -e 2 -e 8 -e 9 -e 17) ]] ||
  fail "other data stayed on the clipboard: $clip"
xdotool mousemove 1200 900

zenta_exit
driver_session_end
