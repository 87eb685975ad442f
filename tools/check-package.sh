#!/usr/bin/env bash
# Checks the Debian package: the manual page renders without warnings; HEAD,
# cloned into two directories, is packaged in each in turn (cmake --workflow
# --preset deb) and the packages must be equal byte for byte; hardening-check
# finds all but control-flow integrity, which no bookworm binary has (stack
# clash stays "unknown"); lintian finds no error, warning or hardening tag;
# Depends and the files are complete, and cmake --install under another
# prefix installs the same files; the unpacked program prints the README's
# example trace (tests/console/readme_example.txt) without a display.
# Missing tools are installed when this runs as root.
#   tools/check-package.sh [dir]   leaves the checked package in dir
#                                  (default build-package)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-"$root/build-package"}")
cd "$root"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "check-package: $*" >&2
    exit 1
}

bash "$root/tools/install-packages.sh" package

# 1. The manual page renders without a warning.
man --warnings -l docs/bilijar.1 >/dev/null 2>"$work/man.err"
if [ -s "$work/man.err" ]; then
    cat "$work/man.err" >&2
    fail "docs/bilijar.1 renders with warnings"
fi

# 2. Two builds of HEAD in two directories, the second after the first: one
# package, byte for byte.
commit=$(git rev-parse HEAD)
[ -z "$(git status --porcelain)" ] || echo "check-package: uncommitted changes are not packaged, only $commit" >&2
for build in one two; do
    git clone -q "$root" "$work/$build" && git -C "$work/$build" checkout -q --detach "$commit"
    if ! (cd "$work/$build" && cmake --workflow --preset deb) >"$work/$build.log" 2>&1; then
        cat "$work/$build.log" >&2
        fail "the package build in $work/$build failed"
    fi
done
deb=$(echo "$work"/one/build-package/bilijar_*.deb)
[ -f "$deb" ] || fail "cpack made no single bilijar_*.deb"
cmp "$deb" "$work/two/build-package/$(basename "$deb")" || fail "two builds of $commit made different packages"
mkdir -p "$out" && cp "$deb" "$out/" && deb="$out/$(basename "$deb")"
version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg-deb -f "$deb" Architecture)
[ "$(basename "$deb")" = "bilijar_${version}_${arch}.deb" ] || fail "$deb is not named bilijar_${version}_${arch}.deb"
echo "built $deb twice, the same"

# 3. lintian: no error, no warning, no hardening tag; hardening-check.
if ! lintian --fail-on error,warning "$deb" >"$work/lintian.out" 2>&1 || grep -q hardening "$work/lintian.out"; then
    cat "$work/lintian.out" >&2
    fail "lintian found errors, warnings or missing hardening in $deb"
fi
unpacked="$work/root"
dpkg -x "$deb" "$unpacked"
hardening-check --nocfprotection "$unpacked/usr/bin/bilijar" || fail "the packaged program lacks hardening"

# 4. Depends (from dpkg-shlibdeps) and the files: the package's, and those
# that cmake --install puts under another prefix, equal to their sources.
depends=$(dpkg-deb -f "$deb" Depends)
# One package name a line, alternatives included, versions dropped.
printf '%s\n' "$depends" | tr ',|' '\n' | awk 'NF {print $1}' >"$work/depends"
for library in libglut3.12 libglu1-mesa; do
    grep -qxF "$library" "$work/depends" || fail "Depends does not name $library: $depends"
done
dpkg-deb -c "$deb" | awk '{print $NF}' >"$work/contents"
doc=./usr/share/doc/bilijar
for file in ./usr/bin/bilijar ./usr/share/man/man1/bilijar.1.gz "$doc/copyright" "$doc/changelog.gz" \
    "$doc/README.md" "$doc/LICENSE"; do
    grep -qxF "$file" "$work/contents" || fail "$deb does not contain $file"
done
DESTDIR="$work/stage" cmake --install "$work/one/build-package" --prefix /opt/bilijar >/dev/null
stage=$work/stage/opt/bilijar
[ -x "$stage/bin/bilijar" ] || fail "cmake --install did not install $stage/bin/bilijar"
gzip -dc "$stage/share/man/man1/bilijar.1.gz" | cmp -s - docs/bilijar.1 || fail "cmake --install: no docs/bilijar.1"
for file in README.md LICENSE; do
    cmp -s "$file" "$stage/share/doc/bilijar/$file" || fail "cmake --install did not install $file"
done

# 5. The unpacked program on the README's example. Without a display, GLUT
# ends the run after the trace with status 1.
changelog_version=$(gzip -dc "$unpacked/$doc/changelog.gz" | sed -n '1s/^bilijar (\([^)]*\)).*/\1/p')
[ "$changelog_version" = "$version" ] ||
    fail "the changelog's latest entry is for '$changelog_version', the package is $version"
status=0
printf '10\n5\n2\n1\n1\n1\n1\n' | env -u DISPLAY "$unpacked/usr/bin/bilijar" >"$work/out" 2>"$work/err" || status=$?
if [ "$status" -ne 1 ] || ! grep -q 'failed to open display' "$work/err"; then
    cat "$work/err" >&2
    fail "the packaged program ended with status $status, not GLUT's 1 for no display"
fi
if ! diff -u "$work/one/tests/console/readme_example.txt" "$work/out" >&2; then
    fail "the packaged program's trace differs from the expected one (above)"
fi
echo "package checked: $deb"
