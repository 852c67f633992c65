#!/usr/bin/env bash
# Times a repair of names ("名前の修復") against a rename over the same tree,
# in /dev/shm, each run on a fresh copy, the two taking turns run by run:
#   repair  sorvane-cli repair --encoding cp932 (every name is Shift-JIS
#           bytes: "写真_000123.jpg" in code page 932)
#   rename  sorvane-cli rename --operation front --replace x
# over 100,000 such files in one folder (flat) and in 1,000 folders of 100
# (tree), and prints the medians and the median of the paired ratios
# repair / rename. RUNS sets the runs (default 5); BUILD_DIR the build.
set -euo pipefail
source "$(dirname "$0")/common.sh"
bench_start repair-bench sorvane-cli
cli="$build/src/sorvane-cli"
runs="${RUNS:-5}"

# make_sjis_tree DIR FOLDERS FILES: FILES files named in code page 932 in
# each of FOLDERS folders (whose names are code page 932 too), or in DIR
# itself when FOLDERS is 0.
make_sjis_tree() {
  python3 - "$1" "$2" "$3" <<'PY'
import os, sys
root, folders, files = sys.argv[1].encode(), int(sys.argv[2]), int(sys.argv[3])
os.makedirs(root)
dirs = [root] if folders == 0 else [
    os.path.join(root, ("フォルダ%04d" % i).encode("cp932")) for i in range(folders)]
for d in dirs:
    os.makedirs(d, exist_ok=True)
    for j in range(files):
        name = ("写真_%06d.jpg" % j).encode("cp932")
        os.close(os.open(os.path.join(d, name), os.O_CREAT | os.O_WRONLY, 0o644))
PY
}

run_repair() {
  counted "$cli" repair "$1" --settings "$work/defaults.ini" --encoding cp932 --recursive \
    --detail-log --no-auto-log-save --max 100000000 >/dev/null
}
run_rename() {
  counted "$cli" rename "$1" --settings "$work/defaults.ini" --operation front --replace x \
    --recursive --detail-log --no-auto-log-save --max 100000000 >/dev/null
}
# Every file changed its name: none is left as it was made.
after_run() {
  local left
  left=$(LC_ALL=C find "$2" -type f -name $'\x8e\xca\x90^_*' | wc -l)
  if [ "$left" -ne 0 ]; then
    echo "repair_bench: $1 left $left names as they were" >&2
    exit 1
  fi
}

bench_case() {
  local name="$1" master="$work/$1"
  make_sjis_tree "$master" "$2" "$3"
  declare -A times
  local tool t f
  for ((i = 0; i < runs; i++)); do
    for tool in repair rename; do
      read -r t f <<<"$(time_one "$tool" "$master")"
      times[$tool]+="$t "
    done
  done
  for tool in repair rename; do
    printf '  %-7s median %7.3f s   runs: %s\n' "$tool" \
      "$(printf '%s\n' ${times[$tool]} | median)" "${times[$tool]% }"
  done
  echo "  repair / rename = $(paired "${times[repair]}" "${times[rename]}")   (target <= 1.20)"
  rm -rf "$master"
}

echo "== repair_bench: repair of code page 932 names beside a rename, $runs runs each"
echo "flat: 100,000 files in one folder"
bench_case flat 0 100000
echo "tree: 1,000 folders of 100 files"
bench_case tree 1000 100
