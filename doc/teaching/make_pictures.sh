#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
# Makes the README's pictures for teachers, each from a fixed seed, so that they come out the
# same every time. Usage: doc/teaching/make_pictures.sh [PROGRAM]
set -eu
program=${1:-build/buffon-needle-stats}
here=$(dirname "$0")
"$program" --needles 1000 --runs 2000 --seed 7 --plot "$here/law.svg" --quiet
"$program" --needles 2000 --runs 1 --seed 7 --space "$here/space.svg" --quiet
"$program" --needles 50000 --runs 400 --seed 7 --intervals "$here/intervals.svg" --quiet
