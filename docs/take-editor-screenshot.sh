#!/usr/bin/env bash
# Takes docs/editor.png: a capture-like picture marked up in the editor with each tool (arrow,
# line, rectangle, filled ellipse, pen, highlighter, text, three steps, pixelate, blur), on a
# private Xvfb with a window manager.
#
#   docs/take-editor-screenshot.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: take-editor-screenshot.sh BUILD_DIR}" && pwd)
if [[ -z ${DISPLAY:-} || ${TAKING_EDITOR_SCREENSHOT:-} != 1 ]]; then
  export TAKING_EDITOR_SCREENSHOT=1
  exec "$here/../tests/support/with-xvfb" --wm --size 1100x800 -- "$0" "$build"
fi
work=$(mktemp -d)
trap 'kill $editor_pid 2>/dev/null; wait $editor_pid 2>/dev/null; rm -rf "$work"' EXIT
export HOME=$work XDG_RUNTIME_DIR=$work

# A made-up capture: a title bar, a few lines of text and a secret to hide.
convert -size 1000x620 xc:'#f4f4f4' -fill '#3a6ea5' -draw 'rectangle 0,0 1000,50' \
  -fill white -pointsize 26 -annotate +20+35 'Build report' -fill '#222' -pointsize 22 \
  -annotate +30+110 'All 214 tests passed in 3 min 12 s.' \
  -annotate +30+160 'Deploy key: 7f3c-91ab-22de-4410' \
  -annotate +30+210 'Coverage went up from 81% to 84%.' \
  -annotate +30+260 'Next run is scheduled for 14:00.' "$work/capture.png"
"$build/bin/vantorshot-edit" "$work/capture.png" >/dev/null 2>&1 &
editor_pid=$!
for _ in $(seq 50); do
  window=$(xdotool search --onlyvisible --name 'capture.png' 2>/dev/null | head -1) && break
  sleep 0.1
done
xdotool windowsize --sync "$window" 1060 760 windowmove --sync "$window" 10 10
sleep 0.5
xdotool windowactivate --sync "$window" key ctrl+1
sleep 0.5
# Picture coordinates to screen coordinates: the picture's top-left corner on the screen, found
# by its title bar's colour.
eval "$(xdotool getwindowgeometry --shell "$window")"
read -r ox oy < <(import -window root png:- | convert - -fill black +opaque '#3a6ea5' \
  -fill white -opaque '#3a6ea5' -trim -format '%[fx:page.x] %[fx:page.y]\n' info:)
drag() {  # tool key, then x1 y1 x2 y2 [more points] in picture pixels
  local key=$1; shift
  xdotool key "$key" mousemove $((ox + $1)) $((oy + $2)) mousedown 1
  shift 2
  while (($#)); do xdotool mousemove $((ox + $1)) $((oy + $2)); shift 2; done
  xdotool mouseup 1
}
drag x 140 140 520 172
# The highlighter in yellow, typed into the colour dialog's HTML field (Alt+H), then red again.
colour() {
  xdotool key k
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^Colour$' >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 0.3
  xdotool key alt+h ctrl+a type "$1"
  xdotool key Return
  sleep 0.3
}
colour '#ffd400'
drag h 30 98 420 98 430 98
colour '#ff0000'
drag a 720 420 520 250
drag l 30 300 600 300
drag r 620 80 960 230
xdotool key f
drag e 700 460 880 560
xdotool key f
drag d 60 380 120 470 190 400 260 480 330 420
drag b 25 235 420 272
for place in "36 102" "36 152" "36 202"; do
  read -r px py <<<"$place"
  xdotool key n mousemove $((ox + px - 20)) $((oy + py - 8)) click 1
done
xdotool key t mousemove $((ox + 640)) $((oy + 250)) click 1
sleep 0.8
xdotool type 'Hidden on purpose'
xdotool key Return
sleep 0.8
xdotool mousemove 1099 799
sleep 0.5
import -window root -crop "${WIDTH}x$((HEIGHT + 30))+$X+$((Y - 30))" +repage "$here/editor.png"
echo "wrote $here/editor.png"
