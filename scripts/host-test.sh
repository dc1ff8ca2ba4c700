#!/usr/bin/env bash
# Builds src/core/ for this machine with clang, runs its unit tests under ASan and UBSan,
# then each fuzzer for the given seconds (default 5) from its corpus in fuzz/corpus/.
# A crash, a leak or undefined behaviour fails the run; the input that caused it is left in
# build-host/findings/ to be added to the corpus once fixed.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-5}
build=build-host

if [ ! -f "$build/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S host -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
fi
cmake --build "$build"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$build/core_tests" --gtest_brief=1

mkdir -p "$build/findings"
for fuzzer in "$build"/*_fuzz; do
    name=$(basename "$fuzzer")
    corpus="fuzz/corpus/${name%_fuzz}"
    work="$build/corpus/${name%_fuzz}"
    mkdir -p "$work"
    echo "Fuzzing $name for ${seconds}s"
    # New inputs go to a scratch copy: the corpus in the repository changes only by hand.
    "$fuzzer" -max_total_time="$seconds" -print_final_stats=0 -artifact_prefix="$build/findings/$name-" \
        "$work" "$corpus" 2>"$build/$name.log" || { tail -40 "$build/$name.log"; exit 1; }
done
echo "Host tests and fuzzers passed"
