#!/usr/bin/env bash
# Checks that `cmake --install` installs a working bilijar: installs a built
# tree under a staging directory (DESTDIR) with its own prefix, and runs the
# installed program once without a display.
#   tools/check-install.sh [build-dir]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}

cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)" --target bilijar
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /opt/bilijar >/dev/null
program="$stage/opt/bilijar/bin/bilijar"
[ -x "$program" ] || { echo "cmake --install did not install $program" >&2; exit 1; }

# The installed program asks for the five values; without a display the run
# ends in GLUT's exit with status 1.
status=0
out=$(printf '10\n5\n2\n1\n1\n1\n0\n' | env -u DISPLAY "$program" 2>/dev/null) || status=$?
first=$(printf '%s\n' "$out" | head -n 1)
if [ "$status" -ne 1 ] || [ "$first" != "Unesite dimenzije pravougaonika:" ]; then
    echo "the installed program did not run as expected (status $status):" >&2
    printf '%s\n' "$out" >&2
    exit 1
fi
echo "installed and ran $program"
