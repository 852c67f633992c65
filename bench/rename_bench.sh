#!/usr/bin/env bash
# Times a whole rename run of sorvane-cli against the floor (bench/rename_floor:
# readdir and renameat2, nothing else; with --plan-first it reads every
# folder before renaming, as sorvane-cli must) and against mmv, each renaming every
# *.txt to *.dat under a folder in /dev/shm, on a fresh copy for every run:
#   flat  100,000 empty files in one folder
#   tree  1,000 folders of 100 empty files
# and prints the median of RUNS runs (default 5; the tools take turns run by
# run), and of each run's minor page faults (the fresh memory it touched),
# with the ratios. sorvane-cli
# keeps its journal in /dev/shm (sorvane); the same run without a journal
# (nojournal) and with the journal on the disk of /var/tmp (diskjrnl), where
# its flush is real, show what the journal costs. Then it
# reports sorvane-cli's peak memory (/usr/bin/time -v) for 100,000, 300,000
# and 1,000,000 files (folders of 1,000), to show how it grows.
#
# BUILD_DIR chooses the build folder (default build/release, the release
# preset); RUNS the number of runs; SKIP_MEMORY=1 leaves out the memory part.
set -euo pipefail
source "$(dirname "$0")/common.sh"
bench_start rename-bench sorvane-cli rename_floor
cli="$build/src/sorvane-cli"
floor="$build/bench/rename_floor"
runs="${RUNS:-5}"

# Every *.txt became *.dat, nothing else: the run did all its work.
check() {
  local dir="$1" expected="$2" dat txt
  dat=$(find "$dir" -type f -name '*.dat' | wc -l)
  txt=$(find "$dir" -type f -name '*.txt' | wc -l)
  if [ "$dat" -ne "$expected" ] || [ "$txt" -ne 0 ]; then
    echo "rename_bench: $3 left $txt *.txt and made $dat *.dat of $expected" >&2
    exit 1
  fi
}

run_floor() { counted "$floor" "$1" >/dev/null; }
run_planfloor() { counted "$floor" --plan-first "$1" >/dev/null; }
run_nojournal() { run_sorvane "$1" --no-journal; }
disk_data="$(mktemp -d /var/tmp/sorvane-journal.XXXXXX)"
run_diskjrnl() { XDG_DATA_HOME="$disk_data" run_sorvane "$1"; }
run_mmv() { (cd "$1" && counted mmv -m ';*.txt' '#1#2.dat' </dev/null); }

after_run() { check "$2" "$expected" "$1"; }

bench_case() {
  local name="$1" folders="$2" files="$3" count=$(($2 == 0 ? $3 : $2 * $3))
  local master="$work/$name"
  expected=$count
  make_tree "$master" "$folders" "$files"
  declare -A med flt times faults
  local tools=(floor planfloor sorvane nojournal diskjrnl mmv) tool t f
  # The tools take turns, run by run, so that a drift of the machine's
  # speed touches them alike; each ratio of times is the median of the
  # runs' own ratios.
  for ((i = 0; i < runs; i++)); do
    for tool in "${tools[@]}"; do
      read -r t f <<<"$(time_one "$tool" "$master")"
      times[$tool]+="$t "
      faults[$tool]+="$f "
    done
  done
  for tool in "${tools[@]}"; do
    med[$tool]=$(printf '%s\n' ${times[$tool]} | median)
    flt[$tool]=$(printf '%s\n' ${faults[$tool]} | median)
    printf '  %-8s median %7.3f s  %7d faults   runs: %s\n' "$tool" "${med[$tool]}" \
      "${flt[$tool]}" "${times[$tool]% }"
  done
  echo "  sorvane-cli / floor = $(paired "${times[sorvane]}" "${times[floor]}")" \
    "($(spread "${times[sorvane]}" "${times[floor]}"))   (target <= 1.20)"
  # What reading everything before renaming costs by itself, and what
  # sorvane-cli adds to that.
  echo "  plan-first floor / floor = $(paired "${times[planfloor]}" "${times[floor]}")," \
    "sorvane-cli / plan-first floor = $(paired "${times[sorvane]}" "${times[planfloor]}")"
  # The page faults are held to the floor's in one folder only: a tree of
  # small folders costs the floor almost no fresh memory at all.
  local faults_target="(target <= 2)"
  [ "$folders" = 0 ] || faults_target="(no target)"
  echo "  page faults / floor = $(ratio "${flt[sorvane]}" "${flt[floor]}")   $faults_target"
  # A run must hold its whole plan, as the plan-first floor does.
  echo "  page faults / plan-first floor = $(ratio "${flt[sorvane]}" "${flt[planfloor]}")" \
    "  (target <= 2)"
  echo "  mmv / sorvane-cli   = $(paired "${times[mmv]}" "${times[sorvane]}")   (target > 1)"
  echo "  journal cost        = $(paired "${times[sorvane]}" "${times[nojournal]}") (in /dev/shm)," \
    "$(paired "${times[diskjrnl]}" "${times[nojournal]}") (on disk)   (target <= 1.05)"
  rm -rf "$master"
}

echo "== rename_bench: rename *.txt -> *.dat, $runs runs each, median seconds and minor page faults"
echo "flat: 100,000 files in one folder"
bench_case flat 0 100000
echo "tree: 1,000 folders of 100 files"
bench_case tree 1000 100

[ "${SKIP_MEMORY:-0}" = 1 ] && exit 0
echo "peak memory of sorvane-cli (maximum resident set size, folders of 1,000 files)"
for folders in 100 300 1000; do
  master="$work/mem"
  make_tree "$master" "$folders" 1000
  /usr/bin/time -v -o "$work/time.txt" "$cli" rename "$master" --settings "$work/defaults.ini" \
    --search '*.txt' --replace '*.dat' --whole --recursive --detail-log --no-auto-log-save \
    --max 100000000 >/dev/null
  check "$master" $((folders * 1000)) sorvane
  kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
  secs=$(awk -F': ' '/Elapsed \(wall clock\)/ { print $2 }' "$work/time.txt")
  printf '  %9d files: %8d KiB  (%.0f bytes per file), wall %s\n' $((folders * 1000)) "$kb" \
    "$(awk -v k="$kb" -v n=$((folders * 1000)) 'BEGIN { print k * 1024 / n }')" "$secs"
  rm -rf "$master"
done
