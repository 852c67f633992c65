#!/usr/bin/env bash
# Installs what is missing, builds the optimised program and starts it with
# an optional start folder (the program takes a relative one from the folder
# you call this from).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
(cd "$root" && cmake --preset release >/dev/null && cmake --build --preset release --target sorvane)
exec "$root/build/release/src/sorvane" "$@"
