#!/usr/bin/env bash
# Checks that every C++ file of the project is formatted as .clang-format
# says; lists the files that are not and fails. Fix with clang-format -i.
#   tools/check-format.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mapfile -d '' files < <(find geometry scene billiard tests fuzz -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
[ "${#files[@]}" -gt 0 ] || { echo "no C++ files found" >&2; exit 1; }

failed=()
for file in "${files[@]}"; do
    if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
        failed+=("$file")
    fi
done
if [ "${#failed[@]}" -gt 0 ]; then
    echo "not formatted (clang-format -i FILE):" >&2
    printf '  %s\n' "${failed[@]}" >&2
    exit 1
fi
echo "${#files[@]} files formatted"
