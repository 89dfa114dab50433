#!/usr/bin/env bash
# On a Wayland-only desktop (with-sway --portal) the status item registers with the tray, its
# menu answers over D-Bus, and captures go through the screenshot portal: from the menu and the
# command line each write the whole 1280x720 output, in the format chosen, and leave no file of
# the portal's behind. A portal that refuses gives "Capture failed" and exit status 2.
source "$(dirname "$0")/wayland_lib.sh"

start_services org.freedesktop.Notifications
touch "$WL_DIR/before"
write_settings
start_program
for label in "Capture Entire Screen" "Capture Window..." "Capture Selection..." "Preferences..." \
  "About" "Quit"; do
  [[ -n $(menu_row "$label") ]] || fail "the menu has no enabled '$label'"
done

shots() { compgen -G "$CAPTURE_DIR/vs_cap_full_*.$1" | sort || true; }
# Checks that the file $1 is a picture of the whole output, its background the session's colour
# (within what JPEG changes).
expect_output_picture() {
  local size near=1 c
  size=$(/usr/bin/identify -format %wx%h "$1")
  [[ $size == 1280x720 ]] || fail "$1 is $size, not 1280x720"
  for c in r:1 g:3 b:5; do near+="*(abs(255*p{640,600}.${c%:*}-$((16#${SESSION_COLOUR:${c#*:}:2})))<=3)"; done
  [[ $(/usr/bin/convert "$1" -format "%[fx:$near]" info:) == 1 ]] ||
    fail "$1 has $(/usr/bin/convert "$1" -format '%[pixel:p{640,600}]' info:), not $SESSION_COLOUR"
}

call "$ITEM" "$MENU" com.canonical.dbusmenu.Event "$(menu_row "Capture Entire Screen")" clicked \
  '<0>' 0 >/dev/null || fail "the menu took no click"
wait_for '[[ $(shots png | wc -l) == 1 ]]' 15 || fail "choosing Capture Entire Screen wrote nothing"
expect_output_picture "$(shots png)"
wait_for 'grep -q "Capture saved" "$RECORD"' 5 || fail "no notification of the saved capture"

"$VANTORSHOT" --capture screen || fail "the command was not delivered"
wait_for '[[ $(shots png | wc -l) == 2 ]]' 15 || fail "--capture screen wrote nothing"
expect_output_picture "$(shots png | tail -1)"
quit_program

# Without a running copy the command takes the capture itself, with the stored settings.
write_settings FileFormat=1
"$VANTORSHOT" --capture screen || fail "the capture without a running copy ended with $?"
jpeg=$(shots jpeg)
[[ -n $jpeg && $(/usr/bin/identify -format %m "$jpeg") == JPEG ]] || fail "no JPEG was written"
expect_output_picture "$jpeg"

# The wlr backend has no picker: it answers an interactive request with code 2.
status=0
"$VANTORSHOT" --capture selection 2>/dev/null || status=$?
((status == 2)) || fail "the refused capture ended with status $status"
grep "Capture failed" "$RECORD" | grep -q "picker" ||
  fail "no 'Capture failed' naming the missing picker: $(cat "$RECORD")"

# The portal's own file is gone: the wlr backend writes /tmp/out.png, others ~/Pictures.
[[ ! -e /tmp/out.png ]] || fail "the portal's /tmp/out.png was left behind"
[[ -z $(find /tmp "$HOME/Pictures" -maxdepth 1 -type f -user "$(id -u)" -newer "$WL_DIR/before" \
  2>/dev/null) ]] || fail "files were left behind in /tmp or Pictures"
echo "PASS"
