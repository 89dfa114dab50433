#!/usr/bin/env bash
# The tray icon is drawn dark on a light desktop and light on a dark one.
source "$(dirname "$0")/e2e_lib.sh"

prepare_user
write_settings

start_program
wait_for_icon
dark=$(icon_pixel_count dark)
((dark > 10)) || fail "a light desktop shows no dark glyph ($dark dark pixels)"
quit_from_menu

export GTK_THEME=Adwaita:dark
start_program
wait_for_icon
dark=$(icon_pixel_count dark)
light=$(icon_pixel_count light)
((dark == 0 && light > 10)) ||
  fail "a dark desktop does not show the light glyph ($dark dark, $light light pixels)"
quit_from_menu
((APP_STATUS == 0)) || fail "Quit ended the program with status $APP_STATUS"
echo "PASS"
