#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
# What an installation of the package make_deb.sh unpacked into SCRATCH gets: the two programs
# answering with the project's version, and the files Debian and the desktop look for.
# Usage: contents.sh SCRATCH VERSION
set -euo pipefail

scratch=$1 version=$2
deb=$scratch/buffon-needle.deb
root=$scratch/root
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] ||
    fail "the package's version is not the project's, $version"
depends=$(dpkg-deb -f "$deb" Depends)
# dpkg-shlibdeps fills in the Qt libraries; the font is named by hand.
for needed in libqt6widgets6 libqt6multimedia6 fonts-ipafont-gothic; do
    [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed"
done
[[ $(dpkg-deb -f "$deb" Recommends) == qt6-wayland ]] || fail "qt6-wayland is not recommended"

doc=usr/share/doc/buffon-needle
for file in usr/bin/buffon-needle usr/bin/buffon-needle-stats \
    usr/share/man/man1/buffon-needle.1.gz usr/share/man/man1/buffon-needle-stats.1.gz \
    usr/share/metainfo/org.example.buffon_needle.metainfo.xml \
    usr/share/applications/org.example.buffon_needle.desktop \
    usr/share/icons/hicolor/scalable/apps/buffon-needle.svg \
    "$doc/copyright" "$doc/changelog.gz"; do
    [[ -s $root/$file ]] || fail "the package lacks $file"
done

# Whole files into variables first: grep -q leaving a pipe early would fail it under pipefail.
unzipped() { gzip -dc "$root/$1" 2>/dev/null || true; }
# Each page is made from its own program's --help, at this version.
for program in buffon-needle buffon-needle-stats; do
    grep -q "^\.TH .*\"$program $version\"" <<<"$(unzipped "usr/share/man/man1/$program.1.gz")" ||
        fail "the manual page of $program is not that of version $version"
done
[[ $(unzipped "$doc/changelog.gz") == "buffon-needle ($version) "* ]] ||
    fail "the changelog does not start at $version"
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/org.example.buffon_needle.metainfo.xml" ||
    fail "the AppStream metadata has no release $version"

for program in buffon-needle buffon-needle-stats; do
    [[ $(file -b "$root/usr/bin/$program") == *", stripped"* ]] || fail "$program is not stripped"
done
# Theme icons keep their alpha, so that a dark panel does not show a white square.
for icon in "$root"/usr/share/icons/hicolor/*x*/apps/buffon-needle.png; do
    [[ $(file -b "$icon") == *RGBA* ]] || fail "${icon#"$root"/} has no alpha"
done

# The unpacked programs, as installed: neither needs a display to answer --version.
runtime=$(mktemp -d "$scratch/runtime.XXXXXX")  # mktemp makes it 0700, as Qt wants
for program in buffon-needle buffon-needle-stats; do
    said=$(QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$runtime "$root/usr/bin/$program" --version) ||
        fail "$program --version failed"
    [[ $said == "$program $version" ]] || fail "$program --version said '$said', not '$program $version'"
done

if [[ $failures -gt 0 ]]; then
    exit 1
fi
echo "The package holds both programs at version $version, their manual pages, the metadata," \
    "the desktop entry, the copyright and the changelog."
