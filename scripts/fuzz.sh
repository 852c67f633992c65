#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (in build/fuzz) and runs the pattern
# engine's fuzzer for the given number of seconds (default 30). Findings are
# written to build/fuzz/findings; the corpus grows in build/fuzz/corpus.
# The fuzzer's own output goes to build/fuzz/matching_fuzz.log; one line sums
# up the run. Exits non-zero when the fuzzer stops on a finding (a crash, a
# sanitizer report, a failed check, an input slower than 10 seconds).
# JOBS sets the build's parallel jobs (default 1).
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

log="$build/matching_fuzz.log"
marker="$build/findings/.start"
touch "$marker"
status=0
"$build/fuzz/matching_fuzz" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$build/findings/" "$build/corpus" >"$log" 2>&1 || status=$?

if [ "$status" -eq 0 ]; then
  runs="$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)"
  echo "fuzz: matching_fuzz ran ${seconds} s over ${runs:-?} inputs and found nothing" \
    "(output in ${log#"$root"/})"
  exit 0
fi

echo "fuzz: matching_fuzz ended with status $status; its report from ${log#"$root"/}:" >&2
# From the first line of the report (a sanitizer, libFuzzer or a check of the
# fuzzer), or the last lines when there is none.
report="$(awk '/ERROR: |runtime error: |^matching_fuzz: /{on=1} on && n++ < 60' "$log")"
if [ -n "$report" ]; then echo "$report" >&2; else tail -n 40 "$log" >&2; fi
found="$(find "$build/findings" -maxdepth 1 -type f -newer "$marker" ! -name .start -printf '  %p\n')"
if [ -n "$found" ]; then
  echo "fuzz: the finding is saved in (replay: $build/fuzz/matching_fuzz FILE):" >&2
  echo "$found" >&2
fi
exit 1
