#!/bin/sh
# Builds the benchmarks in release mode and times list building and renaming
# on 100,000 files in one folder and on 1,000 folders of 100 files, beside the
# floor of reading the entries and stat'ing each new name.
#
# Usage: bench/rename_list_bench.sh [work folder, default /dev/shm] [runs, default 5]
# BUILD_DIR picks the build folder (default build-bench), JOBS the build jobs.
set -eu
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build-bench}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DSORVANE_BUILD_TESTS=OFF -DSORVANE_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "${JOBS:-1}" --target rename_list_bench
exec "$build/bench/rename_list_bench" "$@"
