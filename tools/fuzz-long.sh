#!/bin/sh
# Runs every codec fuzz target for a while (default 60 s each) with clang's
# libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer.
#   tools/fuzz-long.sh [seconds-per-target]
# The corpus each run grows is kept in build/fuzz-long/corpus/<target>, so
# later runs go on from where earlier ones stopped; crash inputs are written
# to build/fuzz-long/artifacts/ and the script then exits non-zero.
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz-long

cmake -S "$root" -B "$build" -G Ninja -DRUVO_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
targets=$(cd "$root/fuzz/corpus" && ls)
for target in $targets; do
    cmake --build "$build" --target "$target" >/dev/null
done

mkdir -p "$build/artifacts"
failed=0
for target in $targets; do
    corpus=$build/corpus/$target
    mkdir -p "$corpus"
    echo "== $target: $seconds s"
    if ! "$build/fuzz/$target" -max_total_time="$seconds" -max_len=3000 -print_final_stats=1 \
            -artifact_prefix="$build/artifacts/$target-" "$corpus" "$root/fuzz/corpus/$target" \
            2>"$build/$target.log"; then
        echo "   FAILED, see $build/$target.log and $build/artifacts/"
        failed=1
    fi
    grep -E '^stat::(number_of_executed_units|new_units_added)' "$build/$target.log" | sed 's/^/   /'
done
exit $failed
