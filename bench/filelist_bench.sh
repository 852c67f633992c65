#!/usr/bin/env bash
# Times the main window's file list on 100,000 empty files in one folder in
# /dev/shm (bench/filelist_run, offscreen): ChangePath beside the filter's
# listing alone, and switching the include patterns on with "*.txt" beside
# the listing with that pattern; medians of RUNS runs (default 5); and the
# memory the shown list takes beside the bytes of the names themselves.
# BUILD_DIR chooses the build folder (default build/release).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
cd "$root"
build="$("$root/scripts/bench_build.sh")"
cmake --build "$build" -j"${JOBS:-2}" --target filelist_run >/dev/null
work="$(mktemp -d /dev/shm/sorvane-filelist-bench.XXXXXX)"
trap 'rm -rf "$work"' EXIT
python3 - "$work/files" <<'PY'
import os, sys
os.makedirs(sys.argv[1])
for j in range(100000):
    name = ("f%06d.txt" if j % 2 else "g%06d.dat") % j
    os.close(os.open(os.path.join(sys.argv[1], name), os.O_CREAT | os.O_WRONLY, 0o644))
PY
echo "== filelist_bench: 100,000 files in one folder, medians of ${RUNS:-5} runs"
/usr/bin/time -v -o "$work/time.txt" "$build/bench/filelist_run" "$work/files" "${RUNS:-5}" 2>/dev/null
kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
echo "  peak memory of the whole program ${kb} KiB"
