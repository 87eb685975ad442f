#!/usr/bin/env bash
# A private X server with a window manager, openbox, for the tests of the
# window on a desktop, started and stopped by CTest as the fixture's setup
# and cleanup.
#   wm-fixture.sh start STATE-DIR   start Xvfb and openbox on it and write
#                                   the display number to STATE-DIR/display
#   wm-fixture.sh stop STATE-DIR    stop them again
# Xvfb starts at 1920x1200, the largest screen that the tests make, since
# RandR can shrink its screen and grow it back but never beyond that; the
# tests set the size that they start with (xrandr --fb) themselves.
set -euo pipefail

mode=${1:?usage: wm-fixture.sh start|stop STATE-DIR}
state=${2:?usage: wm-fixture.sh start|stop STATE-DIR}
here=$(dirname "$0")

# shellcheck source=fixture_support.sh
. "$here/fixture_support.sh"

# Stops the window manager that the pid file names, if it is still that
# process.
stop_wm() {
    stop_named "$state/wm-pid" openbox
    rm -f "$state/wm-ready"
}

case $mode in
stop)
    # openbox ends by itself once its X server has gone, sooner than on a
    # signal.
    bash "$here/xvfb-fixture.sh" stop "$state"
    stop_wm
    exit 0
    ;;
start) ;;
*)
    echo "unknown mode $mode: start or stop" >&2
    exit 2
    ;;
esac

for tool in openbox:openbox xrandr:x11-xserver-utils; do
    if ! command -v "${tool%%:*}" >/dev/null 2>&1; then
        echo "${tool%%:*} is missing: install the Debian package ${tool#*:} (apt-get install ${tool#*:})" >&2
        exit 1
    fi
done
mkdir -p "$state"
stop_wm # a window manager that an interrupted run left behind
bash "$here/xvfb-fixture.sh" start "$state" 1920x1200x24

# openbox with its default configuration and its own settings and cache
# directories, so that nothing of the user's is read or written; it runs
# --startup's command once it manages the screen. A session of its own, as
# for Xvfb, keeps CTest from waiting for it.
rm -f "$state/wm-ready"
DISPLAY=:$(cat "$state/display") XDG_CONFIG_HOME="$state/wm-config" XDG_CACHE_HOME="$state/wm-cache" \
    setsid openbox --sm-disable --startup "touch $state/wm-ready" </dev/null >"$state/wm-log" 2>&1 &
echo $! >"$state/wm-pid"
for _ in $(seq 1 300); do
    if [ -e "$state/wm-ready" ]; then
        echo "openbox is up on :$(cat "$state/display")"
        exit 0
    fi
    kill -0 "$(cat "$state/wm-pid")" 2>/dev/null || break
    sleep 0.1
done
echo "openbox did not start:" >&2
cat "$state/wm-log" >&2
stop_wm
bash "$here/xvfb-fixture.sh" stop "$state"
exit 1
