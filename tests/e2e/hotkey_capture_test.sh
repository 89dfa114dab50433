#!/usr/bin/env bash
# A hot key typed anywhere on the desktop starts a selection capture with the option words of
# the settings.
source "$(dirname "$0")/e2e_lib.sh"

prepare_user
write_settings "ShortKey3=⌃⌥⇧3"
start_program
wait_for_icon

xdotool key ctrl+alt+shift+3
words=$(capture_call 0) || fail "the capture tool was not started by the hot key"
expect_words "$words" .png -s -t png

quit_from_menu
((APP_STATUS == 0)) || fail "Quit ended the program with status $APP_STATUS"
[[ $(capture_call_count) == 1 ]] || fail "one hot-key press ran the tool more than once"
echo "PASS"
