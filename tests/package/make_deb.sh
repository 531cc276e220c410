#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
# Builds the .deb from this build tree with cpack and unpacks it, both into SCRATCH, for
# contents.sh and lint.sh.
# Usage: make_deb.sh CPACK CPACK_CONFIG SCRATCH
set -euo pipefail

cpack=$1 config=$2 scratch=$3

rm -rf "$scratch"
mkdir -p "$scratch"
# Into the scratch folder rather than the build folder, so that this neither reads nor replaces
# the package `make package` leaves there.
if ! "$cpack" --config "$config" -B "$scratch/cpack" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    echo "FAIL: cpack could not build the package" >&2
    exit 1
fi
debs=("$scratch"/cpack/*.deb)
if [[ ${#debs[@]} -ne 1 || ! -f ${debs[0]} ]]; then
    echo "FAIL: cpack left ${#debs[@]} packages, not one: ${debs[*]}" >&2
    exit 1
fi
deb=$scratch/buffon-needle.deb
mv "${debs[0]}" "$deb"
dpkg-deb -x "$deb" "$scratch/root"
echo "$(basename "${debs[0]}"):"
dpkg-deb -f "$deb" Package Version Depends
