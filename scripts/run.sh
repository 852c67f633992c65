#!/usr/bin/env bash
# Installs what is missing, builds the optimised program and starts it with
# an optional start folder (taken relative to the folder you call this from).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
(cd "$root" && cmake --preset release >/dev/null && cmake --build --preset release --target sorvane)
args=()
for a in "$@"; do
  if [ -e "$a" ]; then args+=("$(realpath -s "$a")"); else args+=("$a"); fi
done
exec "$root/build/release/src/sorvane" "${args[@]}"
