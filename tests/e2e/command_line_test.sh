#!/usr/bin/env bash
# The command line tells the outcome of the capture it asks for, the same with the program
# running and without: it waits through the countdown, prints the saved file, and exits 0 saved,
# 1 cancelled ("Capture cancelled"), 2 failed (the tool's message), 3 at once while another
# capture is underway; --no-wait returns at once. --edit and --pin start the editor beside the
# program. A second start on the same display, however it is spelled, ends at once.
source "$(dirname "$0")/e2e_lib.sh"

# Runs the command line in the background; its output, errors and status land in $E2E_DIR/bg.*.
in_background() {
  rm -f "$E2E_DIR"/bg.*
  (
    set +e
    "$VANTORSHOT" "$@" >"$E2E_DIR/bg.out" 2>"$E2E_DIR/bg.err"
    echo $? >"$E2E_DIR/bg.tmp" && mv "$E2E_DIR/bg.tmp" "$E2E_DIR/bg.status"
  ) &
}
background_status() {
  wait_for "[[ -e '$E2E_DIR/bg.status' ]]" 20 || fail "$1: the command line did not end"
  cat "$E2E_DIR/bg.status"
}
plate_shows() { wait_for 'shown_window 220x190 >/dev/null' 10 || fail "$1: no countdown plate"; }
seconds_since() { echo $((($(date +%s%N) - $1) / 100000000)); }  # in tenths

# The four outcomes; $1 says who takes the capture.
check_outcomes() {
  local who=$1 started status message
  started=$(date +%s%N)
  in_background --capture screen
  plate_shows "$who"
  outcome "$VANTORSHOT" --capture selection
  ((status == 3)) || fail "$who: a capture during the countdown ended with $status: $message"
  [[ $message == *"already underway"* ]] || fail "$who: the busy capture says: $message"
  status=$(background_status "$who")
  ((status == 0)) || fail "$who: the capture ended with $status: $(cat "$E2E_DIR/bg.err")"
  (($(seconds_since "$started") >= 25)) || fail "$who: the command line did not wait"
  [[ -f $(cat "$E2E_DIR/bg.out") ]] || fail "$who: it printed '$(cat "$E2E_DIR/bg.out")'"

  in_background --capture screen
  plate_shows "$who"
  xdotool key Escape
  status=$(background_status "$who")
  ((status == 1)) || fail "$who: Escape in the countdown gave $status"
  grep -qx "Capture cancelled" "$E2E_DIR/bg.err" || fail "$who: $(cat "$E2E_DIR/bg.err")"

  touch "$E2E_DIR/tool-fails"
  in_background --capture screen
  status=$(background_status "$who")
  rm "$E2E_DIR/tool-fails"
  ((status == 2)) || fail "$who: a failing tool gave $status"
  grep -q "^Capture failed: cannot write .*Permission denied$" "$E2E_DIR/bg.err" ||
    fail "$who: the failure says: $(cat "$E2E_DIR/bg.err")"
  [[ ! -s $E2E_DIR/bg.out ]] || fail "$who: a failure printed $(cat "$E2E_DIR/bg.out")"

  local calls
  calls=$(capture_call_count)
  started=$(date +%s%N)
  "$VANTORSHOT" --capture screen --no-wait || fail "$who: --no-wait ended with $?"
  (($(seconds_since "$started") < 30)) || fail "$who: --no-wait waited"  # the countdown is 3 s
  capture_call "$calls" 15 >/dev/null || fail "$who: --no-wait took no capture"
  wait_for '! shown_window 220x190 >/dev/null' 5 || fail "$who: the plate stays"
}

prepare_user
write_settings
sed -i 's/^Timer=0$/Timer=1/' "$XDG_CONFIG_HOME/vantorshot/VantorShot.ini"
start_program
wait_for_icon

# Every name of this display is this display: no second copy starts under another spelling.
for name in "$DISPLAY.0" "unix$DISPLAY"; do
  DISPLAY=$name timeout 10 "$VANTORSHOT" || fail "a start on $name ended with $?"
done

check_outcomes "with the program"
"$VANTORSHOT" --quit || fail "--quit was not delivered"
wait_for '! kill -0 $APP_PID 2>/dev/null' 10 || fail "--quit did not end the program"
wait "$APP_PID" || fail "the program ended with $?"
APP_PID=

check_outcomes "without the program"
outcome "$VANTORSHOT" --capture nonsense
((status == 2)) || fail "--capture nonsense ended with $status"
[[ $message == *'unknown capture "nonsense"'* ]] || fail "the message says: $message"

# The editor is the program beside this one; a stand-in records its words.
mkdir "$E2E_DIR/bin"
cp "$VANTORSHOT" "$E2E_DIR/bin/"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s/editor.words"\n' "$E2E_DIR" >"$E2E_DIR/bin/vantorshot-edit"
chmod +x "$E2E_DIR/bin/vantorshot-edit"
: >"$E2E_DIR/picture.png"
for option in --edit --pin; do
  rm -f "$E2E_DIR/editor.words"
  (cd "$E2E_DIR" && bin/vantorshot "$option" picture.png) || fail "$option ended with $?"
  expected=$([[ $option == --pin ]] && echo --pin; echo "$E2E_DIR/picture.png")
  wait_for "[[ -s '$E2E_DIR/editor.words' ]]" 5 || fail "$option did not start the editor"
  [[ $(cat "$E2E_DIR/editor.words") == "$expected" ]] ||
    fail "$option gave the editor: $(cat "$E2E_DIR/editor.words")"
  outcome "$E2E_DIR/bin/vantorshot" "$option" "$E2E_DIR/missing.png"
  ((status == 2)) && [[ $message == *"cannot read $E2E_DIR/missing.png"* ]] ||
    fail "$option of a missing file ended with $status: $message"
done
echo "PASS"
