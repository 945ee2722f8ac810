#!/usr/bin/env bash
# Without composition (always so under Wine) the hover key gives every preview a sizing frame
# while it is held; once hover mode ends, the frame is gone from the screen too, not only from
# the window's style: the preview looks as it did before.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

driver_session ready open-windows 60 -s 640x400 'Frame check'

dir=$(new_dir frame)
zenta_up "$dir" -K527
preview=""
found_preview() {
  preview=$(zenta_previews "$zenta_pid" | awk '{ print $5, $6, $7, $8 }')
  [[ -n $preview ]]
}
wait_for found_preview 15 || fail "the window got no preview"
read -r l t r b <<<"$preview"
# The preview and a margin around it, where a frame would show.
crop="$((r - l + 8))x$((b - t + 8))+$((l - 4))+$((t - 4))"
shots=$(new_dir shots)
shot() { import -window root -crop "$crop" +repage "$shots/$1.png"; }
same() { [[ $(compare -metric AE "$shots/$1.png" "$shots/$2.png" null: 2>&1) == 0 ]]; }
# The preview shows its window's picture (a label until the first one comes, within a second).
wait_for "log_text '$ZENTA_LOG' | grep -q 'picture of'" 10 || fail "the preview got no picture"
# Settled: two pictures in a row alike (the first paint may come late).
settled() { shot a && sleep 0.3 && shot b && same a b; }
wait_for settled 10 || fail "the preview never stopped changing"
cp "$shots/a.png" "$shots/before.png"

driver chord 0x5B 0x57 || fail "could not press the hover key"
wait_for "log_text '$ZENTA_LOG' | grep -q 'frame ON'" 10 || fail "hover mode gave no frame"
wait_for "log_text '$ZENTA_LOG' | grep -q 'frame OFF'" 10 || fail "the frame was not taken off"
looks_as_before() { shot after && same before after; }
wait_for looks_as_before 5 ||
  fail "after hover mode the preview still looks framed: $(compare -metric AE "$shots/before.png" "$shots/after.png" null: 2>&1) pixels differ"

zenta_exit
driver_session_end
