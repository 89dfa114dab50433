#!/usr/bin/env bash
# Where no program may have system-wide keys, the desktop's own key binding runs the command
# line: a sway binding to "vantorshot --capture selection", pressed through a virtual keyboard,
# starts the capture in the running program.
#
# Runs inside with-sway (no GlobalShortcuts portal).
source "$(dirname "$0")/wayland_lib.sh"

use_recording_tool
write_settings
start_program
wait_for_item
swaymsg "bindsym Mod4+Shift+s exec '$VANTORSHOT' --capture selection" >/dev/null ||
  fail "sway took no binding"
wtype -M logo -M shift -k s -m shift -m logo || fail "wtype could not type"
words=$(capture_call 0) || fail "the key binding started no capture"
[[ $(head -3 <<<"$words" | paste -s -d ' ') == "-s -t png" ]] || fail "the capture's words: $words"
[[ $(tail -1 <<<"$words") == "$CAPTURE_DIR"vs_cap_area_*.png ]] ||
  fail "the capture goes to $(tail -1 <<<"$words")"
quit_program
echo "PASS"
