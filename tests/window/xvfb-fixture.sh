#!/usr/bin/env bash
# A private X server for the window tests, started and stopped by CTest as
# the setup and cleanup of the fixture that those tests require; with wm,
# also the window manager openbox on it, for the tests of the window on a
# desktop.
#   xvfb-fixture.sh start STATE-DIR [wm|SCREEN]
#                                          start Xvfb on a free display (and
#                                          openbox) and write the display
#                                          number to STATE-DIR/display
#   xvfb-fixture.sh stop STATE-DIR         stop them again
# The screen is SCREEN (WIDTHxHEIGHTxDEPTH), by default 1280x1024x24. With
# the window manager it is 1920x1200x24, the largest screen that its tests
# make, since RandR can shrink the screen and grow it back but never beyond
# that; those tests set the size that they start with (xrandr --fb)
# themselves.
set -euo pipefail
usage="usage: xvfb-fixture.sh start|stop STATE-DIR [wm|WIDTHxHEIGHTxDEPTH]"
mode=${1:?$usage}
state=${2:?$usage}
wm=${3:-}
screen=1280x1024x24
case $wm in
'' | wm) ;;
[0-9]*x[0-9]*x[0-9]*) screen=$wm wm= ;;
*) echo "$usage" >&2 && exit 2 ;;
esac

# A process's start (the 22nd field of its /proc stat), which tells it from
# a later process that has been given the same number.
started() { awk '{ print $22 }' "/proc/$1/stat" 2>/dev/null; }

# Stops the programs that STATE-DIR/NAME.pid names, each if it is still the
# program NAME that started then: a file may outlive its program (an
# interrupted run), and the number may have been given to another process
# since. openbox ends by itself once its X server has gone.
stop() {
    for name in Xvfb openbox; do
        local pid start
        read -r pid start 2>/dev/null <"$state/$name.pid" || continue
        if [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$name" ] && [ "$(started "$pid")" = "$start" ] &&
            kill "$pid" 2>/dev/null; then
            timeout 5 tail --pid="$pid" -f /dev/null || true
        fi
        rm -f "$state/$name.pid"
    done
    rm -f "$state/display" "$state/wm-ready"
}

# up NAME CHECK...: waits until the command CHECK succeeds while NAME runs;
# otherwise shows NAME's log, stops everything and fails.
up() {
    local name=$1
    shift
    for _ in $(seq 1 300); do
        "$@" && echo "$name is up on :$(cat "$state/display")" && return 0
        kill -0 "$(cut -d ' ' -f 1 "$state/$name.pid")" 2>/dev/null || break
        sleep 0.1
    done
    echo "$name did not start:" >&2
    cat "$state/$name.log" >&2
    stop
    exit 1
}

case $mode in
stop) stop && exit 0 ;;
start) ;;
*) echo "unknown mode $mode: start or stop" >&2 && exit 2 ;;
esac

tools=(Xvfb:xvfb)
if [ "$wm" = wm ]; then
    screen=1920x1200x24
    tools+=(openbox:openbox xrandr:x11-xserver-utils)
fi
for tool in "${tools[@]}"; do
    command -v "${tool%%:*}" >/dev/null ||
        { echo "${tool%%:*} is missing: install the Debian package ${tool#*:}" >&2 && exit 1; }
done
mkdir -p "$state"
stop # what an interrupted run left behind

# Xvfb picks a free display itself and writes its number to fd 3 once it
# accepts connections. -noreset: by default the server resets whenever its
# last client leaves and refuses new clients while it does, which a test
# that connects right after another one left sees as "failed to open
# display". Its own output goes to a log, and it runs in a session of its
# own, so that CTest, which waits for the test's output to close, does not
# wait for the server too.
setsid Xvfb -displayfd 3 -noreset -screen 0 "$screen" -nolisten tcp \
    3>"$state/display" </dev/null >"$state/Xvfb.log" 2>&1 &
echo "$! $(started $!)" >"$state/Xvfb.pid"
up Xvfb grep -qsE '^[0-9]+$' "$state/display"
[ "$wm" = wm ] || exit 0

# openbox with its default configuration and its own settings and cache
# directories, so that nothing of the user's is read or written; it runs
# --startup's command once it manages the screen. A session of its own, as
# for Xvfb, keeps CTest from waiting for it.
DISPLAY=:$(cat "$state/display") XDG_CONFIG_HOME="$state/wm-config" XDG_CACHE_HOME="$state/wm-cache" \
    setsid openbox --sm-disable --startup "touch $state/wm-ready" </dev/null >"$state/openbox.log" 2>&1 &
echo "$! $(started $!)" >"$state/openbox.pid"
up openbox test -e "$state/wm-ready"
