#!/bin/sh
# Measures Import and Export of 100,000 and 1,000,000 points, the programs'
# peak memory and the repaint of the list at its middle, under Wine, through
# the real file dialogs, then prints the figures. Builds the Win32 programs
# in their own build directory first.
#   tools/bench-files.sh [--points N ...] [--format 1|2] [--runs N] [korvellink|tassinlink ...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench-files
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build" >/dev/null
RUVO_E2E_BIN_DIR=$build/bin exec python3 -B "$root/tools/bench-files.py" "$@"
