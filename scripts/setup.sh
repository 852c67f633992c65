#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the program need,
# but only those that are missing, so that a second run takes a moment.
set -euo pipefail

packages=(
  g++ clang cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libclang-rt-14-dev
  fonts-noto-cjk xvfb xauth imagemagick
  mmv time clang-format python3 exfat-fuse exfatprogs ntfs-3g fusefat dosfstools strace
  dbus at-spi2-core python3-pyatspi x11-utils xdotool xclip
  librsvg2-bin desktop-file-utils man-db dpkg-dev lintian appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}" >&2
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
