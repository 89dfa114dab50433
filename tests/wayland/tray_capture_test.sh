#!/usr/bin/env bash
# On a Wayland-only desktop the status item registers with the tray, its menu answers over
# D-Bus, and captures go through the desktop's screenshot portal: from the menu and from the
# command line each write the whole 1280x720 output, in the format chosen, and leave no file of
# the portal's behind. A portal that refuses gives "Capture failed" and exit status 2.
#
# Runs inside with-sway --portal. Needs NOTIFICATION_SERVER, the recording notification service.
source "$(dirname "$0")/wayland_lib.sh"
: "${NOTIFICATION_SERVER:?names the recording notification service}"

record=$WL_DIR/notifications.record
: >"$record"
start_service org.freedesktop.Notifications "$NOTIFICATION_SERVER" "$record"
touch "$WL_DIR/before"
write_settings
start_program
wait_for_item

menu=$("$TRAY_PROBE" menu "$ITEM") || fail "the item's menu did not answer"
for label in "Capture Entire Screen" "Capture Window..." "Capture Selection..." "Preferences..." \
  "About" "Quit"; do
  grep -q $'\t'"$label"$'\tenabled$' <<<"$menu" || fail "the menu has no '$label': $menu"
done

shots() { compgen -G "$CAPTURE_DIR/vs_cap_full_*.$1" | sort || true; }
# Checks that the file $1 is a picture of the whole output, its background the session's colour
# (within what JPEG changes).
expect_output_picture() {
  [[ $(/usr/bin/identify -format %wx%h "$1") == 1280x720 ]] ||
    fail "$1 is $(/usr/bin/identify -format %wx%h "$1"), not 1280x720"
  local pixel='p{640,600}' channel expected actual
  for channel in r g b; do
    expected=$((16#${SESSION_COLOUR:$((1 + 2 * $(expr index rgb $channel) - 2)):2}))
    actual=$(/usr/bin/convert "$1" -format "%[fx:int(255*$pixel.$channel+0.5)]" info:)
    ((actual - expected <= 3 && expected - actual <= 3)) ||
      fail "the background of $1 has $channel $actual, not $expected"
  done
}

"$TRAY_PROBE" click "$ITEM" "Capture Entire Screen" || fail "the menu took no click"
wait_for '[[ $(shots png | wc -l) == 1 ]]' 15 || fail "choosing Capture Entire Screen wrote nothing"
expect_output_picture "$(shots png)"
wait_for 'grep -q "Capture saved" "$record"' 5 || fail "no notification of the saved capture"

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
"$VANTORSHOT" --capture selection 2>"$WL_DIR/refused.log" || status=$?
((status == 2)) || fail "the refused capture ended with status $status"
grep "Capture failed" "$record" | grep -q "picker" ||
  fail "no 'Capture failed' naming the missing picker: $(cat "$record")"

# The portal's own file is gone: the wlr backend writes /tmp/out.png, others ~/Pictures.
[[ ! -e /tmp/out.png ]] || fail "the portal's /tmp/out.png was left behind"
[[ -z $(find /tmp "$HOME/Pictures" -maxdepth 1 -type f -user "$(id -u)" -newer "$WL_DIR/before" \
  2>/dev/null) ]] || fail "files were left behind in /tmp or Pictures"
echo "PASS"
