#!/bin/sh
# Measures the redraw of the plot window under Wine with 100,000 and
# 1,000,000 points, fitted, zoomed in and zoomed out, then prints the
# figures. Builds the Win32 programs in their own build directory first.
#   tools/bench-plot.sh [--points N ...] [--repaints N] [korvellink|tassinlink ...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench-plot
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build" --target korvellink tassinlink e2edriver >/dev/null
unset RUVO_E2E_RUN_DIR
RUVO_E2E_BIN_DIR=$build/bin RUVO_E2E_DRIVER=$build/bin/e2edriver.exe \
  exec python3 -B "$root/tools/bench-plot.py" "$@"
