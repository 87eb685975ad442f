#!/usr/bin/env bash
# A private X server for the window tests, started and stopped by CTest as
# the setup and cleanup of the fixture that those tests require.
#   xvfb-fixture.sh start STATE-DIR [SCREEN]
#                                     start Xvfb on a free display and write
#                                     its number to STATE-DIR/display; the
#                                     screen is 1280x1024x24 unless given
#   xvfb-fixture.sh stop STATE-DIR    stop it again
set -euo pipefail

mode=${1:?usage: xvfb-fixture.sh start|stop STATE-DIR [SCREEN]}
state=${2:?usage: xvfb-fixture.sh start|stop STATE-DIR [SCREEN]}
screen=${3:-1280x1024x24}

# shellcheck source=fixture_support.sh
. "$(dirname "$0")/fixture_support.sh"

# Stops the server that the pid file names, if it is still that server.
stop() {
    stop_named "$state/pid" Xvfb
    rm -f "$state/display"
}

case $mode in
stop)
    stop
    exit 0
    ;;
start) ;;
*)
    echo "unknown mode $mode: start or stop" >&2
    exit 2
    ;;
esac

if ! command -v Xvfb >/dev/null 2>&1; then
    echo "Xvfb is missing: install the Debian package xvfb (apt-get install xvfb)" >&2
    exit 1
fi
mkdir -p "$state"
stop # a server that an interrupted run left behind

# Xvfb picks a free display itself and writes its number to fd 3 once it
# accepts connections. -noreset: by default the server resets whenever its
# last client leaves and refuses new clients while it does, which a test
# that connects right after another one left sees as "failed to open
# display". Its own output goes to a log, and it runs in a session of its
# own, so that CTest, which waits for the test's output to close, does not
# wait for the server too.
setsid Xvfb -displayfd 3 -noreset -screen 0 "$screen" -nolisten tcp \
    3>"$state/display" </dev/null >"$state/log" 2>&1 &
echo $! >"$state/pid"
for _ in $(seq 1 300); do
    if grep -qE '^[0-9]+$' "$state/display" 2>/dev/null; then
        echo "Xvfb is up on :$(cat "$state/display")"
        exit 0
    fi
    kill -0 "$(cat "$state/pid")" 2>/dev/null || break
    sleep 0.1
done
echo "Xvfb did not start:" >&2
cat "$state/log" >&2
stop
exit 1
