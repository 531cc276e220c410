#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
"""The real program in a real X session, started as a user would, driven with xdotool and
judged by screenshots taken with ImageMagick's import.

Usage: x_session.sh [--no-window-manager] real_window.py PROGRAM [dark|unfocused]
The steps run in order on one instance of the program, each from where the previous left it;
with "dark" the desktop's theme is GNOME's dark one; "unfocused" only checks the start, for a
session where nothing gives the window the focus. Screenshots of the steps are left in the
working directory for whoever looks into a failure.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

CAPTION = "Scatter needles to find an approximate value of pi !"
BOX_TITLE = "Scatter needles to find pi !"
BOARD = (26, 74, 523, 411)  # the white inside of the board's edge, in client coordinates
RULED_WIDTH = 480  # lines are ruled, and needles fall, only left of this board column
RUN_1000, RUN_50000, INIT, EXIT = (223, 516), (411, 516), (507, 516), (100, 600)
HIT_COUNT, ESTIMATE = (376, 552, 105, 17), (280, 576, 209, 25)
WHITE, BLACK, FACE = (255, 255, 255), (0, 0, 0), (240, 240, 240)
RED, GREEN, BLUE = (255, 0, 0), (0, 255, 0), (0, 0, 255)


def run(*command):
    """A tool's standard output, or None if it failed."""
    try:
        done = subprocess.run(command, stdout=subprocess.PIPE, timeout=10)
    except subprocess.TimeoutExpired:
        return None
    return done.stdout if done.returncode == 0 else None


def poll(timeout, attempt):
    """attempt() every tenth of a second until it gives something true or time runs out."""
    deadline = time.monotonic() + timeout
    while True:
        result = attempt()
        if result or time.monotonic() > deadline:
            return result
        time.sleep(0.1)


def find_window(title, other_than=None, timeout=10):
    """The visible window titled exactly `title`; xdotool's own match ignores case."""
    def attempt():
        found = run("xdotool", "search", "--onlyvisible", "--name", "^%s$" % title) or b""
        for window in found.decode().split():
            name = run("xdotool", "getwindowname", window) or b""
            if window != other_than and name.decode().rstrip("\n") == title:
                return window
        return None
    return poll(timeout, attempt)


def activate(window):
    """Gives the window the focus; a window just mapped may take a moment to accept it."""
    def attempt():
        active = run("xdotool", "windowactivate", "--sync", window, "getactivewindow") or b""
        return active.strip() == window.encode()
    return poll(5, attempt)


def click(window, point):
    return run("xdotool", "mousemove", "--window", window, str(point[0]), str(point[1]),
               "click", "1") is not None


class Shot:
    """A screenshot of a window's client area, 8 bits a channel; or of the whole screen, with
    the window "root"; or the image `ppm` holds."""

    def __init__(self, window, name=None, ppm=None):
        if ppm is None:
            ppm = run("import", "-silent", "-window", window, "-depth", "8", "ppm:-") or b""
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm)
        self.width, self.height = (int(header[1]), int(header[2])) if header else (0, 0)
        self.data = ppm[header.end():] if header else b""
        if name:
            with open("real-window-%s.ppm" % name, "wb") as saved:
                saved.write(ppm)

    def pixel(self, x, y):
        """The colour at (x, y); black outside the shot, where nothing of the window shows."""
        if not (0 <= x < self.width and 0 <= y < len(self.data) // (3 * self.width)):
            return (0, 0, 0)
        at = 3 * (y * self.width + x)
        return tuple(self.data[at:at + 3])

    def count(self, area, wanted):
        left, top, width, height = area
        return sum(wanted(x, y, self.pixel(left + x, top + y))
                   for y in range(height) for x in range(width))

    def crop(self, area):
        left, top, width, height = area
        return [self.pixel(left + x, top + y) for y in range(height) for x in range(width)]

    def cut(self, area, name=None):
        """The area as a shot of its own."""
        left, top, width, height = area
        rows = [self.data[3 * ((top + y) * self.width + left):][:3 * width] for y in range(height)]
        return Shot(None, name, b"P6 %d %d 255\n" % (width, height) + b"".join(rows))


def scaled(value, ratio):
    """Where a place of the layout lies on a screen of that device pixel ratio, as Qt rounds."""
    return int(value * ratio + 0.5)


def fault(shot, after_run, ratio=1):
    """Why the window is not as it should be when fresh or after a run; None if it is. At a
    device pixel ratio the window has that many pixels to each of the layout's, and the board's
    lines and needles are one of them wide: not one needle pixel in ten has the three
    neighbours of a square, as the layout's pixels blown up to the screen's would."""
    def at(value):
        return scaled(value, ratio)
    if (shot.width, shot.height) != (at(570), at(636)):
        return "no screenshot of the whole window"
    left, top = at(BOARD[0]), at(BOARD[1])
    board = (left, top, at(BOARD[0] + BOARD[2]) - left, at(BOARD[1] + BOARD[3]) - top)
    ruled, lines = int(RULED_WIDTH * ratio), [int(y * ratio) for y in range(80, 401, 80)]

    def wrong(x, y, colour):
        line = x < ruled and y in lines
        needle = after_run and x < ruled and colour in (BLUE, GREEN)
        return not needle and colour != ((RED if after_run else BLACK) if line else WHITE)
    bad = shot.count(board, wrong)
    if bad:
        return "%d board pixels are wrong" % bad
    for label in (HIT_COUNT, ESTIMATE):
        area = [at(value) for value in label]
        ink = shot.count(area, lambda x, y, c: max(c) < 128 if after_run else c != FACE)
        if bool(ink) != after_run:
            return "the label at %d,%d is wrong" % label[:2]
    if after_run:
        for colour in (BLUE, GREEN):
            if not shot.count(board, lambda x, y, c: c == colour):
                return "no needle drawn in %s" % (colour,)
        for y in lines:
            row = (left, top + y, ruled, 1)
            if 2 * shot.count(row, lambda x, y, c: c == RED) <= ruled:
                return "board row %d is not a red line" % y
        squares = shot.count(board, lambda x, y, c: c in (BLUE, GREEN) and c ==
                             shot.pixel(left + x + 1, top + y) ==
                             shot.pixel(left + x, top + y + 1) ==
                             shot.pixel(left + x + 1, top + y + 1))
        if 10 * squares > shot.count(board, lambda x, y, c: c in (BLUE, GREEN)):
            return "%d needle pixels in squares" % squares
    return None


def settle(window, name, after_run, ratio=1):
    """Waits until the window shows a state without fault and stops changing."""
    previous = [None]

    def attempt():
        shot = Shot(window)
        settled = previous[0] is not None and shot.data == previous[0].data and \
            fault(shot, after_run, ratio) is None
        previous[0] = shot
        return settled
    poll(15, attempt)
    return fault(Shot(window, name), after_run, ratio)


def check(condition, message):
    if not condition:
        print("FAIL:", message)
        sys.exit(1)
    print("ok:", message)


def clicks_at_speed_are_all_handled(program, work):
    """The program counts its runs on stderr when asked; fifty clicks a millisecond apart,
    ten times over, while each run keeps it busy for several milliseconds."""
    log = os.path.join(work, "runs.log")
    with open(log, "w") as runs:
        busy = subprocess.Popen([program], cwd=work, stderr=runs,
                                env=dict(os.environ, QT_LOGGING_RULES="buffon.runs.debug=true"))
    window = find_window(CAPTION)
    check(window and click(window, RUN_50000), "the program counts its runs")
    time.sleep(0.5)
    for _ in range(10):
        run("xdotool", "click", "--repeat", "50", "--delay", "1", "1")
        time.sleep(0.5)

    def count():
        with open(log) as runs:
            return sum("run of 50000 needles" in line for line in runs)
    # A slow build takes a while over 500 runs: wait while they keep coming.
    counted = [-1]
    while count() != counted[0] and count() < 501:
        counted[0] = count()
        time.sleep(3)
    check(count() == 501, "500 clicks a millisecond apart give 500 runs (%d)" % (count() - 1))
    busy.kill()
    busy.wait()


def cues_reach_a_sound_server(program, work):
    """With a sound server (a silent one of the session's own), a run's cue plays; a cue file
    that is no wave file stays silent with one line."""
    server = subprocess.Popen(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                               "--load=module-null-sink", "--load=module-native-protocol-unix"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        check(poll(5, lambda: run("pactl", "info") is not None), "a sound server runs")
        streams = lambda: len((run("pactl", "list", "short", "sink-inputs") or b"").splitlines())
        for cue, sounds in ((None, True), (b"", False)):
            folder = tempfile.mkdtemp(dir=work)
            if cue is not None:
                with open(os.path.join(folder, "pinpon.wav"), "wb") as file:
                    file.write(cue)
            with open(os.path.join(folder, "stderr"), "w") as errors:
                user = subprocess.Popen([program], cwd=folder, stderr=errors)
            window = find_window(CAPTION)
            time.sleep(1)
            click(window, RUN_1000)
            played = poll(1, lambda: streams() > 0)
            user.kill()
            user.wait()
            with open(os.path.join(folder, "stderr")) as errors:
                said = errors.read().splitlines()
            check(bool(played) == sounds and len(said) == (0 if sounds else 1),
                  "the cue %s %s" % ("sounds" if sounds else "of an empty file stays silent", said))
    finally:
        server.kill()
        server.wait()


def forced_close_ends_the_program(program, work):
    """Destroyed behind Qt's back, the window ends the program; so does its exit box, answered
    as its one OK answers it. Started with stdout and stderr closed, the program runs as ever:
    no line of its own reaches the display's connection."""
    for name, streams, destroyed in (("the window", "", "window"),
                                     ("the exit box", "", "box"),
                                     ("the exit box, streams closed", ">&- 2>&-", None)):
        user = subprocess.Popen(["sh", "-c", 'exec "$0" ' + streams, program], cwd=work)
        window = find_window(CAPTION)
        box = None
        if streams:
            # Long enough for the line that no sound output was found; then a run shows.
            time.sleep(2)
            check(click(window, RUN_1000) and settle(window, None, True) is None,
                  "%s: a run shows" % name)
            written = [os.readlink("/proc/%d/fd/%d" % (user.pid, fd)) for fd in (1, 2)]
            check(not any(where.startswith("socket:") for where in written),
                  "%s: stdout and stderr lead to no connection %s" % (name, written))
        if destroyed == "box" or streams:
            time.sleep(0.5)
            box = click(window, EXIT) and find_window(BOX_TITLE, other_than=window)
        if destroyed:
            run("xdotool", "windowclose", box if destroyed == "box" else window)
        elif box:
            activate(box)
            run("xdotool", "key", "Return")
        try:
            status = user.wait(5)
        except subprocess.TimeoutExpired:
            user.kill()
            user.wait()
            status = None
        check(status == 0 and (box or destroyed == "window"),
              "%s: the program ends with status 0 (%s)" % (name, status))


def main(program, theme):
    work = tempfile.mkdtemp()
    if theme == "dark":
        os.environ.update(GTK_THEME="Adwaita:dark", QT_QPA_PLATFORMTHEME="gtk3")
    # Restored by a session manager in the light theme, started afresh in the dark one.
    session = ["-session", "10d4e8f2c1a3b5"] if theme == "" else []
    user = subprocess.Popen([program] + session, cwd=work)
    window = find_window(CAPTION)
    check(window, "the window shows")
    check(settle(window, "01-start", False) is None, "it starts with black lines, empty labels")
    if theme == "unfocused":
        user.kill()
        user.wait()
        return

    check(click(window, RUN_1000), "a click on 1,000")
    check(settle(window, "02-after-1000", True) is None, "the run rules red and draws needles")
    after_run = Shot(window)

    other = subprocess.Popen([program], cwd=work)
    other_window = find_window(CAPTION, other_than=window)
    check(other_window and activate(other_window) and activate(window),
          "another program takes the focus and gives it back")

    def changed():
        shot = Shot(window)
        return any(shot.crop(area) != after_run.crop(area)
                   for area in (BOARD, HIT_COUNT, ESTIMATE))
    check(not poll(1, changed), "coming back from another program keeps board and labels")
    other.kill()
    other.wait()

    check(click(window, INIT) and settle(window, "03-after-init", False) is None,
          "Init clears the board and the labels")

    check(click(window, EXIT), "a click on Exit")
    box = find_window(BOX_TITLE, other_than=window)
    check(box, "the exit box shows")
    shot = Shot(box, "04-exit-box")
    face = shot.count((0, 0, shot.width, shot.height), lambda x, y, c: c == FACE)
    check(2 * face > shot.width * shot.height, "the exit box has the window's light face")
    time.sleep(0.3)
    check(user.poll() is None and activate(box), "the program waits for the answer")
    run("xdotool", "key", "alt+o")
    check(not poll(0.5, lambda: user.poll() is not None), "its OK has no access key: Alt+O")
    run("xdotool", "key", "Return")
    try:
        status = user.wait(10)
    except subprocess.TimeoutExpired:
        status = None
    check(status == 0, "the answer ends the program with status 0")
    if theme != "dark":
        forced_close_ends_the_program(program, work)
        clicks_at_speed_are_all_handled(program, work)
        cues_reach_a_sound_server(program, work)
    shutil.rmtree(work)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2] if len(sys.argv) > 2 else "")
