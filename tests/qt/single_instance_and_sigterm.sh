#!/usr/bin/env bash
# A second copy on the same display ends at once with status 0 and leaves the first running;
# SIGTERM ends the first through the ordinary quit, with status 0.
set -euo pipefail
program=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
runtime=$scratch/runtime
mkdir -m 700 "$runtime" "$scratch/home"
# The program writes its settings file at start: a home of its own keeps the user's untouched.
export XDG_RUNTIME_DIR=$runtime HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config

"$program" &
first=$!
for _ in $(seq 100); do
  [[ -e $runtime/vantorshot-$DISPLAY.lock ]] && break
  sleep 0.05
done
[[ -e $runtime/vantorshot-$DISPLAY.lock ]] || { echo "first copy made no lock" >&2; exit 1; }

second_status=0
timeout 10 "$program" || second_status=$?
if ((second_status != 0)); then
  echo "second copy ended with $second_status, not 0" >&2
  exit 1
fi
kill -0 "$first" || { echo "first copy did not keep running" >&2; exit 1; }

kill -TERM "$first"
first_status=0
wait "$first" || first_status=$?
if ((first_status != 0)); then
  echo "first copy ended with $first_status after SIGTERM, not 0" >&2
  exit 1
fi
echo "single instance and SIGTERM: ok"
