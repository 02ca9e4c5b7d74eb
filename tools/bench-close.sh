#!/bin/sh
# Times closing the main window while a transfer runs, under Wine: the
# worker waiting for the instrument, in its 200 ms pause, and in a write
# that the line does not take. Builds the two programs and the driver in
# build/bench-close-win32, then runs tools/bench-close.py in a Wine prefix
# of its own, which it removes afterwards.
#   tools/bench-close.sh [--runs N]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
win32=$root/build/bench-close-win32
log=$root/build/bench-close-build.log
mkdir -p "$root/build"
if ! { cmake -S "$root" -B "$win32" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" &&
       cmake --build "$win32" --target korvellink tassinlink e2edriver; } >"$log" 2>&1; then
  cat "$log"
  exit 1
fi
unset RUVO_E2E_RUN_DIR
RUVO_E2E_BIN_DIR=$win32/bin RUVO_E2E_DRIVER=$win32/bin/e2edriver.exe \
  exec python3 -B "$root/tools/bench-close.py" "$@"
