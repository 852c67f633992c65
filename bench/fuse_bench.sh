#!/usr/bin/env bash
# Times sorvane-cli on the volumes a camera card or a USB stick brings, each
# a 1 GiB image on a loop device mounted through FUSE (exfat-fuse, ntfs-3g),
# against the floor (bench/plain_floor: one folder read, one plain rename(2)
# per file), the same floor in the order of the names, which is the order a
# run takes these files (nfloor; exFAT lists the newest first), and mmv,
# renaming every file of one folder:
#   case   IMG_n.JPG -> IMG_n.jpg  (a change of case only)
#   other  IMG_n.JPG -> P_n.JPG
# with 1,000, 4,000 and 8,000 files, on fresh files for every run. The tools
# take turns run by run; it prints each one's median of RUNS runs (default
# 3), the ratios, and sorvane-cli's system calls per target from strace
# (what a run of N files makes beyond a run of one, over N - 1).
# Needs root, loop devices, FUSE, exfat-fuse, exfatprogs, ntfs-3g and
# strace; without them it says why and stops (exit 77).
# BUILD_DIR chooses the build folder (default build/release); RUNS the runs;
# SIZES the numbers of files (default "1000 4000 8000").
set -euo pipefail
source "$(dirname "$0")/common.sh"

stop() {
  echo "fuse_bench: $*" >&2
  exit 77
}
[ "$(id -u)" -eq 0 ] || stop "mounting a volume needs root"
[ -e /dev/fuse ] || stop "no FUSE (/dev/fuse)"
[ -e /dev/loop-control ] || stop "no loop devices (/dev/loop-control)"
for tool in mkfs.exfat mount.exfat-fuse mkntfs ntfs-3g strace mmv; do
  command -v "$tool" >/dev/null || stop "$tool is missing (Debian packages exfatprogs, exfat-fuse, ntfs-3g, strace, mmv)"
done

bench_start fuse-bench sorvane-cli plain_floor
cli="$build/src/sorvane-cli"
floor="$build/bench/plain_floor"
runs="${RUNS:-3}"
sizes="${SIZES:-1000 4000 8000}"
images="$(mktemp -d /var/tmp/sorvane-fuse-bench.XXXXXX)"
devices=()
cleanup() {
  for mount in "$images"/mnt-*; do
    mountpoint -q "$mount" 2>/dev/null && { umount "$mount" || umount -l "$mount" || true; }
  done
  for device in "${devices[@]}"; do losetup -d "$device" || true; done
  rm -rf "$images" "$work"
}
trap cleanup EXIT

# mount_volume KIND: a fresh image of KIND (exfat, ntfs) mounted at
# $images/mnt-KIND.
mount_volume() {
  local kind="$1" image="$images/$1.img" mount="$images/mnt-$1" device
  truncate -s 1G "$image"
  case "$kind" in
    exfat) mkfs.exfat "$image" >/dev/null ;;
    ntfs) mkntfs -F -Q "$image" >/dev/null 2>&1 ;;
  esac
  device="$(losetup -f --show "$image")" || stop "no free loop device"
  devices+=("$device")
  mkdir "$mount"
  case "$kind" in
    exfat) mount.exfat-fuse "$device" "$mount" >/dev/null 2>&1 ;;
    ntfs) ntfs-3g "$device" "$mount" ;;
  esac || stop "$kind cannot be mounted through FUSE here"
}

# fresh DIR N: DIR holding the N files IMG_0000n.JPG, and nothing else.
fresh() {
  rm -rf "$1"
  mkdir "$1"
  (cd "$1" && seq -f 'IMG_%05g.JPG' 1 "$2" | xargs touch)
  sync
}

run_sorvane() {
  local args=(--search 'IMG_' --replace 'P_')
  [ "$2" = case ] && args=(--whole --search '*.JPG' --replace '*.jpg')
  "$cli" rename "$1" --settings "$work/defaults.ini" --no-auto-log-save --max 100000000 \
    "${args[@]}" >/dev/null
}
run_floor() { "$floor" "$1" "$2" >/dev/null; }
run_nfloor() { "$floor" "$1" "$2" sorted >/dev/null; }
run_mmv() {
  if [ "$2" = case ]; then
    (cd "$1" && mmv -m '*.JPG' '#1.jpg' </dev/null)
  else
    (cd "$1" && mmv -m 'IMG_*' 'P_#1' </dev/null)
  fi
}

# Every file took its new name: the run did all its work.
check() {
  local dir="$1" n="$2" what="$3" left
  if [ "$4" = case ]; then left=$(find "$dir" -name '*.JPG' | wc -l); else left=$(find "$dir" -name 'IMG_*' | wc -l); fi
  if [ "$left" -ne 0 ] || [ "$(find "$dir" -type f | wc -l)" -ne "$n" ]; then
    echo "fuse_bench: $what left $left of $n files with their old names" >&2
    exit 1
  fi
}

# time_tool TOOL DIR N CASE: seconds of one run on fresh files.
time_tool() {
  local start end
  fresh "$2" "$3"
  start=$(date +%s%N)
  "run_$1" "$2" "$4"
  end=$(date +%s%N)
  check "$2" "$3" "$1" "$4"
  awk -v ns=$((end - start)) 'BEGIN { printf "%.3f\n", ns / 1e9 }'
}

# The system calls of one sorvane-cli run on N fresh files.
calls() {
  fresh "$1" "$2"
  strace -f -c -o "$work/strace.txt" bash -c "$(declare -f run_sorvane); cli='$cli' work='$work' run_sorvane '$1' '$3'"
  awk '$NF == "total" { print $(NF-2) + 0 }' "$work/strace.txt"
}

echo "== fuse_bench: one folder on a 1 GiB image through FUSE, $runs runs each, median seconds"
for kind in exfat ntfs; do
  mount_volume "$kind"
  dir="$images/mnt-$kind/photos"
  for case in other case; do
    declare -A first=()
    for n in $sizes; do
      declare -A times=()
      for ((i = 0; i < runs; i++)); do
        for tool in sorvane floor nfloor mmv; do times[$tool]+="$(time_tool "$tool" "$dir" "$n" "$case") "; done
      done
      ratio=$(paired "${times[sorvane]}" "${times[floor]}")
      first[$case]="${first[$case]:-$ratio}"
      per_target=$(awk -v a="$(calls "$dir" "$n" "$case")" -v b="$(calls "$dir" 1 "$case")" -v n="$n" \
        'BEGIN { printf "%.2f", (a - b) / (n - 1) }')
      printf '%-5s %-5s %5d files: sorvane %6.3f s  floor %6.3f s  nfloor %6.3f s  mmv %6.3f s  sorvane/floor %s  sorvane/nfloor %s  sorvane/mmv %s (%s)  calls/target %s\n' \
        "$kind" "$case" "$n" "$(printf '%s\n' ${times[sorvane]} | median)" \
        "$(printf '%s\n' ${times[floor]} | median)" "$(printf '%s\n' ${times[nfloor]} | median)" \
        "$(printf '%s\n' ${times[mmv]} | median)" "$ratio" \
        "$(paired "${times[sorvane]}" "${times[nfloor]}")" \
        "$(paired "${times[sorvane]}" "${times[mmv]}")" \
        "$(spread "${times[sorvane]}" "${times[mmv]}")" "$per_target"
    done
    echo "$kind $case: growth of sorvane/floor from the first size to the last = $(ratio "$ratio" "${first[$case]}")"
  done
done
echo "targets: other <= 2.0 x floor and <= 1.0 x mmv at 4,000; case <= 2.5 x floor; growth <= 1.2; calls/target <= 3"
