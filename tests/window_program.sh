#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
# The window program's command line, and the program started where there is no display: help
# and version still answer, Qt's own options are taken as any Qt program takes them, an unknown
# option is refused with one line and status 2, and a platform that cannot start ends the
# program with one line that says why, and status 1.
# Usage: window_program.sh PROGRAM VERSION
set -u
program=$1 version=$2
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
fail() { echo "FAIL: $*"; exit 1; }

[ "$("$program" --version)" = "buffon-needle $version" ] || fail "--version"
help=$("$program" --help)
for option in --version -platform -style -session "--pace <N>" "--reseed <VALUE>" --textbook \
    --add-up --show-reseed "--scale <F>" --thick-needles; do
    grep -q -- "$option" <<<"$help" || fail "--help does not name $option"
done
# --help-all lists Qt's options, a value after those that take one.
help_all=$("$program" --help-all)
for option in "-platform <value>" "-session <value>" "-reverse" "-nograb"; do
    grep -qx -- "  $option" <<<"$help_all" || fail "--help-all does not list '$option'"
done

# Started with each, the window shows (the search for a sound output, and its one line where
# there is none, comes after the first paint) and stays up until it is ended.
for options in "-platform offscreen" "-style Fusion" "--style=Fusion" "-reverse" "-display :0" \
    "-geometry 100x100" "-session abc" "-qwindowtitle Needles" "-widgetcount" \
    "--textbook --pace 1000 --add-up --reseed 45296.25 --scale=1.5 --thick-needles"; do
    said=$(QT_QPA_PLATFORM=offscreen timeout 2 "$program" $options 2>&1)
    status=$?
    [ "$status" -eq 124 ] || fail "$options: status $status: $said"
    [ -z "$(grep -v 'no audio output device' <<<"$said")" ] || fail "$options: $said"
done

# Screens scaled past any made, or by what is not a number, still show the window.
for factor in 1e9 nan; do
    said=$(QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$factor timeout 2 "$program" 2>&1)
    status=$?
    [ "$status" -eq 124 ] || fail "QT_SCALE_FACTOR=$factor: status $status: $said"
done

# One line and status: the program's own options, then Qt's, then the display; none runs on
# where it cannot be seen.
while IFS='|' read -r environment options status expected; do
    said=$(env $environment timeout 20 "$program" $options 2>&1)
    got=$?
    echo "$said"
    [ "$got" -eq "$status" ] || fail "$environment $options: status $got, not $status"
    [ "$(printf '%s\n' "$said" | wc -l)" -eq 1 ] || fail "$environment $options: not one line"
    [[ $said == buffon-needle:\ $expected ]] || fail "$environment $options: not '$expected'"
done <<'ROWS'
|--bogus|2|Unknown option 'bogus'.
|foo|2|Unexpected argument 'foo'.
|-reverse -- foo|2|Unexpected argument 'foo'.
|-platform|2|Missing value after '-platform'.
|-platform=offscreen|2|Unknown option 'platform=offscreen'.
|--pace 1001|2|--pace takes a whole number of needles a second from 0 to 1000, not '1001'.
|--textbook --pace=-1|2|--pace takes a whole number of needles a second from 0 to 1000, not '-1'.
|--pace|2|Missing value after '--pace'.
QT_QPA_PLATFORM=offscreen|-display|2|Missing value after '-display'.
||1|no display found*DISPLAY*
QT_QPA_PLATFORM=bogus DISPLAY=:0||1|*"bogus"*Available platform plugins are:*xcb*
DISPLAY=:0|-platform bogus|1|*"bogus"*Available platform plugins are:*xcb*
|-- -display :78|1|could not connect to display :78.*
|-platform linuxfb:fb=/nonexistent/fb|1|*/nonexistent/fb*Cannot create window: no screens*
|-platform xcb:display=:99|1|could not connect to display*
|-platform vkkhrdisplay|1|*vkkhrdisplay*VulkanSurface*
ROWS

# Help and version that cannot be written say so; an option's control characters are shown
# escaped, on the one line.
for options in "--help" "--version"; do
    said=$("$program" $options 2>&1 >/dev/full)
    [ $? -eq 1 ] && [ "$said" = "buffon-needle: cannot write to standard output: No space left \
on device" ] || fail "$options > /dev/full: $said"
done
said=$("$program" --version 2>&1 >&-)
[ "$said" = "buffon-needle: cannot write to standard output: Bad file descriptor" ] ||
    fail "--version >&-: $said"
said=$("$program" $'--bad\nline\e[31m' 2>&1)
[ $? -eq 2 ] && [ "$said" = "buffon-needle: Unknown option 'bad\\x0aline\\x1b[31m'." ] ||
    fail "control characters: $said"
echo "ok"
