# Shared steps of the end-to-end tests, sourced by each test, which runs inside
# tests/support/with-xvfb --tray. Needs VANTORSHOT, the program. Every wait is bounded.
set -euo pipefail
: "${VANTORSHOT:?VANTORSHOT must name the program to test}"
[[ -x $VANTORSHOT ]] || { echo "e2e: $VANTORSHOT is not an executable" >&2; exit 1; }

E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/vantorshot-e2e-XXXXXX")
E2E_PIDS=() APP_PID= APP_STATUS=
e2e_cleanup() {
  kill "${E2E_PIDS[@]}" $APP_PID 2>/dev/null || true
  wait "${E2E_PIDS[@]}" $APP_PID 2>/dev/null || true
  rm -rf "$E2E_DIR"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [[ -s $E2E_DIR/app.log ]] && { echo "--- program output ---"; cat "$E2E_DIR/app.log"; } >&2
  exit 1
}

# Runs a command; what it printed (both streams) lands in $message, its status in $status.
outcome() { set +e; message=$("$@" 2>&1); status=$?; set -e; }

# Polls the command $1 every tenth of a second for at most $2 seconds.
wait_for() {
  local tries=$(($2 * 10))
  while ((tries-- > 0)); do eval "$1" && return 0; sleep 0.1; done
  return 1
}

# A private user: home, configuration, runtime folder, and a capture tool that records each
# call's words, one per line, in $E2E_DIR/calls/N, and writes the file it is asked for; while
# $E2E_DIR/tool-fails exists it fails as an unwritable folder would, while
# $E2E_DIR/tool-sleeps exists it takes half a minute.
prepare_user() {
  export HOME=$E2E_DIR/home XDG_CONFIG_HOME=$E2E_DIR/home/.config
  export XDG_RUNTIME_DIR=$E2E_DIR/runtime VANTORSHOT_CAPTURE_TOOL=$E2E_DIR/capture-tool
  mkdir -p "$HOME/Documents" "$XDG_CONFIG_HOME/vantorshot" "$E2E_DIR/calls"
  mkdir -m 700 -p "$XDG_RUNTIME_DIR"
  cat >"$VANTORSHOT_CAPTURE_TOOL" <<TOOL
#!/usr/bin/env bash
n=\$(ls "$E2E_DIR/calls" | wc -l)
printf '%s\n' "\$@" >"$E2E_DIR/calls/\$n.tmp"
mv "$E2E_DIR/calls/\$n.tmp" "$E2E_DIR/calls/\$n"
[[ -e $E2E_DIR/tool-fails ]] && { echo "cannot write \${@: -1}: Permission denied" >&2; exit 2; }
[[ -e $E2E_DIR/tool-sleeps ]] && exec sleep 30
[[ \$# -gt 0 ]] && printf 'recorded' >"\${@: -1}" 2>/dev/null
exit 0
TOOL
  chmod +x "$VANTORSHOT_CAPTURE_TOOL"
}

# The settings file the program reads at start: every key with sound and shadow on and the
# rest off, captures going to $CAPTURE_DIR; extra KEY=VALUE arguments are appended.
write_settings() {
  CAPTURE_DIR=$HOME/Captures/
  mkdir -p "$CAPTURE_DIR"
  printf '%s\n' "[General]" Timer=0 FileFormat=0 FileLocation=0 MenuIcon=1 SoundOn=1 ShadowOn=1 \
    MouseOn=0 ClipboardOn=0 PreviewOn=0 Login=0 "DirPath=$CAPTURE_DIR" DisplayPath=Captures "$@" \
    >"$XDG_CONFIG_HOME/vantorshot/VantorShot.ini"
}

start_program() { "$VANTORSHOT" >"$E2E_DIR/app.log" 2>&1 & APP_PID=$!; }

# The program's tray icon embedded in the tray host's panel: "window x y width height".
embedded_icon() {
  # awk reads to the end: leaving early would end xwininfo by SIGPIPE and fail the pipe.
  xwininfo -root -tree 2>/dev/null | awk '
    found { next }
    /\("panel" "trayer"\)/ { panel = 1; depth = match($0, /[^ ]/); next }
    panel && match($0, /[^ ]/) <= depth { panel = 0 }
    panel && tolower($0) ~ /\("vantorshot"/ &&
      match($0, /[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+ +\+-?[0-9]+\+-?[0-9]+/) {
      split(substr($0, RSTART, RLENGTH), f, /[x+ ]+/)
      print $1, f[5], f[6], f[1], f[2]; found = 1
    }
    END { exit !found }'
}

wait_for_icon() {
  wait_for 'embedded_icon >/dev/null' 20 || fail "the tray icon was not embedded within 20 s"
  sleep 0.3  # the tray host paints the icon after embedding it
}

# Prints "id x y" of a viewable top-level window of the program, of size $1 (WxH) when given,
# or fails. The tray icon is no top-level window.
shown_window() {
  local id info
  for id in $(xwininfo -root -children 2>/dev/null |
    awk 'tolower($0) ~ /\("vantorshot" "vantorshot"\)/ { print $1 }'); do
    info=$(xwininfo -id "$id" 2>/dev/null) || continue
    grep -q 'Map State: IsViewable' <<<"$info" || continue
    awk -v size="${1:-}" -v id="$id" '
      /Absolute upper-left X:/ { x = $NF } /Absolute upper-left Y:/ { y = $NF }
      /Width:/ { w = $NF } /Height:/ { h = $NF }
      END { if (size == "" || w "x" h == size) { print id, x, y; found = 1 } exit !found }' \
      <<<"$info" && return 0
  done
  return 1
}
menu_is_open() { shown_window >/dev/null; }

# Opens the status menu with a right click on the icon. A click that lands while the program
# is still busy with its previous command can be lost, so a person would click again.
open_status_menu() {
  local window x y width height attempt
  read -r window x y width height < <(embedded_icon) || fail "no tray icon to click"
  for attempt in 1 2 3; do
    xdotool mousemove $((x + width / 2)) $((y + height / 2)) click 3
    wait_for 'menu_is_open' 2 && return 0
  done
  fail "the status menu did not open"
}

# Chooses the status-menu item at position $1 (from 1, separators not counted) by keyboard.
choose_menu_item() {
  local i
  for ((i = 0; i < $1; i++)); do xdotool key Down; sleep 0.05; done
  xdotool key Return
}

# The words of the Nth call of the capture tool (from 0), waiting for it up to $2 seconds.
capture_call() {
  wait_for "[[ -e '$E2E_DIR/calls/$1' ]]" "${2:-10}" && cat "$E2E_DIR/calls/$1"
}

capture_call_count() { ls "$E2E_DIR/calls" | grep -vc '\.tmp$' || true; }

# Checks that a recorded call $1 has exactly the option words given after the extension $2,
# then one output path in $CAPTURE_DIR with that extension.
expect_words() {
  local actual=() extension=$2 i
  mapfile -t actual <<<"$1"
  shift 2
  ((${#actual[@]} == $# + 1)) || fail "expected $# options and a path, got: ${actual[*]}"
  for ((i = 0; i < $#; i++)); do
    [[ ${actual[i]} == "${@:i+1:1}" ]] || fail "word $i is '${actual[i]}', not '${@:i+1:1}'"
  done
  [[ ${actual[-1]} == "$CAPTURE_DIR"* && ${actual[-1]} == *"$extension" ]] ||
    fail "the last word is not a $extension file in $CAPTURE_DIR: ${actual[-1]}"
}

# Ends the program through its menu's Quit and leaves its exit status in APP_STATUS.
quit_from_menu() {
  open_status_menu
  xdotool key Up Return  # Up from no selection goes to the last item, Quit
  wait_for '! kill -0 $APP_PID 2>/dev/null' 10 || fail "the program did not end after Quit"
  APP_STATUS=0
  wait "$APP_PID" || APP_STATUS=$?
  APP_PID=
}

# How many pixels of the tray icon are near black ($1 = dark) or near white ($1 = light).
icon_pixel_count() {
  local window threshold='<0.25'
  read -r window _ < <(embedded_icon) || fail "no tray icon to look at"
  [[ $1 == light ]] && threshold='>0.9'
  /usr/bin/import -window "$window" "$E2E_DIR/icon.png"
  /usr/bin/convert "$E2E_DIR/icon.png" -colorspace gray -fx "u$threshold ? 1 : 0" \
    -format '%[fx:round(mean*w*h)]' info:
}
