#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
# Takes main-window.png, the screenshot the AppStream metadata points to: the window just after
# a run of 1,000 needles, in a private X session (tests/x_session.sh) so that no desktop theme or
# user setting shows. The needles fall at random, so every take differs.
# Needs the built program, Xvfb, openbox, xdotool and ImageMagick's import.
# Usage: assets/screenshot/take_screenshot.sh [PROGRAM]   (default: build/buffon-needle)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
caption="Scatter needles to find an approximate value of pi !"
run_1000=(223 516)  # the "1,000" button, in client coordinates

if [[ "${1:-}" != --in-session ]]; then
    program="$(realpath "${1:-$root/build/buffon-needle}")"
    exec "$root/tests/x_session.sh" "$0" --in-session "$program"
fi
program=$2

# From the folder of the picture, so that no cue file in the caller's folder is played instead.
cd "$here"
"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

window=$(timeout 10 xdotool search --sync --onlyvisible --name "^${caption}\$" | head -n 1)
xdotool mousemove --window "$window" "${run_1000[@]}" click 1
# The run itself takes milliseconds; the wait lets the result labels reach the screen.
sleep 1
# -strip leaves out the capture time, so the file changes only when the picture does.
import -silent -window "$window" -depth 8 -strip png24:"$here/main-window.png"
