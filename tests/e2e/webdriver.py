# SPDX-License-Identifier: GPL-3.0-or-later
"""What the WebDriver clients (firefox.py over WebDriver BiDi, webkit.py over classic WebDriver)
share: input as W3C WebDriver describes it, the same action sequences in both, points in the
viewport's CSS pixels; and a private X display for the browser."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from vortani_e2e import start_display, stop  # noqa: E402

# WebDriver's code points for the keys the tests type; a digit is itself.
KEYS = {"Tab": "\ue004", "Enter": "\ue007", "Backspace": "\ue003"}
SHIFT = "\ue008"


def key(name, shift=False):
    """One key typed: a digit, or a name in KEYS."""
    value = name if name.isdigit() else KEYS[name]
    steps = [{"type": "keyDown", "value": value}, {"type": "keyUp", "value": value}]
    if shift:
        steps = [{"type": "keyDown", "value": SHIFT}, *steps, {"type": "keyUp", "value": SHIFT}]
    return [{"type": "key", "id": "keyboard", "actions": steps}]


def pointer(x, y, press=True, kind="mouse"):
    """The pointer (a mouse, or a finger: kind "touch") to x, y, and there pressed and let go.
    Classic WebDriver takes whole pixels only."""
    steps = [{"type": "pointerMove", "x": round(x), "y": round(y), "origin": "viewport"}]
    if press:
        steps += [{"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]
    return [{"type": "pointer", "id": kind, "parameters": {"pointerType": kind},
             "actions": steps}]


class OnOwnDisplay:
    """A browser on an Xvfb of its own: subclasses start it in _start(width, height), and stop
    it in close(), then call this close() for the display."""

    def __init__(self, width, height):
        self.display, self.xvfb = start_display("1920x1200x24")
        try:
            self._start(width, height)
        except BaseException:
            self.close()
            raise

    def close(self):
        stop(self.xvfb)
