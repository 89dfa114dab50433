#!/usr/bin/env bash
# Two outputs of different scales (with-sway --portal plus a second output at scale 2), each
# showing noise: `-D N` gives each output its own physical pixels. The output at the portal's
# scale is every pixel what grim takes of it; the one the portal enlarged comes back at its
# own size, each pixel the mean of its block of the portal's picture (grim draws the same).
set -euo pipefail
: "${PORTAL_CAPTURE:?names the Wayland capture tool}"
dir=$(mktemp -d "$HOME/scales-XXXXXX")
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

swaymsg -q create_output
swaymsg -q output HEADLESS-2 resolution 1280x720 position 1280 0 scale 2
for n in 1 2; do
  /usr/bin/convert -size 1280x720 xc: +noise Random -depth 8 "PNG24:$dir/noise-$n.png"
  swaymsg -q output "HEADLESS-$n" bg "$dir/noise-$n.png" fill
done
# Settled: both outputs show the noise and two pictures of the desktop in a row are the same.
settled() {
  grim "$dir/now.png" && [[ -e $dir/before.png ]] &&
    /usr/bin/compare -metric AE "$dir/now.png" "$dir/before.png" null: 2>/dev/null &&
    [[ $(/usr/bin/convert "$dir/now.png" -format '%[hex:p{640,600}]|%[hex:p{3000,600}]' info:) != \
      *${SESSION_COLOUR#\#}* ]] || { mv "$dir/now.png" "$dir/before.png" && sleep 0.3 && false; }
}
wait_for settled 20 || fail "the outputs did not settle on their backgrounds"

# The largest difference of a channel between two pictures, 0 to 255.
peak() {
  /usr/bin/compare -metric PAE "$1" "$2" null: 2>&1 | sed -E 's/.*\((.*)\)/\1/' |
    awk '{ printf "%d", $1 * 255 + 0.5 }' || true
}
for n in 1 2; do
  grim -o "HEADLESS-$n" "$dir/grim-$n.png"
  "$PORTAL_CAPTURE" -D "$n" "$dir/tool-$n.png" >/dev/null || fail "-D $n ended with status $?"
  size=$(/usr/bin/identify -format %wx%h "$dir/tool-$n.png")
  [[ $size == 1280x720 ]] || fail "display $n came out $size, not its 1280x720 physical pixels"
done
[[ $(peak "$dir/tool-2.png" "$dir/grim-2.png") == 0 ]] ||
  fail "the scale 2 output is not grim's: its pixels differ by up to $(peak "$dir/tool-2.png" "$dir/grim-2.png")"
# The portal's picture is drawn at scale 2: the scale 1 output is its left 2560x1440, enlarged.
# ImageMagick's means are truncated, ours rounded: they may differ by one.
/usr/bin/convert "$dir/now.png" -alpha off -crop 2560x1440+0+0 +repage -scale 50% \
  "PNG24:$dir/mean-1.png"
(($(peak "$dir/tool-1.png" "$dir/mean-1.png") <= 1)) ||
  fail "the scale 1 output is not the means of its blocks: they differ by up to" \
    "$(peak "$dir/tool-1.png" "$dir/mean-1.png")"
[[ ! -e /tmp/out.png ]] || fail "the portal's /tmp/out.png was left behind"
echo "PASS"
