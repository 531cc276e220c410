#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
# The window program started where there is no display: help and version still answer, and
# anything else ends with one line that says what is missing, and status 1.
# Usage: window_program.sh PROGRAM VERSION
set -u
program=$1 version=$2
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
fail() { echo "FAIL: $*"; exit 1; }

[ "$("$program" --version)" = "buffon-needle $version" ] || fail "--version"
"$program" --help | grep -q -- "--version" || fail "--help"
said=$("$program" 2>&1)
status=$?
echo "$said"
[ "$status" -eq 1 ] || fail "status $status without a display"
[ "$(printf '%s\n' "$said" | wc -l)" -eq 1 ] || fail "more than one line without a display"
case $said in *"no display found"*DISPLAY*) ;; *) fail "the line does not say what is missing" ;; esac
echo "ok"
