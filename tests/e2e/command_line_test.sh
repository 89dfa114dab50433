#!/usr/bin/env bash
# The command line drives the running program: a capture asked for from a shell or a desktop
# key binding reaches the tool, and --quit ends the program. Without a running copy a
# capture is taken there and then. Commands it cannot read, or from another user, are refused,
# and a second start on the same display, however it is spelled, ends at once.
source "$(dirname "$0")/e2e_lib.sh"

prepare_user
write_settings
start_program
wait_for_icon

# Every name of this display is this display: no second copy starts under another spelling.
for name in "$DISPLAY.0" "unix$DISPLAY"; do
  DISPLAY=$name timeout 10 "$VANTORSHOT" || fail "a start on $name ended with $?"
done

started=$(date +%s%N)
"$VANTORSHOT" --capture selection || fail "the command was not delivered"
words=$(capture_call 0 5) || fail "the running program started no capture"
arrived=$(stat -c %.9Y "$E2E_DIR/calls/0" | tr -d .)
echo "the tool had its words $(((arrived - started) / 1000000)) ms after the command started"
expect_words "$words" .png -s -t png

if [[ $(id -u) == 0 ]]; then
  # Another user reaches the socket only where its folder and mode let it: then the program
  # itself refuses, by the caller's user id.
  chmod 711 "$XDG_RUNTIME_DIR"
  chmod 666 "$XDG_RUNTIME_DIR"/vantorshot-*.socket
  set +e
  refusal=$(setpriv --reuid=65534 --regid=65534 --clear-groups "$VANTORSHOT" --capture screen 2>&1)
  status=$?
  set -e
  ((status == 2)) || fail "another user's command ended with $status: $refusal"
  [[ $refusal == *"belongs to another user"* ]] || fail "the refusal says: $refusal"
  [[ $(capture_call_count) == 1 ]] || fail "another user's command started a capture"
  chmod 700 "$XDG_RUNTIME_DIR"
else
  echo "SKIP: the refusal of another user's command needs root to play two users"
fi

"$VANTORSHOT" --quit || fail "--quit was not delivered"
wait_for '! kill -0 $APP_PID 2>/dev/null' 10 || fail "--quit did not end the program"
set +e
wait "$APP_PID"
status=$?
set -e
APP_PID=
((status == 0)) || fail "the program ended with $status"

unset VANTORSHOT_CAPTURE_TOOL  # the real tool beside the program
"$VANTORSHOT" --capture screen || fail "the capture without a running copy ended with $?"
compgen -G "$CAPTURE_DIR/vs_cap_full_*.png" >/dev/null || fail "no capture was written"
set +e
message=$("$VANTORSHOT" --capture nonsense 2>&1)
status=$?
set -e
((status == 2)) || fail "--capture nonsense ended with $status"
[[ $message == *'unknown capture "nonsense"'* ]] || fail "the message says: $message"
echo "PASS"
