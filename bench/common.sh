# Sourced by the benchmark scripts: the optimised build, a work folder in
# /dev/shm that goes when the script ends, the trees they time, one timed
# run on a fresh copy, and medians.

# bench_start NAME TARGET...: the packages, the build of the targets; sets
# root, build and work (with work/defaults.ini, an empty settings file).
bench_start() {
  local name="$1"
  shift
  root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
  "$root/scripts/setup.sh"
  cd "$root"
  build="$("$root/scripts/bench_build.sh")"
  cmake --build "$build" -j"${JOBS:-2}" --target "$@" >/dev/null
  work="$(mktemp -d "/dev/shm/sorvane-$name.XXXXXX")"
  trap 'rm -rf "$work" "${disk_data:-}"' EXIT
  # The runs' journals stay in the work folder, not in the user's.
  export XDG_DATA_HOME="$work/data"
  # Defaults only: a settings file beside the program must not change a run.
  : >"$work/defaults.ini"
}

# make_tree DIR FOLDERS FILES [ODD]: FILES empty *.txt files in each of
# FOLDERS subfolders, or directly in DIR when FOLDERS is 0; with ODD given,
# every other file is g*.dat instead.
make_tree() {
  python3 - "$1" "$2" "$3" "${4:-}" <<'PY'
import os, sys
root, folders, files, odd = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
os.makedirs(root)
dirs = [root] if folders == 0 else [os.path.join(root, "d%04d" % i) for i in range(folders)]
for d in dirs:
    os.makedirs(d, exist_ok=True)
    for j in range(files):
        name = ("g%06d.dat" if odd and j % 2 == 0 else "f%06d.txt") % j
        os.close(os.open(os.path.join(d, name), os.O_CREAT | os.O_WRONLY, 0o644))
PY
}

# counted CMD...: runs CMD, its minor page faults (fresh memory touched)
# kept in $work/faults for time_one.
counted() { /usr/bin/time -f %R -o "$work/faults" "$@"; }

# The default maximum of 10,000 targets would stop the run at its question.
run_sorvane() {
  counted "$build/src/sorvane-cli" rename "$1" --settings "$work/defaults.ini" --search '*.txt' \
    --replace '*.dat' --whole --recursive --detail-log --no-auto-log-save --max 100000000 \
    "${@:2}" >/dev/null
}

# time_one TOOL MASTER: seconds and minor page faults of one run_TOOL on a
# fresh copy of MASTER ("-" when the run was not counted); the script's own
# after_run TOOL COPY then checks what the run did.
time_one() {
  local copy="$work/run" start end faults
  rm -rf "$copy" "$work/faults"
  cp -a "$2" "$copy"
  sync
  start=$(date +%s%N)
  "run_$1" "$copy"
  end=$(date +%s%N)
  after_run "$1" "$copy"
  rm -rf "$copy"
  faults=$(tail -n 1 "$work/faults" 2>/dev/null || echo -)
  awk -v ns=$((end - start)) -v f="$faults" 'BEGIN { printf "%.3f %s\n", ns / 1e9, f }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# ratio A B: A / B to two places.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# ratios "A1 A2 ..." "B1 B2 ...": the runs' own ratios Ai / Bi, one a line.
ratios() { paste <(printf '%s\n' $1) <(printf '%s\n' $2) | awk '{ print $1 / $2 }'; }

# paired A B: the median of the runs' ratios.
paired() { ratios "$1" "$2" | median | awk '{ printf "%.2f", $1 }'; }

# spread A B: the first and third quartile of the runs' ratios, to tell a
# difference from this machine's noise (nearest rank: with three runs,
# the least and the greatest).
spread() {
  ratios "$1" "$2" | sort -n |
    awk '{ v[NR] = $1 } END { q1 = int((NR + 3) / 4); q3 = int((3 * NR + 3) / 4)
      printf "quartiles %.2f-%.2f", v[q1], v[q3] }'
}
