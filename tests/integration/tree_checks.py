# SPDX-License-Identifier: GPL-3.0-or-later
"""What the checks that read the game through the accessibility bus share: the tally of checks
and a walk over a tree of accessible objects."""
import sys

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
