#!/usr/bin/env bash
# On two displays a timed entire-screen capture first asks for the display: the picker shows in
# the middle of the main display, is dragged onto the second and confirmed there; the countdown
# plate then shows in the middle of the pointer's display (the second), and the real capture
# tool writes a picture of the second display alone.
#
# Runs inside tests/support/with-xvfb --two-monitors --tray (two 1280x800 displays side by
# side). A red marker window on the second display tells the two displays' pictures apart.
# Needs VANTORSHOT, with vantorshot-capture beside it. With SHOTS_DIR set, the moments the
# picker and the plate show are kept there as display-picker.png and countdown-plate.png.
source "$(dirname "$0")/e2e_lib.sh"

[[ -x $(dirname "$VANTORSHOT")/vantorshot-capture ]] ||
  fail "the capture tool is not beside $VANTORSHOT"

# Saves the whole screen as $1 under SHOTS_DIR, when asked to.
keep_screen() {
  [[ -n ${SHOTS_DIR:-} ]] || return 0
  /usr/bin/import -window root "$SHOTS_DIR/$1"
}

prepare_user
xsetroot -solid '#6b8fb3'
/usr/bin/convert -size 200x100 xc:red "$E2E_DIR/marker.png"
/usr/bin/display -geometry +1300+600 -title marker "$E2E_DIR/marker.png" &
E2E_PIDS+=($!)
wait_for 'xwininfo -name marker 2>/dev/null | grep -q IsViewable' 10 || fail "no marker window"
unset VANTORSHOT_CAPTURE_TOOL  # the real tool beside the program
write_settings
sed -i 's/^Timer=0$/Timer=1/' "$XDG_CONFIG_HOME/vantorshot/VantorShot.ini"
start_program
wait_for_icon

open_status_menu
choose_menu_item 1  # Capture Entire Screen (3 sec Timer)
wait_for 'shown_window 320x80 >/dev/null' 5 || fail "no display picker showed"
read -r picker x y < <(shown_window 320x80)
((x == (1280 - 320) / 2 && y == (800 - 80) / 2)) ||
  fail "the picker is at $x,$y, not in the middle of the main display"

# Dragged onto the second display; the button follows within a fifth of a second.
xdotool windowmove "$picker" $((1280 + 480)) 360
wait_for 'read -r _ x _ < <(shown_window 320x80) && ((x == 1760))' 5 ||
  fail "the picker did not move onto the second display"
sleep 0.5
keep_screen display-picker.png
xdotool mousemove $((1760 + 160)) $((360 + 40 + 12)) click 1  # the button's middle

wait_for 'shown_window 220x190 >/dev/null' 5 || fail "no countdown plate showed"
read -r _ x y < <(shown_window 220x190)
((x == 1280 + (1280 - 220) / 2 && y == (800 - 190) / 2)) ||
  fail "the plate is at $x,$y, not in the middle of the pointer's display"
shown_window 320x80 >/dev/null && fail "the picker is still open under the plate"
sleep 0.3
keep_screen countdown-plate.png

wait_for "compgen -G '$CAPTURE_DIR/vs_cap_full_*.png' >/dev/null" 15 ||
  fail "no capture landed in $CAPTURE_DIR"
shot=$(compgen -G "$CAPTURE_DIR/vs_cap_full_*.png" | head -n 1)
wait_for "[[ \$(/usr/bin/identify -format %wx%h '$shot' 2>/dev/null) == 1280x800 ]]" 5 ||
  fail "the capture is $(/usr/bin/identify -format %wx%h "$shot" 2>&1), not 1280x800"
pixel() { /usr/bin/convert "$shot" -format "%[hex:p{$1,$2}]" info:; }
[[ $(pixel $((1300 - 1280 + 100)) 650) == FF0000* ]] ||
  fail "the capture does not show the second display's marker window"
[[ $(pixel 640 100) == 6B8FB3* ]] || fail "the capture does not show the desktop"
shown_window 220x190 >/dev/null && fail "the plate is still shown after the capture"

quit_from_menu
((APP_STATUS == 0)) || fail "Quit ended the program with status $APP_STATUS"
echo "PASS"
