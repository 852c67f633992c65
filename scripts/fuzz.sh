#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (in build/fuzz) and runs each of
# them for the given number of seconds (default 10): the pattern engine
# (matching_fuzz), the settings file reader (settings_fuzz), the journal
# reader (journal_fuzz) and the conversions of file names between their
# bytes, the program's text and their shown form (names_fuzz). Names after the seconds run only those fuzzers.
# Findings are written to build/fuzz/findings; each fuzzer's corpus grows in
# build/fuzz/corpus/NAME and its output goes to build/fuzz/NAME.log; one line
# sums up each run. Exits non-zero when a fuzzer stops on a finding (a crash,
# a sanitizer report, a failed check, an input slower than 10 seconds); the
# fuzzers after it still run.
# JOBS sets the build's parallel jobs (default 1).
set -euo pipefail
seconds="${1:-10}"
shift || true
fuzzers=("$@")
[ ${#fuzzers[@]} -gt 0 ] || fuzzers=(matching_fuzz settings_fuzz journal_fuzz names_fuzz)
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
build="${BUILD_DIR:-$root/build/fuzz}"
cd "$root"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSORVANE_BUILD_FUZZ=ON -DSORVANE_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"${JOBS:-1}" --target "${fuzzers[@]}"
mkdir -p "$build/findings"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The readers' fuzzers write their files in the temporary folder and flush
# them to disk many times a second: in memory where it can be had. A fuzzer
# that stops on a finding leaves its files there; they go when this ends.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  TMPDIR="$(mktemp -d /dev/shm/sorvane-fuzz-XXXXXX)"
else
  TMPDIR="$(mktemp -d)"
fi
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT

# The readers' inputs are built from pieces of a file: a few bytes say
# little, so their fuzzers take inputs of any length from the start.
options_of() {
  case "$1" in
    settings_fuzz) echo "-len_control=0 -max_len=256" ;;
    *) echo "" ;;
  esac
}

# Runs one fuzzer; non-zero on a finding, with its report on stderr.
run() {
  local name="$1" log="$build/$1.log" marker="$build/findings/.start" status=0
  mkdir -p "$build/corpus/$name"
  touch "$marker"
  # shellcheck disable=SC2046 # the options are separate words
  "$build/fuzz/$name" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    $(options_of "$name") -artifact_prefix="$build/findings/$name-" "$build/corpus/$name" \
    >"$log" 2>&1 || status=$?

  if [ "$status" -eq 0 ]; then
    local runs
    runs="$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)"
    echo "fuzz: $name ran ${seconds} s over ${runs:-?} inputs and found nothing" \
      "(output in ${log#"$root"/})"
    return 0
  fi

  echo "fuzz: $name ended with status $status; its report from ${log#"$root"/}:" >&2
  # From the first line of the report (a sanitizer, libFuzzer or a check of
  # the fuzzer), or the last lines when there is none.
  local report found
  report="$(awk -v me="^$name: " '/ERROR: |runtime error: /||$0~me{on=1} on && n++ < 60' "$log")"
  if [ -n "$report" ]; then echo "$report" >&2; else tail -n 40 "$log" >&2; fi
  found="$(find "$build/findings" -maxdepth 1 -type f -newer "$marker" -name "$name-*" \
    -printf '  %p\n')"
  if [ -n "$found" ]; then
    echo "fuzz: the finding is saved in (replay: $build/fuzz/$name FILE):" >&2
    echo "$found" >&2
  fi
  return 1
}

failed=0
for name in "${fuzzers[@]}"; do run "$name" || failed=1; done
exit "$failed"
