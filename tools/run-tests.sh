#!/usr/bin/env bash
# Builds everything and runs the whole test suite, window tests included.
# The window tests get a private Xvfb server, started here and stopped on exit.
#   tools/run-tests.sh [build-dir] [extra cmake configure args...]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
shift || true

cmake -S "$root" -B "$build" "$@"
cmake --build "$build" -j "$(nproc)"

if ! command -v Xvfb >/dev/null 2>&1; then
    if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null 2>&1; then
        echo "Xvfb is missing: installing the xvfb package" >&2
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq xvfb >/dev/null
    else
        echo "Xvfb is missing: install the Debian package 'xvfb' (as root) and run again" >&2
        exit 1
    fi
fi

# Xvfb picks a free display itself and writes its number to fd 3 once it
# accepts connections. -noreset: by default the server resets whenever its
# last client leaves and refuses new clients while it does, which a test
# that connects right after another one left sees as "failed to open
# display" (seen in CI for one test in about four runs).
rm -f "$build/xvfb.display"
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$build/xvfb.display" >"$build/xvfb.log" 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true' EXIT
display=
for _ in $(seq 1 300); do
    display=$(sed -n 's/^\([0-9][0-9]*\)$/\1/p' "$build/xvfb.display" 2>/dev/null || true)
    [ -n "$display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
done
[ -n "$display" ] || { echo "Xvfb did not start:" >&2; cat "$build/xvfb.log" >&2; exit 1; }

# The window tests draw on this server; the console tests clear DISPLAY
# for the program they start, so it runs as it would without a desktop.
# BILIJAR_TEST_PRELOAD, when set, is preloaded into the tests and the
# programs they start (tools/run-sanitized-tests.sh uses it).
export DISPLAY=":$display"
if [ -n "${BILIJAR_TEST_PRELOAD:-}" ]; then
    export LD_PRELOAD="$BILIJAR_TEST_PRELOAD${LD_PRELOAD:+:$LD_PRELOAD}"
fi
ctest --test-dir "$build" --output-on-failure --no-tests=error
