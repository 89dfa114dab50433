#!/usr/bin/env bash
# Captures end in a result the user sees. "Annotate" on a saved capture's notification opens
# the editor on it. With display 2 chosen and then unplugged, the next
# entire-screen capture takes the one display left; a capture folder that cannot be written
# gives one "Capture failed" notification naming it, and nothing else is lost.
#
# Runs inside with-xvfb --two-monitors --tray and with-session-bus with the recording
# notification service, whose record NOTIFICATION_RECORD names.
source "$(dirname "$0")/e2e_lib.sh"
: "${NOTIFICATION_RECORD:?names the record of the notification service}"
: >"$NOTIFICATION_RECORD"

prepare_user
unset VANTORSHOT_CAPTURE_TOOL  # the real tool beside the program
/usr/bin/convert -size 200x100 xc:red "$E2E_DIR/marker.png"
/usr/bin/display -geometry +1300+600 -title marker "$E2E_DIR/marker.png" &
E2E_PIDS+=($!)
wait_for 'xwininfo -name marker 2>/dev/null | grep -q IsViewable' 10 || fail "no marker window"
write_settings
start_program
wait_for_icon

shots() { compgen -G "$CAPTURE_DIR/vs_cap_full_*.png" | sort; }
notified() { grep -c "$1" "$NOTIFICATION_RECORD" || true; }

open_status_menu
choose_menu_item 1
# Sets `picker` to the display picker's window once it shows.
find_picker() {
  local window
  picker=
  for window in $(xdotool search --onlyvisible --classname vantorshot 2>/dev/null); do
    xdotool getwindowgeometry "$window" | grep -q 'Geometry: 320x80' && picker=$window
  done
  [[ -n $picker ]]
}
wait_for find_picker 5 || fail "no display picker showed"
xdotool windowmove "$picker" 1760 360
sleep 0.5
xdotool key Return
wait_for '[[ $(shots | wc -l) == 1 ]]' 15 || fail "display 2 was not captured"
wait_for '[[ $(notified "Capture saved") == 1 ]]' 5 || fail "no notification of the saved capture"

# "Annotate" on that notification opens the editor beside the program on the saved file; it
# takes the picture, so Ctrl+Q closes it.
id=$(grep "Capture saved" "$NOTIFICATION_RECORD" | cut -f2)
saved=$(basename "$(shots)")
dbus-send --session --type=method_call --dest=org.freedesktop.Notifications \
  /org/freedesktop/Notifications org.freedesktop.Notifications.Invoke "uint32:$id" string:annotate
editor_window() { xdotool search --onlyvisible --name "^$saved — " 2>/dev/null | head -n1; }
wait_for '[[ -n $(editor_window) ]]' 30 || fail "Annotate opened no editor on $saved"
xdotool windowfocus --sync "$(editor_window)" key ctrl+q
wait_for '[[ -z $(editor_window) ]]' 10 || fail "the editor did not take Ctrl+Q"

xrandr --delmonitor RIGHT >/dev/null
sleep 1
open_status_menu
choose_menu_item 1  # one display now: no picker
wait_for '[[ $(shots | wc -l) == 2 ]]' 15 || fail "the capture after the unplugging wrote nothing"
second=$(shots | tail -1)
[[ $(/usr/bin/identify -format %wx%h "$second") == 1280x800 ]] ||
  fail "the capture is $(/usr/bin/identify -format %wx%h "$second"), not the display left"
[[ $(/usr/bin/convert "$second" -format '%[hex:p{1200,700}]' info:) != FF0000* ]] ||
  fail "the capture shows the unplugged display"

quit_from_menu
# /proc takes no new files, whoever asks: the folder cannot be written even by root.
sed -i 's|^DirPath=.*|DirPath=/proc/|' "$XDG_CONFIG_HOME/vantorshot/VantorShot.ini"
start_program
wait_for_icon
open_status_menu
choose_menu_item 3  # Capture Selection...: the tool refuses before it asks for a rectangle
wait_for '[[ $(notified "Capture failed") == 1 ]]' 10 || fail "no notification of the failure"
grep "Capture failed" "$NOTIFICATION_RECORD" | grep -q "/proc" ||
  fail "the failure does not name the folder: $(grep 'Capture failed' "$NOTIFICATION_RECORD")"
kill -0 "$APP_PID" || fail "the program ended"
grep -q '^DirPath=/proc/$' "$XDG_CONFIG_HOME/vantorshot/VantorShot.ini" || fail "the folder setting changed"
[[ $(shots | wc -l) == 2 ]] || fail "a capture was lost"
quit_from_menu
echo "PASS"
