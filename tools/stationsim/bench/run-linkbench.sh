#!/bin/sh
# Builds the native tree without sanitizers and prints the link figures:
# worker CPU while waiting, polls per second, Korvel reply latency.
# Usage: run-linkbench.sh [points]
set -e
root=$(cd "$(dirname "$0")/../../.." && pwd)
build="$root/build/linkbench"
log="$build/linkbench-build.log"
mkdir -p "$build"
if ! { cmake -S "$root" -B "$build" -G Ninja -DRUVO_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release &&
       cmake --build "$build" --target stationsim stationsim_linkbench; } >"$log" 2>&1; then
  cat "$log"
  exit 1
fi
"$build/tools/stationsim/stationsim_linkbench" "$@"
