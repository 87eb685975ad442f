#!/usr/bin/env bash
# Checks that a package is reproducible: HEAD, cloned into a fresh
# directory, is configured with the package's preset (no tests), built and
# packaged there, and the package must be byte for byte the one that this
# tree's build of the same preset made.
#   tools/check-reproducible.sh PRESET PACKAGE
# PACKAGE is the path of the package under the tree, e.g.
# build-windows/bilijar-1.0-win64.zip; build it first (cmake --workflow
# --preset PRESET).
set -euo pipefail

preset=${1:?usage: check-reproducible.sh PRESET PACKAGE}
package=${2:?usage: check-reproducible.sh PRESET PACKAGE}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
[ -f "$package" ] || { echo "check-reproducible: no $package: build it first (cmake --workflow --preset $preset)" >&2; exit 1; }
[ -z "$(git status --porcelain)" ] || echo "check-reproducible: uncommitted changes are not in the clone" >&2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git clone -q "$root" "$work/clone"
if ! (cd "$work/clone" && cmake --preset "$preset" -DBUILD_TESTING=OFF && cmake --build --preset "$preset" &&
    cpack --preset "$preset") >"$work/build.log" 2>&1; then
    cat "$work/build.log" >&2
    echo "check-reproducible: the $preset build in $work/clone failed" >&2
    exit 1
fi
if ! cmp "$package" "$work/clone/$package"; then
    echo "check-reproducible: $package differs when HEAD is built in another directory" >&2
    exit 1
fi
echo "$package: the same when built in another directory"
