# SPDX-License-Identifier: GPL-3.0-or-later
"""exit_code.py PROGRAM: the exit button ends the program with status 0, also after a visit."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from vortani_e2e import check, click, display, finish, need, origin, stop, wait_exit, wait_windows

program = sys.argv[1]
need("Xvfb", "xdotool")

with display("800x600x24"):
    for visit in (False, True):
        game = subprocess.Popen([program])
        try:
            start = wait_windows(1)
            check(start, "the start screen shows", fatal=True)
            x, y = origin(start[0])
            if visit:
                click(x + 370, y + 170)  # Addizione
                check(wait_windows(2), "Addizione opens the exercise screen", fatal=True)
                click(x + 562, y + 358)  # the exercise screen's exit
                check(wait_windows(1), "the exercise screen's exit closes it", fatal=True)
            click(x + 450, y + 314)  # the start screen's exit
            status = wait_exit(game, 10)
            check(status is not None, f"the program ends (visit: {visit})", fatal=True)
            check(status == 0, f"exit status 0, got {status} (visit: {visit})")
        finally:
            stop(game)
finish()
