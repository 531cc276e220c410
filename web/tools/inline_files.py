#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
"""Writes files into a classic script as base64 texts of Buffon.inlined, by name.

  inline_files.py SCRIPT NAME=FILE...

A page opened from a folder (file://) may run the scripts beside it but not read other files.
"""
import base64
import json
import sys


def main(script, pairs):
    with open(script, "w", encoding="ascii") as out:
        out.write("// Written by inline_files.py when the page is built.\n"
                  "var Buffon = window.Buffon || {};\n"
                  "Buffon.inlined = Buffon.inlined || {};\n")
        for pair in pairs:
            name, path = pair.split("=", 1)
            with open(path, "rb") as data:
                text = base64.b64encode(data.read()).decode("ascii")
            out.write("Buffon.inlined[%s] = \"%s\";\n" % (json.dumps(name), text))


if __name__ == "__main__":
    if len(sys.argv) < 3 or any("=" not in pair for pair in sys.argv[2:]):
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])
