#!/bin/sh
# Runs a window program on a private Xvfb display through the xcb platform. A fresh runtime
# directory keeps Qt from complaining about, or sharing, the caller's.
set -u
runtime=$(mktemp -d) || exit 1
chmod 0700 "$runtime"
XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
status=$?
rm -rf "$runtime"
exit $status
