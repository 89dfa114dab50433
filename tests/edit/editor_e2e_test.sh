#!/usr/bin/env bash
# The editor on a private Xvfb with a window manager, driven with xdotool: a rectangle and a
# text drawn on a 4K picture, saved with Ctrl+S and copied with Ctrl+C; then a picture from the
# clipboard pinned above another window.
set -euo pipefail
: "${EDITOR_PROGRAM:?EDITOR_PROGRAM must name vantorshot-edit}"
dir=$(mktemp -d "${TMPDIR:-/tmp}/vantorshot-edit-e2e-XXXXXX")
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait "${pids[@]}" 2>/dev/null || true; rm -rf "$dir"' EXIT
export HOME=$dir XDG_RUNTIME_DIR=$dir
fail() { echo "FAIL: $*" >&2; cat "$dir/log" >&2 2>/dev/null || true; exit 1; }
wait_for() {
  local tries=$(($2 * 10))
  while ((tries-- > 0)); do eval "$1" && return 0; sleep 0.1; done
  return 1
}
window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }
geometry() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=//p'; }

# What cannot be read is refused with status 2 and the reason: the missing file and one that
# is no picture before any window, a cut-off picture once its decoding fails.
printf 'not a picture' >"$dir/text.png"
convert -size 800x600 plasma: "$dir/whole.png"
head -c 20000 "$dir/whole.png" >"$dir/cut.png"
for bad in missing.png text.png cut.png; do
  status=0
  timeout 30 "$EDITOR_PROGRAM" "$dir/$bad" >/dev/null 2>"$dir/complaint" || status=$?
  ((status == 2)) || fail "$bad gave status $status"
  grep -q "^vantorshot-edit: cannot read $dir/$bad: " "$dir/complaint" || fail "$bad: $(cat "$dir/complaint")"
done

convert -size 3840x2160 xc:white "$dir/big.png"
cp "$dir/big.png" "$dir/original.png"
"$EDITOR_PROGRAM" "$dir/big.png" >"$dir/log" 2>&1 & pids+=($!)
wait_for '[[ -n $(window_named "big.png") ]]' 30 || fail "no editor window"
editor=$(window_named "big.png")
# The window manager places and sizes the window after it shows, and the picture is fitted
# anew then: a slow build is still settling for a while.
settled() {
  local before
  before=$(geometry "$editor")
  sleep 1
  [[ $(geometry "$editor") == "$before" ]]
}
wait_for settled 30 || fail "the editor window never settled"
read -r x y w h < <(geometry "$editor" | paste -sd' ')
xdotool windowactivate --sync "$editor" key r
sleep 0.3
# The fitted picture fills the width; the middle fifth of the height is surely on it.
xdotool mousemove $((x + w / 5)) $((y + h * 2 / 5)) mousedown 1 sleep 0.1 \
  mousemove $((x + w / 4)) $((y + h / 2)) sleep 0.1 mousemove $((x + w * 2 / 5)) $((y + h * 3 / 5)) \
  sleep 0.1 mouseup 1
# The text is typed where it goes, on the picture.
tx=$((x + w * 7 / 10)) ty=$((y + h / 2))
xdotool key t mousemove $tx $ty click 1
sleep 0.3
xdotool type Hello
xdotool key Return
sleep 0.3
xdotool key ctrl+s
wait_for '! cmp -s "$dir/big.png" "$dir/original.png"' 30 || fail "Ctrl+S wrote nothing"

changes() {  # the bounding box "WxH+X+Y" of what changed in one half of the picture
  convert "$dir/original.png" "$dir/big.png" -compose difference -composite \
    -crop "1920x2160+$1+0" +repage -threshold 10% -trim -format '%w %h %[fx:page.x] %[fx:page.y]\n' info:
}
read -r rw rh rx ry < <(changes 0)
((rw > 300 && rh > 150)) || fail "no rectangle on the left half: ${rw}x${rh}"
inside=$(convert "$dir/big.png" -format "%[pixel:p{$((rx + rw / 2)),$((ry + rh / 2))}]" info:)
[[ $inside == *white* || $inside == *255,255,255* ]] || fail "the rectangle is filled: $inside"
edge=$(convert "$dir/big.png" -format "%[pixel:p{$rx,$((ry + rh / 2))}]" info:)
[[ $edge == *red* || $edge == srgb\(2[0-9][0-9],0,0\) ]] || fail "the edge is not red: $edge"
read -r tw th _ < <(changes 1920)
((tw > 20 && th > 10 && tw < 1900)) || fail "no text on the right half: ${tw}x${th}"

# A double click with the select tool opens the text again; Escape drops a text being typed.
saved() { cp "$dir/big.png" "$dir/before-save.png"; xdotool key ctrl+s; wait_for '! cmp -s "$dir/big.png" "$dir/before-save.png"' 30; }
xdotool key v mousemove $((tx + 3)) $((ty + 3)) click --repeat 2 --delay 80 1
sleep 0.3
xdotool key ctrl+a type 'Hello again and again'
xdotool key Return t mousemove $((x + w / 5)) $((y + h * 4 / 5)) click 1
sleep 0.3
xdotool type Gone
xdotool key Escape
saved || fail "Ctrl+S wrote nothing after the text changed"
read -r tw2 th2 _ < <(changes 1920)
((tw2 > 3 * tw && th2 < 2 * th)) || fail "the text did not become longer: ${tw}x${th} to ${tw2}x${th2}"
[[ $(changes 0) == "$rw $rh $rx $ry" ]] || fail "the text dropped with Escape was drawn: $(changes 0)"

# Ctrl+C puts the picture as saved on the clipboard.
xdotool windowactivate --sync "$editor" key ctrl+c
copied() {
  xclip -selection clipboard -t image/png -o >"$dir/copied.png" 2>/dev/null &&
    [[ $(compare -metric AE "$dir/copied.png" "$dir/big.png" null: 2>&1) == 0 ]]
}
wait_for copied 10 || fail "the clipboard does not hold the picture"

# Pin, of a picture on the clipboard: a window of the picture's size, kept above a window
# raised after it, closed by Escape.
convert -size 300x200 xc:navy "$dir/small.png"
xclip -quiet -selection clipboard -t image/png -i "$dir/small.png" >/dev/null 2>&1 & pids+=($!)
wait_for 'xclip -selection clipboard -t image/png -o 2>/dev/null | cmp -s - "$dir/small.png"' 10 ||
  fail "xclip did not take the clipboard"
"$EDITOR_PROGRAM" --pin --clipboard >>"$dir/log" 2>&1 & pin_pid=$!
pids+=($pin_pid)
wait_for '[[ -n $(window_named "^Pinned: clipboard") ]]' 30 || fail "no pin window"
pin=$(window_named "^Pinned: clipboard")
read -r _ _ pw ph < <(geometry "$pin" | paste -sd' ')
[[ "${pw}x${ph}" == 300x200 ]] || fail "the pin window is ${pw}x${ph}, not 300x200"
xmessage -geometry 800x600+0+0 "another window" & pids+=($!)
wait_for '[[ -n $(window_named "^xmessage$") ]]' 10 || fail "no other window"
xdotool windowactivate --sync "$(window_named "^xmessage$")"
sleep 0.5
stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' | xargs printf '%d\n')
other=$(window_named "^xmessage$")
pin_place=$(grep -nx "$pin" <<<"$stacking" | cut -d: -f1)
other_place=$(grep -nx "$other" <<<"$stacking" | cut -d: -f1)
((pin_place > other_place)) || fail "the pin is below the other window ($stacking)"
xdotool windowactivate --sync "$pin" key Escape
wait_for '! kill -0 $pin_pid 2>/dev/null' 10 || fail "Escape did not close the pin"
echo PASS
