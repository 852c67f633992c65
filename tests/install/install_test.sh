#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks the installation:
#  - the files are where the install rules say, and nothing else is there;
#  - the menu entry passes desktop-file-validate and starts the program on a
#    folder; the PNG icons have their sizes;
#  - the AppStream metadata passes appstreamcli's checks, alone and with
#    the menu entry it names;
#  - the manual pages render without a warning; that of sorvane-cli and the
#    bash completion know every option that `sorvane-cli rename --help` lists;
#  - where sorvane-cli takes its settings file and saves its logs: beside a
#    copy in a writable folder; in XDG_CONFIG_HOME and XDG_DATA_HOME for a
#    copy in a folder it may not write into (run as an unprivileged user
#    when this runs as root, since root may write into any folder) and for
#    the installed copy.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Every user may walk to the files below; the unprivileged run needs that.
chmod 755 "$work"
prefix="$work/prefix"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >/dev/null

# --- the files ----------------------------------------------------------------
expected="bin/sorvane
bin/sorvane-cli
share/applications/sorvane.desktop
share/bash-completion/completions/sorvane-cli
share/doc/sorvane/readme.txt
share/icons/hicolor/256x256/apps/sorvane.png
share/icons/hicolor/48x48/apps/sorvane.png
share/icons/hicolor/scalable/apps/sorvane.svg
share/man/man1/sorvane-cli.1.gz
share/man/man1/sorvane.1.gz
share/metainfo/org.sorvane.Sorvane.metainfo.xml"
installed="$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)"
[ "$installed" = "$expected" ] ||
  fail "installed files differ from the install rules:"$'\n'"$(diff <(echo "$expected") <(echo "$installed"))"
for program in sorvane sorvane-cli; do
  [ -x "$prefix/bin/$program" ] || fail "$program is not executable"
done
[ "$("$prefix/bin/sorvane-cli" --version)" = "Sorvane 1.12a" ] || fail "sorvane-cli --version"

# --- the menu entry and the icon ------------------------------------------------
entry="$prefix/share/applications/sorvane.desktop"
report="$(desktop-file-validate "$entry" 2>&1)" || fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate: $report"
grep -qx 'Exec=sorvane %f' "$entry" || fail "the entry does not start sorvane on a file or folder"
grep -qx 'MimeType=inode/directory;' "$entry" || fail "the entry is not offered on folders"
grep -qx 'Icon=sorvane' "$entry" || fail "the entry's icon"
for size in 48 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/sorvane.png"
  got="$(python3 -c 'import struct,sys
d=open(sys.argv[1],"rb").read(24)
assert d[:8]==b"\x89PNG\r\n\x1a\n" and d[12:16]==b"IHDR"
print("%dx%d" % struct.unpack(">II", d[16:24]))' "$png")" || got="not a PNG"
  [ "$got" = "${size}x${size}" ] || fail "the $size pixel icon is $got"
done

# --- the AppStream metadata ---------------------------------------------------------
# Warnings and errors fail; notes do not. validate-tree also finds the menu
# entry that the metadata launches.
metainfo="$prefix/share/metainfo/org.sorvane.Sorvane.metainfo.xml"
if command -v appstreamcli >/dev/null; then
  report="$(appstreamcli validate --no-net "$metainfo" 2>&1)" || fail "appstreamcli validate: $report"
  report="$(appstreamcli validate-tree --no-net "$prefix" 2>&1)" ||
    fail "appstreamcli validate-tree: $report"
else
  fail "appstreamcli is missing (scripts/setup.sh installs the package appstream)"
fi

# --- the manual pages and the completion ------------------------------------------
for program in sorvane sorvane-cli; do
  page="$prefix/share/man/man1/$program.1.gz"
  warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)"
  [ -z "$warnings" ] || fail "man -l warns on $program.1: $warnings"
done
text="$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$prefix/share/man/man1/sorvane.1.gz" 2>/dev/null)"
for section in NAME SYNOPSIS ARGUMENTS "INTERRUPTED RUNS" FILES ENVIRONMENT "SEE ALSO"; do
  grep -qx "$section" <<<"$text" || fail "the manual page of sorvane has no section $section"
done
page="$prefix/share/man/man1/sorvane-cli.1.gz"
text="$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$page" 2>/dev/null)"
for section in NAME SYNOPSIS COMMANDS OPTIONS VERDICTS "JSON OUTPUT" FILES "EXIT STATUS" EXAMPLES; do
  grep -qx "$section" <<<"$text" || fail "the manual page has no section $section"
done
mapfile -t options < <("$prefix/bin/sorvane-cli" rename --help | grep -- '^  -' |
  grep -o -- '--[a-z][a-z-]*' | sort -u)
[ ${#options[@]} -gt 30 ] || fail "rename --help lists only ${#options[@]} options"
completed="$(bash -c 'source "$1"; COMP_WORDS=(sorvane-cli rename --); COMP_CWORD=2
  _sorvane_cli; printf "%s\n" "${COMPREPLY[@]}"' - "$prefix/share/bash-completion/completions/sorvane-cli")"
for option in "${options[@]}"; do
  grep -qF -- "$option" <<<"$text" || fail "the manual page lacks $option"
  grep -qx -- "$option" <<<"$completed" || fail "the completion lacks $option"
done
for key in dryRun folder end endStatus complete counts matched renamed notRenamed deleted \
  targets old new verdict verdictName status renameBits outcome; do
  grep -qw -- "$key" <<<"$text" || fail "the manual page does not describe the JSON key $key"
done

# --- where the settings and logs go ------------------------------------------------
# The settings that a run must have read: the search word "a", automatic
# log saving on.
settings_text() {
  printf '\xef\xbb\xbf[処理方法]\r\n検索語=a\r\n置換語=z\r\n[システム]\r\n自動ログ保存=1\r\n'
}
# Runs the copy at $1 on a fresh tree holding a.txt and b.txt, with fresh
# user folders; with $2 "user" they hold the settings file. Root runs it as
# an unprivileged user when $3 is "unprivileged".
run_copy() {
  local exe="$1" settings="$2" as="$3"
  rm -rf "$work/tree" "$work/home"
  mkdir -p "$work/tree" "$work/home/config" "$work/home/data"
  touch "$work/tree/a.txt" "$work/tree/b.txt"
  if [ "$settings" = user ]; then
    mkdir -p "$work/home/config/sorvane"
    settings_text >"$work/home/config/sorvane/sorvane-cli.ini"
  fi
  local -a user=()
  if [ "$as" = unprivileged ]; then
    chown -R 65534:65534 "$work/tree" "$work/home"
    user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  fi
  "${user[@]}" env HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" \
    XDG_DATA_HOME="$work/home/data" "$exe" rename "$work/tree" >/dev/null 2>"$work/err" ||
    fail "$exe: $(cat "$work/err")"
}
# The run took the settings file that holds "a" and saved its three log
# files in $2.
expect_run() {
  local what="$1" logs="$2"
  [ -e "$work/tree/z.txt" ] && [ -e "$work/tree/b.txt" ] ||
    fail "$what: the settings file was not read (the tree holds $(ls "$work/tree" | tr '\n' ' '))"
  local n
  n="$(find "$logs" -maxdepth 1 -name 'sorvane-cli_Log_*' 2>/dev/null | wc -l)"
  [ "$n" -eq 3 ] || fail "$what: $n log files in $logs"
}

# A portable copy in a folder it may write into.
portable="$work/portable"
mkdir -p "$portable"
cp "$prefix/bin/sorvane-cli" "$portable/"
settings_text >"$portable/sorvane-cli.ini"
run_copy "$portable/sorvane-cli" beside ""
expect_run "a copy in a writable folder" "$portable/Log"
# Only the run's journal goes to the user's folders, for every copy.
[ -z "$(find "$work/home" -mindepth 2 ! -path "$work/home/data/sorvane" \
  ! -path "$work/home/data/sorvane/journal*")" ] || fail "the portable copy wrote in the user's folders"
[ -n "$(find "$work/home/data/sorvane/journal" -name '*.journal')" ] ||
  fail "the portable copy kept no journal of its run"

# A copy in a folder it may not write into; the file beside it is not read.
# Root may write into any folder but one on a read-only mount: the copy runs
# as nobody then, for whom the folder is read-only.
readonly_dir="$work/readonly"
mkdir -p "$readonly_dir"
cp "$prefix/bin/sorvane-cli" "$readonly_dir/"
printf '[処理方法]\r\n検索語=b\r\n置換語=y\r\n' >"$readonly_dir/sorvane-cli.ini"
before="$(ls -A "$readonly_dir")"
if [ "$(id -u)" -eq 0 ]; then
  run_copy "$readonly_dir/sorvane-cli" user unprivileged
else
  chmod 555 "$readonly_dir"
  run_copy "$readonly_dir/sorvane-cli" user ""
  chmod 755 "$readonly_dir"
fi
expect_run "a copy in a read-only folder" "$work/home/data/sorvane/Log"
[ "$(ls -A "$readonly_dir")" = "$before" ] || fail "the read-only copy wrote beside itself"

# The installed copy, in a folder that this user may well write into.
run_copy "$prefix/bin/sorvane-cli" user ""
expect_run "the installed copy" "$work/home/data/sorvane/Log"
[ "$(ls -A "$prefix/bin" | tr '\n' ' ')" = "sorvane sorvane-cli " ] ||
  fail "the installed copy wrote beside itself: $(ls -A "$prefix/bin")"

if [ "$failures" -ne 0 ]; then
  echo "install_test: $failures failure(s)" >&2
  exit 1
fi
echo "install_test: the installation is complete and keeps its files apart"
