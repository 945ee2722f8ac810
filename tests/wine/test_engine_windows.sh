#!/usr/bin/env bash
# Stand-in browser windows ("chrome.exe" of class Chrome_WidgetWin_1, "firefox.exe" of class
# MozillaWindowClass), each judging itself by its engine's occlusion rule, minimised beside
# their live previews: the real program keeps them restored where the rule finds them
# VISIBLE, out of sight; at exit they are put back enabled with their own styles.
set -euo pipefail
# shellcheck source=tests/wine/lib.sh
source "$(dirname "$0")/lib.sh"
wine_env_up

browsers=$(new_dir engines)
for name in chrome firefox; do stand_in "$browsers" "$name" "Engine $name" --engine; done

zenta_up "$(new_dir kept)" -K527
page=$(driver item-parent "$panel" 1002) || fail "no control page below the panel"
two() { [[ $(driver list-view "$page" 1002 | tail -n +2 | cut -f1 | grep -c '^Engine ') -eq 2 ]]; }
wait_for two 20 || fail "the two browsers got no previews"

verdict() { grep '^ENGINE ' "$browsers/$1.out" | tail -n 1 | tr -d '\r'; }
for name in chrome firefox; do
  window=$(driver find-window "Engine $name" 10000) || fail "no window of $name.exe"
  driver show "$window" 6 || fail "could not minimise $name.exe's window"
  wait_for "grep -q '^ENGINE HIDDEN' '$browsers/$name.out'" 10 || fail "$name.exe never saw itself minimised"
  kept() {
    local state
    state=$(driver window-state "$window") || return 1
    [[ $(field iconic "$state") == 0 && $(verdict "$name") == 'ENGINE VISIBLE' ]]
  }
  wait_for kept 10 || fail "$name.exe was not kept visible by its rule: $(verdict "$name")"
  qm_note "$name.exe kept at $(field rect "$(driver window-state "$window")")"
done
# Still so a few polls later, for both.
sleep 2
for name in chrome firefox; do
  [[ $(verdict "$name") == 'ENGINE VISIBLE' ]] || fail "$name.exe is $(verdict "$name") later"
done
log_text "$ZENTA_LOG" | grep -q 'is drawn by Chromium' || fail "the log does not name Chromium"
log_text "$ZENTA_LOG" | grep -q 'kept in sight' || fail "the log does not say where"

zenta_exit
# Put back minimised and enabled, with its own styles; "chrome.exe" then restored at home.
expect_back() {
  local window state
  window=$(driver find-window "Engine $1" 10000) || fail "$1.exe's window went"
  state=$(driver window-state "$window")
  [[ "$(field iconic "$state") $(field enabled "$state") $(field exstyle "$state")" == "$2" ]] ||
    fail "at exit $1.exe was left so: $state"
}
expect_back chrome "0 1 0x00000100"
[[ $(field rect "$(driver window-state "$(driver find-window "Engine chrome" 1000)")") == \
  "200 150 800 550" ]] || fail "chrome.exe did not come home"
expect_back firefox "1 1 0x00000100"
