#!/usr/bin/env bash
# SIGTERM ends the program through the ordinary quit, with status 0.
set -euo pipefail
program=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The program writes its settings file at start: a home of its own keeps the user's untouched.
export XDG_RUNTIME_DIR=$scratch/runtime HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config
mkdir -m 700 "$XDG_RUNTIME_DIR" "$HOME"
fail() { echo "$*" >&2; exit 1; }

"$program" &
first=$!
# The command socket comes after the signal handlers: a signal before them ends a start at once.
timeout 10 bash -c 'until compgen -G "$XDG_RUNTIME_DIR/vantorshot-*.socket"; do sleep 0.05; done' \
  >/dev/null || fail "the program did not start listening for commands"
kill -TERM "$first"
status=0
wait "$first" || status=$?
((status == 0)) || fail "the program ended with $status after SIGTERM, not 0"
echo "SIGTERM: ok"
