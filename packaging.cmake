# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
# `make package` builds a .deb of the program, fit for a Debian archive: lintian runs on it in
# the test suite.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME buffon-needle)
set(CPACK_PACKAGE_VENDOR "The Buffon's Needle developers")
set(CPACK_PACKAGE_CONTACT "${BUFFON_MAINTAINER}")
# Debian's style: a synopsis without capital or full stop, then paragraphs for the long text.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "estimate pi by dropping needles on a ruled board")
set(CPACK_PACKAGE_DESCRIPTION [[
Buffon's needle is a classic experiment in probability: needles dropped at
random on a floor ruled with parallel lines cross a line with a chance that
involves pi, so counting the crossings gives an estimate of pi.

The window throws 10, 100, 1,000, 10,000 or 50,000 needles at a click and
draws all of them at once, each blue when it meets a line and green when it
does not, then shows how many met a line and the estimate of pi they give. It
can be worked from the keyboard and with a screen reader, and stays readable
under a dark desktop theme.

The companion command buffon-needle-stats throws thousands of runs of the
same experiment at once, as a teacher may want for a class, and reports how
the estimate scatters from run to run, with a CSV table of the runs, JSON
figures and a PNG or SVG histogram. It also throws the textbook experiment,
needles of any length on endless lines, beside the window's, and follows one
long run as its estimate converges. It tests the runs against the exact
binomial law of their hits, draws the space of throws with each rule's hit
region, and counts how often the runs' own 95% intervals hold pi.]])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The shared libraries are found by dpkg-shlibdeps. The xcb and offscreen platform plugins come
# with libqt6gui6, and the cues play through libqt6multimedia6's own PulseAudio output, which
# needs none of its media plugins. The font is loaded by name at run time, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
# Qt's Wayland platform, so that the window runs natively on GNOME's and KDE Plasma's Wayland
# sessions. Recommended, not required: without it Qt falls back to X11, which these desktops
# also offer through XWayland, and the window works the same there.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
