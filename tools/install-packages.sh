#!/usr/bin/env bash
# Installs the Debian 12 packages that a build or check needs, as root; the
# one place where the project's scripts install anything. Packages already
# installed are left alone; another architecture's packages (name:arch)
# enable that architecture first.
#   tools/install-packages.sh GROUP...
# Groups: test (the README's set-up), checks (clang, fuzzing, valgrind,
# clang-format), package (manual page, Debian package, lintian, hardening
# check), windows (the cross build of that preset), each architecture of
# tools/architectures.txt (the preset 'cross' for it, i386 and arm64 also
# their own presets), and web (Emscripten, GoogleTest's sources, the three
# browser engines Chromium, Firefox ESR and WebKitGTK's MiniBrowser with its
# WebDriver, and Xvfb for the two that need a display; the drivers' npm
# packages come from npm ci), and npm (for a Node.js without it).
set -euo pipefail

declare -A groups=(
    [test]="build-essential cmake ninja-build libgl-dev libglu1-mesa-dev libglut-dev libgtest-dev libx11-dev xvfb openbox x11-xserver-utils"
    [checks]="clang libclang-rt-dev valgrind clang-format"
    [package]="man-db groff-base lintian dpkg-dev file devscripts git"
    [windows]="g++-mingw-w64-x86-64-posix wine64 googletest xvfb"
    [web]="emscripten googletest chromium firefox-esr webkit2gtk-driver xvfb"
    [npm]="npm"
)
# The cross architectures (tools/architectures.txt): the cross compiler, qemu
# and GoogleTest's sources, and where the build has the window, the window's
# libraries for that architecture.
while read -r arch _ triplet _ _ _ window; do
    groups[$arch]="g++-$triplet qemu-user googletest"
    if [ "$window" = ON ]; then
        groups[$arch]+=" libgl-dev:$arch libglu1-mesa-dev:$arch libglut-dev:$arch libx11-dev:$arch"
    fi
done < <(grep -E '^[a-z]' "$(dirname "$0")/architectures.txt")

# installed NAME[:ARCH]: whether the package is installed for that
# architecture (this machine's by default) or for all.
installed() {
    local arch=${1#*:}
    [ "$arch" != "$1" ] || arch=$(dpkg --print-architecture)
    dpkg-query -W -f='${Status} ${Architecture}\n' "${1%%:*}" 2>/dev/null |
        grep -qE "^install ok installed ($arch|all)\$"
}

missing=()
for group in "$@"; do
    [ -n "${groups[$group]:-}" ] || { echo "unknown package group '$group'" >&2; exit 2; }
    for package in ${groups[$group]}; do
        installed "$package" || missing+=("$package")
    done
done
[ "${#missing[@]}" -gt 0 ] || exit 0
if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages: ${missing[*]} (install them as root: apt-get install ${missing[*]})" >&2
    exit 1
fi

for package in "${missing[@]}"; do
    arch=${package#*:}
    if [ "$arch" != "$package" ] && ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
        dpkg --add-architecture "$arch"
    fi
done
echo "installing: ${missing[*]}"
# Another apt run (a parallel job's) may hold the lock for a while.
apt=(apt-get -qq -o DPkg::Lock::Timeout=600)
"${apt[@]}" update
DEBIAN_FRONTEND=noninteractive "${apt[@]}" install -y --no-install-recommends "${missing[@]}" >/dev/null
