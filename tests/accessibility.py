#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
"""The window as a screen reader meets it: through the real accessibility bus.

Usage: dbus-run-session -- x_session.sh accessibility.py PROGRAM
"""
import os
import subprocess
import sys
import threading
import time

CAPTION = "Scatter needles to find an approximate value of pi !"
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


def main(program):
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    time.sleep(0.5)
    import pyatspi  # only once the bus is up
    user = subprocess.Popen([program], env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
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
        subprocess.run(["xdotool", "mousemove", "--window", found[0], "223", "516", "click", "1"])
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
    sys.exit(main(sys.argv[1]))
