#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (preset 'fuzz'), replays the seed
# corpus in fuzz/corpus, then fuzzes each target for a bounded time.
#   tools/fuzz.sh [build-dir] [seconds-per-target]   (default 20 s each)
# New inputs go to <build-dir>/corpus, never into the repository; a crash
# leaves its input in <build-dir>/artifacts and fails the script.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-fuzz"}
seconds=${2:-20}
targets=(console_fuzzer geometry_fuzzer bounce_fuzzer)

cmake -S "$root" -B "$build" --preset fuzz >/dev/null
cmake --build "$build" -j "$(nproc)"
# The fuzz build's tests replay the seed corpus.
ctest --test-dir "$build" --output-on-failure --no-tests=error

export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
mkdir -p "$build/artifacts"
for target in "${targets[@]}"; do
    binary="$build/fuzz/$target"
    seeds="$root/fuzz/corpus/$target"
    options=(-timeout=10 -rss_limit_mb=2048 "-artifact_prefix=$build/artifacts/$target-")
    if [ -f "$root/fuzz/$target.dict" ]; then
        options+=("-dict=$root/fuzz/$target.dict")
    fi

    echo "== $target: fuzzing for $seconds s"
    mkdir -p "$build/corpus/$target"
    if ! "$binary" "${options[@]}" -max_total_time="$seconds" -print_final_stats=1 \
        "$build/corpus/$target" "$seeds" >"$build/$target-fuzz.log" 2>&1; then
        tail -n 60 "$build/$target-fuzz.log" >&2
        echo "$target: fuzzing found a failure; the input is in $build/artifacts" >&2
        exit 1
    fi
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$build/$target-fuzz.log" | sed "s/^/$target /"
done
