# SPDX-License-Identifier: GPL-3.0-or-later
"""What the checks that read the game through the accessibility bus share: the tally of checks,
a walk over a tree of accessible objects, and finding the game and its controls there."""
import sys
import time

import pyatspi
from gi.repository import GLib

failures = []
passes = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    (passes if condition else failures).append(what)


def finish():
    print(f"{len(passes)} passed, {len(failures)} failed")
    sys.exit(1 if failures else 0)


def nodes(root):
    """Every object below root, root included; objects that go away meanwhile are skipped."""
    stack = [root]
    while stack:
        node = stack.pop()
        if node is None:
            continue
        yield node
        try:
            stack.extend(node[i] for i in range(node.childCount))
        except Exception:
            pass


def wait(seconds):
    """Lets the accessibility events arrive while waiting."""
    end = time.time() + seconds
    context = GLib.MainContext.default()
    while time.time() < end:
        while context.iteration(False):
            pass
        time.sleep(0.02)


def find_app():
    """The running game on the accessibility bus, waited for a while."""
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name in ("vortani", "Vortani Puzzle"):
                return app
        time.sleep(0.1)
    return None


def by_name(root, name, role=None):
    for node in nodes(root):
        if node.name == name and (role is None or node.getRole() == role):
            return node
    return None


def showing(node):
    return node is not None and node.getState().contains(pyatspi.STATE_SHOWING)
