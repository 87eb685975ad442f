# Sourced by the X fixtures (xvfb-fixture.sh, wm-fixture.sh).

# stop_named PID-FILE NAME: stops the process that the pid file names, if it
# is still the program NAME: the file may outlive it (an interrupted run),
# and its number may have been given to another process since.
stop_named() {
    local pid
    pid=$(cat "$1" 2>/dev/null) || return 0
    if [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$2" ]; then
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 1 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
    fi
    rm -f "$1"
}
