# Shared steps of the Wayland tests. Sourced by each test, which runs inside
# tests/support/with-sway (WAYLAND_DISPLAY, SWAYSOCK, a private session bus, swaybar's tray).
#
# Needs: VANTORSHOT (the program), TRAY_PROBE. Every wait is bounded.

set -euo pipefail

: "${VANTORSHOT:?VANTORSHOT must name the program to test}"
: "${TRAY_PROBE:?TRAY_PROBE must name the tray probe}"
[[ -z ${DISPLAY:-} ]] || { echo "wayland: DISPLAY is set, the session is not Wayland-only" >&2; exit 1; }

# Inside the session's own home: nothing of the test lands in /tmp.
WL_DIR=$(mktemp -d "$HOME/test-XXXXXX")
WL_PIDS=()
APP_PID=

wl_cleanup() {
  local pid
  for pid in $APP_PID "${WL_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in $APP_PID "${WL_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$WL_DIR"
}
trap wl_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [[ -s $WL_DIR/app.log ]]; then
    echo "--- program output ---" >&2
    cat "$WL_DIR/app.log" >&2
  fi
  exit 1
}

# Polls the command $1 every tenth of a second for at most $2 seconds.
wait_for() {
  local check=$1 tries=$(($2 * 10))
  while ((tries-- > 0)); do
    if eval "$check"; then return 0; fi
    sleep 0.1
  done
  return 1
}

owned() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}

# Runs a service (the words after NAME) on the session bus and waits for it to take NAME.
start_service() {
  local name=$1
  shift
  "$@" &
  WL_PIDS+=($!)
  wait_for "owned $name" 10 || fail "$name did not appear on the bus"
}

# The user's settings: every key with sound off and the rest as a first run leaves them,
# captures going to $CAPTURE_DIR; extra KEY=VALUE arguments are appended.
write_settings() {
  CAPTURE_DIR=$WL_DIR/Captures/
  mkdir -p "$CAPTURE_DIR" "$XDG_CONFIG_HOME/vantorshot"
  {
    echo "[General]"
    printf '%s\n' Timer=0 FileFormat=0 FileLocation=0 MenuIcon=1 SoundOn=0 ShadowOn=1 \
      MouseOn=0 ClipboardOn=0 PreviewOn=0 Login=0 "DirPath=$CAPTURE_DIR" DisplayPath=Captures
    printf '%s\n' "$@"
  } >"$XDG_CONFIG_HOME/vantorshot/VantorShot.ini"
}
export XDG_CONFIG_HOME=$WL_DIR/config

# A capture tool that records each call's words, one a line, in $WL_DIR/calls/N.
use_recording_tool() {
  mkdir -p "$WL_DIR/calls"
  cat >"$WL_DIR/capture-tool" <<TOOL
#!/usr/bin/env bash
n=\$(ls "$WL_DIR/calls" | wc -l)
printf '%s\n' "\$@" >"$WL_DIR/calls/\$n.tmp"
mv "$WL_DIR/calls/\$n.tmp" "$WL_DIR/calls/\$n"
exit 1
TOOL
  chmod +x "$WL_DIR/capture-tool"
  export VANTORSHOT_CAPTURE_TOOL=$WL_DIR/capture-tool
}

# The words of the Nth call of the recording tool (from 0), waiting up to 10 seconds.
capture_call() {
  wait_for "[[ -e '$WL_DIR/calls/$1' ]]" 10 || return 1
  cat "$WL_DIR/calls/$1"
}

start_program() {
  "$VANTORSHOT" >"$WL_DIR/app.log" 2>&1 &
  APP_PID=$!
}

# The program's status item once the tray has registered it: sets ITEM to "service/path".
wait_for_item() {
  wait_for '"$TRAY_PROBE" items >/dev/null' 20 || fail "no status item registered with the tray"
  ITEM=$("$TRAY_PROBE" items | head -1)
}

quit_program() {
  "$VANTORSHOT" --quit || fail "--quit was not delivered"
  wait_for '! kill -0 $APP_PID 2>/dev/null' 10 || fail "--quit did not end the program"
  local status=0
  wait "$APP_PID" || status=$?
  APP_PID=
  ((status == 0)) || fail "the program ended with status $status"
}
