#!/usr/bin/env bash
# Checks that a 32-bit x86 build prints the same traces as the x86-64 one.
# Builds bilijar twice, for i386 (only -m32 of our own: the project must add
# the SSE2 maths flags itself) and for the host, feeds both the same seeded
# set of dialogues and compares standard output and exit status byte for
# byte. Then checks that an x87 compile (-mfpmath=387) is refused.
#   tools/check-i386.sh [i386-build-dir] [reference-build-dir] [cases]
# Defaults: build-i386 and build-ref under the repository, 3000 cases.
# Run as root on Debian 12 amd64, it installs what is missing: g++-multilib,
# the i386 architecture with the i386 GL/GLU/GLUT development packages, and
# qemu-user when this kernel cannot run 32-bit programs itself.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build32=${1:-"$root/build-i386"}
buildref=${2:-"$root/build-ref"}
cases=${3:-3000}
seed=20240611

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# --- tools --------------------------------------------------------------

apt_updated=0
apt_install() {
    if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null 2>&1; then
        echo "missing: $* (install them as root with apt-get)" >&2
        exit 1
    fi
    echo "installing: $*" >&2
    # Another apt run may hold the lock for a while; wait for it.
    local apt=(apt-get -qq -o DPkg::Lock::Timeout=600)
    if [ "$apt_updated" -eq 0 ]; then
        "${apt[@]}" update >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; exit 1; }
        apt_updated=1
    fi
    DEBIAN_FRONTEND=noninteractive "${apt[@]}" install -y --no-install-recommends "$@" \
        >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; exit 1; }
}

installed() {
    [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

if ! installed g++-multilib; then
    apt_install g++-multilib
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    [ "$(id -u)" -eq 0 ] || { echo "the i386 architecture is not enabled (dpkg --add-architecture i386)" >&2; exit 1; }
    dpkg --add-architecture i386
    apt_updated=0
fi
missing=()
for package in libgl-dev:i386 libglu1-mesa-dev:i386 libglut-dev:i386; do
    installed "$package" || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
    apt_install "${missing[@]}"
fi

# Some kernels (and virtual machines) cannot start 32-bit programs; qemu's
# user-mode emulator runs them there, x87 and SSE2 included.
printf 'int main() { return 0; }\n' >"$work/probe.cpp"
g++ -m32 "$work/probe.cpp" -o "$work/probe"
run32=()
if ! "$work/probe" 2>/dev/null; then
    command -v qemu-i386 >/dev/null 2>&1 || apt_install qemu-user
    run32=(qemu-i386)
    "${run32[@]}" "$work/probe"
fi

# --- builds -------------------------------------------------------------

# A build directory first configured for another target keeps that
# target's compiler checks and libraries in its cache.
if [ -f "$build32/CMakeCache.txt" ] && ! grep -qx 'CMAKE_CXX_FLAGS:STRING=-m32' "$build32/CMakeCache.txt"; then
    echo "$build32 was configured without -m32: remove it or name another directory" >&2
    exit 1
fi
# pkg-config must describe the i386 GLUT, not the host's.
PKG_CONFIG_LIBDIR=/usr/lib/i386-linux-gnu/pkgconfig:/usr/share/pkgconfig \
    cmake -S "$root" -B "$build32" -DBUILD_TESTING=OFF -DCMAKE_CXX_FLAGS=-m32 \
    -DCMAKE_EXE_LINKER_FLAGS=-m32 -DCMAKE_SHARED_LINKER_FLAGS=-m32 >/dev/null
cmake --build "$build32" -j "$(nproc)" --target bilijar >/dev/null
cmake -S "$root" -B "$buildref" -DBUILD_TESTING=OFF >/dev/null
cmake --build "$buildref" -j "$(nproc)" --target bilijar >/dev/null

prog32="$build32/billiard/bilijar"
progref="$buildref/billiard/bilijar"
# Byte 4 of an ELF header is its class: 1 for 32-bit, 2 for 64-bit.
elf_class() { od -An -tu1 -j4 -N1 "$1" | tr -d ' '; }
[ "$(elf_class "$prog32")" = 1 ] || { echo "$prog32 is not a 32-bit program" >&2; exit 1; }
[ "$(elf_class "$progref")" = 2 ] || { echo "$progref is not a 64-bit program" >&2; exit 1; }

# --- inputs -------------------------------------------------------------

# One file per case, the seven answers one a line. A Lehmer generator keeps
# the set the same with every awk (its products stay below 2^53).
mkdir -p "$work/in" "$work/ref" "$work/i386"
# The 14 by 19 table from (0, 6.7) towards (2, 2): under x87 the second
# step misses the top wall.
printf '14\n19\n0\n6.7\n2\n2\n1\n' >"$work/in/0"
awk -v n="$cases" -v seed="$seed" -v dir="$work/in" '
function rnd() { state = (state * 48271) % 2147483647; return state / 2147483647 }
function pick(lo, hi) { return lo + int(rnd() * (hi - lo + 1)) }
function sign() { return rnd() < 0.5 ? "-" : "" }
# A coordinate in [lo, hi]: with one or two decimals, or an arbitrary float.
function coord(lo, hi,    r) {
    r = rnd()
    if (r < 0.4) return sprintf("%.1f", lo + int(rnd() * ((hi - lo) * 10 + 1)) / 10)
    if (r < 0.7) return sprintf("%.2f", lo + int(rnd() * ((hi - lo) * 100 + 1)) / 100)
    return sprintf("%.9g", lo + rnd() * (hi - lo))
}
function side(    r) {
    r = rnd()
    if (r < 0.80) return pick(1, 30)
    if (r < 0.88) return 0
    if (r < 0.96) return pick(31, 1000)
    if (r < 0.98) return -pick(1, 5)
    return big[pick(1, 4)]
}
function magnitude(    r) {
    r = rnd()
    if (r < 0.30) return sprintf("%s%.1f", sign(), rnd() * 5)
    if (r < 0.55) return sprintf("%s%.2f", sign(), rnd() * 5)
    if (r < 0.70) return sprintf("%s%d", sign(), pick(1, 9))
    if (r < 0.78) return sprintf("%s%.3ge-%d", sign(), 1 + rnd() * 8.99, pick(3, 45))
    if (r < 0.86) return sprintf("%s%.3ge%d", sign(), 1 + rnd() * 2.39, pick(5, 38))
    return sprintf("%.9g", (rnd() - 0.5) * 200)
}
BEGIN {
    state = seed % 2147483647
    split("inf -inf nan 0x1p-149 -0 1e-46", special)
    split("100000 16777216 16777217 2147483647", big)
    for (c = 1; c <= n; c++) {
        a = side(); b = side()
        r = rnd()
        if (r < 0.55) {                    # inside
            x = coord(0, a); y = coord(0, b)
        } else if (r < 0.70) {             # on a wall
            if (rnd() < 0.5) { x = rnd() < 0.5 ? 0 : a; y = coord(0, b) }
            else { y = rnd() < 0.5 ? 0 : b; x = coord(0, a) }
        } else if (r < 0.78) {             # in a corner
            x = rnd() < 0.5 ? 0 : a; y = rnd() < 0.5 ? 0 : b
        } else if (r < 0.92) {             # outside, near or far
            x = coord(-2, a + 2); y = coord(-2, b + 2)
            if (rnd() < 0.5) x = rnd() < 0.5 ? sprintf("%.2f", a + 0.01) : "-0.01"
        } else {                           # anywhere, any float
            x = sprintf("%.9g", (rnd() - 0.25) * 2 * (a + 1))
            y = sprintf("%.9g", (rnd() - 0.25) * 2 * (b + 1))
        }
        r = rnd()
        if (r < 0.70) {
            dx = magnitude(); dy = magnitude()
        } else if (r < 0.80) {             # one or both components zero
            dx = magnitude(); dy = magnitude()
            if (rnd() < 0.5) dx = 0; else dy = 0
            if (rnd() < 0.2) dx = dy = 0
        } else if (r < 0.94) {             # at a corner of the table
            dx = sprintf("%.9g", (rnd() < 0.5 ? 0 : a) - x)
            dy = sprintf("%.9g", (rnd() < 0.5 ? 0 : b) - y)
        } else {                           # infinities, NaN, the smallest floats
            dx = rnd() < 0.5 ? special[pick(1, 6)] : magnitude()
            dy = special[pick(1, 6)]
        }
        count = rnd() < 0.3 ? pick(0, 5) : pick(0, 98)
        file = dir "/" c
        printf "%s\n%s\n%s\n%s\n%s\n%s\n%s\n", a, b, x, y, dx, dy, count > file
        close(file)
    }
}'

# --- runs ---------------------------------------------------------------

# Without a display each run ends in GLUT's exit(1) after the whole trace.
export work prog32 progref run32_text="${run32[*]}"
run_cases() {
    local n status
    for n in "$@"; do
        status=0
        env -u DISPLAY "$progref" <"$work/in/$n" >"$work/ref/$n" 2>/dev/null || status=$?
        echo "exit $status" >>"$work/ref/$n"
        status=0
        # shellcheck disable=SC2086 # run32_text is empty or one word
        env -u DISPLAY $run32_text "$prog32" <"$work/in/$n" >"$work/i386/$n" 2>/dev/null || status=$?
        echo "exit $status" >>"$work/i386/$n"
    done
}
export -f run_cases
seq 0 "$cases" | xargs -P "$(nproc)" -n 50 bash -c 'run_cases "$@"' _

total=$((cases + 1))
# Every reference run must have gone through the dialogue to GLUT, or an
# empty comparison would pass.
finished=$( (grep -lx 'exit 1' "$work"/ref/* || true) | wc -l)
started=$( (grep -lF 'Unesite broj odbijanja:' "$work"/ref/* || true) | wc -l)
if [ "$finished" -ne "$total" ] || [ "$started" -ne "$total" ]; then
    echo "only $started of $total reference runs read all answers and $finished ended with status 1" >&2
    exit 1
fi
accepted=$( (grep -L '^Tacka nije u pravougaoniku!$' "$work"/ref/* || true) | wc -l)

differ=0
for n in $(seq 0 "$cases"); do
    if ! cmp -s "$work/ref/$n" "$work/i386/$n"; then
        if [ "$differ" -lt 3 ]; then
            echo "case $n differs; input: $(tr '\n' ' ' <"$work/in/$n")" >&2
            diff "$work/ref/$n" "$work/i386/$n" | head -n 20 >&2 || true
        fi
        differ=$((differ + 1))
    fi
done

# --- the x87 guard ------------------------------------------------------

refused=1
g++ -m32 -mfpmath=387 -fsyntax-only -I"$root/geometry" "$root/geometry/intersect.cpp" \
    >"$work/x87.log" 2>&1 && refused=0
grep -q 'FLT_EVAL_METHOD must be 0' "$work/x87.log" || refused=0

runner=""
[ "${#run32[@]}" -eq 0 ] || runner=" (run under ${run32[*]})"
if [ "$refused" -eq 0 ]; then
    echo "an x87 compile (g++ -m32 -mfpmath=387) was not refused:" >&2
    cat "$work/x87.log" >&2
fi
if [ "$differ" -ne 0 ]; then
    echo "i386$runner: $differ of $total traces differ from x86-64" >&2
fi
if [ "$differ" -ne 0 ] || [ "$refused" -eq 0 ]; then
    exit 1
fi
echo "i386$runner: $total traces identical to x86-64 ($accepted accepted runs); x87 build refused"
