# SPDX-License-Identifier: GPL-3.0-or-later
"""exit_code.py PROGRAM: the exit button ends the program with status 0, also after a visit."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from vortani_e2e import Screen, check, display, finish, need, stop, wait_exit  # noqa: E402


def main(argv):
    program = argv[0]
    need("Xvfb", "xdotool", "xwininfo")
    with display("800x600x24") as env:
        screen = Screen(env)
        for visit in (False, True):
            game = subprocess.Popen([program], env=env)
            try:
                start = screen.wait_windows(1)
                check(start, "the start screen shows", fatal=True)
                at = screen.origin(start[0])
                if visit:
                    screen.press(at, "startForm/operationButton_0")
                    check(screen.wait_windows(2), "Addizione opens the exercise screen", fatal=True)
                    screen.press(at, "exerciseForm/exitButton")
                    check(screen.wait_windows(1), "the exercise screen's exit closes it", fatal=True)
                screen.press(at, "startForm/exitButton")
                status = wait_exit(game, 10)
                check(status is not None, f"the program ends (visit: {visit})", fatal=True)
                check(status == 0, f"exit status 0, got {status} (visit: {visit})")
            finally:
                stop(game)
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
