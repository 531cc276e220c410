#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
"""How long the real window takes over each click on "50,000", the first one included, with
the clicks sent through the X server as a user's are; whether clicks a millisecond apart are
all handled; and whether the process grows over many runs.

Usage: x_session.sh window_clicks.py PROGRAM
Where pulseaudio is installed, a silent sound server of its own runs, so that the cues find an
audio device as on a desktop. Figures only: nothing here fails on timing.
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

CAPTION = "Scatter needles to find an approximate value of pi !"
RUN_50000 = ("411", "516")


def xdotool(*arguments):
    return subprocess.run(["xdotool", *arguments], capture_output=True, text=True).stdout


def memory(pid):
    with open("/proc/%d/status" % pid) as status:
        fields = dict(line.split(":", 1) for line in status)
    return "VmRSS %s, VmHWM %s" % (fields["VmRSS"].strip(), fields["VmHWM"].strip())


def run_times(log):
    with open(log) as lines:
        return [float(line.split()[-2]) for line in lines if "run of 50000 needles" in line]


def main(program):
    work = tempfile.mkdtemp()
    server = None
    if shutil.which("pulseaudio"):
        server = subprocess.Popen(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                   "--load=module-null-sink", "--load=module-native-protocol-unix"],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(1)
    try:
        measure(program, work)
    finally:
        if server:
            server.kill()
        shutil.rmtree(work)


def measure(program, work):
    log = os.path.join(work, "runs.log")
    with open(log, "w") as errors:
        window_program = subprocess.Popen(
            [program], cwd=work, stderr=errors,
            env=dict(os.environ, QT_LOGGING_RULES="buffon.runs.debug=true"))
    window = xdotool("search", "--sync", "--onlyvisible", "--name", "^%s$" % CAPTION).split()[0]
    time.sleep(1)
    shown = memory(window_program.pid)
    xdotool("mousemove", "--window", window, *RUN_50000)
    for click in range(20):
        xdotool("click", "1")
        time.sleep(0.3)
        if click == 0:
            first = memory(window_program.pid)
    times = run_times(log)
    print("50,000-needle runs in the real window, clicks sent through X%s:"
          % (" (with a sound server)" if shutil.which("pulseaudio") else ""))
    print("  first click %.2f ms; the 19 after it: median %.2f ms, max %.2f ms"
          % (times[0], statistics.median(times[1:]), max(times[1:])))

    before = len(run_times(log))
    for _ in range(10):
        xdotool("click", "--repeat", "50", "--delay", "1", "1")
        time.sleep(0.5)
    time.sleep(2)
    print("  500 clicks a millisecond apart: %d runs" % (len(run_times(log)) - before))
    for _ in range(100):
        xdotool("click", "1")
        time.sleep(0.02)
    time.sleep(1)
    print("Memory: when shown %s; after the first run %s; after %d runs %s"
          % (shown, first, len(run_times(log)), memory(window_program.pid)))
    window_program.kill()


if __name__ == "__main__":
    main(os.path.abspath(sys.argv[1]))
