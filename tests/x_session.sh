#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
# Runs a command in a private X session: its own Xvfb display with the openbox window manager,
# which activation and focus need, and fresh runtime and configuration folders, so that it
# neither needs nor disturbs a desktop and reads no user settings. --no-window-manager leaves
# openbox out: nothing then gives a window the focus. X_SESSION_SCREEN sets the screen's size,
# 1280x1024x24 by default.
# Usage: x_session.sh [--no-window-manager] COMMAND [ARGUMENT...]
set -euo pipefail

window_manager=openbox
if [[ ${1-} == --no-window-manager ]]; then
    window_manager=
    shift
fi
if [[ $# -eq 0 ]]; then
    echo "usage: $0 [--no-window-manager] COMMAND [ARGUMENT...]" >&2
    exit 2
fi

work=$(mktemp -d)
pids=()
cleanup() {
    local status=$?
    trap - EXIT
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Waits up to five seconds for `test OP FILE`, while the process that is to make it hold lives.
wait_for() {
    local op=$1 file=$2 name=$3
    for _ in $(seq 50); do
        test "$op" "$file" && return 0
        if ! kill -0 "${pids[-1]}" 2>/dev/null; then
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
Xvfb -displayfd 3 -screen 0 "${X_SESSION_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$work/display" >"$work/Xvfb.log" 2>&1 &
pids+=($!)
wait_for -s "$work/display" Xvfb
export DISPLAY=":$(head -n 1 "$work/display")"

export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config
mkdir -m 0700 "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY SESSION_MANAGER QT_QPA_PLATFORMTHEME

# Openbox focuses and raises a window on every press in it through a grab of its own, and
# under load it swallows presses that come faster than it hands them on; the window's own
# handling of fast clicks is what the tests judge, so the session's openbox lets them through.
mkdir "$XDG_CONFIG_HOME/openbox"
sed '/<context name="Client">/,/<\/context>/d' /etc/xdg/openbox/rc.xml >"$XDG_CONFIG_HOME/openbox/rc.xml"

if [[ -n $window_manager ]]; then
    openbox --sm-disable --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
    pids+=($!)
    wait_for -e "$work/wm-ready" openbox
fi

status=0
"$@" || status=$?
exit "$status"
