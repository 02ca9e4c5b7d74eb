#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests under the
# sanitizers, a short seeded pass of every fuzzer, pointlink's Debian
# package, the end-to-end tests of both Win32 programs under Wine, and the
# release build with its packages.
# Installs what it needs first.
set -uo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh || exit 1

jobs=$(nproc)
passed=0
failed=0
status=0

# configure <build dir> <cmake options...>; then build and run its tests.
suite() {
  local dir=$1; shift
  echo "=== $dir"
  if ! cmake -S . -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1; then
    cat "$dir.configure.log"; status=1; failed=$((failed + 1)); return
  fi
  if ! cmake --build "$dir" -j "$jobs"; then status=1; failed=$((failed + 1)); return; fi
  local log="$dir.ctest.log"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 600 2>&1 | tee "$log"
  [[ ${PIPESTATUS[0]} -eq 0 ]] || status=1
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [[ $line =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
    failed=$((failed + BASH_REMATCH[1]))
    passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
  fi
}

mkdir -p build
suite build/native
# pointlink for Linux as it ships, optimised and without the sanitizers: only
# the program, its manual page and its Debian package, unpacked into a
# scratch folder and run.
suite build/native-release -DRUVO_PACKAGE=ON -DCMAKE_BUILD_TYPE=Release
suite build/fuzz -DRUVO_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
# The end-to-end tests of the transfers play the instrument with the
# simulator from the native build; the Windows pointlink must write the
# bytes of the native one.
suite build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DRUVO_STATIONSIM="$PWD/build/native/tools/stationsim/stationsim" \
  -DRUVO_NATIVE_POINTLINK="$PWD/build/native/cli/pointlink"
# The release build that tools/package.sh packs: its zip and installer, and
# the release programs through the start state, transfers of both programs
# and the taskbar progress.
suite build/release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release -DRUVO_PACKAGE=ON \
  -DRUVO_E2E_TESTS="main_window;transfer_korvel;transfer_tassin;taskbar_progress" \
  -DRUVO_STATIONSIM="$PWD/build/native/tools/stationsim/stationsim"

echo
echo "all suites: $passed passed, $failed failed"
exit $status
