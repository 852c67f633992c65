#!/usr/bin/env bash
# sorvane-cli on a real exFAT volume mounted through FUSE, as a camera card
# or a USB stick is: it keeps the case of a name but compares names without
# it, and gives each spelling a node number of its own.
#  - 200 files *.JPG -> *.jpg, then a restore from the journal;
#  - a folder whose name changes only in case, and its restore;
#  - two targets of one folder in one run;
#  - a real collision by case (B.TXT -> A.TXT beside a.txt): its verdict,
#    and nothing lost or replaced when the removal is declined;
#  - a run stopped between the two steps of a case-only rename (the item at
#    its temporary name, the journal without its end): the restore brings
#    the item back.
# Needs root, a loop device and FUSE, and Debian's exfatprogs and
# exfat-fuse; without them it says why and is skipped (exit 77).
# Usage: caseless_volume_test.sh SORVANE_CLI
set -euo pipefail
cli="$1"

skip() {
  echo "caseless_volume_test: skipped: $*"
  exit 77
}
[ "$(id -u)" -eq 0 ] || skip "mounting a volume needs root"
[ -e /dev/loop-control ] || skip "no loop devices (/dev/loop-control)"
[ -e /dev/fuse ] || skip "no FUSE (/dev/fuse)"
command -v mkfs.exfat >/dev/null || skip "mkfs.exfat missing (Debian package exfatprogs)"
command -v mount.exfat-fuse >/dev/null || skip "mount.exfat-fuse missing (Debian package exfat-fuse)"

work="$(mktemp -d)"
card="$work/card"
device=""
cleanup() {
  if mountpoint -q "$card" 2>/dev/null; then umount "$card" || umount -l "$card" || true; fi
  if [ -n "$device" ]; then losetup -d "$device" || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
truncate -s 64M "$work/card.img"
mkfs.exfat "$work/card.img" >/dev/null
device="$(losetup -f --show "$work/card.img" 2>/dev/null)" || skip "no free loop device"
mkdir "$card"
mount.exfat-fuse "$device" "$card" >/dev/null 2>&1 || skip "the volume cannot be mounted through FUSE here"
export XDG_DATA_HOME="$work/data"
export ASAN_OPTIONS="${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}detect_leaks=0"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
# The card's entries with their contents, one per line, sorted.
inventory() {
  (cd "$card" && find . -mindepth 1 | sort | while read -r p; do
    if [ -f "$p" ]; then echo "$p $(md5sum <"$p")"; else echo "$p/"; fi
  done)
}
empty_card() { find "$card" -mindepth 1 -delete; }
run() { "$cli" "$@" >"$work/out" 2>"$work/err"; }

# --- 200 photos -------------------------------------------------------------
for i in $(seq -w 0 199); do echo "photo $i" >"$card/IMG_0$i.JPG"; done
before="$(inventory)"
run rename "$card" --whole --search '*.JPG' --replace '*.jpg' || fail "the rename of 200 photos failed: $(cat "$work/err")"
[ "$(inventory)" = "$(echo "$before" | sed 's/\.JPG /.jpg /')" ] ||
  fail "not every photo took its lower-case name: $(tail -3 "$work/out")"
run restore || fail "the restore of 200 photos failed: $(tail -3 "$work/out")"
[ "$(inventory)" = "$before" ] || fail "the restore did not bring back every upper-case name"

# --- a folder ---------------------------------------------------------------
empty_card
mkdir "$card/Photos" && echo inside >"$card/Photos/a.jpg"
before="$(inventory)"
run rename "$card" --folders --whole --search 'Photos' --replace 'photos' ||
  fail "the folder rename failed: $(cat "$work/err")"
[ "$(inventory)" = "$(echo "$before" | sed 's|^\./Photos|./photos|')" ] || fail "the folder kept its name"
run restore || fail "the folder's restore failed"
[ "$(inventory)" = "$before" ] || fail "the folder did not get its name back"

# --- two targets --------------------------------------------------------------
empty_card
echo x >"$card/x.TXT" && echo y >"$card/Y.TXT"
run rename "$card" --whole --search '*.TXT' --replace '*.txt' || fail "two targets: $(cat "$work/err")"
[ "$(ls "$card" | tr '\n' ' ')" = "Y.txt x.txt " ] || fail "two targets: $(ls "$card" | tr '\n' ' ')"

# --- a real collision by case ---------------------------------------------
empty_card
echo b >"$card/B.TXT" && echo a >"$card/a.txt"
before="$(inventory)"
run rename "$card" --whole --search 'B.TXT' --replace 'A.TXT' --dry-run
grep -q "^2	B.TXT	A.TXT" "$work/out" || fail "B.TXT -> A.TXT beside a.txt is not verdict 2: $(cat "$work/out")"
run rename "$card" --whole --search 'B.TXT' --replace 'A.TXT' --delete-existing \
  --answer-collision no || fail "the declined collision failed: $(cat "$work/err")"
grep -q "A.TXT」はすでに存在しています" "$work/err" || fail "the collision was not asked about"
[ "$(inventory)" = "$before" ] || fail "a declined collision changed the card"

# --- stopped between the two steps ------------------------------------------
empty_card
echo photo >"$card/IMG.JPG"
before="$(inventory)"
run rename "$card" --whole --search '*.JPG' --replace '*.jpg' || fail "the single rename failed"
journal="$(ls -t "$XDG_DATA_HOME"/sorvane/journal/*.journal | head -n 1)"
pid="$(sed -n 's/^pid\t//p' "$journal")"
# The name the rename passes through: FNV-1a of the old name's bytes.
temporary="$(python3 -c '
import sys
h = 14695981039346656037
for b in sys.argv[2].encode():
    h = ((h ^ b) * 1099511628211) % 2**64
print(".sorvane-%s-%016x.tmp" % (sys.argv[1], h))' "$pid" IMG.JPG)"
mv "$card/img.jpg" "$card/$temporary"
sed -i '/^completed\t/d' "$journal"
run restore || fail "the restore after a stop between the steps failed: $(tail -3 "$work/out")"
[ "$(inventory)" = "$before" ] || fail "the item at its temporary name did not come back: $(ls -a "$card")"

if [ "$failures" -ne 0 ]; then
  echo "caseless_volume_test: $failures failure(s)" >&2
  exit 1
fi
echo "caseless_volume_test: case-only renames and their restores work on exFAT through FUSE"
