#!/usr/bin/env bash
# Builds the release packages of korvellink and tassinlink into dist/:
#   dist/ruvolink-<version>-win32.zip   both programs and a read-me, to unpack and run
#   dist/ruvolink-<version>-setup.exe   an installer per user, without administrator rights
# The programs are built optimised and stripped in build/release; <version>
# is the project's (CMakeLists.txt). Installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DRUVO_PACKAGE=ON >/dev/null
cmake --build "$build" --target package_files

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
mkdir -p dist
for file in "ruvolink-$version-win32.zip" "ruvolink-$version-setup.exe"; do
  cp -f "$build/dist/$file" dist/
  printf '%-32s %9d bytes\n' "dist/$file" "$(stat -c %s "dist/$file")"
done
