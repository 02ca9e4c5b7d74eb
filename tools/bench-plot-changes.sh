#!/bin/sh
# What a batch of changes of the points costs with the plot watching them,
# against the list alone: the end of a Tassin send, an Import and a Clear,
# in an optimised build without sanitizers (its own build directory), then
# prints the figures (native).
#   tools/bench-plot-changes.sh [ROWS...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/plot-changes-bench
cmake -S "$root" -B "$build" -G Ninja -DRUVO_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target plot_changes_bench >/dev/null
"$build/tools/plot-changes-bench/plot_changes_bench" "$@"
