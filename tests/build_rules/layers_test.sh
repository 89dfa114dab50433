#!/usr/bin/env bash
# No file of a lower subsystem includes a header of a higher one:
#   platform < settings < capture, shortcuts < menu < prefs, about < app
# Subsystems on one level may not include each other either, so each stays replaceable.
set -euo pipefail
cd "$(dirname "$0")/../../src"

level() {
  case $1 in
    platform) echo 0 ;; settings) echo 1 ;; capture | shortcuts) echo 2 ;; menu) echo 3 ;;
    prefs | about) echo 4 ;; app) echo 5 ;; *) echo -1 ;;
  esac
}

status=0
for file in $(find . -name '*.cpp' -o -name '*.h' | sed 's|^\./||' | sort); do
  own=${file%%/*}
  mine=$(level "$own")
  ((mine >= 0)) || { echo "$file: not in a known subsystem"; status=1; continue; }
  while read -r included; do
    theirs=$(level "$included")
    if ((theirs < 0)); then
      echo "$file includes $included/, which is no subsystem"; status=1
    elif [[ $included != "$own" ]] && ((theirs >= mine)); then
      echo "$file ($own) includes $included/, which is not below it"; status=1
    fi
  done < <(grep -oE '^#include "[a-z_]+/' "$file" | sed 's/#include "//; s|/$||' | sort -u)
done
((status == 0)) && echo "PASS: every include points down"
exit "$status"
