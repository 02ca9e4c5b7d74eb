#!/usr/bin/env bash
# PROJ for the Windows builds: the static library that pointlink.exe links,
# built with the project's MinGW-w64 toolchain (cmake/mingw-i686.cmake)
# from Debian's own source packages of proj and sqlite3, of the versions
# that the native build uses (libproj-dev, libsqlite3-dev), so that both
# builds compute with the same PROJ.
#
#   bash tools/proj-mingw.sh            builds it when it is not there yet;
#                                       prints the folder it is installed in
#   bash tools/proj-mingw.sh --where    prints that folder only when it is
#                                       there (exit status 1 when not)
#
# The result is kept outside every build tree, in a folder named after the
# versions of PROJ, SQLite, the cross compiler and this script, so that a
# second run, and every build tree after the first, finds it at once:
# /var/cache/ruvolink/proj-mingw/ when that can be written (as root), else
# ~/.cache/ruvolink/proj-mingw/. It holds include/, lib/libproj.a and
# lib/libsqlite3.a; PROJ's database is not taken from here but from
# Debian's proj-data, the same version's (/usr/share/proj/proj.db).
#
# The sources come with `apt-get source`, through an apt configuration of
# this script's own (a deb-src entry for each Debian archive that the
# machine's apt reads), so the machine's own sources stay as they are.
# SQLite's single-file amalgamation is made from its source package with
# tclsh (Debian's tcl). PROJ is built without TIFF, curl, its programs and
# its tests: pointlink needs neither grids nor the network.
#
# Takes about two and a half minutes on two cores when nothing is cached.
# Needs what tools/install-deps.sh installs (dpkg-dev, tcl, sqlite3,
# libproj-dev, libsqlite3-dev, the cross compiler).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
script="$root/tools/proj-mingw.sh"
toolchain="$root/cmake/mingw-i686.cmake"
cc=i686-w64-mingw32-gcc-posix
jobs=2

source_of() { dpkg-query -W -f='${source:Package}=${source:Version}' "$1"; }
proj_source=$(source_of libproj-dev)
sqlite_source=$(source_of libsqlite3-dev)
compiler=$("$cc" -dumpversion)
recipe=$(cat "$script" "$toolchain" | sha256sum | cut -c1-12)
key="proj-${proj_source#*=}_sqlite3-${sqlite_source#*=}_${cc}-${compiler}_${recipe}"

caches=(/var/cache/ruvolink/proj-mingw "${XDG_CACHE_HOME:-$HOME/.cache}/ruvolink/proj-mingw")
for cache in "${caches[@]}"; do
  if [[ -f $cache/$key/complete ]]; then
    echo "$cache/$key"
    exit 0
  fi
done
[[ ${1:-} == --where ]] && exit 1

cache=${caches[1]}
if mkdir -p "${caches[0]}" 2>/dev/null && [[ -w ${caches[0]} ]]; then cache=${caches[0]}; fi
mkdir -p "$cache"
exec 9>"$cache/lock"
flock 9
if [[ -f $cache/$key/complete ]]; then  # built by another run meanwhile
  echo "$cache/$key"
  exit 0
fi

started=$SECONDS
work=$(mktemp -d "$cache/work.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
log="$work/build.log"
say() { echo "proj-mingw: $*" >&2; }
fail() {
  say "$1; the last lines of the log:"
  tail -n 40 "$log" >&2
  exit 1
}
say "building ${proj_source/=/ } and ${sqlite_source/=/ } for $cc $compiler (once; kept in $cache)"

# apt, with a source list of its own: deb-src for each Debian archive the
# machine has, its lists and downloads in the work folder.
mkdir -p "$work/apt/lists/partial" "$work/apt/archives/partial" "$work/apt/parts"
apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' 'Identifier: Packages' 'Origin: Debian' |
  sort -u | sed 's/^/deb-src /' >"$work/apt/sources.list"
[[ -s $work/apt/sources.list ]] || { say "apt reads no Debian archive"; exit 1; }
apt_options=(-o "Dir::Etc::SourceList=$work/apt/sources.list" -o "Dir::Etc::SourceParts=$work/apt/parts"
  -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache::Archives=$work/apt/archives"
  -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache=" -o "APT::Sandbox::User=$(id -un)")
apt-get "${apt_options[@]}" -q update >>"$log" 2>&1 || fail "apt-get update of the source lists failed"
(cd "$work" && apt-get "${apt_options[@]}" -q source "$proj_source" "$sqlite_source") >>"$log" 2>&1 ||
  fail "apt-get source $proj_source $sqlite_source failed"
proj_dir=$(find "$work" -maxdepth 1 -type d -name 'proj-[0-9]*' | head -n 1)
sqlite_dir=$(find "$work" -maxdepth 1 -type d -name 'sqlite3-[0-9]*' | head -n 1)
[[ -d $proj_dir && -d $sqlite_dir ]] || fail "the unpacked sources are not where apt-get source puts them"

# SQLite: the amalgamation, made by its own build on the host, then
# compiled alone with the cross compiler.
mkdir -p "$work/sqlite-build" "$prefix/include" "$prefix/lib"
(cd "$work/sqlite-build" && "$sqlite_dir/configure" --disable-tcl >>"$log" 2>&1 &&
  make sqlite3.c >>"$log" 2>&1) || fail "making SQLite's amalgamation failed"
"$cc" -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -DSQLITE_DEFAULT_FOREIGN_KEYS=1 \
  -c "$work/sqlite-build/sqlite3.c" -o "$work/sqlite-build/sqlite3.o" >>"$log" 2>&1 ||
  fail "compiling SQLite for Windows failed"
i686-w64-mingw32-ar rcs "$prefix/lib/libsqlite3.a" "$work/sqlite-build/sqlite3.o"
cp "$work/sqlite-build/sqlite3.h" "$prefix/include/"

# PROJ, static, over that SQLite. Its build makes a proj.db of its own with
# the host's sqlite3; the programs ship Debian's.
cmake -S "$proj_dir" -B "$work/proj-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
  -DENABLE_TIFF=OFF -DENABLE_CURL=OFF -DBUILD_APPS=OFF -DBUILD_TESTING=OFF -DBUILD_EXAMPLES=OFF \
  -DSQLITE3_INCLUDE_DIR="$prefix/include" -DSQLITE3_LIBRARY="$prefix/lib/libsqlite3.a" \
  -DEXE_SQLITE3="$(command -v sqlite3)" >>"$log" 2>&1 || fail "configuring PROJ failed"
cmake --build "$work/proj-build" -j "$jobs" >>"$log" 2>&1 || fail "building PROJ failed"
cmake --install "$work/proj-build" >>"$log" 2>&1 || fail "installing PROJ failed"

{
  echo "PROJ ${proj_source#*=} and SQLite ${sqlite_source#*=} from Debian's source packages"
  echo "built with $cc $compiler by tools/proj-mingw.sh (recipe $recipe) in $((SECONDS - started)) s"
} >"$prefix/complete"
rm -rf "${cache:?}/$key"
mv "$prefix" "$cache/$key"
say "done in $((SECONDS - started)) s"
echo "$cache/$key"
