#!/usr/bin/env bash
# Builds the release packages into dist/:
#   dist/ruvolink-<version>-win32.zip        korvellink, tassinlink, pointlink.exe and a read-me, to unpack and run
#   dist/ruvolink-<version>-setup.exe        an installer per user of the same, without administrator rights
#   dist/pointlink_<version>-1_<arch>.deb    pointlink for Debian and its kin, with its manual page
# The Windows programs are built optimised and stripped in build/release,
# the Linux pointlink likewise, without the sanitizers, in
# build/native-release; <version> is the project's (CMakeLists.txt).
# Installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DRUVO_PACKAGE=ON >/dev/null
cmake --build "$build" --target package_files

native=build/native-release
cmake -S . -B "$native" -G Ninja -DRUVO_PACKAGE=ON -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$native" --target package

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=pointlink_$version-1_$(dpkg --print-architecture).deb
mkdir -p dist
for file in "$build/dist/ruvolink-$version-win32.zip" "$build/dist/ruvolink-$version-setup.exe" "$native/dist/$deb"; do
  cp -f "$file" dist/
  printf '%-40s %9d bytes\n' "dist/${file##*/}" "$(stat -c %s "dist/${file##*/}")"
done
