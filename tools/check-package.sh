#!/usr/bin/env bash
# Checks the Debian package: the manual page renders without warnings; the
# default preset is built and packaged (cpack --preset deb); lintian finds no
# error in the package; its Depends and its files are complete; and the
# packaged program, unpacked into a temporary root, prints the README's
# example trace without a display. man, lintian, dpkg-shlibdeps and file are
# installed when missing and this runs as root.
#   tools/check-package.sh [build-dir]
# The build directory defaults to the default preset's, build-default, which
# the presets build and package (cpack --preset deb); another one is
# configured with the default preset and packaged by its own CPack
# configuration alike.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-"$root/build-default"}")
cd "$root"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "check-package: $*" >&2
    exit 1
}

# need COMMAND PACKAGE...: installs the packages when COMMAND is missing.
need() {
    local command=$1
    shift
    command -v "$command" >/dev/null 2>&1 && return
    if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null 2>&1; then
        echo "$command is missing: installing $*" >&2
        # Another apt-get (a parallel job's) may hold the lock for a while.
        apt-get -o DPkg::Lock::Timeout=300 update -qq
        DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 install -y -qq \
            --no-install-recommends "$@" >/dev/null
    else
        fail "$command is missing: install the Debian package(s) $* (as root) and run again"
    fi
}

need man man-db groff-base
need lintian lintian
# CPack works out Depends with these two.
need dpkg-shlibdeps dpkg-dev
need file file

# 1. The manual page renders without a warning.
man --warnings -l docs/bilijar.1 >/dev/null 2>"$work/man.err"
if [ -s "$work/man.err" ]; then
    cat "$work/man.err" >&2
    fail "docs/bilijar.1 renders with warnings"
fi

# 2. The package, made afresh so that no older one is checked.
rm -f "$build"/bilijar_*.deb
if [ "$build" = "$root/build-default" ]; then
    cmake --preset default >/dev/null
    cmake --build --preset default
    cpack --preset deb >/dev/null
else
    cmake --preset default -B "$build" >/dev/null
    cmake --build "$build" -j "$(nproc)"
    (cd "$build" && cpack -G DEB >/dev/null)
fi
debs=("$build"/bilijar_*.deb)
if [ "${#debs[@]}" -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    fail "cpack made no single bilijar_*.deb in $build"
fi
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg-deb -f "$deb" Architecture)
[ "$(basename "$deb")" = "bilijar_${version}_${arch}.deb" ] || fail "$deb is not named bilijar_${version}_${arch}.deb"
echo "built $deb"

# 3. lintian: warnings are shown, an error fails.
if ! lintian --fail-on error "$deb" >"$work/lintian.out" 2>&1; then
    cat "$work/lintian.out" >&2
    fail "lintian found errors in $deb"
fi
cat "$work/lintian.out"

# 4. Depends (from dpkg-shlibdeps) and the files.
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

# 5. The unpacked program on the README's example. Without a display, GLUT
# ends the run after the trace with status 1.
unpacked="$work/root"
dpkg -x "$deb" "$unpacked"
changelog_version=$(gzip -dc "$unpacked/$doc/changelog.gz" | sed -n '1s/^bilijar (\([^)]*\)).*/\1/p')
[ "$changelog_version" = "$version" ] ||
    fail "the changelog's latest entry is for '$changelog_version', the package is $version"
status=0
printf '10\n5\n2\n1\n1\n1\n1\n' | env -u DISPLAY "$unpacked/usr/bin/bilijar" >"$work/out" 2>"$work/err" || status=$?
cat >"$work/expected" <<'EOF'
Unesite dimenzije pravougaonika:
a=b=Unesite pocetnu tacku:
x=y=Unesite vektor pravca:
x=y=Unesite broj odbijanja:
0 0 0 0






<<2.00,1.00/22.00,21.00/>>
<<<<<0 0 1 0/>>>>>
3
0 0 1 0
(6.00,5.00)


<<6.00,5.00/86.00,-75.00/>>
<<<<<0 1 1 0/>>>>>
2
0 1 0 0
(10.00,1.00)
EOF
if [ "$status" -ne 1 ] || ! grep -q 'failed to open display' "$work/err"; then
    cat "$work/err" >&2
    fail "the packaged program ended with status $status, not GLUT's 1 for no display"
fi
if ! diff -u "$work/expected" "$work/out" >&2; then
    fail "the packaged program's trace differs from the expected one (above)"
fi
echo "package checked: $deb"
