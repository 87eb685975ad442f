#!/usr/bin/env bash
# Checks that `cmake --install` installs a working bilijar with its manual
# page, README and LICENSE: installs a built tree under a staging directory
# (DESTDIR) with its own prefix, checks the files, and runs the installed
# program once without a display.
#   tools/check-install.sh [build-dir]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-default"}

cmake -S "$root" --preset default -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)" --target bilijar bilijar_manpage bilijar_changelog
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /opt/bilijar >/dev/null
program="$stage/opt/bilijar/bin/bilijar"
[ -x "$program" ] || { echo "cmake --install did not install $program" >&2; exit 1; }
manpage="$stage/opt/bilijar/share/man/man1/bilijar.1.gz"
if ! gzip -dc "$manpage" 2>/dev/null | cmp -s - "$root/docs/bilijar.1"; then
    echo "cmake --install did not install docs/bilijar.1 as $manpage" >&2
    exit 1
fi
for file in README.md LICENSE; do
    if ! cmp -s "$root/$file" "$stage/opt/bilijar/share/doc/bilijar/$file"; then
        echo "cmake --install did not install $file in $stage/opt/bilijar/share/doc/bilijar" >&2
        exit 1
    fi
done

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
