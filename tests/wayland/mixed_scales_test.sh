#!/usr/bin/env bash
# Two outputs showing noise, the second at scale 2 (with-sway --portal and one more): `-D N` gives
# each its own physical pixels. The one at the portal's scale is every pixel what grim takes of
# it; the one the portal enlarged comes back at its own size, each pixel the mean of its block of
# the portal's picture, which grim draws as well.
set -euo pipefail
: "${PORTAL_CAPTURE:?names the Wayland capture tool}"
dir=$(mktemp -d "$HOME/scales-XXXXXX")
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Small outputs: the portal's picture of noise takes a while to compress on a busy machine.
swaymsg -q create_output
swaymsg -q output HEADLESS-1 resolution 640x360
swaymsg -q output HEADLESS-2 resolution 640x360 position 640 0 scale 2
for n in 1 2; do
  /usr/bin/convert -size 640x360 xc: +noise Random -depth 8 "PNG24:$dir/noise-$n.png"
  swaymsg -q output "HEADLESS-$n" bg "$dir/noise-$n.png" fill
done
# Settled: both outputs show the noise, and two pictures of the desktop in a row are the same.
settled() {
  grim "$dir/desktop.png" && [[ -e $dir/before.png ]] &&
    /usr/bin/compare -metric AE "$dir/desktop.png" "$dir/before.png" null: 2>/dev/null &&
    [[ $(/usr/bin/convert "$dir/desktop.png" -format '%[hex:p{320,300}]|%[hex:p{1600,300}]' \
      info:) != *${SESSION_COLOUR#\#}* ]] ||
    { mv "$dir/desktop.png" "$dir/before.png" && sleep 0.3 && false; }
}
wait_for settled 20 || fail "the outputs did not settle on their backgrounds"
grim -o HEADLESS-2 "$dir/grim-2.png"
# ImageMagick's means are truncated, the tool's rounded: they differ by one at most.
/usr/bin/convert "$dir/desktop.png" -alpha off -crop 1280x720+0+0 +repage -scale 50% \
  "PNG24:$dir/means-1.png"

# Display $n must be 640x360 and differ from the picture $2 by at most $3 in any channel.
for expected in "2 grim-2 0" "1 means-1 1"; do
  read -r n reference most <<<"$expected"
  "$PORTAL_CAPTURE" -D "$n" "$dir/display-$n.png" >/dev/null || fail "-D $n ended with status $?"
  size=$(/usr/bin/identify -format %wx%h "$dir/display-$n.png")
  [[ $size == 640x360 ]] || fail "display $n came out $size, not its 640x360 physical pixels"
  peak=$(/usr/bin/compare -metric PAE "$dir/display-$n.png" "$dir/$reference.png" null: 2>&1 |
    sed -E 's/.*\((.*)\)/\1/' || true)
  awk "BEGIN { exit !($peak * 255 <= $most + 0.5) }" ||
    fail "display $n differs from $reference by up to $(awk "BEGIN { print $peak * 255 }")"
done
[[ ! -e /tmp/out.png ]] || fail "the portal's /tmp/out.png was left behind"
echo "PASS"
