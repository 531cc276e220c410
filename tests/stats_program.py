#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
"""buffon-needle-stats as its users meet it: command lines, exit statuses and the files it
writes, on ordinary files and on a disk that fills up.

Usage: stats_program.py PROGRAM
"""
import hashlib
import json
import math
import os
import pty
import re
import resource
import shlex
import signal
import socket
import stat
import statistics
import subprocess
import sys
import tempfile
import time
import unittest
from xml.etree import ElementTree

PROGRAM = None
Z95 = statistics.NormalDist().inv_cdf(0.975)
HEADER = "run,hits,count,estimate,reseed,pi_low,pi_high,holds_pi"


def numbers_of(value):
    """Every number of a JSON document, however deep."""
    if isinstance(value, dict):
        value = list(value.values())
    if isinstance(value, list):
        return [number for member in value for number in numbers_of(member)]
    return [value] if type(value) in (int, float) else []


def run(*arguments):
    # In a folder of its own, so that a program that writes where it should not leaves nothing
    # behind in the caller's.
    with tempfile.TemporaryDirectory() as folder:
        return subprocess.run([PROGRAM, *arguments], capture_output=True, text=True,
                              timeout=300, cwd=folder)


class CommandLines(unittest.TestCase):
    def test_refused_with_one_line_and_status_2(self):
        rows = [
            (["--needles", "0"], "--needles must be a whole number from 1 to 2147483647"),
            (["--needles", "2147483648"], "--needles must be"),
            (["--runs", "0"], "--runs must be"),
            (["--runs", "2139095041"], "--runs can be at most 2139095040: each run reseeds"),
            (["--runs", "1e3"], "--runs must be a whole number from 1 to 2139095040"),
            (["--seed", "-1"], "--seed must be"),
            (["--seed", "2139095040"], "--seed must be"),
            (["--threads", "0"], "--threads must be"),
            (["--threads", "257"], "--threads must be"),
            (["--needle", "10"], "unknown option --needle; did you mean --needles?"),
            (["-needles", "10"], "unknown option -needles; did you mean --needles?"),
            (["--runz", "10"], "unknown option --runz; did you mean --runs?"),
            (["--rum", "10"], "unknown option --rum; see --help"),
            (["--ruler", "10"], "unknown option --ruler; did you mean --rule?"),
            (["-platform", "xcb"], "unknown option -platform; see --help"),
            (["--runs"], "--runs needs a value (R)"),
            (["--csv", "--json", "x"], "--csv needs a value (FILE), not the option --json"),
            (["--quiet=yes"], "--quiet takes no value"),
            (["--help=yes"], "--help takes no value"),
            (["--"], 'unexpected argument "--"'),
            (["--seed", "+-0"], "--seed must be a whole number"),
            (["--json", "-", "--csv", "/dev/stderr"], "--csv would have the summary written into"),
            (["1000"], 'unexpected argument "1000"'),
            (["--csv", ""], "--csv needs a file name"),
            (["--csv", "out", "--plot", "./out"], "name the same file"),
            (["--csv", "-", "--json", "-"], "--csv and --json name the same file"),
            (["--csv", "a", "--csv", "b"], "--csv is given more than once"),
            (["--needles", "5\n0\x1b[2J"], '"5\\n0\\x1b[2J"'),
            (["--length", "30"], "--length belongs to --rule geometric"),
            (["--rule", "textbook"], "--rule is window or geometric"),
            (["--rule", "geometric", "--length", "1e-9", "--spacing", "10"],
             "hits less than once in the longest"),
            (["--rule", "geometric", "--length", "5e-324"], "a --length below 1e-290 loses"),
            (["--rule", "geometric", "--length", "1", "--spacing", "1e-300"],
             "a --spacing below 1e-290 loses"),
            (["--rule", "geometric", "--length", "120", "--plot", "p.png"],
             "--plot shows estimates of pi, and --rule geometric (length 120, spacing 80) gives"),
            (["--rule", "geometric", "--spacing", "0"], "--spacing must be a finite positive"),
            (["--rule", "geometric", "--length", "-1"], "--length must be a finite positive"),
            (["--rule", "geometric", "--length", "nan"], "--length must be a finite positive"),
            (["--rule", "geometric", "--length", "1e999"], "--length must be a finite positive"),
            (["--trace", "t.csv", "--runs", "2"], "--trace follows one run"),
            (["--trace", "t"], '--trace writes FILE.csv, FILE.png, FILE.svg or FILE.pdf, not "t"'),
            (["--intervals", "dir.svg/i.csv"], '--intervals writes FILE.png, FILE.svg or FILE.pdf'),
            (["--plot", "p.png", "--size", "639x360"], '--size must be WIDTHxHEIGHT from 640x360 to'),
            (["--plot", "p.png", "--size", "640x359"], '7680x4320, not "640x359"'),
            (["--plot", "p.png", "--size", "7681x360"], '--size must be'),
            (["--plot", "p.png", "--size", "640x4321"], '--size must be'),
            (["--plot", "p.png", "--size", "1920"], '--size must be'),
            (["--trace", "t.csv", "--size", "1920x1080"], "--size belongs to the pictures"),
            (["--plot", "p.png", "--range", "3"],
             '--range must be LOW:HIGH, numbers from 0 to 1e10 and LOW below HIGH, not "3"'),
            (["--plot", "p.png", "--range", "-0.1:3"], '--range must be LOW:HIGH'),
            (["--plot", "p.png", "--range", "3:3"], '--range must be LOW:HIGH'),
            (["--plot", "p.png", "--range", "1:1.1e10"], '--range must be LOW:HIGH'),
            (["--plot", "p.png", "--range", "3.14159:3.141592"],
             '--range must span a millionth of HIGH at least, not "3.14159:3.141592"'),
            (["--space", "s.png", "--range", "2:4"], "--range belongs to --plot, --intervals or"),
            (["--trace", "t.csv", "--range", "2:4"], "--range belongs to"),
            (["--rule", "geometric", "--length", "120", "--trace", "t.png", "--range", "0:1"],
             "--range is an axis of estimates of pi, and --rule geometric (length 120, spacing"),
            (["--intervals-runs", "20"], "--intervals-runs belongs to --intervals"),
            (["--intervals", "i.png", "--intervals-runs", "0"],
             "--intervals-runs must be a whole number from 1 to 100"),
            (["--intervals", "i.png", "--intervals-runs", "101"], "--intervals-runs must be"),
            (["--plot", "p.JPG"],
             '--plot writes FILE.png, FILE.svg, FILE.pdf or FILE without a suffix, not "p.JPG"'),
            (["--space", "s.png", "--trace", "t.csv"], "--space cannot go with --trace"),
            (["--intervals", "i.svg", "--trace", "t.csv"], "--intervals cannot go with --trace"),
            (["--intervals", "i.svg", "--rule", "geometric", "--length", "100"],
             "--intervals shows estimates of pi, and --rule geometric (length 100, spacing 80)"),
            (["--space", "s.png", "--space-needles", "1001"],
             "--space-needles must be a whole number from 1 to 1000"),
            (["--space-needles", "10"], "--space-needles belongs to --space"),
            (["--trace", "t.csv", "--csv", "t.csv"], "--csv and --trace name the same file"),
            (["--reseed", "-1"], "--reseed takes a reseed value, a non-negative single-precision"),
            (["--reseed", "5", "--seed", "3"], "--reseed names one run and cannot go with --seed"),
            (["--reseed", "5", "--runs", "2"], "--reseed names one run; --runs must be 1, not 2"),
        ]
        for arguments, complaint in rows:
            with self.subTest(arguments=arguments):
                done = run(*arguments)
                self.assertEqual(done.returncode, 2)
                self.assertEqual(done.stdout, "")
                self.assertIn(complaint, done.stderr)
                self.assertEqual(done.stderr.count("\n"), 1, done.stderr)

    def test_help_is_help(self):
        for option in ("--help", "--help-all"):
            done = run(option)
            self.assertEqual((done.returncode, done.stderr), (0, ""))
            self.assertIn("--needles <N>", done.stdout)
            self.assertNotIn("Hit fraction", done.stdout)
            # The options and what they do fill a terminal's 79 columns and no more.
            long = [line for line in done.stdout.splitlines() if line.startswith(" ") and
                    len(line) > 79]
            self.assertEqual(long, [])
            self.assertGreater(done.stdout.count("\n      "), 10)
        # The name it was started by is shown escaped, as any argument is.
        named = subprocess.run(["stats\x1b[2J", "--help"], executable=PROGRAM,
                               capture_output=True, text=True, timeout=60)
        self.assertTrue(named.stdout.startswith("Usage: stats\\x1b[2J [options]\n"), named.stdout)

    def test_the_largest_and_smallest_values_are_taken(self):
        # The other ends: a needle and the last seed in the digests, one thread in the tables'.
        done = run("--runs", "1", "--threads", "256")
        self.assertEqual(done.returncode, 0, done.stderr)
        # The smallest length and spacing a needle may have, and the largest.
        for size in ("1e-290", "1.7976931348623157e308"):
            with self.subTest(size=size):
                done = run("--rule", "geometric", "--length", size, "--spacing", size, "--runs",
                           "3", "--needles", "100", "--json", "-", "--quiet")
                self.assertEqual(done.returncode, 0, done.stderr)
                self.assertEqual(json.loads(done.stdout)["exact_rate"], 2 / math.pi)


    def test_a_run_named_by_its_reseed_value_is_thrown_again(self):
        # Each run of a batch, named by its CSV row's reseed value, counts the same hits alone;
        # its row names the same value, and the summary says which.
        for rule in ("window", "geometric"):
            batch = run("--rule", rule, "--needles", "50000", "--runs", "3", "--seed", "11",
                        "--csv", "-", "--quiet")
            for row in batch.stdout.splitlines()[1:]:
                number, hits, count, estimate, reseed = row.split(",")[:5]
                with self.subTest(rule=rule, run=number):
                    alone = run("--rule", rule, "--needles", "50000", "--reseed", reseed, "--csv",
                                "-")
                    self.assertEqual(alone.returncode, 0, alone.stderr)
                    self.assertRegex(alone.stderr, r"\nReseeded from +%s\n" % re.escape(reseed))
                    self.assertEqual(alone.stdout.splitlines()[1].split(",")[1:],
                                     row.split(",")[1:])


class Files(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.path = lambda name: os.path.join(self.folder.name, name)

    def tearDown(self):
        self.folder.cleanup()

    def read(self, name):
        with open(self.path(name), "rb") as file:
            return file.read()

    def test_same_seed_same_output_whatever_the_threads(self):
        common = ["--needles", "1000", "--runs", "300", "--seed", "2024"]
        one = run(*common, "--threads", "1", "--csv", self.path("1"))
        two = run(*common, "--threads", "2", "--csv", self.path("2"))
        other = run("--runs", "300", "--seed", "2025", "--csv", self.path("o"))
        self.assertEqual((one.returncode, one.stdout), (0, two.stdout))
        self.assertEqual(self.read("1"), self.read("2"))
        self.assertNotEqual(self.read("1"), self.read("o"))

    def test_one_thread_keeps_to_one_core(self):
        # A teacher sharing a machine asks for one thread; a second would double the CPU time.
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        started = time.monotonic()
        self.assertEqual(run("--runs", "400", "--needles", "500000", "--threads", "1",
                             "--quiet").returncode, 0)
        wall = time.monotonic() - started
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        used = after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime
        self.assertLess(used, 1.2 * wall)

    def test_standard_output_json_and_quiet(self):
        table = run("--runs", "50", "--seed", "3", "--csv", "-")
        self.assertEqual(table.stdout.split("\n")[0], HEADER)
        self.assertEqual(len(table.stdout.split("\n")), 52)
        self.assertIn("Hit fraction", table.stderr)  # the summary moves aside
        quiet = run("--runs", "50", "--seed", "3", "--quiet", "--json", "-")
        self.assertEqual((quiet.returncode, quiet.stderr), (0, ""))
        figures = json.loads(quiet.stdout)
        self.assertEqual((figures["seed"], figures["runs"]), (3, 50))

    def test_plots_need_no_runtime_folder_and_say_only_their_own(self):
        env = {k: v for k, v in os.environ.items() if k != "XDG_RUNTIME_DIR"}
        done = subprocess.run([PROGRAM, "--runs", "20", "--plot", self.path("p.png")],
                              capture_output=True, text=True, env=env, timeout=60)
        self.assertEqual((done.returncode, done.stderr), (0, ""))
        self.assertEqual(self.read("p.png")[:8], b"\x89PNG\r\n\x1a\n")

    def test_pictures_are_written_in_the_format_their_names_ask(self):
        begins = {".png": b"\x89PNG\r\n\x1a\n", ".svg": b"<?xml", ".pdf": b"%PDF-"}
        rows = [(["--runs", "100", "--plot", "p" + s, "--space", "s" + s, "--intervals", "i" + s], s)
                for s in (".png", ".svg", ".pdf", ".PDF")]
        rows += [(["--needles", "5000", "--trace", "t" + s], s) for s in (".png", ".svg", ".pdf")]
        rows.append((["--runs", "100", "--plot", "p"], ".png"))  # no suffix: PNG, as ever
        # A name that is a suffix alone, as `--plot "$lesson.pdf"` makes with no lesson named.
        rows.append((["--runs", "100", "--plot", ".pdf", "--intervals", ".PDF"], ".pdf"))
        for arguments, suffix in rows:
            with self.subTest(arguments=arguments):
                names = arguments[3::2]
                done = run(*[self.path(a) if a in names else a for a in arguments], "--quiet")
                self.assertEqual((done.returncode, done.stderr), (0, ""))
                for name in names:
                    self.assertTrue(self.read(name).startswith(begins[suffix.lower()]), name)
                    if suffix.lower() != ".pdf":
                        continue
                    # One page, its text kept as text, and no picture of pixels in it.
                    pdf = [subprocess.run([tool, *options, self.path(name), *after],
                                          capture_output=True, text=True).stdout
                           for tool, options, after in (("pdfinfo", [], []),
                                                        ("pdftotext", [], ["-"]),
                                                        ("pdfimages", ["-list"], []))]
                    self.assertIn("\nPages:           1\n", pdf[0])
                    self.assertIn("needles", pdf[1])
                    self.assertEqual(pdf[2].count("\n"), 2, pdf[2])

    def test_pictures_without_a_font_say_so_and_are_drawn_still(self):
        # Fonts looked for in an empty folder only: every label would be a row of boxes.
        os.mkdir(self.path("none"))
        with open(self.path("fonts.conf"), "w") as conf:
            conf.write("<fontconfig><dir>%s</dir><cachedir>%s</cachedir></fontconfig>"
                       % (self.path("none"), self.path("none")))
        done = subprocess.run([PROGRAM, "--runs", "20", "--plot", self.path("p.png"), "--quiet"],
                              capture_output=True, text=True, timeout=60,
                              env=dict(os.environ, FONTCONFIG_FILE=self.path("fonts.conf")))
        self.assertEqual((done.returncode, done.stderr),
                         (0, "buffon-needle-stats: no font here draws the pictures' text, which "
                          "shows as boxes; install fonts-dejavu-core or fonts-ipafont-gothic\n"))
        self.assertEqual(self.read("p.png")[:8], b"\x89PNG\r\n\x1a\n")

    def shell(self, script, **options):
        """Runs a bash script in the scratch folder, the program as $P."""
        return subprocess.run(["bash", "-c", script], capture_output=True, timeout=120,
                              cwd=self.folder.name, env=dict(os.environ, P=PROGRAM), **options)

    def isolated(self, script):
        """Runs a bash script as shell() does, in a mount namespace of its own, so that what it
        mounts is gone with it; skips the test where there is none (not root), or where the
        script exits with 77, a mount refused."""
        done = self.shell(f"unshare -m bash -c {shlex.quote(script)}", text=True)
        if done.returncode == 77 or "unshare" in done.stderr:
            self.skipTest("no mount namespace here (not root)")
        return done

    def test_outputs_that_reach_one_file_are_refused_before_any_run(self):
        # Each would lose one output to the other: status 2, and nothing written or replaced.
        rows = [
            ("a link", "echo kept > same.out; ln -s same.out link.png",
             "--csv same.out --plot link.png", "--csv and --plot"),
            ("a dangling link", "ln -s same.out link.png",
             "--csv same.out --plot link.png", "--csv and --plot"),
            ("a hard link", "echo kept > same.out; ln same.out hard.csv",
             "--trace hard.csv --json same.out", "--json and --trace"),
            ("standard output, twice", ": > same.out",
             "--csv /dev/stdout --json - > same.out", "--csv and --json"),
            ("standard output's file", ": > same.out",
             "--csv - --json same.out > same.out", "--csv and --json"),
        ]
        for name, setup, arguments, options in rows:
            with self.subTest(name):
                done = self.shell(f"rm -rf -- * .[!.]*; {setup}; $P --needles 5 {arguments};"
                                  " echo status $?; ls -A; cat same.out 2>/dev/null", text=True)
                self.assertEqual(done.stderr, f"buffon-needle-stats: {options} name the same file\n")
                kept = "kept\n" if "kept" in setup else ""
                self.assertTrue(done.stdout.startswith("status 2\n"), done.stdout)
                self.assertTrue(done.stdout.endswith(kept), done.stdout)
                self.assertNotIn("\n.", done.stdout)  # no temporary left
                if "link.png" in setup:
                    self.assertTrue(os.path.islink(self.path("link.png")))

    def test_one_new_file_through_a_bind_mounted_folder_is_one_file(self):
        done = self.isolated("mkdir a b; mount --bind a b || exit 77; "
                             "$P --json a/x.json --csv b/x.json; echo $?; ls -A a")
        self.assertEqual((done.stdout, done.stderr), ("2\n", "buffon-needle-stats: --csv and "
                                                      "--json name the same file\n"))

    def test_where_no_temporary_can_be_made_the_file_is_written_as_the_shell_writes_it(self):
        # Names too long for a temporary's beside them, new or not, and a file on a disk with no
        # inode left are written in place; a file that takes no bytes is refused before the run
        # with the reason the shell meets.
        folder = self.folder.name
        while len(folder) < 4095 - 250:
            folder = os.path.join(folder, "d" * 200)
        os.makedirs(folder)
        for length in (4090, 4095):
            path = os.path.join(folder, "n" * (length - len(folder) - 1))
            if length == 4095:  # one that is there already
                open(path, "w").close()
            done = run("--runs", "4", "--csv", path, "--quiet")
            self.assertEqual((done.returncode, done.stderr, self.read(path).count(b"\n")),
                             (0, "", 5))
        self.assertEqual(len(os.listdir(folder)), 2)  # no temporary left
        with self.assertRaises(OSError) as shell, open("/proc/version", "w") as version:
            version.write("x")
        done = run("--csv", self.path("t"), "--json", "/proc/version")
        self.assertEqual((done.returncode, done.stderr), (1, "buffon-needle-stats: cannot write "
                         f"/proc/version: {shell.exception.strerror}\n"))
        done = self.isolated("mkdir d; mount -t tmpfs -o size=1m,nr_inodes=2 tmpfs d || exit 77; "
                             ": > d/f; $P --runs 4 --csv d/f --quiet; echo $? $(wc -l < d/f)")
        self.assertEqual((done.stdout, done.stderr), ("0 5\n", ""))

    def test_a_folder_moved_during_the_run_still_gets_its_file(self):
        # The temporary is held by its open folder: wherever that goes, the file is made there,
        # and no temporary is left behind. The run is stopped while the folder moves.
        rows = [("the folder renamed", "mkdir d", "d", "mv d e", "e"),
                ("a linked folder pointed elsewhere", "mkdir d e; ln -s d l", "l", "ln -sfn e l",
                 "d")]
        for name, setup, folder, move, kept in rows:
            with self.subTest(name):
                done = self.shell(f"rm -rf -- *; {setup}; $P --needles 100000 --runs 1000 --csv "
                                  f"{folder}/t.csv --quiet & until ls -A {folder}/ | grep -q .; do "
                                  f"sleep 0.01; done; kill -STOP $!; {move}; kill -CONT $!; "
                                  f"wait $!; echo $?; ls -A {kept}; wc -l < {kept}/t.csv", text=True)
                self.assertEqual((done.stdout, done.stderr), ("0\nt.csv\n1001\n", ""))

    def test_descriptors_and_pipes_are_written_where_they_lead(self):
        # Names of the program's own open descriptors are written through them, whatever they
        # lead to: a pipe, a file the shell opened, a process substitution.
        rows = [
            ("a pipe through /dev/stdout", "$P --csv /dev/stdout | cat > got"),
            ("a file through /dev/stdout", "$P --csv /dev/stdout > got"),
            ("appended to through /dev/stdout", "echo before > got; $P --csv /dev/stdout >> got"),
            ("a descriptor by number", "$P --csv /proc/self/fd/3 3> got"),
            ("/dev/fd", "$P --csv /dev/fd/4 4> got"),
            ("a process substitution", "$P --csv >(gzip > got.gz); sleep 1; zcat got.gz > got"),
            ("a link to /dev/stdout", "ln -s /dev/stdout out; $P --csv out > got"),
            ("a doubled slash", "echo before > got; $P --csv /dev/fd//1 >> got"),
        ]
        for name, script in rows:
            with self.subTest(name):
                done = self.shell(f"rm -f got*; {script.replace('$P', '$P --runs 7 --seed 1')}",
                                  text=True)
                self.assertEqual(done.returncode, 0, done.stderr)
                lines = self.read("got").decode().split("\n")
                table = lines[1:] if lines[0] == "before" else lines
                self.assertEqual((table[0], len(table), table[-1]),
                                 (HEADER, 9, ""))
                self.assertIn("Hit fraction", done.stdout + done.stderr)

    def test_standard_output_that_fails_is_reported(self):
        rows = [("--runs 5 > /dev/full", "No space left on device"),
                ("--runs 5 >&-", "Bad file descriptor"),
                ("--help > /dev/full", "No space left on device"),
                ("--version >&-", "Bad file descriptor"),
                ("--runs 5 --json - --quiet > /dev/full", "No space left on device")]
        for arguments, reason in rows:
            with self.subTest(arguments):
                done = self.shell(f"$P {arguments}", text=True)
                self.assertEqual((done.returncode, done.stderr), (1, "buffon-needle-stats: "
                                 f"cannot write standard output: {reason}\n"))

    def test_every_figure_is_a_number_json_can_read(self):
        def no_constant(name):
            raise ValueError(name)
        rows = [["--rule", "geometric", "--spacing", "1e-280"],
                ["--rule", "geometric", "--length", "1e308", "--spacing", "1e308"],
                ["--rule", "geometric", "--length", "1e308", "--spacing", "1e-290"],
                ["--rule", "geometric", "--length", "1e8", "--spacing", "1"],
                ["--rule", "geometric", "--length", "1e-9", "--spacing", "1"],
                ["--needles", "1"]]
        nothing_hit = False
        for arguments in rows:
            with self.subTest(arguments=arguments):
                done = run("--runs", "20", *arguments, "--json", "-", "--seed", "4")
                figures = json.loads(done.stdout, parse_constant=no_constant)
                self.assertLessEqual(figures["exact_rate"], 1)
                low, high = figures["interval_95"]
                self.assertTrue(0 <= low <= figures["hit_fraction"] <= high <= 1, figures)
                self.assertNotRegex(done.stderr, r"nan|inf|rate of the rule +0\.000000")
                self.assertIn("exact rate of the rule", done.stderr)
                if figures["hit_fraction"] == 0:
                    # None hit: a rate of nothing keeps its six decimals.
                    self.assertRegex(done.stderr, r"Hit fraction +0\.000000\n")
                    nothing_hit = True
                # The JSON gives every figure printed (to its decimals) and counts every run.
                numbers = numbers_of(figures)
                for shown in re.findall(r"(?<![\w.])(?<!> )-?\d+\.\d+(?![\w.])", done.stderr):
                    decimals = len(shown.split(".")[1])
                    self.assertIn(shown, {f"{number:.{decimals}f}" for number in numbers})
                for spread in ("estimate_with_deduction", "estimate_without_deduction"):
                    self.assertEqual(figures[spread]["runs_with_estimate"] +
                                     figures[spread]["runs_without_estimate"], 20)
                traced = run(*arguments, "--trace", self.path("t.csv"), "--quiet")
                self.assertEqual(traced.returncode, 0, traced.stderr)
                for row in self.read("t.csv").decode().split("\n")[1:-1]:
                    self.assertTrue(all(math.isfinite(float(v)) for v in row.split(",") if v), row)
        self.assertTrue(nothing_hit, "a rule whose needles all miss")

    def test_a_fifo_is_written_into_not_replaced(self):
        fifo = self.path("fifo")
        os.mkfifo(fifo)
        reader = subprocess.Popen(["timeout", "60", "cat", fifo], stdout=subprocess.PIPE)
        done = run("--runs", "100", "--csv", fifo)
        received = reader.communicate(timeout=60)[0].decode()
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertTrue(stat.S_ISFIFO(os.stat(fifo).st_mode))
        self.assertEqual(len(received.split("\n")), 102)

    def test_device_nodes_are_written_into_and_their_failures_reported(self):
        # Device nodes of the test's own, on a file system over a scratch folder, in a mount
        # namespace of its own: the system's /dev is never touched. Needs root.
        script = 'd=$1; shift; mount -t tmpfs tmpfs "$d" && mknod "$d/full" c 1 7 && ' \
                 'mknod "$d/null" c 1 3 || exit 77; "$@" --csv "$d/null" >/dev/null || exit 3; ' \
                 '"$@" --csv "$d/full"; s=$?; stat -c %F "$d/full" "$d/null"; exit $s'
        done = subprocess.run(["unshare", "-m", "sh", "-c", script, "sh", self.folder.name,
                               PROGRAM, "--runs", "2000"],
                              capture_output=True, text=True, timeout=300)
        if done.returncode == 77 or "unshare" in done.stderr:
            self.skipTest("no mount namespace here (not root)")
        self.assertEqual(done.returncode, 1)
        self.assertRegex(done.stderr, r"^buffon-needle-stats: cannot write [^\n]*/full: "
                                      r"No space left on device\n$")
        self.assertTrue(done.stdout.endswith("character special file\n" * 2), done.stdout)

    def test_a_trace_ends_at_the_hits_of_the_run_it_follows(self):
        # The band is 1.96 standard deviations (the normal law's 97.5% point) about the limit: of the estimate, 2L/D over the
        # fraction, to first order (the window's 2L/D is 1); of the fraction itself where the
        # needle is longer than the spacing and no estimate exists.
        for rule, length in (("window", 40), ("geometric", 40), ("geometric", 120)):
            with self.subTest(rule=rule, length=length):
                common = ["--rule", rule, "--needles", "300000", "--seed", "8", "--quiet"]
                common += ["--length", str(length)] if rule == "geometric" else []
                traced = run(*common, "--trace", self.path("t.csv"))
                batch = run(*common, "--runs", "1", "--csv", self.path("b.csv"))
                self.assertEqual((traced.returncode, batch.returncode), (0, 0))
                rows = [row.split(",") for row in self.read("t.csv").decode().split("\n")[1:-1]]
                self.assertEqual(rows[-1][:2], ["300000", self.read("b.csv").decode()
                                                .split("\n")[1].split(",")[1]])
                n, hits, value, limit, low, high = map(float, rows[-1])
                factor = 2 * length / 80
                if length <= 80:
                    p = factor / limit
                    half = Z95 * factor * math.sqrt(p * (1 - p) / n) / p ** 2
                    self.assertAlmostEqual(value, factor * n / hits, places=9)
                else:
                    half = Z95 * math.sqrt(limit * (1 - limit) / n)
                    self.assertAlmostEqual(value, hits / n, places=12)
                self.assertAlmostEqual(high - limit, half, places=9)
                self.assertAlmostEqual(limit - low, half, places=9)
        # Before the first hit there is no estimate yet; this seed's first needle misses.
        self.assertEqual(run("--needles", "300000", "--seed", "8", "--quiet", "--trace",
                             self.path("w.csv")).returncode, 0)
        self.assertEqual(self.read("w.csv").decode().split("\n")[1].split(",")[:3], ["1", "0", ""])

    def test_plots_are_pictures_that_say_what_they_show(self):
        # Runs of ten needles leave some without an estimate, and the histogram says how many.
        for needles, without in (("10", True), ("1000", False)):
            run("--needles", needles, "--runs", "500", "--seed", "1", "--plot", self.path("h.svg"),
                "--quiet")
            words = "".join(ElementTree.parse(self.path("h.svg")).getroot().itertext())
            self.assertEqual("without an estimate" in words, without, words)
            self.assertIn("bars ", words)
        # The intervals: how many of the first twenty hold pi, and how many miss it, out of the
        # runs shown as the title counts them.
        self.assertEqual(run("--runs", "100", "--seed", "7", "--intervals", self.path("i.svg"),
                             "--intervals-runs", "20", "--quiet").returncode, 0)
        words = " ".join(ElementTree.parse(self.path("i.svg")).getroot().itertext()).split()
        self.assertIn("holds π: 19 of 20 misses π: 1 of 20", " ".join(words))
        # Runs with no estimate at all leave the histogram unwritten and say why, not that the
        # file could not be written; the other outputs are whole.
        ended = run("--runs", "1", "--needles", "1", "--seed", "21", "--plot", self.path("h.png"),
                    "--csv", self.path("h.csv"), "--quiet")
        self.assertEqual((ended.returncode, ended.stderr),
                         (1, "buffon-needle-stats: %s is not written: no run gave an estimate "
                          "to plot\n" % self.path("h.png")))
        self.assertFalse(os.path.exists(self.path("h.png")))
        self.assertEqual(self.read("h.csv").count(b"\n"), 2)

    def test_a_space_of_many_needles_is_read_by_every_reader(self):
        # A point a needle, hits blue and misses green as on the board, in shapes small enough
        # for libxml2 (10 MB in one attribute, or read without a pause, is too much for it).
        self.assertEqual(run("--rule", "geometric", "--needles", "100000", "--seed", "5", "--runs",
                             "1", "--space", self.path("s.svg"), "--space-needles", "100000",
                             "--quiet").returncode, 0)
        read = subprocess.run(["xmllint", "--noout", self.path("s.svg")], capture_output=True)
        self.assertEqual((read.returncode, read.stderr), (0, b""))
        dots = re.findall(r'<g fill="#(?:0000ff|00ff00)"[^>]*>\s*<path[^>]* d="([^"]*)"',
                          self.read("s.svg").decode())
        self.assertEqual(sum(path.count("M") for path in dots), 100000)

    def test_a_terminal_follows_a_long_run(self):
        pid, terminal = pty.fork()
        if pid == 0:
            os.execv(PROGRAM, [PROGRAM, "--needles", "1000000000", "--quiet",
                               "--trace", self.path("t.csv")])
        shown = b""
        while True:
            try:
                chunk = os.read(terminal, 4096)
            except OSError:  # the terminal closes with the program
                break
            if not chunk:
                break
            shown += chunk
        self.assertEqual(os.waitpid(pid, 0)[1], 0)
        shares = [int(share) for share in re.findall(rb"\] +(\d+)%", shown)]
        self.assertTrue(shares and shares == sorted(shares) and shares[-1] <= 100, shown)
        self.assertTrue(shown.endswith(b"\r" + b" " * 56 + b"\r"), "the bar is not wiped")

    def test_a_signal_that_ends_the_run_leaves_no_temporary(self):
        # A table is written through a temporary file from the start; each of these ends the
        # program as it would have, without that file. A hang-up the program was started
        # with ignored, as nohup starts it, stays ignored and the table is whole.
        for ending in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP, signal.SIGUSR1,
                       signal.SIGALRM, signal.SIGXCPU, signal.SIGQUIT):
            with self.subTest(signal=ending.name):
                started = subprocess.Popen([PROGRAM, "--needles", "100000", "--runs", "100000",
                                            "--csv", self.path("t.csv")], stdout=subprocess.DEVNULL)
                while not os.listdir(self.folder.name):
                    time.sleep(0.05)
                started.send_signal(ending)
                self.assertEqual(started.wait(60), -ending)
                self.assertEqual(os.listdir(self.folder.name), [])
        started = subprocess.Popen(["nohup", PROGRAM, "--needles", "20000", "--runs", "20000",
                                    "--csv", self.path("t.csv"), "--quiet"],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.3)
        started.send_signal(signal.SIGHUP)
        self.assertEqual(started.wait(120), 0)
        self.assertEqual(len(self.read("t.csv").split(b"\n")), 20002)

    def test_file_names_are_bytes(self):
        # Whatever the locale, a name reaches the system as it was typed: not as U+FFFD, which
        # would overwrite another file and make two names one.
        replacement = os.path.join(os.fsencode(self.folder.name), "\ufffd.csv".encode())
        with open(replacement, "wb") as file:
            file.write(b"kept")
        names = [b"\xff.csv", b"caf\xe9.csv", b"caf\xe8.csv", b"a" * 251 + b".csv",
                 b"\xe2\x80\xae.csv", b"-.csv"]
        for arguments in ([b"--csv", names[0], b"--json", names[1]],
                          [b"--trace", names[2].replace(b".csv", b".svg"), b"--needles", b"9"]):
            done = subprocess.run([PROGRAM, *arguments, b"--quiet"], capture_output=True,
                                  env=dict(os.environ, LC_ALL="C"), timeout=60,
                                  cwd=self.folder.name)
            self.assertEqual(done.returncode, 0, done.stderr)
        for name in names[3:]:
            self.assertEqual(subprocess.run([PROGRAM, "--runs", "3", "--csv", name], cwd=self.folder.name,
                                            capture_output=True).returncode, 0, name)
        written = set(os.listdir(os.fsencode(self.folder.name)))
        self.assertEqual(written, {"\ufffd.csv".encode(), names[0], names[1],
                                   b"caf\xe8.svg", *names[3:]})
        with open(replacement, "rb") as file:
            self.assertEqual(file.read(), b"kept")
        refused = subprocess.run([PROGRAM, "--csv", b"\x1b[2J\xff"], capture_output=True,
                                 cwd="/proc")
        self.assertEqual(refused.stderr, b"buffon-needle-stats: cannot write \\x1b[2J\\xff: "
                                         b"No such file or directory\n")

    def test_a_file_that_cannot_be_replaced_is_written_as_the_shell_writes_it(self):
        # Where the folder will not let a temporary take the file's place, the shell's `>`
        # still writes the file itself, and so does the program: never a whole run for nothing.
        # Needs root, to be another user, to mount, and to mark a folder.
        if os.geteuid() != 0:
            self.skipTest("needs root")
        nobody = "setpriv --reuid=nobody --regid=nogroup --clear-groups"
        rows = [("a sticky folder, another's file", "mkdir -m 1777 d; : > d/f; chmod 666 d/f",
                 f"{nobody} $P --csv d/f", 0),
                ("a folder the user may not write", "mkdir -m 755 d; : > d/f; chmod 666 d/f",
                 f"{nobody} $P --csv d/f", 0),
                ("a file mounted in place", "mkdir d; : > d/f; : > g",
                 "unshare -m sh -c 'mount --bind g d/f && $P --csv d/f'", 0),
                ("an append-only folder", "mkdir d; : > d/f; chattr +a d || exit 77",
                 "$P --csv d/f; s=$?; chattr -a d; exit $s", 0),
                # Refused before the run: no other output is written either.
                ("an append-only file", "mkdir d; : > d/f; chattr +a d/f || exit 77",
                 "$P --csv d/f --json j; s=$?; chattr -a d/f; test ! -e j || s=99; exit $s", 1)]
        for name, setup, command, status in rows:
            with self.subTest(name):
                done = self.shell(f"chmod 777 .; rm -rf d g; {setup}; "
                                  f"{command.replace('$P', '$P --runs 4 --quiet')}", text=True)
                if done.returncode == 77:
                    continue  # a file system without such marks
                self.assertEqual(done.returncode, status, done.stderr)
                written = self.read("g" if "mount" in command else "d/f").decode()
                self.assertEqual(written.count("\n"), 5 if status == 0 else 0, written)
                self.assertEqual(os.listdir(self.path("d")), ["f"])  # no temporary left

    def test_a_replaced_file_keeps_what_it_had(self):
        with open(self.path("t.csv"), "w") as file:
            file.write("old")
        os.chmod(self.path("t.csv"), 0o640)
        os.setxattr(self.path("t.csv"), "user.origin", b"class 3")
        self.assertEqual(run("--runs", "3", "--csv", self.path("t.csv")).returncode, 0)
        self.assertEqual(stat.S_IMODE(os.stat(self.path("t.csv")).st_mode), 0o640)
        self.assertEqual(os.getxattr(self.path("t.csv"), "user.origin"), b"class 3")

    def test_what_the_run_meets_on_the_way(self):
        rows = [
            # The summary's numbers whatever the locale, pictures or not.
            ("a German locale", "mkdir -p loc; localedef -i de_DE -f UTF-8 loc/de_DE.UTF-8 || "
             "exit 77; export LOCPATH=$PWD/loc LANG=de_DE.UTF-8 LC_ALL=; $P --seed 3 > a; "
             "$P --seed 3 --plot p.svg > b; cmp a b && grep -c 'fraction  *0\\.' a", "1\n"),
            # Fewer threads where the system refuses more.
            ("one process a user", "chmod 777 .; setpriv --reuid=nobody --regid=nogroup "
             "--clear-groups bash -c 'ulimit -u 1; $P --threads 4 --csv t.csv --quiet'; "
             "echo $?; ls -A", "0\nt.csv\n"),
            # Nothing left to write to: the batch stops instead of running on for nobody.
            ("a reader gone", "trap '' PIPE; timeout 60 $P --runs 2000000000 --csv - --quiet | "
             "head -c 1; s=${PIPESTATUS[0]}; echo; echo $s", "r\n1\n"),
            # A FIFO replaced by a file while the runs go on: the file is emptied, not patched.
            ("a FIFO taken away", "mkfifo j; ($P --runs 1000000 --json j --quiet; echo $?) & "
             "sleep 0.5; rm j; head -c 3000 /dev/zero > j; wait; python3 -m json.tool j | head -1",
             "0\n{\n"),
        ]
        for name, script, expected in rows:
            with self.subTest(name):
                done = self.shell(f"rm -rf -- *; {script}", text=True)
                if done.returncode == 77:
                    continue  # no locale sources to build from
                self.assertEqual(done.stdout, expected, done.stderr)

    def test_a_write_protected_file_is_refused_as_the_shell_refuses_it(self):
        # As any user but root, whom no permission stops.
        os.chmod(self.folder.name, 0o777)
        with open(self.path("kept.csv"), "w") as file:
            file.write("kept")
        os.chmod(self.path("kept.csv"), 0o444)
        user = [] if os.geteuid() else ["setpriv", "--reuid=nobody", "--regid=nogroup",
                                        "--clear-groups"]
        done = subprocess.run([*user, PROGRAM, "--runs", "3", "--csv", self.path("kept.csv")],
                              capture_output=True, text=True, timeout=60)
        self.assertEqual((done.returncode, done.stdout), (1, ""))
        self.assertEqual(done.stderr, "buffon-needle-stats: cannot write %s: Permission denied\n"
                         % self.path("kept.csv"))
        self.assertEqual(self.read("kept.csv"), b"kept")

    def test_tables_are_those_of_this_release(self):
        # Digests of tables written by version 2.0.0: each row is a window run, reseeded from
        # the number it names, and a seed is to give the same batch from then on, so no change
        # may alter a single one.
        rows = [
            ("10", "5000", "0", "ae97e7210bf09363ff840f1df06429e96f88cc093ede0b27c28b4c660d504b43"),
            ("10", "70000", "5", "a2b27c7cba70036154ad00dee2cac2d6e4e5f4d9b9709b4cbd4f93c5f7c4e0a2"),
            ("100", "10000", "4294967",
             "e787dd22574f84ab3411f881b9528f4f79de90c8de47d0dc074aa8e72eb00bdb"),
            ("777", "3000", "123456789",
             "bfbbad5cf1c3009ff1ee5ebf046eca53e2884c93d141ef23b7a76bbd3056552c"),
            ("1000", "2000", "2024",
             "145924252cb43a1054614810e0127f4bd37d88e7425c955b970c7846b298b72f"),
            ("10000", "300", "7", "d2232468be712ce1f90804170c90069ad9d216af872e504bbfa8ca93b7b5d506"),
            ("50000", "200", "2139095039",
             "101af6e44c1b3f31027a7c7e7f98ee792a7baa068fd0fd82a963a7e0fb2331d7"),
        ]
        for needles, runs, seed, digest in rows:
            with self.subTest(needles=needles, seed=seed):
                done = run("--needles", needles, "--runs", runs, "--seed", seed, "--csv",
                           self.path("t"))
                self.assertEqual(done.returncode, 0, done.stderr)
                self.assertEqual(hashlib.sha256(self.read("t")).hexdigest(), digest)

    def test_pictures_are_those_of_this_release(self):
        # Digests of the SVG pictures of fixed seeds, drawn in the faces `make test` installs:
        # bars, ticks, curves, regions, labels and titles stay as a class has seen them.
        rows = [
            (["--runs", "300", "--seed", "7", "--plot", "p.svg", "--space", "s.svg",
              "--intervals", "i.svg"],
             {"p.svg": "dc95191365d1aea9cecd146e678ed52f7e5589e5701be87a186284378600b8df",
              "s.svg": "e1be1c0c7826dff7b0fd5a1c424a6b40dc727c1d51c74a10b7e96a8a85b49818",
              "i.svg": "790d3a1baf18f6fc75b70313da9b40bdd88e4ae82a35696ae5b7d9847aab1231"}),
            (["--rule", "geometric", "--runs", "300", "--seed", "7", "--plot", "p.svg",
              "--space", "s.svg"],
             {"p.svg": "1ea73391370fffdf10b4c76b86ecbccbc8512956bf72e8d4951d07bd85c893cf",
              "s.svg": "4a02acb2e44736b0b5a78688f387e46c48857242d818e61eb4ecc09d37d3c70f"}),
            (["--needles", "20000", "--seed", "7", "--trace", "t.svg"],
             {"t.svg": "8805bc539fe6fa9b4c981d0edde517b09c934e9b781146e789230c0f0aa5b719"}),
            # Past a million needles the axis writes powers of ten.
            (["--needles", "2000000", "--seed", "7", "--trace", "t.svg"],
             {"t.svg": "160cfffea82328f15b2f9dafd9f1aa1cec94c4fec168e7b6b69a3741268076a9"}),
        ]
        for arguments, digests in rows:
            with self.subTest(arguments=arguments):
                done = run(*[self.path(a) if a.endswith(".svg") else a for a in arguments],
                           "--quiet")
                self.assertEqual(done.returncode, 0, done.stderr)
                self.assertEqual({name: hashlib.sha256(self.read(name)).hexdigest()
                                  for name in digests}, digests)

    def test_refused_runs_leave_nothing_behind(self):
        listening = socket.socket(socket.AF_UNIX)
        listening.bind(self.path("socket"))
        self.addCleanup(listening.close)
        # A command line that cannot be used is status 2; a file the system will not let be
        # written is status 1, with the system's reason, as for a failure that comes late.
        for arguments, status in ((["--csv", self.path("t"), "--plot", self.path("no/s.png")], 1),
                                  (["--needles", "0", "--csv", self.path("t")], 2),
                                  (["--csv", self.folder.name], 1),
                                  (["--csv", self.path("t"), "--json", "/proc/version"], 1),
                                  (["--csv", "/dev/fd/9"], 1),
                                  (["--json", self.path("socket")], 1)):
            with self.subTest(arguments=arguments):
                done = run("--runs", "5", *arguments)
                self.assertEqual((done.returncode, done.stdout), (status, ""))
                self.assertRegex(done.stderr, r"^buffon-needle-stats: [^\n]*\n$")
        self.assertEqual(os.listdir(self.folder.name), ["socket"])

    def test_a_disk_filling_up_fails_the_run_and_keeps_no_part(self):
        # A 4 KiB file system of the test's own, over a scratch folder, in a mount namespace
        # of its own: the real disks are never touched. Needs root.
        script = 'd=$1; shift; mount -t tmpfs -o size=4k tmpfs "$d" || exit 77; "$@"; ' \
                 's=$?; echo left: $(ls -A "$d"); exit $s'
        # An output that fills it gives its space back at once: a small JSON still fits.
        for option, runs in (("--csv", "20000"), ("--plot", "500")):
            with self.subTest(option=option):
                done = subprocess.run(
                    ["unshare", "-m", "sh", "-c", script, "sh", self.folder.name, PROGRAM,
                     option, self.path("out"), "--runs", runs, "--json", self.path("j")],
                    capture_output=True, text=True, timeout=300)
                if done.returncode == 77 or "unshare" in done.stderr:
                    self.skipTest("no mount namespace here (not root)")
                self.assertEqual(done.returncode, 1)
                self.assertEqual(done.stderr, "buffon-needle-stats: cannot write %s: No space "
                                 "left on device\n" % self.path("out"))
                self.assertTrue(done.stdout.endswith("left: j\n"), done.stdout)


class Promises(unittest.TestCase):
    def test_each_promise_about_files_names_a_test_that_holds_it(self):
        with open(os.path.join(os.path.dirname(__file__), "..", "doc", "files.md")) as file:
            promises = file.read().split("\n- ")[1:]
        self.assertGreater(len(promises), 10)
        for promise in promises:
            named = re.findall(r"`(test_\w+)`", promise)
            self.assertTrue(named, promise)
            self.assertEqual([name for name in named if not hasattr(Files, name)], [], promise)


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
