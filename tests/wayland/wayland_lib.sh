# Shared steps of the Wayland tests, which run inside tests/support/with-sway (WAYLAND_DISPLAY,
# SWAYSOCK, a private session bus, swaybar's tray; its wait_for and owned). Needs VANTORSHOT,
# the program, and SERVICES, the recording stand-ins for the desktop's services.
set -euo pipefail
: "${VANTORSHOT:?names the program to test}" "${SERVICES:?names the stand-in services}"

# Inside the session's own home: nothing of the test lands in /tmp.
WL_DIR=$(mktemp -d "$HOME/test-XXXXXX")
RECORD=$WL_DIR/services.record
export XDG_CONFIG_HOME=$WL_DIR/config
WL_PIDS=() APP_PID=
wl_cleanup() {
  local pid
  for pid in $APP_PID "${WL_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in $APP_PID "${WL_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$WL_DIR"
}
trap wl_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [[ ! -s $WL_DIR/app.log ]] || { echo "--- program output ---" && cat "$WL_DIR/app.log"; } >&2
  exit 1
}

# Runs the stand-ins under the bus name $1 (and the words after), recording to $RECORD.
start_services() {
  : >"$RECORD"
  "$SERVICES" "$RECORD" "$@" &
  WL_PIDS+=($!)
  wait_for "owned $1" 10 || fail "$1 did not appear on the bus"
}

# The user's settings: every key with sound off and the rest as a first run leaves them,
# captures going to $CAPTURE_DIR; extra KEY=VALUE arguments are appended.
write_settings() {
  CAPTURE_DIR=$WL_DIR/Captures/
  mkdir -p "$CAPTURE_DIR" "$XDG_CONFIG_HOME/vantorshot"
  printf '%s\n' "[General]" Timer=0 FileFormat=0 FileLocation=0 MenuIcon=1 SoundOn=0 ShadowOn=1 \
    MouseOn=0 ClipboardOn=0 PreviewOn=0 Login=0 "DirPath=$CAPTURE_DIR" DisplayPath=Captures \
    "$@" >"$XDG_CONFIG_HOME/vantorshot/VantorShot.ini"
}

# A capture tool that records the words of each call as a line of $WL_DIR/calls, and cancels.
use_recording_tool() {
  export VANTORSHOT_CAPTURE_TOOL=$WL_DIR/capture-tool
  printf '#!/bin/bash\necho "$*" >>"%s"\nexit 1\n' "$WL_DIR/calls" >"$VANTORSHOT_CAPTURE_TOOL"
  chmod +x "$VANTORSHOT_CAPTURE_TOOL"
}

# The words of the Nth call of the recording tool (from 1), waiting up to 10 seconds.
capture_call() {
  wait_for "[[ -n \$(sed -n $1p '$WL_DIR/calls' 2>/dev/null) ]]" 10 && sed -n "$1p" "$WL_DIR/calls"
}

# Starts the program and waits for its status item, as a tray host finds it: sets ITEM to the
# item's bus name and MENU to its menu's path.
start_program() {
  "$VANTORSHOT" >"$WL_DIR/app.log" 2>&1 &
  APP_PID=$!
  local watcher=(org.kde.StatusNotifierWatcher /StatusNotifierWatcher org.kde.StatusNotifierWatcher
    RegisteredStatusNotifierItems) item
  wait_for '[[ -n $(property "${watcher[@]}") ]]' 20 || fail "no status item registered with the tray"
  item=$(property "${watcher[@]}" | head -1)
  ITEM=${item%%/*}
  MENU=$(property "$ITEM" "/${item#*/}" org.kde.StatusNotifierItem Menu)
}

quit_program() {
  "$VANTORSHOT" --quit || fail "--quit was not delivered"
  wait_for '! kill -0 $APP_PID 2>/dev/null' 10 || fail "--quit did not end the program"
  local status=0
  wait "$APP_PID" || status=$?
  APP_PID=
  ((status == 0)) || fail "the program ended with status $status"
}

# Calls the method $3 of the object $2 of the bus name $1 with the words after.
call() { gdbus call --session -d "$1" -o "$2" -m "$3" -- "${@:4}"; }
property() { call "$1" "$2" org.freedesktop.DBus.Properties.Get "$3" "$4" | grep -oE "'[^']*'" | tr -d "'"; }

# The id of the enabled row labelled $1 (a pattern) in the item's menu, or nothing.
menu_row() {
  call "$ITEM" "$MENU" com.canonical.dbusmenu.GetLayout 0 -1 '[]' |
    grep -oE "\([0-9]+, \{[^}]*'enabled': <true>[^}]*'label': <'$1'>" | grep -oE '[0-9]+' | head -1
}
