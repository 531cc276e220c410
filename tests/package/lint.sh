#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
# Debian's own checks on the package make_deb.sh built and unpacked into SCRATCH: lintian on the
# .deb, failing on any error and showing the rest; appstreamcli on the installed metadata; and
# desktop-file-validate on the installed desktop entry.
# Usage: lint.sh SCRATCH
set -euo pipefail

scratch=$1
deb=$scratch/buffon-needle.deb
root=$scratch/root
failures=0

echo "lintian:"
status=0
report=$(lintian --display-info "$deb" 2>&1) || status=$?
echo "$report"
if [[ $status -ne 0 ]] || grep -q '^E:' <<<"$report"; then
    echo "FAIL: lintian finds errors in the package (status $status)" >&2
    failures=$((failures + 1))
fi

echo "appstreamcli:"
# Strict: infos fail too. Pedantic notes are shown but pass.
appstreamcli validate --no-net --strict --pedantic --explain \
    "$root/usr/share/metainfo/org.example.buffon_needle.metainfo.xml" || {
    echo "FAIL: appstreamcli rejects the AppStream metadata" >&2
    failures=$((failures + 1))
}

echo "desktop-file-validate:"
entry=$root/usr/share/applications/org.example.buffon_needle.desktop
status=0
report=$(desktop-file-validate "$entry" 2>&1) || status=$?
echo "${report:-no remarks}"
if [[ $status -ne 0 ]] || grep -qE '(error|warning):' <<<"$report"; then
    echo "FAIL: desktop-file-validate finds fault with the desktop entry" >&2
    failures=$((failures + 1))
fi

[[ $failures -eq 0 ]]
