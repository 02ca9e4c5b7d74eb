#!/bin/sh
# Measures pointlink convert natively: seconds and peak memory for 100,000
# and 1,000,000 points, per pair of formats, in an optimised build without
# sanitizers (its own build directory), then prints the figures.
#   tools/bench-pointlink.sh [--points N ...] [--runs N]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/pointlink-bench-release
cmake -S "$root" -B "$build" -G Ninja -DRUVO_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target pointlink >/dev/null
exec python3 -B "$root/tools/bench-pointlink.py" "$build/cli/pointlink" "$@"
