# SPDX-License-Identifier: GPL-3.0-or-later
"""real_buttons.py PROGRAM: quick presses, held keys and the pointer passing, as a child does."""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from layout import centre, rect  # noqa: E402
from vortani_e2e import Screen, check, differing, display, finish, need, stop, wait_for  # noqa: E402

TILE, KEY1, KEY5 = "exerciseForm/tile_0", "exerciseForm/digitKey_1", "exerciseForm/digitKey_5"
ESCI, AWAY = "exerciseForm/exitButton", (300, 20)


def play(screen, work):
    start = screen.wait_windows(1)
    check(start, "the start screen shows", fatal=True)
    ox, oy = screen.origin(start[0])

    def point(at):
        at = centre(at) if isinstance(at, str) else at
        screen.xdo("mousemove", ox + at[0], oy + at[1])

    def click(at, button=1):
        point(at)
        screen.xdo("click", button)

    def looks(name):
        return screen.settled(os.path.join(work, "look.png"), (ox, oy), rect(name))

    def comes(name, holds):
        shot = screen.shot_until(os.path.join(work, "look.png"),
                                 lambda s: holds(s.pixels((ox, oy), rect(name))), 5)
        return holds(shot.pixels((ox, oy), rect(name))) and shot.pixels((ox, oy), rect(name))

    def emptied():  # an empty box copies nothing: a second without a copy tells it
        return wait_for(lambda: screen.copied(1.0) == "", 5)

    click("startForm/operationButton_0")
    check(screen.wait_windows(2), "Addizione opens the exercise screen", fatal=True)
    click("exerciseForm/levelButton_0")
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
        screen.xdo("click", "--repeat", count, "--delay", delay, button)
        got = wait_for(lambda: (lambda text: len(text) >= len(expected) and text)(
            screen.copied()), 5) or screen.copied()
        check(got == expected, f"{count} presses {delay} ms apart with button {button} typed "
              f"'{got}', expected '{expected}'")

    # A key held down looks pressed: at rest (pointer elsewhere, no focus) against held.
    click(TILE)
    point(AWAY)
    rest = looks(KEY5)
    point(KEY5)
    screen.xdo("mousedown", 1)
    held = comes(KEY5, lambda now: differing(now, rest))
    screen.xdo("mouseup", 1)
    check(held, "a held key does not look as it does at rest")
    point(AWAY)
    check(comes(KEY5, lambda now: not differing(now, rest)), "a released key comes back up")

    # The exit button: the focus mark as the pointer arrives, and nothing else changes.
    click(TILE)  # the focus goes to the tile
    point(AWAY)
    rest = looks(ESCI)
    point(ESCI)
    check(comes(ESCI, lambda now: differing(now, rest)),
          "the exit button under the pointer does not look as it does at rest")
    hover = looks(ESCI)  # the mark drawn to its end
    width = rect(ESCI)[2]
    for band in ((5, 5, 75, 27), (0, 0, 85, 4), (0, 33, 85, 4), (0, 0, 4, 37), (81, 0, 4, 37)):
        changed = sum(rest[i] != hover[i] for y in range(band[1], band[1] + band[3])
                      for i in range(y * width + band[0], y * width + band[0] + band[2]))
        check(changed == 0, "the exit button under the pointer changes nothing outside its "
              f"focus mark (band {band[2]}x{band[3]}+{band[0]}+{band[1]}: {changed} pixels)")


def main(argv):
    program = argv[0]
    need("Xvfb", "xdotool", "xclip", "xwininfo", "import", "convert")
    with tempfile.TemporaryDirectory() as work, display("800x600x24") as env:
        game = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                env=env)
        try:
            play(Screen(env), work)
        finally:
            stop(game)
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
