#!/usr/bin/env bash
# Hot keys through the GlobalShortcuts portal (a stand-in of our own that records what it is
# asked): the stored shortcuts are bound in the portal's trigger form, an activation of the
# selection shortcut starts a selection capture, and closing Preferences binds the shortcuts
# anew in a new session, the old one closed.
#
# Runs inside with-sway. Needs SHORTCUTS_PORTAL, the stand-in portal.
source "$(dirname "$0")/wayland_lib.sh"
: "${SHORTCUTS_PORTAL:?names the stand-in GlobalShortcuts portal}"

record=$WL_DIR/portal.record
: >"$record"
start_service org.freedesktop.portal.Desktop "$SHORTCUTS_PORTAL" "$record"
use_recording_tool
write_settings 'ShortKey1=⇧⌘3' 'ShortKey2=⌃⌥W' 'ShortKey3=⇧⌘F5' 'ShortKey4=⌘Space'
start_program
wait_for_item

# "bind" lines of session $1, as "id trigger description".
bindings() { awk -F'\t' -v s="$1" '$1 == "bind" && $2 == s { print $3, $4, $5 }' "$record"; }
sessions() { awk -F'\t' '$1 == "create" { print $2 }' "$record"; }
expect_bindings() {
  local session=$1 expected=$2
  wait_for '[[ $(bindings "$session" | wc -l) == 4 ]]' 10 || fail "no four bindings in $session"
  [[ $(bindings "$session") == "$expected" ]] ||
    fail "the bindings of $session are:"$'\n'"$(bindings "$session")"
}
press() {
  dbus-send --session --print-reply=literal --dest=org.freedesktop.portal.Desktop /vantorshot/test \
    vantorshot.test.Shortcuts.Press "string:$1" >/dev/null
}

wait_for '[[ $(sessions | wc -l) == 1 ]]' 10 || fail "no shortcuts session was created"
first=$(sessions)
expect_bindings "$first" "capture-entire-screen SHIFT+LOGO+3 Capture Entire Screen
capture-window CTRL+ALT+w Capture Window
capture-selection SHIFT+LOGO+F5 Capture Selection
open-capture-location LOGO+space Open Capture Location"

press capture-selection
words=$(capture_call 0) || fail "the activated shortcut started no capture"
[[ $(head -3 <<<"$words" | paste -s -d ' ') == "-s -t png" ]] || fail "the capture's words: $words"

# A new shortcut typed into the entire screen's field, as a person would: the window opens with
# the file format chosen, eleven Tabs on is that field. Closing the window registers the fields.
"$VANTORSHOT" --preferences || fail "--preferences was not delivered"
focused() { swaymsg "[con_id=__focused__ title=\"^Preferences\$\"] nop" >/dev/null 2>&1; }
wait_for focused 10 || fail "no Preferences window with the keyboard"
sleep 0.5
# One virtual keyboard for all the keys, a pause after each for the window to follow. The field
# reads keys by their place on the keyboard, and wtype's keymap puts its second key, here "1",
# at the place of the "1" key.
tabs=()
for _ in $(seq 11); do tabs+=(-k Tab -s 50); done
wtype "${tabs[@]}" -M ctrl -M shift -k 1 -m shift -m ctrl
sleep 0.3
swaymsg '[title="^Preferences$"] kill' >/dev/null
wait_for '[[ $(sessions | wc -l) == 2 ]]' 10 || fail "closing Preferences bound nothing anew"
second=$(sessions | tail -1)
expect_bindings "$second" "capture-entire-screen CTRL+SHIFT+1 Capture Entire Screen
capture-window CTRL+ALT+w Capture Window
capture-selection SHIFT+LOGO+F5 Capture Selection
open-capture-location LOGO+space Open Capture Location"
grep -q $'^close\t'"$first"'$' "$record" || fail "the first session was not closed"

press capture-selection
capture_call 1 >/dev/null || fail "the new binding started no capture"
quit_program
echo "PASS"
