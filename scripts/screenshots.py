#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Takes the README's screenshots from the real program on a virtual display: the start screen,
and the exercise screen in the middle of a puzzle (a few tiles solved, one chosen, a verdict).
Answers are found the way a child might: by trying numbers until the tile goes away.
    screenshots.py [build folder] [output folder]"""
import os
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # nothing written into the sources
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import layout  # noqa: E402
from vortani_e2e import Screen, commonest, display, stop, wait_for  # noqa: E402

FORM = (0, 0, *layout.FORM)
ANSWER = layout.inside("exerciseForm/answerBox", 2)  # inside the answer box's frame
AWAY = (560, 420)


def take(screen, work, out):
    start = screen.wait_windows(1)
    if not start:
        sys.exit("screenshots: the start screen did not show")
    at = screen.origin(start[0])

    def look(rect=FORM):
        return screen.shot(os.path.join(work, "look.png")).pixels(at, rect)

    def settled(rect=FORM):
        return screen.settled(os.path.join(work, "look.png"), at, rect)

    def click(*places):
        screen.xdo(*[arg for x, y in places
                     for arg in ("mousemove", at[0] + x, at[1] + y, "click", 1)])

    def key(digit):
        return f"exerciseForm/digitKey_{digit}"

    def shot(name):
        # Both forms are teal where nothing else is drawn.
        wait_for(lambda: commonest(look((0, 0, layout.FORM[0], 60))) == layout.TEAL, 10, 0.1)
        settled()
        path = os.path.join(out, name)
        subprocess.run(["import", "-window", "root", "-crop",
                        f"{layout.FORM[0]}x{layout.FORM[1]}+{at[0]}+{at[1]}", "+repage", path],
                       check=True, env=screen.env)
        print(path)

    def typed():
        """The answer box shows digits: its red text."""
        return sum(1 for r, g, b in look(ANSWER) if r > 180 and g < 90 and b < 90) > 10

    def solve(tile):
        """Tries numbers on the tile until it goes away."""
        x, y, w, _ = layout.rect(layout.tile(tile))
        x, y = x + w // 2, y + 20
        click((x, y))
        screen.xdo("mousemove", at[0] + AWAY[0], at[1] + AWAY[1])  # off the tile: no hover shading
        face = settled((x, y, 1, 1))  # the chosen tile's highlight; the picture shows once solved
        for n in range(2, 20):
            screen.press(at, *[key(d) for d in str(n)], "exerciseForm/okKey")
            # A wrong answer empties the answer box; a right one takes the tile away.
            wait_for(lambda: look((x, y, 1, 1)) != face or not typed(), 10, 0.1)
            if look((x, y, 1, 1)) != face:
                return

    shot("start.png")
    screen.press(at, "startForm/operationButton_0")
    if not screen.wait_windows(2):
        sys.exit("screenshots: the exercise screen did not show")
    screen.press(at, "exerciseForm/levelButton_0")
    settled()
    for tile in (0, 6, 11, 9):
        solve(tile)
    screen.press(at, layout.tile(5), key(1), "exerciseForm/okKey")  # a tile chosen, a wrong answer
    wait_for(lambda: not typed(), 10, 0.1)
    screen.press(at, key(7))
    screen.xdo("mousemove", at[0] + 300, at[1] + 20)
    wait_for(typed, 10, 0.1)
    shot("exercise.png")


def main(argv):
    build = argv[0] if argv else "build"
    out = argv[1] if len(argv) > 1 else "docs/screenshots"
    os.makedirs(out, exist_ok=True)
    with tempfile.TemporaryDirectory() as work, display("800x600x24") as env:
        game = subprocess.Popen([os.path.join(build, "bin", "vortani")], stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, env=env)
        try:
            take(Screen(env), work, out)
        finally:
            stop(game)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
