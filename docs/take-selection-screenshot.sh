#!/usr/bin/env bash
# Takes docs/selection-overlay.png: the capture tool's selection overlay after a drag, with the
# handles, the size readout and the magnifier, on a private Xvfb over a generated picture.
#
#   docs/take-selection-screenshot.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: take-selection-screenshot.sh BUILD_DIR}" && pwd)

if [[ -z ${DISPLAY:-} || ${TAKING_SELECTION_SCREENSHOT:-} != 1 ]]; then
  export TAKING_SELECTION_SCREENSHOT=1
  exec "$here/../tests/support/with-xvfb" --size 800x500 -- "$0" "$build"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME=$work/state
# Something with detail to magnify: a seeded fractal under a few flat panels.
/usr/bin/convert -seed 7 -size 800x500 plasma:steelblue-lightyellow -blur 0x1 \
  -fill '#f4f4f4' -draw 'rectangle 90,80 420,330' -fill '#2d6cb5' -draw 'rectangle 90,80 420,104' \
  -fill '#d9534f' -draw 'circle 560,300 620,300' "$work/desktop.png"
/usr/bin/display -geometry +0+0 -borderwidth 0 -title desktop "$work/desktop.png" &
viewer=$!
trap 'kill "$viewer" 2>/dev/null; rm -rf "$work"' EXIT
xdotool search --sync --onlyvisible --name '^desktop$' >/dev/null

"$build/bin/vantorshot-capture" -s -x "$work/area.png" &
tool=$!
xdotool search --sync --onlyvisible --name '^vantorshot-capture: drag an area$' >/dev/null
xdotool mousemove 80 70 mousedown 1 mousemove 250 200 mousemove 431 341 mouseup 1
xdotool mousemove 255 341 mousedown 1 mousemove 255 352 mouseup 1  # the bottom handle
xdotool mousemove 548 242  # on the edge of the disc
sleep 0.5
/usr/bin/import -window root "$here/selection-overlay.png"
xdotool key Escape
wait "$tool" || true
echo "wrote $here/selection-overlay.png"
