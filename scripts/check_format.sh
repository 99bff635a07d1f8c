#!/usr/bin/env bash
# The C++ files follow the repository's .clang-format, checked by `make test`: clang-format
# --dry-run -Werror over every tracked .cpp and .h file (every such file under the source folders
# when the tree is no git checkout). Prints each file that clang-format would change; exits 1 when
# there is one.
set -uo pipefail
root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
cd "$root"

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
  mapfile -t files < <(find app game gfx platform tests tools bench -type f \
    \( -name '*.cpp' -o -name '*.h' \) | sort)
fi

unformatted=()
for file in "${files[@]}"; do
  [ -f "$file" ] || continue
  clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
for file in "${unformatted[@]+"${unformatted[@]}"}"; do
  echo "$file: not formatted with .clang-format (clang-format -i $file)"
done
echo "checked the format of ${#files[@]} files: ${#unformatted[@]} not formatted"
[ "${#unformatted[@]}" -eq 0 ]
