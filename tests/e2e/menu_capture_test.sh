#!/usr/bin/env bash
# The status menu opened from the tray icon starts a window capture; Quit ends the program with
# status 0.
source "$(dirname "$0")/e2e_lib.sh"

prepare_user
write_settings
start_program
wait_for_icon

open_status_menu
choose_menu_item 2  # Capture Window...
words=$(capture_call 0) || fail "choosing Capture Window... started no capture"
expect_words "$words" .png -W -t png

quit_from_menu
((APP_STATUS == 0)) || fail "Quit ended the program with status $APP_STATUS"
echo "PASS"
