# SPDX-License-Identifier: GPL-3.0-or-later
"""taps.py BROWSER SITE: a finger on the form, in Chromium (the DevTools protocol's touches) or
Firefox (touch events on, WebDriver's touch pointer), at a phone's and a tablet's sizes, where
the form may be scaled down: taps on Addizione and Basso deal a puzzle, a tap on a tile opens
that tile, a tap on a key puts that digit in the answer box."""
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import browsers  # noqa: E402
import layout  # noqa: E402
import scenario  # noqa: E402
from vortani_e2e import check, finish, wait_for  # noqa: E402

# (what holds the page, its inside in CSS pixels)
SCREENS = [
    ("a phone held sideways", 844, 390),
    ("a tablet held sideways", 1024, 768),
    ("a tablet held upright", 768, 1024),
    ("a small laptop's touch screen", 1280, 800),
]
# Far from the form's corner, where a point read unscaled misses by the most.
TILE = 11
DIGIT = "9"


def tapped(driver, name, holds, what):
    """Taps the control; whether the page then says something that holds."""
    mark = len(driver.said())
    driver.form.tap(layout.centre(name))
    heard = scenario.hear(driver, holds, mark)
    return check(heard, f"{what} ({heard!r}; said since: {driver.said()[mark:][:4]})")


def screen(page, base, what, width, height):
    page.viewport(width, height, touch=True)
    driver = browsers.start(page, base)
    if not check(driver.state() == "playing", f"{what}, {width}x{height}: the page draws the "
                 f"start form (data-state '{driver.state()}')"):
        return
    rect = driver.form.rect()
    scale = rect["width"] / layout.FORM[0]
    check(rect["x"] >= 0 and rect["y"] >= 0 and rect["x"] + rect["width"] <= width + 0.5 and
          rect["y"] + rect["height"] <= height + 0.5, f"{what}: the whole form shows, at scale "
          f"{scale:.2f}")
    where = f"{what} (scale {scale:.2f})"
    if not (tapped(driver, "startForm/operationButton_0",
                   lambda t: scenario.same(t, layout.LEVEL_HINT),
                   f"{where}: a tap on Addizione opens the exercise form") and
            tapped(driver, "exerciseForm/levelButton_0",
                   lambda t: scenario.same(t, layout.TILE_HINT),
                   f"{where}: a tap on Basso deals a puzzle")):
        return
    tapped(driver, layout.tile(TILE), lambda t: re.search(rf",\s*Tessera {TILE + 1}$", t),
           f"{where}: a tap on tile {TILE + 1} gives it the focus")
    check(scenario.hear(driver, lambda t: scenario.same(t, layout.TYPE_HINT), 0),
          f"{where}: the tapped tile opens")
    # The key takes the focus and names itself, then hands it to the answer box.
    mark = len(driver.said())
    driver.form.tap(layout.centre(f"exerciseForm/digitKey_{DIGIT}"))
    named = wait_for(lambda: (lambda said: DIGIT in said and any(
        t.startswith("Risultato") for t in said[said.index(DIGIT):]))(driver.said()[mark:]),
        driver.patience)
    check(named and wait_for(lambda: scenario.typed(driver), driver.patience, 0.1),
          f"{where}: a tap on key {DIGIT} writes in the answer box (said since: "
          f"{driver.said()[mark:][:4]})")


def main(argv):
    if len(argv) != 2 or argv[0] not in ("chromium", "firefox"):
        return "usage: taps.py chromium|firefox SITE"
    name, site = argv[0], browsers.site_of(*argv)
    with browsers.opened(name, site, touch=True) as (server, page):
        for what, width, height in SCREENS:
            screen(page, server.url, what, width, height)
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
