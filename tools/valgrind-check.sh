#!/usr/bin/env bash
# valgrind memcheck over end-to-end runs of the program without a display:
# a complete dialogue (which ends in GLUT's own "failed to open display" with
# status 1), input that ends early (our own message, status 1) and a rejected
# start point (status 1 from GLUT again).
#   tools/valgrind-check.sh [build-dir]   (a normal, unsanitized build)
# valgrind reports memory errors and definite leaks with status 99, so they
# cannot be mistaken for the program's own status 1.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-default"}

cmake -S "$root" --preset default -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)" --target bilijar
program="$build/billiard/bilijar"
log=$(mktemp -d)
trap 'rm -rf "$log"' EXIT

failed=0
# check NAME INPUT STDERR-TEXT
check() {
    local name=$1 input=$2 expected=$3 status=0
    printf '%b' "$input" | env -u DISPLAY valgrind --quiet --error-exitcode=99 --leak-check=full \
        --errors-for-leak-kinds=definite --show-leak-kinds=definite --track-origins=yes \
        --log-file="$log/$name.valgrind" "$program" >"$log/$name.out" 2>"$log/$name.err" || status=$?
    if [ "$status" -eq 99 ] || [ -s "$log/$name.valgrind" ]; then
        echo "$name: valgrind found errors:" >&2
        cat "$log/$name.valgrind" >&2
        failed=1
    elif [ "$status" -ne 1 ] || ! grep -qF "$expected" "$log/$name.err"; then
        echo "$name: expected status 1 and \"$expected\" on stderr, got status $status:" >&2
        cat "$log/$name.err" >&2
        failed=1
    else
        echo "$name: clean (status 1, \"$expected\")"
    fi
}

check complete-run '10\n5\n2\n1\n1\n1\n98\n' 'failed to open display'
check early-end '10\n5\n2\n' 'Unos je prekinut pre kraja dijaloga.'
check rejected-start '10\n10\n-1\n5\n1\n1\n3\n' 'failed to open display'
exit "$failed"
