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
import facts  # noqa: E402
from vortani_e2e import Shot, commonest, display, origin, stop, wait_for, wait_windows, xdo

build = sys.argv[1] if len(sys.argv) > 1 else "build"
out = sys.argv[2] if len(sys.argv) > 2 else "docs/screenshots"
os.makedirs(out, exist_ok=True)
game = facts.load(build)
START, EXERCISE = game.form("startForm"), game.form("exerciseForm")
WIDTH, HEIGHT = game.size
FORM = (0, 0, WIDTH, HEIGHT)
TOP = (0, 0, WIDTH, 60)  # teal on both forms where nothing else is drawn
KEYS = {str(digit): EXERCISE.centre(f"digitKey_{digit}") for digit in range(10)}
OK, AWAY = EXERCISE.centre("okKey"), EXERCISE.centre("verdictLine")
x, y, w, h = EXERCISE.rect("answerBox")
ANSWER = (x + 2, y + 2, w - 4, h - 4)  # inside the answer box's frame
TEAL = (0, 192, 192)

with tempfile.TemporaryDirectory() as work, display("800x600x24"):
    game = subprocess.Popen([os.path.join(build, "bin", "vortani")], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        start = wait_windows(1)
        if not start:
            sys.exit("screenshots: the start screen did not show")
        at = origin(start[0])

        def look(rect=FORM):
            return Shot(os.path.join(work, "look.png")).pixels(at, rect)

        def settled(rect=FORM):
            return Shot.settled(os.path.join(work, "look.png"), at, rect)

        def click(*places):
            xdo(*[arg for x, y in places for arg in ("mousemove", at[0] + x, at[1] + y, "click", 1)])

        def shot(name):
            wait_for(lambda: commonest(look(TOP)) == TEAL, 10, 0.1)
            settled()
            path = os.path.join(out, name)
            subprocess.run(["import", "-window", "root", "-crop",
                            f"{WIDTH}x{HEIGHT}+{at[0]}+{at[1]}", "+repage", path], check=True)
            print(path)

        def typed():
            """The answer box shows digits: its red text."""
            return sum(1 for r, g, b in look(ANSWER) if r > 180 and g < 90 and b < 90) > 10

        def solve(tile):
            """Tries numbers on the tile until it goes away."""
            x, y = EXERCISE.centre(f"tile_{tile}")[0], EXERCISE.rect(f"tile_{tile}")[1] + 20
            click((x, y))
            xdo("mousemove", at[0] + AWAY[0], at[1] + AWAY[1])  # off the tile: no hover shading
            face = settled((x, y, 1, 1))  # the chosen tile's highlight; the picture shows once solved
            for n in range(2, 20):
                click(*[KEYS[d] for d in str(n)], OK)
                # A wrong answer empties the answer box; a right one takes the tile away.
                wait_for(lambda: look((x, y, 1, 1)) != face or not typed(), 10, 0.1)
                if look((x, y, 1, 1)) != face:
                    return

        shot("start.png")
        click(START.centre("operationButton_0"))  # Addizione
        if not wait_windows(2):
            sys.exit("screenshots: the exercise screen did not show")
        click(EXERCISE.centre("levelButton_0"))  # level Basso
        settled()
        for tile in (0, 6, 11, 9):
            solve(tile)
        click(EXERCISE.centre("tile_5"), KEYS["1"], OK)  # a tile chosen, a wrong answer
        wait_for(lambda: not typed(), 10, 0.1)
        click(KEYS["7"])
        xdo("mousemove", at[0] + AWAY[0], at[1] + AWAY[1])
        wait_for(typed, 10, 0.1)
        shot("exercise.png")
    finally:
        stop(game)
