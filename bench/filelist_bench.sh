#!/usr/bin/env bash
# Times the main window's file list on 100,000 empty files in one folder in
# /dev/shm (bench/filelist_run, offscreen): ChangePath beside the filter's
# listing alone, and switching the include patterns on with "*.txt" beside
# the listing with that pattern; medians of RUNS runs (default 5); and the
# memory the shown list takes beside the bytes of the names themselves.
# BUILD_DIR chooses the build folder (default build/release).
set -euo pipefail
source "$(dirname "$0")/common.sh"
bench_start filelist-bench filelist_run
make_tree "$work/files" 0 100000 odd
echo "== filelist_bench: 100,000 files in one folder, medians of ${RUNS:-5} runs"
/usr/bin/time -v -o "$work/time.txt" "$build/bench/filelist_run" "$work/files" "${RUNS:-5}" 2>/dev/null
kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
echo "  peak memory of the whole program ${kb} KiB"
