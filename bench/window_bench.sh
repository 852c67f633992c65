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
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
cd "$root"
build="$("$root/scripts/bench_build.sh")"
cmake --build "$build" -j"${JOBS:-2}" --target sorvane-cli window_run >/dev/null
cli="$build/src/sorvane-cli"
window="$build/bench/window_run"
runs="${RUNS:-5}"

work="$(mktemp -d /dev/shm/sorvane-window-bench.XXXXXX)"
trap 'rm -rf "$work"' EXIT
: >"$work/defaults.ini"
master="$work/master"
python3 - "$master" <<'PY'
import os, sys
os.makedirs(sys.argv[1])
for j in range(100000):
    os.close(os.open(os.path.join(sys.argv[1], "f%06d.txt" % j), os.O_CREAT | os.O_WRONLY, 0o644))
PY

run_cli() {
  "$cli" rename "$1" --settings "$work/defaults.ini" --search '*.txt' --replace '*.dat' \
    --whole --recursive --detail-log --no-auto-log-save --max 100000000 >/dev/null
}
run_window() { QT_QPA_PLATFORM=offscreen "$window" "$1" 2>/dev/null | head -1 >"$work/click.txt"; }

time_one() {
  local copy="$work/run"
  rm -rf "$copy"
  cp -a "$master" "$copy"
  sync
  local start end
  start=$(date +%s%N)
  "run_$1" "$copy"
  end=$(date +%s%N)
  local left
  left=$(find "$copy" -name '*.txt' | wc -l)
  if [ "$left" -ne 0 ]; then
    echo "window_bench: $1 left $left *.txt" >&2
    exit 1
  fi
  rm -rf "$copy"
  awk -v ns=$((end - start)) 'BEGIN { printf "%.3f\n", ns / 1e9 }'
  [ "$1" = window ] && cat "$work/click.txt" >>"$work/clicks.txt"
  return 0
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "== window_bench: 100,000 files in one folder, detailed log on, $runs runs, median seconds"
declare -A med
for tool in cli window; do
  times=()
  for ((i = 0; i < runs; i++)); do times+=("$(time_one "$tool")"); done
  med[$tool]=$(printf '%s\n' "${times[@]}" | median)
  printf '  %-7s median %7.3f s   runs: %s\n' "$tool" "${med[$tool]}" "${times[*]}"
done
click=$(median <"$work/clicks.txt")
printf '  window, from the click to the end of the run: median %7.3f s\n' "$click"
awk -v a="${med[window]}" -v b="${med[cli]}" \
  'BEGIN { printf "  whole window program / sorvane-cli = %.2f\n", a / b }'
awk -v a="$click" -v b="${med[cli]}" \
  'BEGIN { printf "  run from the window / sorvane-cli  = %.2f   (target <= 1.25)\n", a / b }'
