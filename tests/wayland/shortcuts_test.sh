#!/usr/bin/env bash
# Hot keys on Wayland, run inside with-sway. Through the GlobalShortcuts portal (our stand-in):
# the stored shortcuts are bound in its trigger form, an activation starts the capture, closing
# Preferences binds them anew in a new session, the old one closed. Through the desktop's own
# key binding: a sway binding to "vantorshot --capture selection", typed, starts the capture.
source "$(dirname "$0")/wayland_lib.sh"

start_services org.freedesktop.portal.Desktop
use_recording_tool
write_settings 'ShortKey1=⇧⌘3' 'ShortKey2=⌃⌥W' 'ShortKey3=⇧⌘F5' 'ShortKey4=⌘Space'
start_program

sessions() { awk -F'\t' '$1 == "CreateSession" { print $2 }' "$RECORD"; }
# "id trigger description" of each shortcut bound in session $1.
bindings() { awk -F'\t' -v s="$1" '$1 == "BindShortcuts" && $2 == s { print $3, $4, $5 }' "$RECORD"; }
# Checks that session $1 binds the entire screen's shortcut as $2 and the others as stored.
expect_bindings() {
  local session=$1
  wait_for '[[ $(bindings "$session" | wc -l) == 4 ]]' 10 || fail "no four bindings in $session"
  [[ $(bindings "$session") == "$2"$'\n'"$others" ]] ||
    fail "the bindings of $session are:"$'\n'"$(bindings "$session")"
}
others="capture-window CTRL+ALT+w Capture Window
capture-selection SHIFT+LOGO+F5 Capture Selection
open-capture-location LOGO+space Open Capture Location"
press() { call org.freedesktop.portal.Desktop / vantorshot.test.Press "$1" >/dev/null; }
# Checks that the Nth call of the capture tool (from 1) is of a selection, into the folder.
expect_selection_capture() {
  local words
  words=$(capture_call "$1") || fail "$2 started no capture"
  [[ $words == "-s -t png "*"$CAPTURE_DIR"vs_cap_area_*.png ]] || fail "the capture's words: $words"
}

wait_for '[[ $(sessions | wc -l) == 1 ]]' 10 || fail "no shortcuts session was created"
first=$(sessions)
expect_bindings "$first" "capture-entire-screen SHIFT+LOGO+3 Capture Entire Screen"
press capture-selection
expect_selection_capture 1 "the activated shortcut"

# A new shortcut typed into the entire screen's field, as a person would: the window opens with
# the file format chosen, eleven Tabs on is that field. Closing the window registers the fields.
"$VANTORSHOT" --preferences || fail "--preferences was not delivered"
focused() { swaymsg "[con_id=__focused__ title=\"^Preferences\$\"] nop" >/dev/null 2>&1; }
wait_for focused 10 || fail "no Preferences window with the keyboard"
sleep 0.5
# One virtual keyboard for all the keys, a pause after each for the window to follow. The field
# reads keys by their place on the keyboard, and wtype's keymap puts its second key, here "1",
# at the place of the "1" key.
wtype $(printf -- '-k Tab -s 50 %.0s' {1..11}) -M ctrl -M shift -k 1 -m shift -m ctrl
sleep 0.3
swaymsg '[title="^Preferences$"] kill' >/dev/null
wait_for '[[ $(sessions | wc -l) == 2 ]]' 10 || fail "closing Preferences bound nothing anew"
second=$(sessions | tail -1)
expect_bindings "$second" "capture-entire-screen CTRL+SHIFT+1 Capture Entire Screen"
grep -q $'^Close\t'"$first"'$' "$RECORD" || fail "the first session was not closed"
press capture-selection
expect_selection_capture 2 "the new binding"

swaymsg "bindsym Mod4+Shift+s exec '$VANTORSHOT' --capture selection" >/dev/null ||
  fail "sway took no binding"
wtype -M logo -M shift -k s -m shift -m logo || fail "wtype could not type"
expect_selection_capture 3 "the sway key binding"
quit_program
echo "PASS"
