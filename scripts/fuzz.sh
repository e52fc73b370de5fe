#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/) with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/, and runs each for a bounded time,
# as many at once as there are processors, starting from its seeds in
# fuzz/corpus/<target>/. An input that crashes a target, breaks one of its
# promises, allocates beyond its memory limit or runs too long is kept in
# build-fuzz/findings/<target>/ and fails the run; to replay one:
#   build-fuzz/fuzz/fuzz_<target> build-fuzz/findings/<target>/<file>
#
# Usage: scripts/fuzz.sh [seconds per target (default 60)] [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=build-fuzz
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
    mapfile -t targets < <(sed -n 's/^set(QUILLERY_FUZZ_TARGETS \(.*\))$/\1/p' fuzz/CMakeLists.txt | tr ' ' '\n')
fi

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DQUILLERY_CORE_ONLY=ON -DQUILLERY_BUILD_TESTS=OFF -DQUILLERY_BUILD_BENCH=OFF \
    -DQUILLERY_SANITIZE=ON -DQUILLERY_FUZZ=ON >/dev/null
cmake --build "$build" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
run() {
    local target=$1 limit=2048
    # Pictures must stay within the decode budget (256 MiB).
    [[ $target == images ]] && limit=320
    mkdir -p "$build/corpus/$target" "$build/findings/$target"
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -malloc_limit_mb="$limit" \
        -rss_limit_mb=3072 -artifact_prefix="$build/findings/$target/" -print_final_stats=1 \
        "$build/corpus/$target" "fuzz/corpus/$target" >"$build/findings/$target.log" 2>&1 \
        && echo "fuzz_$target: $(grep -m1 'stat::number_of_executed_units' "$build/findings/$target.log" | awk '{print $2}') runs, nothing found" \
        || { echo "fuzz_$target: FOUND a failing input (in $build/findings/$target/)"; tail -n 40 "$build/findings/$target.log"; return 1; }
}
export -f run
export build seconds
printf '%s\n' "${targets[@]}" | xargs -P "$(nproc)" -I{} bash -c 'run {}'
