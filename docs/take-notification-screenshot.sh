#!/usr/bin/env bash
# Takes docs/notification.png: the "Capture saved" notification as a notification daemon
# (dunst) shows it, on a private Xvfb with a tray host and a private session bus.
#
#   docs/take-notification-screenshot.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: take-notification-screenshot.sh BUILD_DIR}" && pwd)

if [[ -z ${DISPLAY:-} || ${TAKING_NOTIFICATION_SCREENSHOT:-} != 1 ]]; then
  export TAKING_NOTIFICATION_SCREENSHOT=1
  exec "$here/../tests/support/with-xvfb" --tray --size 1280x720 -- \
    "$here/../tests/support/with-session-bus" --service org.freedesktop.Notifications dunst -- \
    "$0" "$build"
fi

export VANTORSHOT=$build/bin/vantorshot
source "$here/../tests/e2e/e2e_lib.sh"
prepare_user
unset VANTORSHOT_CAPTURE_TOOL  # the real tool beside the program
xsetroot -solid '#6b8fb3'
# Something on the screen, so that the notification's small copy shows a picture.
/usr/bin/display -geometry +500+200 -title picture "$build/share/vantorshot/fancy_app_iconx2.png" &
E2E_PIDS+=($!)
wait_for 'xwininfo -name picture 2>/dev/null | grep -q IsViewable' 10 || fail "no picture window"
write_settings
start_program
wait_for_icon
open_status_menu
choose_menu_item 1  # Capture Entire Screen
wait_for 'xdotool search --classname dunst >/dev/null' 10 || fail "no notification showed"
sleep 0.5
/usr/bin/import -window root "$E2E_DIR/screen.png"
# The top-right corner, where dunst shows its notifications under the tray.
/usr/bin/convert "$E2E_DIR/screen.png" -crop 420x170+860+0 +repage "$here/notification.png"
quit_from_menu
echo "wrote $here/notification.png"
