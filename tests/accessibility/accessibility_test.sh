#!/usr/bin/env bash
# The main window through AT-SPI, as a screen reader sees it: under Xvfb, in
# a session bus of its own with the accessibility bus, accessible_window
# shows the window after a run and read_window.py reads it with pyatspi.
# Skipped (exit 77), with the reason, where Xvfb, the session bus, the
# accessibility bus or pyatspi are missing or cannot start.
# Usage: accessibility_test.sh ACCESSIBLE_WINDOW
set -euo pipefail
window="$1"
here="$(cd "$(dirname "$0")" && pwd)"

skip() {
  echo "accessibility_test: skipped: $*"
  exit 77
}
command -v Xvfb >/dev/null || skip "Xvfb missing (Debian package xvfb)"
command -v dbus-run-session >/dev/null || skip "dbus-run-session missing (Debian package dbus)"
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "the accessibility bus is missing (at-spi2-core)"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "pyatspi missing (python3-pyatspi)"
command -v xdotool >/dev/null || skip "xdotool missing"
command -v xclip >/dev/null || skip "xclip missing"
dbus-run-session -- true 2>/dev/null || skip "the session bus cannot start here"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$work/run"
export ASAN_OPTIONS="${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}detect_leaks=0"

# Inside the session: the display, the accessibility bus, the window, then
# the reader; each started thing stops when the session ends.
dbus-run-session -- bash -s "$window" "$here/read_window.py" "$work" <<'SESSION'
set -u
window="$1" reader="$2" work="$3"
display=":$((100 + RANDOM % 800))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done 2>/dev/null
sleep 1
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$window" "$work/captions" &
program=$!
for _ in $(seq 100); do [ -s "$work/captions" ] && break; sleep 0.1; done
status=0
/usr/bin/python3 "$reader" "$work/captions" "$program" || status=1
kill "$program" "$bus" "$xvfb" 2>/dev/null
wait 2>/dev/null
exit $status
SESSION
