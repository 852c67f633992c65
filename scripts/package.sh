#!/usr/bin/env bash
# Builds the Debian package of Sorvane from an optimised build whose prefix is
# /usr (in build/package) and prints the path of the package made
# (build/package/sorvane_VERSION_ARCH.deb).
#
# With --check it then runs lintian on the package, where any error or
# warning fails the check (overrides are in cmake/debian/lintian-overrides),
# and tries the package on this machine (as root, or through sudo): installs
# it with apt-get, runs sorvane-cli --version and a dry run from /usr/bin,
# removes it again with everything that its install brought in, and checks
# that nothing is left in /usr that was not there before. It refuses to
# start when a package named sorvane is installed.
#
# JOBS sets the build's parallel jobs (default 1).
# Usage: scripts/package.sh [--check]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
check=false
case "${1:-}" in
  "") ;;
  --check) check=true ;;
  *)
    echo "usage: scripts/package.sh [--check]" >&2
    exit 2
    ;;
esac

"$root/scripts/setup.sh"
build="$root/build/package"
# The compiler and linker flags of Debian's own builds, with every hardening
# feature (the optimisation level stays that of the release build).
flag() { (cd "$root" && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"); }
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$(flag CPPFLAGS) $(flag CXXFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(flag LDFLAGS)" \
  -DSORVANE_BUILD_TESTS=OFF -DSORVANE_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"${JOBS:-1}"
rm -f "$build"/sorvane_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/sorvane_*.deb)"
echo "package: ${deb#"$root"/}"
dpkg-deb --field "$deb" Package Version Depends
$check || exit 0

# --- the check on this machine -------------------------------------------------------
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
if dpkg-query -W -f='${Status}' sorvane 2>/dev/null | grep -q 'installed'; then
  echo "package: sorvane is installed on this machine; remove it before --check" >&2
  exit 1
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "package: FAIL: $*" >&2
  failures=$((failures + 1))
}

# Debian's own checks: notes are shown, errors and warnings fail.
if lintian --info --display-info --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1; then
  echo "package: lintian found no error or warning"
  sed 's/^/  /' "$work/lintian.log"
else
  fail "lintian:"$'\n'"$(cat "$work/lintian.log")"
fi
# What /usr holds, and which packages are installed: the removal must give
# both back.
snapshot() { find /usr -xdev | LC_ALL=C sort; }
packages() { dpkg-query -W -f='${Package}:${Architecture} ${Status}\n' | grep ' installed$' | cut -d' ' -f1 | LC_ALL=C sort; }
snapshot >"$work/usr.before"
packages >"$work/packages.before"

$SUDO apt-get install -y -qq --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log" >&2; fail "apt-get install"; }
packages >"$work/packages.after"
brought="$(comm -13 "$work/packages.before" "$work/packages.after" | tr '\n' ' ')"
echo "package: installed: $brought"

for program in /usr/bin/sorvane /usr/bin/sorvane-cli; do
  [ -x "$program" ] || fail "$program is missing"
done
version="$(/usr/bin/sorvane-cli --version 2>&1)" || fail "sorvane-cli --version: $version"
[ "$version" = "Sorvane 1.12a" ] || fail "sorvane-cli --version gave '$version'"
echo "package: /usr/bin/sorvane-cli --version: $version"

mkdir -p "$work/tree/sub"
touch "$work/tree/a.JPG" "$work/tree/sub/b.JPG"
# The user's settings file of this machine's user must not change the run.
dry="$(cd "$work" && XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  /usr/bin/sorvane-cli rename tree --search '*.JPG' --replace '*.jpg' \
    --whole --recursive --dry-run 2>&1)" || fail "the dry run failed: $dry"
expected="$(printf '1\ta.JPG\ta.jpg\n1\tsub/b.JPG\tsub/b.jpg\n2')"
[ "$dry" = "$expected" ] || fail "the dry run gave:"$'\n'"$dry"
[ -e "$work/tree/a.JPG" ] && [ -e "$work/tree/sub/b.JPG" ] || fail "the dry run changed the tree"
echo "package: the dry run from /usr/bin listed $(tail -n 1 <<<"$dry") targets"

# Everything the install brought in goes again; sorvane first.
to_remove=(sorvane)
for p in $brought; do [ "${p%%:*}" = sorvane ] || to_remove+=("$p"); done
$SUDO apt-get purge -y -qq "${to_remove[@]}" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log" >&2; fail "apt-get purge"; }
dpkg-query -W -f='${Status}' sorvane 2>/dev/null | grep -q 'installed' && fail "sorvane is still installed"

snapshot >"$work/usr.after"
left="$(comm -13 "$work/usr.before" "$work/usr.after")"
gone="$(comm -23 "$work/usr.before" "$work/usr.after")"
[ -z "$left" ] || fail "left behind in /usr:"$'\n'"$left"
[ -z "$gone" ] || fail "gone from /usr:"$'\n'"$gone"
# The desktop's caches are rebuilt on removal and must not name the program.
for cache in /usr/share/applications/mimeinfo.cache /usr/share/icons/hicolor/icon-theme.cache; do
  if [ -e "$cache" ] && grep -qa sorvane "$cache"; then fail "$cache still names sorvane"; fi
done

if [ "$failures" -ne 0 ]; then
  echo "package: --check found $failures fault(s)" >&2
  exit 1
fi
echo "package: installed, ran from /usr/bin, removed; nothing is left in /usr"
