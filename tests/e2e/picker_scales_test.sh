#!/usr/bin/env bash
# The display picker with the second of two displays at 2x: a Return held since the menu item
# that opened it does nothing however long it repeats; moved onto the 2x display the picker
# takes twice its pixels, so that text and button stay whole, and its button there works.
# Runs inside tests/support/with-xvfb --two-monitors --tray. Needs VANTORSHOT.
source "$(dirname "$0")/e2e_lib.sh"

prepare_user
write_settings
export QT_SCREEN_SCALE_FACTORS="1;2"
xset r on
xset r rate 250 40
start_program
wait_for_icon

open_status_menu
xdotool key Down keydown Return  # Capture Entire Screen, the key kept down
wait_for 'shown_window 320x80 >/dev/null' 5 || { xdotool keyup Return; fail "no picker showed"; }
sleep 1.5
xdotool keyup Return
sleep 0.3
shown_window 320x80 >/dev/null && (($(capture_call_count) == 0)) ||
  fail "the held Return answered the picker"

read -r picker _ < <(shown_window 320x80)
xdotool windowmove "$picker" $((1280 + 300)) 300
wait_for 'shown_window 640x160 >/dev/null' 5 || fail "on the 2x display the picker is not 640x160"
read -r _ x y < <(shown_window 640x160)
sleep 0.3
xdotool mousemove $((x + 2 * (60 + 100))) $((y + 2 * (40 + 12))) click 1  # the button's middle
words=$(capture_call 0 5) || fail "the click on the button started no capture"
grep -qx -- '-D2' <<<"$words" || fail "the capture is not of the second display: $words"

quit_from_menu
((APP_STATUS == 0)) || fail "Quit ended the program with status $APP_STATUS"
echo "PASS"
