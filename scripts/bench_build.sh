#!/usr/bin/env bash
# Configures the optimised build with the benchmarks and prints its folder:
# BUILD_DIR when set (taken from the source folder), else the release
# preset's. Shared by the benchmark scripts so they build the same way.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
if [ -n "${BUILD_DIR:-}" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DSORVANE_BUILD_TESTS=OFF -DSORVANE_BUILD_BENCH=ON >/dev/null
  echo "$BUILD_DIR"
else
  cmake --preset release >/dev/null
  echo "$root/build/release"
fi
