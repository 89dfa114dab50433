#!/bin/sh
# Measures the capture engine's overhead around the capture tool (see engine_overhead.cpp).
# Usage: bench/engine_overhead.sh [build folder]   (default: build)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build=$(cd "${1:-$source_dir/build}" && pwd)

# The engine's libraries come from the build; its capture tests link exactly what it needs.
cmake --build "$build" -j2 --target capture_tests >/dev/null
link="$build/tests/capture/CMakeFiles/capture_tests.dir/link.txt"
libraries=$(tr ' ' '\n' < "$link" | grep -E '\.(a|so[.0-9]*)$' | grep -v gtest |
  sed "s|^\.\./\.\./|$build/|" | tr '\n' ' ')

program=$(mktemp /tmp/engine-overhead.XXXXXX)
trap 'rm -f "$program"' EXIT
# shellcheck disable=SC2086
c++ -std=c++20 -O2 -I"$source_dir/src" "$here/engine_overhead.cpp" $libraries -lpthread \
  -o "$program"
"$program"
