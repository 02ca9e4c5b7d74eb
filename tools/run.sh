#!/usr/bin/env bash
# Builds korvellink or tassinlink and opens it under Wine on your display.
#
#   bash tools/run.sh [korvellink|tassinlink] [--port DEVICE] [--lang en|zh]
#                     [--prefix DIR] [--then COMMAND [ARGS...]]
#
# Without --port, two simulated instruments of the program's family wait on
# the serial ports: on COM1 one that sends five points (press Recv), on COM2
# one that takes the points you send (pick COM2, press Send); it prints each
# point it takes. With --port, COM1 is the real device instead, for example a
# USB adapter at /dev/ttyUSB0.
#
#   --prefix DIR   the Wine prefix to use (default: $RUVO_WINEPREFIX, or
#                  ~/.local/share/ruvolink/wine32); made on first use
#   --then CMD...  set everything up as for a run, then run CMD instead of
#                  opening the program (the tests use it). CMD gets
#                  WINEPREFIX, WINEARCH, DISPLAY, RUVO_RUN_PROGRAM (the .exe),
#                  RUVO_RUN_LANG, RUVO_RUN_POINTS (the points COM1 sends) and
#                  RUVO_RUN_COM2_OUT (where COM2 writes the points it took);
#                  the script ends with CMD's exit status.
set -euo pipefail
cd "$(dirname "$0")/.."

program=korvellink
device=
lang=en
prefix=${RUVO_WINEPREFIX:-$HOME/.local/share/ruvolink/wine32}
then=()
while [[ $# -gt 0 ]]; do
  case $1 in
    korvellink|tassinlink) program=$1 ;;
    --port) device=${2:?--port needs a device such as /dev/ttyUSB0}; shift ;;
    --lang) lang=${2:?--lang needs en or zh}; shift ;;
    --prefix) prefix=${2:?--prefix needs a folder}; shift ;;
    --then) shift; then=("$@"); [[ ${#then[@]} -gt 0 ]] || { echo "--then needs a command" >&2; exit 2; }; break ;;
    -h|--help) sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "unknown argument: $1 (see --help)" >&2; exit 2 ;;
  esac
  shift
done
[[ $lang == en || $lang == zh ]] || { echo "--lang must be en or zh" >&2; exit 2; }
model=$([[ $program == korvellink ]] && echo korvel || echo tassin)

bash tools/install-deps.sh
echo "Building $program ..."
cmake -S . -B build/win32 -G Ninja --no-warn-unused-cli -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/win32 --target "$program" >/dev/null
cmake -S . -B build/tools -G Ninja -DRUVO_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/tools --target stationsim >/dev/null

pids=()
cleanup() {
  # Wine's processes on a virtual display end with it; the display goes last.
  if [[ -n ${virtual:-} ]]; then wineserver -k 2>/dev/null || true; fi
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
}
trap cleanup EXIT

if [[ -z ${DISPLAY:-} ]]; then
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"${TMPDIR:-/tmp}/ruvolink-display.$$" >/dev/null 2>&1 &
  pids+=($!)
  virtual=1
  for _ in $(seq 100); do
    [[ -s ${TMPDIR:-/tmp}/ruvolink-display.$$ ]] && break
    sleep 0.1
  done
  export DISPLAY=:$(tr -d '\n' <"${TMPDIR:-/tmp}/ruvolink-display.$$")
  rm -f "${TMPDIR:-/tmp}/ruvolink-display.$$"
  [[ $DISPLAY != : ]] || { echo "The virtual display did not start (is xvfb installed?)" >&2; exit 1; }
  echo "No display found: running on the virtual display $DISPLAY"
  echo "(take a look with: DISPLAY=$DISPLAY import -window root shot.png)"
fi

export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all
# No menu entries in your desktop's menus, no offers to install add-ons.
export WINEDLLOVERRIDES='winemenubuilder.exe=d;mscoree=d;mshtml=d'
echo "Wine prefix: $WINEPREFIX (to start afresh, remove it: rm -rf '$WINEPREFIX')"
if [[ ! -f $WINEPREFIX/system.reg ]]; then
  echo "Making a 32-bit Wine prefix there (once) ..."
  mkdir -p "$WINEPREFIX"
  # The prefix is made with the display in place: Wine's desktop process
  # stays bound to the display it started on.
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi

# COM1 and COM2 lead through stable links in the prefix, which this script
# points at the instruments of each run. Wine reads the mapping of a port
# from its registry when its server starts, and otherwise maps COM1 to the
# machine's first serial port: a mapping written now counts only once the
# server has ended, so the script waits for that before the program starts.
links=$WINEPREFIX/ruvolink-ports
mkdir -p "$links"
mapped() {
  local n
  for n in 1 2; do
    grep -qsxF "\"COM$n\"=\"$links/com$n\"" "$WINEPREFIX/system.reg" || return 1
  done
}
if ! mapped; then
  for n in 1 2; do
    wine reg add 'HKLM\Software\Wine\Ports' /v "COM$n" /d "$links/com$n" /f >/dev/null 2>&1
  done
  echo "Mapping COM1 and COM2 (waiting for other Wine programs of this prefix to end) ..."
  wineserver -w
fi

sim=build/tools/tools/stationsim/stationsim
demo_points=tools/demo-points.txt
com2_out=
rm -f "$links/com1" "$links/com2"
if [[ -n $device ]]; then
  ln -sfn "$device" "$links/com1"
  echo "COM1 is $device."
else
  "$sim" --model "$model" --direction to-pc --points-file "$demo_points" --loop --quiet \
    --link "$links/com1" >/dev/null &
  pids+=($!)
  if [[ ${#then[@]} -gt 0 ]]; then
    com2_out=$links/com2-received.txt
    rm -f "$com2_out"
    "$sim" --model "$model" --direction from-pc --loop --quiet --out "$com2_out" --link "$links/com2" >/dev/null &
  else
    # The simulator names its pty on its first line; the points follow.
    "$sim" --model "$model" --direction from-pc --loop --quiet --out - --link "$links/com2" \
      > >(sed -u -e 1d -e 's/^/COM2 took: /') &
  fi
  pids+=($!)
  for _ in $(seq 100); do
    [[ -L $links/com1 && -L $links/com2 ]] && break
    sleep 0.05
  done
  echo "COM1: a simulated ${model^} instrument that sends 5 points when you press Recv."
  echo "COM2: one that takes the points you Send (choose COM2 in the port box first)."
fi

# Wine takes the user-interface language from the locale; the Linux locale
# itself need not exist.
locale=()
[[ $lang == zh ]] && locale=(LC_ALL=zh_CN.UTF-8)
exe=$PWD/build/win32/bin/$program.exe
set +e
if [[ ${#then[@]} -gt 0 ]]; then
  RUVO_RUN_PROGRAM=$exe RUVO_RUN_LANG=$lang RUVO_RUN_POINTS=$PWD/$demo_points RUVO_RUN_COM2_OUT=$com2_out \
    "${then[@]}"
else
  echo "Opening $program ..."
  env "${locale[@]}" wine "$exe"
fi
status=$?
set -e
exit $status
