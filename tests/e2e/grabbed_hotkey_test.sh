#!/usr/bin/env bash
# A combination another program already holds is refused without a word; the program goes on
# and its other hot keys and its menu work.
source "$(dirname "$0")/e2e_lib.sh"
: "${HOLD_KEY_GRAB:?HOLD_KEY_GRAB must name the key-grabbing helper}"

prepare_user
"$HOLD_KEY_GRAB" 33 0xd >"$E2E_DIR/grab.out" 2>&1 &
E2E_PIDS+=($!)
wait_for "grep -q grabbed '$E2E_DIR/grab.out'" 10 || fail "the other program could not grab"

write_settings "ShortKey2=⌃⌥⇧2" "ShortKey3=⌃⌥⇧3"
start_program
wait_for_icon

xdotool key ctrl+alt+shift+3
sleep 1
kill -0 "$APP_PID" 2>/dev/null || fail "the program ended after a refused hot key"

xdotool key ctrl+alt+shift+2
words=$(capture_call 0) || fail "the program's other hot key does not work"
expect_words "$words" .png -W -t png

quit_from_menu
((APP_STATUS == 0)) || fail "Quit ended the program with status $APP_STATUS"
echo "PASS"
