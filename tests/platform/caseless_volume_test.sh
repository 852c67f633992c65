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
#  - a run makes no look at the folder per target;
#  - a Japanese name of more than 85 characters (over 255 bytes, under 255
#    UTF-16 units) is renamed, on exFAT and on NTFS;
# and on NTFS through ntfs-3g, a rename onto an existing name is refused
# and nothing is lost; on FAT through fusefat, whose driver loses a renamed
# folder's contents, a folder keeps its name and the log says why.
# Needs root, a loop device and FUSE, and Debian's exfatprogs and
# exfat-fuse; without them it says why and is skipped (exit 77). The NTFS
# and FAT parts need ntfs-3g, and fusefat with dosfstools; the look count
# needs strace. A part whose tools are missing says so and is left out.
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
devices=()
cleanup() {
  for mount in "$card" "$work/ntfs" "$work/fat"; do
    if mountpoint -q "$mount" 2>/dev/null; then umount "$mount" || umount -l "$mount" || true; fi
  done
  for d in "$device" "${devices[@]}"; do [ -z "$d" ] || losetup -d "$d" || true; done
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
# The folder is read for the plan and once more for the run, not once more
# per target, in the rename and in its restore; once the run knows the
# folder, each photo takes one rename.
if command -v strace >/dev/null; then
  calls='trace=getdents64,rename,renameat,renameat2'
  strace -f -e "$calls" -o "$work/strace" "$cli" rename "$card" --whole --search '*.JPG' \
    --replace '*.jpg' >/dev/null 2>&1 || fail "the traced rename failed"
  reads=$(grep -c 'getdents64(' "$work/strace" || true)
  renames=$(grep -c 'rename' "$work/strace" || true)
  # Each read of a folder takes a few calls; one read per target would be
  # 200 reads and more.
  [ "$reads" -lt 50 ] || fail "200 case-only renames read the folder with $reads calls"
  [ "$renames" -lt 220 ] || fail "200 case-only renames took $renames rename calls"
  strace -f -e "$calls" -o "$work/strace" "$cli" restore >/dev/null 2>&1 ||
    fail "the restore after the traced rename failed"
  reads=$(grep -c 'getdents64(' "$work/strace" || true)
  [ "$reads" -lt 50 ] || fail "200 case-only restores read the folder with $reads calls"
  [ "$(inventory)" = "$before" ] || fail "the traced restore did not bring back every name"
else
  echo "caseless_volume_test: strace missing: the look count is left out"
fi

# --- a long Japanese name -----------------------------------------------------
# long_name DIR: "あ" x 100 + ".txt" (304 bytes) takes "い" in front.
long_name() {
  local dir="$1" name
  name="$(python3 -c 'print("あ" * 100 + ".txt")')"
  rm -rf "${dir:?}/long" && mkdir "$dir/long" && echo long >"$dir/long/$name"
  run rename "$dir/long" --operation front --replace い || fail "$dir: the long name: $(cat "$work/err")"
  [ -f "$dir/long/い$name" ] || fail "$dir: the long name was not renamed: $(tail -4 "$work/out")"
  rm -rf "${dir:?}/long"
}
long_name "$card"

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

# --- NTFS through ntfs-3g ----------------------------------------------------
if command -v mkntfs >/dev/null && command -v ntfs-3g >/dev/null; then
  truncate -s 64M "$work/ntfs.img"
  mkntfs -F -Q "$work/ntfs.img" >/dev/null 2>&1
  devices+=("$(losetup -f --show "$work/ntfs.img")")
  mkdir "$work/ntfs"
  if ntfs-3g "${devices[-1]}" "$work/ntfs" 2>/dev/null; then
    echo a >"$work/ntfs/a.txt" && echo b >"$work/ntfs/b.txt"
    before="$(cd "$work/ntfs" && md5sum a.txt b.txt)"
    # The list is built without the collision check, so the rename itself
    # must refuse.
    run rename "$work/ntfs" --whole --quick --search 'a.txt' --replace 'b.txt'
    [ "$(cd "$work/ntfs" && md5sum a.txt b.txt)" = "$before" ] ||
      fail "NTFS: a rename onto an existing name replaced it"
    grep -q "既存" "$work/out" || fail "NTFS: the refused rename was not logged: $(cat "$work/out")"
    long_name "$work/ntfs"
    # Mounted so, ntfs-3g lists no dot file but still finds one by its name:
    # "3" taking a dot in front, after two renames in the folder, must not
    # replace the hidden ".3".
    umount "$work/ntfs" &&
      ntfs-3g -o hide_hid_files,hide_dot_files "${devices[-1]}" "$work/ntfs" ||
      fail "NTFS cannot be mounted again with hide_hid_files"
    mkdir "$work/ntfs/dots" && echo hidden >"$work/ntfs/dots/.3"
    for n in 1 2 3; do echo "$n" >"$work/ntfs/dots/$n"; done
    run rename "$work/ntfs/dots" --operation front --replace .
    [ "$(cat "$work/ntfs/dots/.3")" = hidden ] && [ -f "$work/ntfs/dots/3" ] ||
      fail "NTFS: a rename replaced a name the listing hides: $(tail -3 "$work/out")"
  else
    echo "caseless_volume_test: NTFS cannot be mounted through FUSE here: left out"
  fi
else
  echo "caseless_volume_test: ntfs-3g missing: the NTFS part is left out"
fi

# --- FAT through fusefat ------------------------------------------------------
if command -v fusefat >/dev/null && command -v mkfs.vfat >/dev/null; then
  truncate -s 64M "$work/fat.img"
  mkfs.vfat "$work/fat.img" >/dev/null
  mkdir "$work/fat"
  if fusefat -o rw+ "$work/fat.img" "$work/fat" >/dev/null 2>&1; then
    # fusefat loses a folder's contents when it renames it, whatever the
    # new name: the folder keeps its name and contents, and the log says
    # why. Its files are renamed as anywhere else.
    mkdir "$work/fat/Photos" && echo inside >"$work/fat/Photos/a.jpg"
    run rename "$work/fat" --folders --whole --search 'Photos' --replace 'photos' ||
      fail "FAT: the folder run failed: $(tail -4 "$work/out")"
    grep -q "フォルダ名を変えると中身を失うため" "$work/out" || fail "FAT: no reason in the log: $(cat "$work/out")"
    [ "$(ls "$work/fat")" = "Photos" ] && [ "$(cat "$work/fat/Photos/a.jpg")" = inside ] ||
      fail "FAT: the folder changed: $(ls -R "$work/fat")"
    run rename "$work/fat/Photos" --whole --search '*.jpg' --replace '*.JPG' ||
      fail "FAT: the file's rename failed: $(tail -4 "$work/out")"
    [ "$(cat "$work/fat/Photos/a.JPG")" = inside ] || fail "FAT: the file was not renamed: $(ls "$work/fat/Photos")"
  else
    echo "caseless_volume_test: FAT cannot be mounted through fusefat here: left out"
  fi
else
  echo "caseless_volume_test: fusefat missing: the FAT part is left out"
fi

if [ "$failures" -ne 0 ]; then
  echo "caseless_volume_test: $failures failure(s)" >&2
  exit 1
fi
echo "caseless_volume_test: case-only renames and their restores work on the volumes through FUSE"
