#!/bin/sh
# Screenshots of both programs in English and Chinese, at 96 and 144 DPI: the
# main window, the boxes that About, Import, Export and Append open, and the
# main window in Idle after a transfer, as PNGs in build/screenshots/.
# Builds the win32 tree first (configuring it in build/win32 if needed); runs
# everything on a private Xvfb display in a throw-away Wine prefix per DPI.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build/win32}
out=${OUT_DIR:-$root/build/screenshots}

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
fi
cmake --build "$build" --target korvellink tassinlink e2edriver

rm -f "$out"/*.png
unset RUVO_E2E_RUN_DIR
RUVO_E2E_BIN_DIR="$build/bin" RUVO_E2E_DRIVER="$build/bin/e2edriver.exe" \
    /usr/bin/python3 -B "$root/tests/e2e/screenshots.py" "$out"
