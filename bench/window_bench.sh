#!/usr/bin/env bash
# Times a rename run started from the main window (bench/window_run, on the
# offscreen platform) against the same run of sorvane-cli rename: 100,000
# empty files in one folder in /dev/shm, *.txt -> *.dat on the whole name,
# the detailed log on, a fresh copy of the tree for every run. Prints the
# median of RUNS runs (default 5) of each whole process, and of the window's
# run from the click on "開始(&S)" to its end (the folder shown again
# included; the window's start, which lists the folder once, left out).
#
# BUILD_DIR chooses the build folder (default build/release); RUNS the runs.
set -euo pipefail
source "$(dirname "$0")/common.sh"
bench_start window-bench sorvane-cli window_run
window="$build/bench/window_run"
runs="${RUNS:-5}"
master="$work/master"
make_tree "$master" 0 100000

run_cli() { run_sorvane "$1"; }
run_window() {
  QT_QPA_PLATFORM=offscreen counted "$window" "$1" 2>/dev/null | head -1 >"$work/click.txt"
}

after_run() {
  local left
  left=$(find "$2" -name '*.txt' | wc -l)
  if [ "$left" -ne 0 ]; then
    echo "window_bench: $1 left $left *.txt" >&2
    exit 1
  fi
  [ "$1" = window ] && cat "$work/click.txt" >>"$work/clicks.txt"
  return 0
}

echo "== window_bench: 100,000 files in one folder, detailed log on, $runs runs, median seconds"
declare -A med
for tool in cli window; do
  times=() faults=()
  for ((i = 0; i < runs; i++)); do
    read -r t f <<<"$(time_one "$tool" "$master")"
    times+=("$t")
    faults+=("$f")
  done
  med[$tool]=$(printf '%s\n' "${times[@]}" | median)
  printf '  %-7s median %7.3f s  %7s faults   runs: %s\n' "$tool" "${med[$tool]}" \
    "$(printf '%s\n' "${faults[@]}" | median)" "${times[*]}"
done
click=$(median <"$work/clicks.txt")
printf '  window, from the click to the end of the run: median %7.3f s\n' "$click"
echo "  whole window program / sorvane-cli = $(ratio "${med[window]}" "${med[cli]}")"
echo "  run from the window / sorvane-cli  = $(ratio "$click" "${med[cli]}")   (target <= 1.25)"
