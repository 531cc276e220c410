#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
"""The lesson modes in the real program on a real X server, read through the accessibility bus as
a screen reader reads them and driven through it and with xdotool: the textbook's count is the
companion's for the reseed value the mode line shows, and the window's own run reseeded from it is
the companion's window run; needles at a pace show counts that grow and a stop that keeps them,
and runs that add up show the sum; at twice the size each control lies at twice its place.

Usage: dbus-run-session -- x_session.sh lessons_window.py PROGRAM COMPANION [SHOTS_FOLDER]
       dbus-run-session -- lessons_window.py PROGRAM COMPANION wayland
With a folder, screenshots of the window in each mode are left there. On Wayland, a headless
compositor of the test's own, the run is stopped by Init, the one key a client cannot be sent.
"""
import os
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "real_window"))
from accessibility import CAPTION, LAYOUT, check, failures, press, start_compositor, tree  # noqa
from real_window import Shot, activate, poll, run  # noqa: E402

MODES = "The modes in use"
COUNT = "How many"


class Window:
    def __init__(self, program, *options):
        import pyatspi
        environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.user = subprocess.Popen([program, *options], env=environment)

        def on_bus():
            apps = [app for app in pyatspi.Registry.getDesktop(0)
                    if app and app.name == "buffon-needle" and app.childCount]
            return apps and apps[0].childCount and apps[0][0].childCount >= 17 and apps[0][0]
        self.node = poll(10, on_bus)
        self.id = "WAYLAND_DISPLAY" not in os.environ and poll(10, lambda: (run(
            "xdotool", "search", "--onlyvisible", "--name", "^%s$" % CAPTION) or b"").split())[0].decode()

    def text(self, description):
        """The name of the control whose description starts so: a label's text."""
        found = [node.name for node in tree(self.node) if node.description.startswith(description)]
        return found[0] if found else None

    def wait(self, seconds):
        """Lets the bus's events through for a while, so that the names read are the latest."""
        import pyatspi
        threading.Timer(seconds, pyatspi.Registry.stop).start()
        pyatspi.Registry.start()

    def close(self):
        self.user.kill()
        self.user.wait()


def companion_row(companion, rule, needles, reseed):
    """hits and count of the companion's run reseeded from the value."""
    done = subprocess.run([companion, "--rule", rule, "--needles", str(needles), "--reseed",
                           reseed, "--csv", "-", "--quiet"], capture_output=True, text=True)
    return [int(value) for value in done.stdout.splitlines()[1].split(",")[1:3]]


def shoot(window, shots, name):
    if shots and window.id:
        ppm = run("import", "-silent", "-window", window.id, "-depth", "8", "ppm:-")
        subprocess.run(["convert", "ppm:-", os.path.join(shots, name + ".png")], input=ppm)


def named_runs(program, companion, shots):
    textbook = Window(program, "--textbook", "--show-reseed")
    press(textbook.node, "Throw 1,000 needles")
    textbook.wait(2)
    line, count = textbook.text(MODES), textbook.text(COUNT)
    reseed = line.split()[-1]
    check(line.startswith("Textbook needles · reseeded from "), "the mode line: %s" % line)
    check(int(count) == companion_row(companion, "geometric", 1000, reseed)[0],
          "the textbook's count %s is the companion's for %s" % (count, reseed))
    shoot(textbook, shots, "textbook-1000-reseeded-from-%s" % reseed)
    textbook.close()
    design = Window(program, "--reseed", reseed)
    press(design.node, "Throw 1,000 needles")
    design.wait(2)
    count = design.text(COUNT)
    check(int(count) == companion_row(companion, "window", 1000, reseed)[1],
          "the window's own run reseeded from %s counts the companion's %s" % (reseed, count))
    shoot(design, shots, "window-1000-reseeded-from-%s" % reseed)
    design.close()


def paced_runs(program, companion, shots):
    window = Window(program, "--pace", "50", "--add-up", "--show-reseed")
    press(window.node, "Throw 1,000 needles")
    seen = []
    for _ in range(4):
        window.wait(0.5)
        seen.append(int(window.text(COUNT)))
    check(seen == sorted(seen) and 0 < seen[0] < seen[-1] < 1000 - 10,
          "counts that grow as the needles fall: %s" % seen)
    shoot(window, shots, "pace-50-halfway")
    if window.id:
        check(activate(window.id) and run("xdotool", "key", "Escape") is not None, "Esc typed")
    else:
        press(window.node, "Init")
    # A count cleared by Init reads as its caption, which labels it.
    count = lambda: int(window.text(COUNT)) if window.text(COUNT).isdigit() else 0
    window.wait(0.5)
    stopped = count()
    window.wait(0.5)
    check(count() == stopped and stopped >= (seen[-1] if window.id else 0),
          "the run stopped at %s keeps it: then %s" % (stopped, count()))
    added = []
    for _ in range(2):
        press(window.node, "Throw 10 needles")
        window.wait(1.5)
        added.append(companion_row(companion, "window", 10, window.text(MODES).split()[-1])[1])
    check(count() == stopped + sum(added),
          "runs that add up: %s + %s is %s" % (stopped, added, count()))
    window.close()


def twice_the_size(program, shots):
    import pyatspi
    window = Window(program, "--scale", "2")
    window.wait(0.5)
    origin = window.node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    placed = {}
    for node in list(tree(window.node))[1:]:
        extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        placed[(node.name, bool(node.description))] = \
            (extents.x - origin.x, extents.y - origin.y, extents.width, extents.height)
    expected = {key: tuple(2 * value for value in box) for key, box in LAYOUT.items()}
    expected[("2×", True)] = (16, 1238, 960, 32)
    misplaced = {key: (placed.get(key), box) for key, box in expected.items()
                 if placed.get(key) != box}
    check(not misplaced, "every control at twice its place %s" % misplaced)
    check((origin.width, origin.height) == (1140, 1272), "the window twice its size")
    if window.id:
        check(Shot(window.id).pixel(2 * 26 + 20, 2 * (74 + 80)) == (0, 0, 0),
              "the board ruled at twice the size")
    shoot(window, shots, "scale-2")
    window.close()


def main(program, companion, shots):
    compositor = start_compositor(1) if shots == "wayland" else None
    shots = None if compositor else shots
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    time.sleep(0.5)
    try:
        named_runs(program, companion, shots)
        paced_runs(program, companion, shots)
        twice_the_size(program, shots)
    finally:
        for started in (bus, compositor):
            if started:
                started.terminate()
                started.wait()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2], sys.argv[3] if len(sys.argv) > 3 else None))
