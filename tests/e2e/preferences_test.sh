#!/usr/bin/env bash
# The Preferences window as a person uses it: each change is in the settings file at once, the
# shortcuts on closing; the next captures follow the new settings, and a hot key typed into a
# shortcut field is recorded there without starting a capture.
source "$(dirname "$0")/e2e_lib.sh"

prepare_user
write_settings "ShortKey1=⌃⌥⇧1"
sed -i 's/^Timer=0$/Timer=1/' "$XDG_CONFIG_HOME/vantorshot/VantorShot.ini"
start_program
wait_for_icon

open_status_menu
choose_menu_item 5  # Preferences...
wait_for 'xdotool search --name "^Preferences$" >/dev/null' 10 || fail "no Preferences window"
window=$(xdotool search --name "^Preferences$" | head -1)
left=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ { print $4 }')
top=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ { print $4 }')
# Clicks at a point of the window's content, as the window lays out its gadgets.
click_at() { xdotool mousemove $((left + $1)) $((top + $2)) click 1; sleep 0.3; }
stored() { sed -n "s/^$1=//p" "$XDG_CONFIG_HOME/vantorshot/VantorShot.ini"; }
expect_stored() {
  wait_for "[[ \$(stored $1) == '$2' ]]" 5 || fail "$1 is '$(stored "$1")', not '$2'"
}

click_at 130 42  # File Format: the list opens on PNG
xdotool key Down Return
expect_stored FileFormat 1
click_at 28 122  # Play Camera Sound
expect_stored SoundOn 0
click_at 200 282  # Capture Timer Delay: the list opens on 3 seconds
xdotool key Up Return
expect_stored Timer 0

click_at 260 382  # the window field takes the entire-screen hot key as its shortcut
xdotool key ctrl+alt+shift+1
click_at 260 412  # the selection field
xdotool key ctrl+alt+shift+4
sleep 0.5
[[ $(capture_call_count) == 0 ]] || fail "a hot key typed into a shortcut field started a capture"
[[ -z $(stored ShortKey3) ]] || fail "a shortcut was stored before the window closed"

wmctrl -c Preferences
wait_for '! xdotool search --name "^Preferences$" >/dev/null' 5 || fail "the window stayed open"
expect_stored ShortKey3 "⌃⌥⇧4"
expect_stored ShortKey2 "⌃⌥⇧1"

open_status_menu
choose_menu_item 1  # Capture Entire Screen, with no countdown now
words=$(capture_call 0 3) || fail "the entire-screen capture did not start at once"
expect_words "$words" .jpeg -t jpg -x

xdotool key ctrl+alt+shift+4
words=$(capture_call 1) || fail "the new hot key started no capture"
expect_words "$words" .jpeg -s -t jpg -x

quit_from_menu
echo "PASS"
