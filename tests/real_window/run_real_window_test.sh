#!/bin/bash
# Runs the real-window test on a private Xvfb display with openbox, which the activation
# checks need, so that it neither needs nor disturbs a desktop.
# Usage: run_real_window_test.sh TEST_BINARY PROGRAM_BINARY
set -euo pipefail

if [[ $# -ne 2 ]]; then
    echo "usage: $0 TEST_BINARY PROGRAM_BINARY" >&2
    exit 2
fi
test_binary=$1
export BUFFON_NEEDLE_BINARY=$2

work=$(mktemp -d)
xvfb_pid=
openbox_pid=

stop() {
    local pid=$1
    if [[ -n $pid ]] && kill "$pid" 2>/dev/null; then
        wait "$pid" 2>/dev/null || true
    fi
}

cleanup() {
    local status=$?
    trap - EXIT
    stop "$openbox_pid"
    stop "$xvfb_pid"
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Waits up to five seconds for `test OP FILE` to hold, while the process that is to make it hold
# stays alive.
wait_for() {
    local op=$1 file=$2 pid=$3 name=$4
    for _ in $(seq 50); do
        if test "$op" "$file"; then
            return 0
        fi
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "$name failed to start:" >&2
            cat "$work/$name.log" >&2 || true
            return 1
        fi
        sleep 0.1
    done
    echo "$name did not get ready" >&2
    return 1
}

# Xvfb picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/Xvfb.log" 2>&1 &
xvfb_pid=$!
wait_for -s "$work/display" "$xvfb_pid" Xvfb
export DISPLAY=":$(head -n 1 "$work/display")"

export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"
# Openbox's and the program's own defaults, whatever the user has configured.
export XDG_CONFIG_HOME=$work/config
mkdir "$XDG_CONFIG_HOME"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY SESSION_MANAGER

openbox --sm-disable --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
openbox_pid=$!
wait_for -e "$work/wm-ready" "$openbox_pid" openbox

status=0
"$test_binary" || status=$?
exit "$status"
