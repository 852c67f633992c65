#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (in build/fuzz) and runs the pattern
# engine's fuzzer for the given number of seconds (default 30). Findings are
# written to build/fuzz/findings; the corpus grows in build/fuzz/corpus.
set -euo pipefail
seconds="${1:-30}"
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
build="${BUILD_DIR:-$root/build/fuzz}"
cd "$root"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSORVANE_BUILD_FUZZ=ON -DSORVANE_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"${JOBS:-1}" --target matching_fuzz
mkdir -p "$build/corpus" "$build/findings"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$build/fuzz/matching_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="$build/findings/" "$build/corpus"
