#!/usr/bin/env bash
# A second copy on the same display ends at once with status 0 and leaves the first running;
# SIGTERM ends the first through the ordinary quit, with status 0.
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
status=0
timeout 10 "$program" || status=$?
((status == 0)) || fail "the second copy ended with $status, not 0"
kill -0 "$first" || fail "the first copy did not keep running"
kill -TERM "$first"
status=0
wait "$first" || status=$?
((status == 0)) || fail "the first copy ended with $status after SIGTERM, not 0"
echo "single instance and SIGTERM: ok"
