#!/bin/sh
# Figures of the transfers under Wine: CPU while waiting for a silent
# instrument (program and wineserver), Korvel reply latency after each frame
# (also with the plot window open), and the time of a send against its
# 200 ms pauses. Builds the two programs
# and the driver (build/bench-link-win32) and an optimised simulator
# (build/bench-link-native), then runs tools/bench-link.py in a Wine prefix
# of its own, which it removes afterwards.
#   tools/bench-link.sh [--wait-seconds S] [--points N] [--latency-frames N] [--plot-points N]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
native=$root/build/bench-link-native
win32=$root/build/bench-link-win32
log=$root/build/bench-link-build.log
mkdir -p "$root/build"
if ! { cmake -S "$root" -B "$native" -G Ninja -DRUVO_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release &&
       cmake --build "$native" --target stationsim &&
       cmake -S "$root" -B "$win32" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" &&
       cmake --build "$win32" --target korvellink tassinlink e2edriver; } >"$log" 2>&1; then
  cat "$log"
  exit 1
fi
unset RUVO_E2E_RUN_DIR
RUVO_E2E_BIN_DIR=$win32/bin RUVO_E2E_DRIVER=$win32/bin/e2edriver.exe \
RUVO_E2E_STATIONSIM=$native/tools/stationsim/stationsim \
  exec python3 -B "$root/tools/bench-link.py" "$@"
