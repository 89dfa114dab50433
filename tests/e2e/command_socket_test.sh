#!/usr/bin/env bash
# The command socket under a hostile or careless user: a slow client is dropped at its deadline
# while the menu keeps working; an error answer never echoes the client's bytes; commands during
# a countdown are carried out afterwards; --quit while the tool runs stops it at once; a runtime
# folder too deep for a socket's path falls back to a short one the command line finds too; the
# command line talks to no listener of another user, and the program answers none.
source "$(dirname "$0")/e2e_lib.sh"
: "${SOCKET_PEER:?SOCKET_PEER must name tests/support/socket_peer}"

prepare_user
write_settings
sed -i 's/^Timer=0$/Timer=1/' "$XDG_CONFIG_HOME/vantorshot/VantorShot.ini"
start_program
wait_for_icon
socket=$XDG_RUNTIME_DIR/vantorshot-$DISPLAY.socket

# Slow clients, one after another, while the status menu is used.
(for _ in 1 2 3 4 5 6 7 8; do "$SOCKET_PEER" slow "$socket" 150 $'about\n' >>"$E2E_DIR/slow"; done) &
slow=$!
open_status_menu
choose_menu_item 3  # Capture Selection
capture_call 0 5 >/dev/null || fail "the menu's capture did not run beside the slow clients"
wait "$slow" || fail "a slow client was never dropped"
while read -r ms; do ((ms < 1500)) || fail "a slow client was dropped after $ms ms"; done <"$E2E_DIR/slow"

answer=$("$SOCKET_PEER" send "$socket" $'\e]0;owned\a\x01 capture\n')
[[ $answer == $'error unknown command\n' || $answer == "error unknown command" ]] ||
  fail "the unknown command was answered: $(printf %q "$answer")"

# During a countdown, an About box asked for shows once the capture is done.
"$VANTORSHOT" --capture screen --no-wait
wait_for 'shown_window 220x190 >/dev/null' 10 || fail "no countdown plate"
"$VANTORSHOT" --about || fail "--about during the countdown ended with $?"
capture_call 1 10 >/dev/null || fail "the countdown's capture did not run"
wait_for 'shown_window >/dev/null && ! shown_window 220x190 >/dev/null' 10 ||
  fail "the About box asked for during the countdown never showed"
xdotool key Return
wait_for '! shown_window >/dev/null' 5 || fail "the About box did not close"

# Quitting while the tool runs ends the tool, with no file, and the program, without waiting.
touch "$E2E_DIR/tool-sleeps"
"$VANTORSHOT" --capture selection --no-wait
capture_call 2 10 >/dev/null || fail "the slow tool did not start"
outcome "$VANTORSHOT" --capture window
((status == 3)) || fail "a capture while the tool runs ended with $status"
started=$(date +%s%N)
"$VANTORSHOT" --quit || fail "--quit was not delivered"
wait_for '! kill -0 $APP_PID 2>/dev/null' 5 || fail "--quit did not end the program"
took=$((($(date +%s%N) - started) / 1000000))
echo "the program ended $took ms after --quit while the tool ran"
((took < 5000)) || fail "quitting waited for the tool: $took ms"  # it sleeps for 30 s
wait "$APP_PID" || fail "the program ended with $?"
APP_PID=
pgrep -x -f "sleep 30" >/dev/null && fail "the tool still runs"
[[ -e $(tail -n 1 "$E2E_DIR/calls/2") ]] && fail "the stopped tool left a file"
[[ $(capture_call_count) == 3 ]] || fail "a capture queued behind the quit ran"
rm "$E2E_DIR/tool-sleeps"

# A runtime folder too deep for a socket's path: the program and the command line meet in the
# short private folder.
deep=$E2E_DIR/runtime/$(printf 'd%.0s' {1..90})
mkdir -m 700 "$deep"
XDG_RUNTIME_DIR=$deep start_program
XDG_RUNTIME_DIR=$deep wait_for_icon
XDG_RUNTIME_DIR=$deep "$VANTORSHOT" --quit || fail "--quit with a deep runtime folder ended with $?"
wait_for '! kill -0 $APP_PID 2>/dev/null' 10 || fail "--quit with a deep runtime folder did nothing"
APP_PID=

if [[ $(id -u) != 0 ]]; then
  echo "SKIP: the listener and client of another user need root to play two users"
  echo "PASS"
  exit 0
fi
chmod 711 "$E2E_DIR"
nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups)
foreign=$E2E_DIR/foreign
: >"$E2E_DIR/heard" && chmod 666 "$E2E_DIR/heard"
for folder_owner in "everyone" "us"; do
  rm -rf "$foreign" && mkdir -m 700 "$foreign" && chown 65534:65534 "$foreign"
  "${nobody[@]}" "$SOCKET_PEER" listen "$foreign/vantorshot-$DISPLAY.socket" "$E2E_DIR/heard" &
  E2E_PIDS+=($!)
  wait_for "[[ -S '$foreign/vantorshot-$DISPLAY.socket' ]]" 5 || fail "no foreign listener"
  if [[ $folder_owner == everyone ]]; then chmod 1777 "$foreign"; else chown 0:0 "$foreign"; fi
  outcome env XDG_RUNTIME_DIR="$foreign" "$VANTORSHOT" --quit
  [[ ! -s $E2E_DIR/heard ]] || fail "another user's listener heard: $(cat "$E2E_DIR/heard")"
  if [[ $folder_owner == us ]]; then
    ((status == 2)) && [[ $message == *"belongs to another user"* ]] ||
      fail "a foreign listener in our folder gave $status: $message"
  fi
done

# The program itself refuses a client of another user, whatever the folder lets through.
start_program
wait_for_icon
chmod 711 "$XDG_RUNTIME_DIR" && chmod 666 "$socket"
answer=$("${nobody[@]}" "$SOCKET_PEER" send "$socket" $'capture screen\n')
[[ $answer == *"error the running program belongs to another user"* ]] ||
  fail "another user's command was answered: $answer"
"$VANTORSHOT" --quit
wait_for '! kill -0 $APP_PID 2>/dev/null' 10 || fail "--quit did not end the program"
APP_PID=
[[ $(capture_call_count) == 3 ]] || fail "another user's command started a capture"
echo "PASS"
