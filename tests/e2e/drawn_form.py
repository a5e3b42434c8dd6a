# SPDX-License-Identifier: GPL-3.0-or-later
"""The game's form as the page draws it in its canvas, reached through a browser's page. Each
browser's client (browser.py for Chromium, firefox.py, webkit.py) gives a page with:

    navigate(url), reload()       the page's address, loaded again; back once it has begun
    evaluate(expression, wait)    the expression's value in the page (wait: a promise's)
    preload(source)               a script run before the page's own on every load, where the
                                  browser can (None where it cannot: WebKit)
    errors()                      what the page reported as errors so far, in order; uncaught
                                  exceptions and rejections as "exception: ..."
    move(x, y), click(x, y)       the mouse, in the window's CSS pixels
    tap(x, y)                     a finger, where the browser sends real touches
    key(name, shift=False)        a digit, Tab, Enter or Backspace typed
    shift_tab                     False where Shift+Tab cannot be sent as the keyboard does
    screenshot(x, y, w, h)        (width, pixels (r, g, b) row by row) of that part of the window
    viewport(width, height, touch=False)   the window's inside; touch: a phone's or tablet's
    close()"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from layout import FORM  # noqa: E402

FORM_WIDTH, FORM_HEIGHT = FORM


class Form:
    """Points of the form, in the form's own pixels. The form's box on the page is its frame's:
    the canvas keeps the form's own size inside it, scaled down whole where the window is
    smaller, and tells the program its unscaled box."""

    def __init__(self, page):
        self.page = page

    def rect(self):
        return self.page.evaluate(
            "(() => { const r = document.getElementById('frame').getBoundingClientRect();"
            " return {x: r.left, y: r.top, width: r.width, height: r.height}; })()")

    def point(self, at):
        r = self.rect()
        return (r["x"] + at[0] * r["width"] / FORM_WIDTH,
                r["y"] + at[1] * r["height"] / FORM_HEIGHT)

    def move(self, at):
        self.page.move(*self.point(at))

    def click(self, at):
        self.page.click(*self.point(at))

    def tap(self, at):
        self.page.tap(*self.point(at))

    def pixels(self, rect=(0, 0, FORM_WIDTH, FORM_HEIGHT)):
        """(width, rows of (r, g, b)) of rect as the page shows it."""
        r = self.rect()
        sx, sy = r["width"] / FORM_WIDTH, r["height"] / FORM_HEIGHT
        return self.page.screenshot(r["x"] + rect[0] * sx, r["y"] + rect[1] * sy, rect[2] * sx,
                                    rect[3] * sy)
