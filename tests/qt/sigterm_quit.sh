#!/usr/bin/env bash
# SIGTERM ends the program through the ordinary quit, with status 0 (a second copy on the same
# display is refused in the command-line end-to-end test).
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
for _ in $(seq 100); do [[ -e $XDG_RUNTIME_DIR/vantorshot-$DISPLAY.lock ]] && break; sleep 0.05; done
[[ -e $XDG_RUNTIME_DIR/vantorshot-$DISPLAY.lock ]] || fail "the first copy made no lock"
kill -TERM "$first"
status=0
wait "$first" || status=$?
((status == 0)) || fail "the first copy ended with $status after SIGTERM, not 0"
echo "SIGTERM: ok"
