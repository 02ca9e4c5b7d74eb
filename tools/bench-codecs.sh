#!/bin/sh
# Measures the speed of the point-file line codecs in an optimised build
# without sanitizers (its own build directory), then prints the figures.
#   tools/bench-codecs.sh
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/codec-bench-release
cmake -S "$root" -B "$build" -G Ninja -DRUVO_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target codec_bench >/dev/null
"$build/tools/codec-bench/codec_bench"
