# SPDX-License-Identifier: GPL-3.0-or-later
"""real_buttons.py PROGRAM: quick presses, held keys and the pointer passing, as a child does."""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from vortani_e2e import (Shot, check, copied, differing, display, finish, need, origin, stop,
                         wait_for, wait_windows, xdo)

program = sys.argv[1]
need("Xvfb", "xdotool", "xclip", "import", "convert")

TILE, KEY1, KEY5, ESCI, AWAY = (172, 120), (520, 220), (560, 180), (562, 358), (300, 20)
KEY5_RECT, ESCI_RECT = (544, 164, 33, 33), (520, 340, 85, 37)

with tempfile.TemporaryDirectory() as work, display("800x600x24"):
    game = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        start = wait_windows(1)
        check(start, "the start screen shows", fatal=True)
        ox, oy = origin(start[0])

        def point(at):
            xdo("mousemove", ox + at[0], oy + at[1])

        def click(at, button=1):
            point(at)
            xdo("click", button)

        def looks(rect):
            return Shot.settled(os.path.join(work, "look.png"), (ox, oy), rect)

        def comes(rect, holds):
            shot = Shot.until(os.path.join(work, "look.png"),
                              lambda s: holds(s.pixels((ox, oy), rect)), 5)
            return holds(shot.pixels((ox, oy), rect)) and shot.pixels((ox, oy), rect)

        def emptied():  # an empty box copies nothing: a second without a copy tells it
            return wait_for(lambda: copied(1.0) == "", 5)

        click((370, 170))  # Addizione
        check(wait_windows(2), "Addizione opens the exercise screen", fatal=True)
        click((58, 158))  # level Basso
        # Choosing a tile empties the answer box and gives the keypad the keys.
        click(TILE)
        check(emptied(), "a chosen tile starts with an empty answer box", fatal=True)

        # Each run waits for its own digits, so that none is read early.
        for count, delay, button, expected in ((2, 80, 1, "11"), (3, 80, 1, "111"),
                                               (2, 250, 1, "11"), (3, 250, 1, "111"),
                                               (2, 80, 3, "11"), (2, 80, 2, "11")):
            click(TILE)  # empties the answer box
            emptied()
            point(KEY1)
            xdo("click", "--repeat", count, "--delay", delay, button)
            got = wait_for(lambda: (lambda text: len(text) >= len(expected) and text)(
                copied()), 5) or copied()
            check(got == expected, f"{count} presses {delay} ms apart with button {button} typed "
                  f"'{got}', expected '{expected}'")

        # A key held down looks pressed: at rest (pointer elsewhere, no focus) against held.
        click(TILE)
        point(AWAY)
        rest = looks(KEY5_RECT)
        point(KEY5)
        xdo("mousedown", 1)
        held = comes(KEY5_RECT, lambda now: differing(now, rest))
        xdo("mouseup", 1)
        check(held, "a held key does not look as it does at rest")
        point(AWAY)
        check(comes(KEY5_RECT, lambda now: not differing(now, rest)), "a released key comes back up")

        # The exit button: the focus mark as the pointer arrives, and nothing else changes.
        click(TILE)  # the focus goes to the tile
        point(AWAY)
        rest = looks(ESCI_RECT)
        point(ESCI)
        check(comes(ESCI_RECT, lambda now: differing(now, rest)),
              "the exit button under the pointer does not look as it does at rest")
        hover = looks(ESCI_RECT)  # the mark drawn to its end
        for band in ((5, 5, 75, 27), (0, 0, 85, 4), (0, 33, 85, 4), (0, 0, 4, 37), (81, 0, 4, 37)):
            changed = sum(rest[i] != hover[i] for y in range(band[1], band[1] + band[3])
                          for i in range(y * 85 + band[0], y * 85 + band[0] + band[2]))
            check(changed == 0, "the exit button under the pointer changes nothing outside its "
                  f"focus mark (band {band[2]}x{band[3]}+{band[0]}+{band[1]}: {changed} pixels)")
    finally:
        stop(game)
finish()
