# SPDX-License-Identifier: GPL-3.0-or-later
"""class_setup.py PROGRAM: a class's set-up on the command line, as a teacher or a school's IT
writes it: the help, a bad line refused with status 2 and no window, and a good one played for
real, read back through the accessibility bus."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from facts import declared  # noqa: E402
from vortani_e2e import (Screen, accessibility_bus, atspi, by_name, centre_of, check,  # noqa: E402
                         display, environment, finish, find_app, has_state, need, nodes,
                         session_bus, showing, stop, wait_event, windows_of)

FACTS = declared()
OPERATIONS = [t["title"] for t in FACTS.titles]
LEVELS = FACTS.levels
NOT_OFFERED = FACTS.texts["NotOfferedToday"]


def without_display(program, *arguments):
    env = environment(QT_QPA_PLATFORM="offscreen")
    return subprocess.run([program, *arguments], capture_output=True, text=True, env=env,
                          timeout=30)


def command_line(program):
    shown = without_display(program, "--help")
    check(shown.returncode == 0 and "--operazioni=<elenco>" in shown.stdout
          and "--livelli=<elenco>" in shown.stdout and "--suoni=<sì|no|mai>" in shown.stdout,
          f"--help lists the set-up's options (status {shown.returncode})")
    for arguments, problem in ((["--livelli=5"], "«5» non è un livello"),
                               (["--operazioni=somma"], "«somma» non è un'operazione"),
                               (["--colore=blu"], "«colore» non è un'impostazione")):
        refused = without_display(program, *arguments)
        check(refused.returncode == 2 and problem in refused.stderr,
              f"{arguments}: status 2 and the message ({refused.returncode}: {refused.stderr!r})")


def refused_shows_nothing(program, env):
    # On a real display, too: the bad line is told, and the program ends rather than play.
    game = subprocess.run([program, "--livelli=1,9"], capture_output=True, text=True, env=env,
                          timeout=30)
    check(game.returncode == 2 and "«9» non è un livello" in game.stderr,
          f"a bad line on a display is refused too ({game.returncode})")


def played(program, env):
    pyatspi = atspi(env)
    xdo = Screen(env).xdo
    game = subprocess.Popen([program, "--operazioni=addizione", "--livelli=1", "--suoni=mai"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
    try:
        app = find_app()
        check(app is not None, "the program shows up on the accessibility bus", fatal=True)
        start = wait_event(lambda: windows_of(app) and showing(windows_of(app)[0])
                           and windows_of(app)[0])
        check(start is not None, "the start window shows", fatal=True)

        def enabled(node):
            return has_state(node, pyatspi.STATE_ENABLED)

        def click(node):
            xdo("mousemove", *centre_of(node), "click", 1)

        buttons = [by_name(start, n, pyatspi.ROLE_PUSH_BUTTON) for n in OPERATIONS]
        check(all(buttons), "start: the four operations are there", fatal=True)
        check(enabled(buttons[0]) and not any(enabled(b) for b in buttons[1:]),
              "start: only Addizione is enabled")
        check(all(b.description == NOT_OFFERED for b in buttons[1:]),
              f"start: the others say '{NOT_OFFERED}'")
        switch = by_name(start, "Suoni spenti")
        check(switch is not None and has_state(switch, pyatspi.STATE_CHECKED)
              and not enabled(switch), "start: the sound switch is off and locked")

        # A click on a greyed operation opens nothing; the one offered opens its own screen.
        click(buttons[1])
        click(buttons[0])
        exercise = wait_event(lambda: next((w for w in windows_of(app) if showing(w)
                                            and w.name.startswith("Vortani Puzzle, ")), None))
        check(exercise is not None and exercise.name == "Vortani Puzzle, Addizione",
              f"exercise: Addizione's screen opens ({exercise and exercise.name})", fatal=True)
        levels = [by_name(exercise, n, pyatspi.ROLE_RADIO_BUTTON) for n in LEVELS]
        check(all(levels), "exercise: the four levels are there", fatal=True)
        check(enabled(levels[0]) and not any(enabled(b) for b in levels[1:]),
              "exercise: only Basso is enabled")
        click(levels[1])
        click(levels[0])
        check(wait_event(lambda: has_state(levels[0], pyatspi.STATE_CHECKED), 5)
              and not has_state(levels[1], pyatspi.STATE_CHECKED),
              "exercise: Basso is chosen, Medio never was")
        tiles = wait_event(lambda: (lambda t: len(t) == 12 and t)(
            [n for n in nodes(exercise) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON
             and n.description.startswith("Tessera") and "+" in n.name]), 5)
        check(tiles and all(int(n.name.split("+")[0]) <= 10 for n in tiles),
              "exercise: twelve Basso problems are dealt")
    finally:
        stop(game)


def main(argv):
    program = argv[0]
    need("dbus-daemon", "Xvfb", "xdotool", "/usr/libexec/at-spi-bus-launcher", modules=("gi",))
    command_line(program)
    with display("800x600x24") as env:
        refused_shows_nothing(program, env)
    with display("800x600x24") as env, session_bus(env) as env, accessibility_bus(env) as env:
        played(program, env)
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
