#!/usr/bin/env bash
# Installs what is missing, then checks, in this order, and stops at the first
# failure (non-zero):
#  - the layout of every C++ file (scripts/check-format.sh, .clang-format);
#  - the includes between the layers of src/ (scripts/check-layers.sh);
#  - the test build (AddressSanitizer and UndefinedBehaviorSanitizer, warnings
#    as errors);
#  - 15 seconds of fuzzing each of the pattern engine, the settings file
#    reader, the journal reader and the name conversions (scripts/fuzz.sh);
#  - every test (ctest), whose summary is the last thing printed.
# JOBS sets the parallel jobs of the builds and of ctest (default 2).
set -euo pipefail
jobs="${JOBS:-2}"
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/check-format.sh
scripts/check-layers.sh
cmake --preset asan >/dev/null
cmake --build --preset asan -j"$jobs"
JOBS="$jobs" scripts/fuzz.sh 15
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --preset asan -j"$jobs"
