#!/usr/bin/env bash
# Takes docs/preferences.png: the Preferences window in the light appearance, framed by a
# window manager, on a private Xvfb with a tray host; a few shortcuts set so the fields show.
#
#   docs/take-preferences-screenshot.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: take-preferences-screenshot.sh BUILD_DIR}" && pwd)

if [[ -z ${DISPLAY:-} || ${TAKING_PREFERENCES_SCREENSHOT:-} != 1 ]]; then
  export TAKING_PREFERENCES_SCREENSHOT=1
  exec "$here/../tests/support/with-xvfb" --tray --wm --size 800x700 -- "$0" "$build"
fi

export VANTORSHOT=$build/bin/vantorshot
source "$here/../tests/e2e/e2e_lib.sh"
prepare_user
write_settings Timer=1 "ShortKey1=⇧⌘1" "ShortKey3=⌃⌥⇧4"
start_program
wait_for_icon
open_status_menu
choose_menu_item 5
wait_for 'xdotool search --name "^Preferences$" >/dev/null' 10 || fail "no Preferences window"
window=$(xdotool search --name "^Preferences$" | head -1)
xdotool mousemove 0 699  # no gadget under the pointer, no tooltip
sleep 0.8
# The frame is the client window's parent once the window manager has taken it.
frame=$(xwininfo -id "$window" -children | awk '/Parent window id/ { print $4 }')
/usr/bin/import -window "$frame" "$here/preferences.png"
wmctrl -c Preferences
quit_from_menu
echo "wrote $here/preferences.png"
