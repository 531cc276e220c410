#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
"""The window as a screen reader meets it, and driven through the real accessibility bus, on X
or natively on Wayland, where nothing else reaches it: a headless compositor of the test's own
hands the window neither input nor the focus. Each control's place and size as the bus reports
them are held against the window's layout, the board and the buttons' edges are found at those
places in a screenshot of the screen, and a run, Init and Exit are judged by their pixels.

Usage: dbus-run-session -- x_session.sh accessibility.py PROGRAM [RATIO]
       dbus-run-session -- accessibility.py PROGRAM RATIO wayland|wayland-dark
RATIO is the screen's device pixel ratio: QT_SCALE_FACTOR on X, the output's scale on Wayland.
"""
import os
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "real_window"))
from real_window import BLACK, FACE, WHITE, Shot, fault, poll, scaled  # noqa: E402

CAPTION = "Scatter needles to find an approximate value of pi !"
# The window's layout: left, top, width and height in pixels of each control, found on the bus
# by its name and whether it has a description.
LAYOUT = {
    ("pi ＝", False): (232, 576, 65, 25),  # Label1
    ("pi ＝", True): (280, 576, 209, 25),  # Label2
    ("Number of needles intersecting parallel lines ＝", False): (8, 552, 369, 17),  # Label3
    ("Number of needles intersecting parallel lines ＝", True): (376, 552, 105, 17),  # Label4
    ("Needles that intersect parallel lines are displayed in blue.", False): (24, 8, 513, 25),
    ("© 2026 Buffon's Needle", False): (312, 600, 185, 17),  # Label6
    ("pi = (Total number of thrown needles) ÷ (Number of needles intersecting parallel lines)",
     False): (24, 24, 513, 33),  # Label7
    ("Needle board", True): (24, 72, 527, 415),  # Picture1
    ("Throw 10 needles", True): (24, 496, 66, 41),  # Command1
    ("Throw 100 needles", True): (104, 496, 72, 41),  # Command2
    ("Throw 1,000 needles", True): (184, 496, 79, 41),  # Command3
    ("Throw 10,000 needles", True): (272, 496, 86, 41),  # Command4
    ("Exit", True): (64, 584, 73, 33),  # Command5
    ("Emblem", True): (496, 584, 42, 41),  # Picture2
    ("Init", True): (464, 496, 86, 41),  # Command6
    ("Throw 50,000 needles", True): (368, 496, 86, 41),  # Command7
}
failures = []


def check(condition, message):
    print(("ok: " if condition else "FAIL: ") + message)
    if not condition:
        failures.append(message)


def tree(node):
    yield node
    for child in node:
        yield from tree(child)


def relations(node, kind):
    return [relation.getTarget(i).name for relation in node.getRelationSet()
            if relation.getRelationType() == kind for i in range(relation.getNTargets())]


def edges(shot, box, ratio, outside, inner_rings):
    """Where each side of the box crosses its middle: the device pixels just outside it have
    the colour `outside`, and the ones inside its edge the colours of `inner_rings`, one ring of
    them to each of the layout's pixels, top and left first, then bottom and right."""
    left, top, right, bottom = (scaled(value, ratio) for value in
                                (box[0], box[1], box[0] + box[2], box[1] + box[3]))
    across, down = (left + right) // 2, (top + bottom) // 2
    found = []
    for ring, (shaded, lit) in enumerate(inner_rings):
        inset = int((ring + 0.5) * ratio)  # the ring's middle
        found += [shaded(shot.pixel(left + inset, down)), shaded(shot.pixel(across, top + inset)),
                  lit(shot.pixel(right - 1 - inset, down)),
                  lit(shot.pixel(across, bottom - 1 - inset))]
    return all(found) and shot.pixel(left - 1, down) == shot.pixel(right, down) == \
        shot.pixel(across, top - 1) == shot.pixel(across, bottom) == outside


def layout_holds(window, ratio, shot):
    """Each control where the layout puts it, on the bus and in the shot of the window."""
    import pyatspi
    origin = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    placed = {}
    for node in list(tree(window))[1:]:
        if node.getRoleName() != "notification":
            extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            placed[(node.name, bool(node.description))] = \
                (extents.x - origin.x, extents.y - origin.y, extents.width, extents.height)
    misplaced = {key: (placed.get(key), box) for key, box in LAYOUT.items()
                 if placed.get(key) != box}
    check(not misplaced and len(placed) == len(LAYOUT),
          "every control at its place in the layout %s" % misplaced)
    is_colour = lambda wanted: lambda colour: colour == wanted
    check(edges(shot, LAYOUT[("Needle board", True)], ratio, FACE,
                [(is_colour((160,) * 3), is_colour((255,) * 3)),
                 (is_colour((105,) * 3), is_colour((227,) * 3))]),
          "the board's sunken edge, two pixels of the layout wide")
    # Qt's style draws the buttons, each edge on the nearest device pixel where the ratio
    # is not whole.
    outline = lambda colour: max(colour) < 200
    buttons = [box for (name, _), box in LAYOUT.items()
               if name.startswith("Throw") or name in ("Init", "Exit")]
    check(ratio != int(ratio) or
          all(edges(shot, box, ratio, FACE, [(outline, outline)]) for box in buttons),
          "every button's edge where its place and size put it")


def start_compositor(ratio):
    """A headless Wayland compositor that renders, with an output of the given scale."""
    runtime = tempfile.mkdtemp()
    os.environ.update(XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY="wayland-test",
                      QT_QPA_PLATFORM="wayland")
    os.environ.pop("DISPLAY", None)
    compositor = subprocess.Popen(
        ["weston", "--backend=headless-backend.so", "--use-pixman", "--socket=wayland-test",
         "--idle-time=0", "--width=1280", "--height=1024", "--scale=%d" % ratio, "--no-config",
         "--debug"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    poll(5, lambda: os.path.exists(os.path.join(runtime, "wayland-test")))
    return compositor


def screen(where, name, ratio):
    """Shots of the whole screen, where it is a Wayland compositor's output, and of the window's
    client area: on X the window's own; on Wayland found in the output by the first of the
    board's black lines as the fresh window shows them, then where it was found last."""
    if not isinstance(where, subprocess.Popen):
        return None, Shot(where, name)
    folder = tempfile.mkdtemp()
    subprocess.run(["weston-screenshooter"], cwd=folder, timeout=10)
    files = [os.path.join(folder, file) for file in os.listdir(folder)]
    whole = Shot(None, ppm=subprocess.run(["convert"] + files[:1] + ["-depth", "8", "ppm:-"],
                                          stdout=subprocess.PIPE).stdout)
    # Found by its white end, so that a dark screen with no window yet costs one pass, not a
    # search at each of its bytes.
    line = bytes(BLACK) * int(480 * ratio) + bytes(WHITE)
    at = whole.data.find(line)
    while at >= 0 and (at % 3 or whole.data[at - 3:at] == bytes(BLACK)):
        at = whole.data.find(line, at + 1)
    if at >= 0:
        x, y = at // 3 % whole.width, at // 3 // whole.width
        screen.area = (x - scaled(26, ratio), y - int(80 * ratio) - scaled(74, ratio),
                       scaled(570, ratio), scaled(636, ratio))
    return whole, whole.cut(screen.area, name) if screen.area else None


screen.area = None


def settled(where, name, ratio, after_run):
    """Shots of the screen and the window once the window shows a state without fault, or the
    last ones when time is up, and the fault."""
    last = []

    def attempt():
        last[:] = screen(where, "%s-%s" % (name, ratio), ratio)
        last.append(fault(last[1], after_run, ratio) if last[1] else "no window found")
        return last[2] is None
    # A busy machine's compositor shows a fresh window seconds late; a settled one costs one shot.
    poll(20, attempt)
    return (last[0] or last[1], last[1], last[2])


def press(window, name):
    """Presses the button, as a screen reader does."""
    buttons = [node for node in tree(window) if node.name == name]
    return bool(buttons) and buttons[0].queryAction().doAction(0)


def changed_pixels(before, after):
    """The pixels of `after` that differ from `before`, in the rows where any do."""
    row = 3 * after.width
    return [after.pixel(x, y) for y in range(after.height)
            if before.data[y * row:(y + 1) * row] != after.data[y * row:(y + 1) * row]
            for x in range(after.width) if before.pixel(x, y) != after.pixel(x, y)]


def main(program, ratio, desktop):
    compositor = start_compositor(ratio) if desktop.startswith("wayland") else None
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    time.sleep(0.5)
    import pyatspi  # only once the bus is up
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    if not compositor:
        environment.update(QT_SCALE_FACTOR=str(ratio))
    if desktop.endswith("dark"):
        environment.update(GTK_THEME="Adwaita:dark", QT_QPA_PLATFORMTHEME="gtk3")
    user = subprocess.Popen([program], env=environment)
    try:
        # The controls reach the bus a moment after the window shows; under GTK's theme, GTK
        # puts an empty application of the same name there too.
        window = None
        for _ in range(100):
            apps = [app for app in pyatspi.Registry.getDesktop(0)
                    if app and app.name == "buffon-needle" and app.childCount]
            window = apps[0][0] if apps else None
            if window and window.childCount >= 17:
                break
            time.sleep(0.1)
        check(window is not None and window.name == CAPTION, "the window is on the bus")
        controls = list(tree(window))[1:]
        by_name = {node.name: node for node in controls}
        nameless = [node.getRoleName() for node in controls
                    if not node.name and node.getRoleName() != "notification"]
        check(not nameless, "every control has a name %s" % nameless)
        buttons = [node for node in controls if node.getRoleName() == "push button"]
        check(len(buttons) == 7 and all(node.description for node in buttons),
              "every button says what it does")
        described = {node.name: node.description for node in buttons}
        check("less" not in described.get("Throw 100 needles", "less") and
              "less 10," in described.get("Throw 1,000 needles", ""), "the deductions described")
        runs = [node.name for node in buttons if "needles" in node.name]
        check(runs == ["Throw 10 needles", "Throw 100 needles", "Throw 1,000 needles",
                       "Throw 10,000 needles", "Throw 50,000 needles"], "run buttons %s" % runs)
        check("Needle board" in by_name and "Emblem" in by_name, "the pictures are named")
        roles = [node.getRoleName() for node in [window] + controls]
        check(roles.count("notification") == 1 and roles.count("push button") == 7,
              "one notification, seven buttons: %s" % sorted(set(roles)))
        results = [node for node in controls if node.description.startswith(("The estimate",
                                                                              "How many"))]
        check([relations(node, pyatspi.RELATION_LABELLED_BY) for node in results] ==
              [["pi ＝"], ["Number of needles intersecting parallel lines ＝"]],
              "each result is labelled by its caption")

        where = compositor or subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", "^%s$" % CAPTION],
            capture_output=True, text=True).stdout.split()[0]
        # Unfocused on Wayland, the window shows its board ruled all the same.
        _, shot, problem = settled(where, desktop + "-start", ratio, False)
        check(not problem, "the window shows at its size, with black lines and empty labels "
              "(%s)" % problem)
        if shot:
            layout_holds(window, ratio, shot)

        announced = []
        pyatspi.Registry.registerEventListener(
            lambda event: announced.append(event.source.name)
            if event.type.startswith("object:state-changed:showing") and event.detail1
            and event.source.getRoleName() == "notification" else None,
            "object:state-changed:showing",
            # Followed, the name changes keep the names this side of the bus up to date.
            "object:property-change:accessible-name")
        press(window, "Throw 1,000 needles")
        threading.Timer(3, pyatspi.Registry.stop).start()
        pyatspi.Registry.start()
        count, estimate = results[1].name, results[0].name
        check(count.lstrip("-").isdigit() and announced ==
              ["Needles intersecting parallel lines: %s. Estimate of pi: %s." % (count, estimate)],
              "the end of a run is announced with its count and estimate %s" % announced)
        # Nothing rules the run's red lines black, where no focus comes and goes.
        problem = settled(where, desktop + "-after-1000", ratio, True)[2]
        check(not problem, "the run shows on the board (%s)" % problem)
        # Each run is announced, not only the first.
        announced.clear()
        press(window, "Throw 100 needles")
        threading.Timer(2, pyatspi.Registry.stop).start()
        pyatspi.Registry.start()
        count, estimate = results[1].name, results[0].name
        check(announced == ["Needles intersecting parallel lines: %s. Estimate of pi: %s." %
                            (count, estimate)],
              "a second run is announced as the first %s" % announced)
        press(window, "Init")
        time.sleep(0.5)  # import holds the X server while it shoots: let the click through first
        before, _, problem = settled(where, desktop + "-after-init", ratio, False)
        check(not problem, "Init clears the board and the labels (%s)" % problem)

        press(window, "Exit")
        # A window can leave the bus while it is read: an empty node.
        box = poll(5, lambda: [node for app in pyatspi.Registry.getDesktop(0) if app
                               for node in app
                               if node and node.name == "Scatter needles to find pi !"])
        if compositor and before:
            def box_shows():
                after = screen(where, None, ratio)[0]
                after.cut((0, 0, after.width, after.height), "%s-exit-box-%s" % (desktop, ratio))
                changed = changed_pixels(before, after)
                # The compositor's own title bars, the box's and the window's gone inactive, take
                # up to two thirds of what changes; a box of another face has next to none.
                return changed and 4 * changed.count(FACE) > len(changed)
            # A busy compositor may show the box a while after it is on the bus.
            check(poll(20, box_shows), "the exit box has the window's face")
        check(box and press(box[0], "OK") and user.wait(5) == 0, "its OK ends the program")
        if compositor:
            user = subprocess.Popen([program], env=environment)
            settled(where, desktop + "-again", ratio, False)
            compositor.terminate()
            check(user.wait(5) == 1, "the compositor going away ends the program, status 1")
    finally:
        user.kill()
        bus.terminate()
        bus.wait()
        if compositor:
            compositor.kill()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], float(sys.argv[2]) if len(sys.argv) > 2 else 1,
                  sys.argv[3] if len(sys.argv) > 3 else "x11"))
