#!/usr/bin/env bash
# Times the preview window "変換プレビュー" (bench/preview_run, offscreen) on
# 100,000 and on 1,000,000 empty files in one folder in /dev/shm, "*.txt" -> "*.dat" on the
# whole name, settings at their defaults but for no limit on the targets,
# against the dry run of sorvane-cli on the same folder (its whole process,
# output to /dev/null). Medians of RUNS runs (default 5), each in a process
# of its own:
#
#  1. the first preview: from the menu item to the counts in the title (the
#     first preview is computed at once, without waiting for the inputs);
#  2. the longest stall of the window's event loop (a 1 ms timer's longest
#     gap) while 20 keys are pressed in the search word box txtBfr, one
#     every 30 ms, and until 100 ms after the last key's counts are shown.
#     The keys go to the focused box as key presses; the box holds "*.txt",
#     the keys are "_abcdefghi" and then 10 Backspaces, so every key changes
#     the word and the last word, "*.txt" again, still matches every file;
#  3. the last key to the counts in the title, with and without the 150 ms;
#  4. memory: the heap the preview holds in use once its last result is
#     shown (less the heap before it was opened), and the difference of the
#     window program's peak memory with and without the preview (the same
#     keys and waits without it), each beside the dry run's peak memory and
#     beside the dry run's own growth (its peak on this folder less its peak
#     on an empty one).
#
# Besides: PreviewPlan alone on the window's thread, the time it takes and
# the heap its result holds.
# BUILD_DIR chooses the build folder (default build/release); RUNS the runs;
# SIZES the numbers of files (default "100000 1000000").
set -euo pipefail
source "$(dirname "$0")/common.sh"
bench_start preview-bench sorvane-cli preview_run
runs="${RUNS:-5}"
files="$work/files"
mkdir "$work/empty"

# dry_run FOLDER: seconds and peak KiB of one dry run.
dry_run() {
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f %M -o "$work/rss" "$build/src/sorvane-cli" rename "$1" --dry-run \
    --settings "$work/defaults.ini" --search '*.txt' --replace '*.dat' --whole \
    --max 100000000 >/dev/null
  end=$(date +%s%N)
  awk -v ns=$((end - start)) -v kb="$(tail -n 1 "$work/rss")" \
    'BEGIN { printf "%.4f %s\n", ns / 1e9, kb }'
}

# preview_run NAME [FLAG]: one run of the window program; its lines go to
# $work/NAME.N, its peak KiB added as "peak_kib".
preview_run() {
  local out="$work/$1.$i"
  QT_QPA_PLATFORM=offscreen /usr/bin/time -f %M -o "$work/rss" \
    "$build/bench/preview_run" "$files" "${@:2}" >"$out" 2>"$work/stderr" || {
    cat "$work/stderr" >&2
    echo "preview_bench: preview_run $* failed" >&2
    exit 1
  }
  echo "peak_kib $(tail -n 1 "$work/rss")" >>"$out"
}

# value NAME KEY: the median of KEY over the runs of NAME.
value() { cat "$work/$1".* | awk -v k="$2" '$1 == k { print $2 }' | median; }

# bench_size N: every figure on N files.
bench_size() {
rm -rf "$files" "$work"/preview.* "$work"/bare.* "$work"/plan.*
make_tree "$files" 0 "$1"
echo "== preview_bench: $1 files in one folder, \"*.txt\" -> \"*.dat\" whole name, medians of $runs runs"
dry_times=() dry_kib=() empty_times=() empty_kib=()
for ((i = 0; i < runs; i++)); do
  read -r t k <<<"$(dry_run "$files")"
  dry_times+=("$t")
  dry_kib+=("$k")
  read -r t k <<<"$(dry_run "$work/empty")"
  empty_times+=("$t")
  empty_kib+=("$k")
  preview_run preview
  preview_run bare --no-preview
  preview_run plan --plan-alone
done
dry_s=$(printf '%s\n' "${dry_times[@]}" | median)
dry_peak=$(printf '%s\n' "${dry_kib[@]}" | median)
empty_peak=$(printf '%s\n' "${empty_kib[@]}" | median)
dry_ms=$(awk -v s="$dry_s" 'BEGIN { print s * 1000 }')
settle=$(value preview settle_ms)

printf '  %-44s %8.1f ms   runs: %s\n' "dry run (sorvane-cli), whole process" "$dry_ms" \
  "${dry_times[*]}"
printf '  %-44s %8.1f ms\n' "dry run of an empty folder" \
  "$(printf '%s\n' "${empty_times[@]}" | median | awk '{ print $1 * 1000 }')"

# timed LABEL MS TARGET: a time and its ratio to the dry run, with and
# without the settle delay.
timed() {
  awk -v label="$1" -v ms="$2" -v dry="$dry_ms" -v settle="$settle" -v target="$3" 'BEGIN {
    printf "  %-44s %8.1f ms   / dry run %.2f%s\n", label ", 150 ms settle included", ms, ms / dry, target
    printf "  %-44s %8.1f ms   / dry run %.2f%s\n", label ", settle left out", ms - settle, (ms - settle) / dry, target
  }'
}

echo "1. first preview: menu item -> counts in the title (N = $(value preview first_targets))"
awk -v ms="$(value preview first_title_ms)" -v dry="$dry_ms" 'BEGIN {
  printf "  %-44s %8.1f ms   / dry run %.2f   (target <= 1.5)\n", "first preview", ms, ms / dry }'
printf '  %-44s %8.1f ms\n' "first preview, rows in the table" "$(value preview first_shown_ms)"
printf '  %-44s %8.1f ms\n' "longest stall while it is computed" "$(value preview first_stall_ms)"

echo "2. 20 keys in txtBfr, one every 30 ms (\"_abcdefghi\", 10 Backspaces; \"*.txt\" at the end)"
printf '  %-44s %8.1f ms   (target <= 50)   runs: %s\n' \
  "longest stall of the event loop" "$(value preview stall_ms)" \
  "$(cat "$work"/preview.* | awk '$1 == "stall_ms" { printf "%s ", $2 }')"
printf '  %-44s %8.1f ms   (< 0: while the keys came)\n' "  when it ended, from the last key" \
  "$(value preview stall_at_ms)"
printf '  %-44s %8.1f ms\n' "same keys without the preview" "$(value bare stall_ms)"

echo "3. last key -> final counts in the title (N = $(value preview final_targets))"
timed "final counts" "$(value preview final_title_ms)" ""
awk -v ms="$(value preview final_title_ms)" -v dry="$dry_ms" 'BEGIN {
  printf "  %-44s %8.1f ms   (target: 150 ms + 1.0 x dry run = %.1f ms)\n", "final counts", ms, 150 + dry }'
printf '  %-44s %8.1f ms\n' "final counts, rows in the table" "$(value preview final_shown_ms)"

echo "4. memory"
awk -v peak="$dry_peak" -v empty="$empty_peak" \
  -v before="$(value preview heap_before_kib)" -v opened="$(value preview heap_open_kib)" \
  -v after_first="$(value preview heap_first_kib)" \
  -v after_last="$(value preview heap_final_kib)" \
  -v with="$(value preview peak_kib)" -v without="$(value bare peak_kib)" 'BEGIN {
  growth = peak - empty
  heap = after_last - before
  first = after_first - before
  printf "  %-44s %8d KiB\n", "dry run, peak", peak
  printf "  %-44s %8d KiB\n", "dry run, growth (peak less an empty folder)", growth
  printf "  %-44s %8d KiB   (the window before a result %d KiB, after the first %d KiB)\n", "preview, heap in use after the last result", heap, opened - before, first
  printf "  %-44s %8s       / dry run peak %.2f (target <= 2), / its growth %.2f\n", "", "", heap / peak, heap / growth
  printf "  %-44s %8d KiB   (%d with, %d without)\n", "window program peak, with less without preview", with - without, with, without
  printf "  %-44s %8s       / dry run peak %.2f (target <= 2), / its growth %.2f\n", "", "", (with - without) / peak, (with - without) / growth
}'

echo "PreviewPlan alone on the window's thread"
printf '  %-44s %8.1f ms   (freeing it %.1f ms)\n' "time" "$(value plan plan_ms)" \
  "$(value plan plan_free_ms)"
printf '  %-44s %8d KiB   (window program peak %d KiB)\n' "heap its result holds" \
  "$(value plan plan_heap_kib)" "$(value plan peak_kib)"
}

for size in ${SIZES:-100000 1000000}; do bench_size "$size"; done
