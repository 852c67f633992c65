#!/usr/bin/env bash
# Checks that every tracked C++ source under src/, tests/, bench/ and fuzz/ is
# laid out as .clang-format says. Prints the files that are not and exits
# non-zero when there is one; changes nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
format="${CLANG_FORMAT:-clang-format-14}"
if ! command -v "$format" >/dev/null; then
  echo "check-format: $format not found (scripts/setup.sh installs it)" >&2
  exit 2
fi

mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
  'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h')
if [ ${#files[@]} -eq 0 ]; then
  echo "check-format: no C++ files found" >&2
  exit 2
fi

bad=()
for f in "${files[@]}"; do
  if ! "$format" --style=file --dry-run --Werror "$f" >/dev/null 2>&1; then
    bad+=("$f")
  fi
done

if [ ${#bad[@]} -ne 0 ]; then
  echo "check-format: ${#bad[@]} of ${#files[@]} files are not formatted ($format -i FILE fixes one):"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
echo "check-format: ${#files[@]} files formatted"
