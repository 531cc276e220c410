#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
"""The programs take no vector sine from glibc: no symbol of the x86 vector-function ABI
(_ZGVdN4v_sin and the like; other _ZGV names are guards of static variables) in their symbol
tables and no libmvec among the libraries they need, while the scalar sine the counters check
their lanes with is there, so the tables were read."""

import re
import subprocess
import sys

failures = []
for program in sys.argv[1:]:
    table = subprocess.run(["readelf", "-W", "--syms", "--dynamic", program], check=True,
                           capture_output=True, text=True).stdout
    if re.search(r"_ZGV[bcde][NM][0-9]", table):
        failures.append(f"{program}: a vector-ABI symbol")
    if "libmvec" in table:
        failures.append(f"{program}: needs libmvec")
    if " sin@" not in table:
        failures.append(f"{program}: no sin in its symbol table")
print("\n".join(failures) or f"{len(sys.argv) - 1} programs without glibc's vector sine")
sys.exit(1 if failures else 0)
