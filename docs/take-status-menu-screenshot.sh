#!/usr/bin/env bash
# Takes docs/status-menu.png: the status menu open under the tray icon, on a private Xvfb with
# a tray host, with shortcuts and a countdown set so the hints and the timer text show.
#
#   docs/take-status-menu-screenshot.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: take-status-menu-screenshot.sh BUILD_DIR}" && pwd)

if [[ -z ${DISPLAY:-} || ${TAKING_MENU_SCREENSHOT:-} != 1 ]]; then
  export TAKING_MENU_SCREENSHOT=1
  exec "$here/../tests/support/with-xvfb" --tray --size 800x400 -- "$0" "$build"
fi

export VANTORSHOT=$build/bin/vantorshot
source "$here/../tests/e2e/e2e_lib.sh"
prepare_user
write_settings Timer=2 "ShortKey1=⇧⌘1" "ShortKey2=⇧⌘2" "ShortKey3=⌃⌥⇧3"
start_program
wait_for_icon
# Clicked near its lower edge, the icon stays in view above the menu that opens at the pointer.
read -r _ x y width height < <(embedded_icon)
xdotool mousemove $((x + width / 2)) $((y + height - 2)) click 3
wait_for menu_is_open 5 || fail "the status menu did not open"
xdotool mousemove 0 0  # no item highlighted under the pointer
sleep 0.5
/usr/bin/import -window root "$E2E_DIR/screen.png"
# The top-right corner: the tray panel and the menu that hangs from it.
/usr/bin/convert "$E2E_DIR/screen.png" -crop 440x240+360+0 +repage "$here/status-menu.png"
xdotool key Escape
quit_from_menu
echo "wrote $here/status-menu.png"
