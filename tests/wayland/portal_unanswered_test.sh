#!/usr/bin/env bash
# The Wayland tool against a stand-in Screenshot portal that never answers. Taking the screen it
# gives up within its bound, whether the portal hands over the request or not even that, with
# status 2 and "the screenshot portal did not answer"; the request is withdrawn, and the picture
# the portal answers the close with removed. A pick waits past that bound, as long as the user
# takes; SIGTERM ends it, the request withdrawn and the portal's picture removed alike.
source "$(dirname "$0")/wayland_lib.sh"
: "${PORTAL_CAPTURE:?names the Wayland capture tool}"
shot=$WL_DIR/shot.png

for variant in handed mute; do
  start_services org.freedesktop.portal.Desktop "$variant"
  status=0
  # The outer bound only keeps a hanging tool from hanging the test.
  timeout 25 "$PORTAL_CAPTURE" "$shot" 2>"$WL_DIR/errors" || status=$?
  [[ $status == 2 && $(<"$WL_DIR/errors") == *": the screenshot portal did not answer" ]] ||
    fail "with a $variant portal: status $status, $(<"$WL_DIR/errors")"
  grep -qx $'Screenshot\tfalse' "$RECORD" || fail "the portal was not asked: $(<"$RECORD")"
  [[ ! -e $shot && ! -e $RECORD.picture ]] || fail "with a $variant portal a picture was left"
  kill "${WL_PIDS[@]}" && wait "${WL_PIDS[@]}" || true
  WL_PIDS=()
  wait_for '! owned org.freedesktop.portal.Desktop' 10 || fail "the stand-in did not leave"
done

start_services org.freedesktop.portal.Desktop handed
"$PORTAL_CAPTURE" -s "$shot" &
tool=$!
WL_PIDS+=("$tool")
wait_for "grep -qx $'Screenshot\ttrue' '$RECORD'" 10 || fail "the pick was not asked for"
sleep 12  # longer than a capture without asking may take
kill -0 "$tool" || fail "the pick was given up"
kill -TERM "$tool"
status=0
wait "$tool" || status=$?
((status == 128 + 15)) || fail "SIGTERM ended the pick with status $status"
grep -q $'^Close\t/org/freedesktop/portal/desktop/request/' "$RECORD" ||
  fail "the request was not withdrawn: $(<"$RECORD")"
[[ ! -e $shot && ! -e $RECORD.picture ]] || fail "a picture was left after SIGTERM"
echo "PASS"
