#!/usr/bin/env bash
# Installs, from Debian's packages, what building and testing the programs
# needs, and builds PROJ for the Windows builds from Debian's source
# packages (tools/proj-mingw.sh, kept in a cache outside the build trees);
# does nothing when everything is there already. Run as root.
set -euo pipefail

packages=(
  cmake ninja-build g++ libgtest-dev         # native build and unit tests
  libcli11-dev                               # pointlink's command line (headers only)
  clang libclang-rt-14-dev                   # fuzzers
  g++-mingw-w64-i686 binutils-mingw-w64-i686 # the 32-bit Windows programs
  wine wine32:i386 wine64                    # running them here
  xvfb xauth imagemagick x11-utils xdotool   # a display, screenshots, the pointer
  fonts-wqy-microhei fonts-wine              # Chinese glyphs, the title-bar symbols
  python3 procps                             # end-to-end test harness
  time                                       # peak memory in tools/bench-pointlink.sh
  nsis                                       # the installer (tools/package.sh)
  dpkg-dev file man-db                       # pointlink's Debian package: its Depends, its manual page
  python3-ezdxf python3-gdal gdal-bin        # the CAD and GIS readers that check the outputs
  libproj-dev proj-data python3-pyproj       # coordinate systems: PROJ and its database; pyproj checks positions
  libsqlite3-dev sqlite3 tcl                 # PROJ for Windows: its SQLite (tclsh makes the amalgamation)
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ $status == "install ok installed" ]] || missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "Installing: ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then
    echo "Run this as root (or install the packages above) first." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# PROJ for pointlink.exe: quick when it is in the cache already.
bash "$(dirname "$0")/proj-mingw.sh" >/dev/null
