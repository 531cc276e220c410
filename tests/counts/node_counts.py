#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
"""The counting core built as WebAssembly and run under Node counts, run by run, what the
companion's table counts, for the seeds of the stored tables and digests.

Usage: node_counts.py COMPANION COUNT_RUNS_JS
"""
import subprocess
import sys
import unittest

COMPANION = COUNTER = None

# Rule, length, spacing, needles, runs, seed, the WebAssembly build's threads.
ROWS = [
    ("window", 40, 80, 1, 5000, 0, 1),
    ("window", 40, 80, 17, 3000, 123456789, 1),
    ("window", 40, 80, 1000, 300, 7, 3),
    ("window", 40, 80, 3_000_001, 2, 2139095039, 1),
    ("geometric", 40, 80, 1, 5000, 4294967, 1),
    ("geometric", 120, 80, 17, 3000, 5, 1),
    ("geometric", 0.001, 1000, 10_000, 20, 2024, 1),
    ("geometric", 40, 80, 3_000_001, 2, 7, 2),
]


class NodeCounts(unittest.TestCase):
    def test_each_run_counts_the_hits_the_companion_counts(self):
        for rule, length, spacing, needles, runs, seed, threads in ROWS:
            with self.subTest(rule=rule, length=length, needles=needles, seed=seed):
                shape = ["--length", str(length), "--spacing", str(spacing)]
                table = subprocess.run(
                    [COMPANION, "--rule", rule, *(shape if rule == "geometric" else []),
                     "--needles", str(needles), "--runs", str(runs), "--seed", str(seed),
                     "--quiet", "--csv", "-"],
                    capture_output=True, text=True, check=True, timeout=120).stdout
                node = subprocess.run(
                    ["node", "--no-experimental-fetch", COUNTER, rule, str(length), str(spacing),
                     str(needles), str(runs), str(seed), str(threads)],
                    capture_output=True, text=True, check=True, timeout=120).stdout
                expected = [row.split(",")[1] for row in table.splitlines()[1:]]
                self.assertEqual(len(expected), runs)
                self.assertEqual(node.split(), expected)


if __name__ == "__main__":
    COMPANION, COUNTER = sys.argv.pop(1), sys.argv.pop(1)
    unittest.main()
