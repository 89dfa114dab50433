#!/usr/bin/env bash
# Takes docs/preferences.png and docs/about-box.png: the Preferences window and the About box
# in the light appearance, framed by a window manager, on a private Xvfb with a tray host; a few
# shortcuts are set so the fields show.
#
#   docs/take-window-screenshots.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: take-window-screenshots.sh BUILD_DIR}" && pwd)

if [[ -z ${DISPLAY:-} || ${TAKING_WINDOW_SCREENSHOTS:-} != 1 ]]; then
  export TAKING_WINDOW_SCREENSHOTS=1
  exec "$here/../tests/support/with-xvfb" --tray --wm --size 800x700 -- "$0" "$build"
fi

export VANTORSHOT=$build/bin/vantorshot
source "$here/../tests/e2e/e2e_lib.sh"
prepare_user
write_settings Timer=1 "ShortKey1=⇧⌘1" "ShortKey3=⌃⌥⇧4"
start_program
wait_for_icon

# Saves the framed window named by the pattern $1 as docs/$2.
take_window() {
  wait_for "xdotool search --name '$1' >/dev/null" 10 || fail "no window named $1"
  local window frame
  window=$(xdotool search --name "$1" | head -1)
  xdotool mousemove 0 699  # nothing under the pointer, no tooltip
  sleep 0.8
  # The frame is the client window's parent once the window manager has taken it.
  frame=$(xwininfo -id "$window" -children | awk '/Parent window id/ { print $4 }')
  /usr/bin/import -window "$frame" "$here/$2"
  echo "wrote $here/$2"
}

open_status_menu
choose_menu_item 5  # Preferences...
take_window "^Preferences$" preferences.png
wmctrl -c Preferences

open_status_menu
choose_menu_item 6  # More..., then its first item, About
xdotool key Return
take_window "^Vantor Shot II" about-box.png
xdotool key Return
quit_from_menu
