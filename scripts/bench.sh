#!/usr/bin/env bash
# Builds the optimised program with its benchmarks and runs them. Each
# benchmark prints names per second beside glibc fnmatch(3) and the ratios.
# Arguments go to the benchmark programs (for example --benchmark_filter=abc).
# BUILD_DIR chooses another build folder than the release preset's.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
cd "$root"
build="$("$root/scripts/bench_build.sh")"
cmake --build "$build" -j"${JOBS:-1}" --target matching_bench
status=0
for b in "$build"/bench/*_bench; do
  echo "== $(basename "$b")"
  "$b" "$@" || status=1
done
exit $status
