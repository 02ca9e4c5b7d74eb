#!/usr/bin/env bash
# Builds korvellink or tassinlink and opens it under Wine on your display.
#
#   bash tools/run.sh [korvellink|tassinlink] [--port DEVICE] [--lang en|zh]
#
# Without --port, two simulated instruments of the program's family wait on
# the serial ports: on COM1 one that sends points (press Recv), on COM2 one
# that takes the points you send (pick COM2, press Send). With --port, COM1
# is the real device instead, for example a USB adapter at /dev/ttyUSB0.
set -euo pipefail
cd "$(dirname "$0")/.."

program=korvellink
device=
lang=en
while [[ $# -gt 0 ]]; do
  case $1 in
    korvellink|tassinlink) program=$1 ;;
    --port) device=${2:?--port needs a device such as /dev/ttyUSB0}; shift ;;
    --lang) lang=${2:?--lang needs en or zh}; shift ;;
    -h|--help) sed -n '2,10p' "$0"; exit 0 ;;
    *) echo "unknown argument: $1 (see --help)" >&2; exit 2 ;;
  esac
  shift
done
model=$([[ $program == korvellink ]] && echo korvel || echo tassin)

bash tools/install-deps.sh
echo "Building $program ..."
cmake -S . -B build/win32 -G Ninja --no-warn-unused-cli -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/win32 --target "$program" >/dev/null
cmake -S . -B build/tools -G Ninja -DRUVO_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/tools --target stationsim >/dev/null

pids=()
cleanup() {
  # Wine's processes on a virtual display end with it.
  [[ -n ${virtual:-} ]] && wineserver -k 2>/dev/null
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

if [[ -z ${DISPLAY:-} ]]; then
  display=:$((70 + RANDOM % 20))
  Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
  pids+=($!)
  virtual=1
  export DISPLAY=$display
  echo "No display found: running on the virtual display $DISPLAY"
  echo "(take a look with: DISPLAY=$DISPLAY import -window root shot.png)"
fi

# The prefix is made with the display in place: Wine's desktop process stays
# bound to the display it started on.
export WINEPREFIX=${RUVO_WINEPREFIX:-$HOME/.local/share/ruvolink/wine32}
export WINEARCH=win32 WINEDEBUG=-all
if [[ ! -f $WINEPREFIX/system.reg ]]; then
  echo "Making a 32-bit Wine prefix in $WINEPREFIX ..."
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
fi

# Wine reads a port's device from its registry; the links stay put while
# the devices behind them change.
links=$WINEPREFIX/ruvolink-ports
mkdir -p "$links"
for n in 1 2; do
  wine reg add 'HKLM\Software\Wine\Ports' /v "COM$n" /d "$links/com$n" /f >/dev/null 2>&1
done
sim=build/tools/tools/stationsim/stationsim
if [[ -n $device ]]; then
  ln -sfn "$device" "$links/com1"
  echo "COM1 is $device."
else
  "$sim" --model "$model" --direction to-pc --points 5 --loop --quiet --link "$links/com1" >/dev/null &
  pids+=($!)
  "$sim" --model "$model" --direction from-pc --loop --quiet --out - --link "$links/com2" &
  pids+=($!)
  echo "COM1: a simulated ${model^} instrument that sends 5 points when you press Recv."
  echo "COM2: one that takes the points you Send (choose COM2 in the port box first)."
fi

# Wine takes the user-interface language from the locale; the Linux locale
# itself need not exist.
locale=()
[[ $lang == zh ]] && locale=(LC_ALL=zh_CN.UTF-8)
echo "Opening $program ..."
set +e
env "${locale[@]}" wine "build/win32/bin/$program.exe"
status=$?
set -e
exit $status
