#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
"""The window as a screen reader meets it: through the real accessibility bus. Each control's
place and size as the bus reports them are held against the window's layout, and the edges of
the board and the buttons are found at those places, scaled, in a screenshot.

Usage: dbus-run-session -- x_session.sh accessibility.py PROGRAM [DEVICE_PIXEL_RATIO]
"""
import os
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "real_window"))
from real_window import Shot  # noqa: E402

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
FACE = (240, 240, 240)
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
    left, top, right, bottom = (round(value * ratio) for value in
                                (box[0], box[1], box[0] + box[2], box[1] + box[3]))
    across, down = (left + right) // 2, (top + bottom) // 2
    found = []
    for ring, (shaded, lit) in enumerate(inner_rings):
        for step in range(int(ratio)):
            inset = ring * int(ratio) + step
            found += [shaded(shot.pixel(left + inset, down)),
                      shaded(shot.pixel(across, top + inset)),
                      lit(shot.pixel(right - 1 - inset, down)),
                      lit(shot.pixel(across, bottom - 1 - inset))]
    return all(found) and shot.pixel(left - 1, down) == shot.pixel(right, down) == \
        shot.pixel(across, top - 1) == shot.pixel(across, bottom) == outside


def layout_holds(window, ratio, window_id):
    """Each control where the layout puts it, on the bus and in the screenshot."""
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
    shot = Shot(window_id, "layout-%s" % ratio)
    check(shot.width == round(570 * ratio), "the window is %s times as wide" % ratio)
    is_colour = lambda wanted: lambda colour: colour == wanted
    check(edges(shot, LAYOUT[("Needle board", True)], ratio, FACE,
                [(is_colour((160,) * 3), is_colour((255,) * 3)),
                 (is_colour((105,) * 3), is_colour((227,) * 3))]),
          "the board's sunken edge, two pixels of the layout wide")
    outline = lambda colour: max(colour) < 200
    buttons = [box for (name, _), box in LAYOUT.items()
               if name.startswith("Throw") or name in ("Init", "Exit")]
    check(all(edges(shot, box, ratio, FACE, [(outline, outline)]) for box in buttons),
          "every button's edge where its place and size put it")


def main(program, ratio):
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    time.sleep(0.5)
    import pyatspi  # only once the bus is up
    user = subprocess.Popen([program], env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                                                 QT_SCALE_FACTOR=str(ratio)))
    try:
        # The controls reach the bus a moment after the window shows.
        window = None
        for _ in range(100):
            apps = [app for app in pyatspi.Registry.getDesktop(0) if app and app.name == "buffon-needle"]
            window = apps[0][0] if apps and apps[0].childCount else None
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

        announced = []
        pyatspi.Registry.registerEventListener(
            lambda event: announced.append(event.source.name)
            if event.type.startswith("object:state-changed:showing") and event.detail1
            and event.source.getRoleName() == "notification" else None,
            "object:state-changed:showing",
            # Followed, the name changes keep the names this side of the bus up to date.
            "object:property-change:accessible-name")
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % CAPTION],
                               capture_output=True, text=True).stdout.split()
        layout_holds(window, ratio, found[0])
        subprocess.run(["xdotool", "mousemove", "--window", found[0], str(round(223 * ratio)),
                        str(round(516 * ratio)), "click", "1"])
        threading.Timer(3, pyatspi.Registry.stop).start()
        pyatspi.Registry.start()
        count, estimate = results[1].name, results[0].name
        check(count.lstrip("-").isdigit() and announced ==
              ["Needles intersecting parallel lines: %s. Estimate of pi: %s." % (count, estimate)],
              "the end of a run is announced with its count and estimate %s" % announced)
    finally:
        user.kill()
        bus.terminate()
        bus.wait()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], float(sys.argv[2]) if len(sys.argv) > 2 else 1))
