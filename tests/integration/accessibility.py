# SPDX-License-Identifier: GPL-3.0-or-later
"""accessibility.py PROGRAM: what a screen reader reads of the program, clicked for real."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from layout import LEVEL_HINT, PRAISES as PRAISE, TYPE_HINT  # noqa: E402
from vortani_e2e import (Screen, accessibility_bus, atspi, by_name, centre_of, check,  # noqa: E402
                         display, exercise_window, find_app, finish, has_state, need, nodes, pump,
                         session_bus, showing, stop, wait_event, windows_of)


def read(program, env):
    need(modules=("pyatspi",))
    pyatspi = atspi(env)
    xdo = Screen(env).xdo
    spoken = []  # names that changed, as a screen reader is told of them
    shown = []  # notifications shown, which a screen reader reads out

    def heard(event):
        spoken.append(event.source.name)

    def notified(event):
        if event.detail1 and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
            shown.append(event.source.name)

    # Listening before the program starts, so that no announcement is missed.
    pyatspi.Registry.registerEventListener(heard, "object:property-change:accessible-name")
    pyatspi.Registry.registerEventListener(notified, "object:state-changed:showing")
    pump(0)
    game = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            env=env)
    try:
        app = find_app()
        check(app is not None, "the program shows up on the accessibility bus", fatal=True)

        def click(node):
            xdo("mousemove", *centre_of(node), "click", 1)

        def checked(node):
            return has_state(node, pyatspi.STATE_CHECKED)

        def selected(tile):
            return has_state(tile, pyatspi.STATE_SELECTED)

        start = wait_event(lambda: windows_of(app) and showing(windows_of(app)[0])
                           and windows_of(app)[0])
        check(start and start.name == "Vortani Puzzle", "the start window is named Vortani Puzzle",
              fatal=True)
        check(start.getRole() == pyatspi.ROLE_FRAME, "the start window is a frame, not a filler")
        for name in ("Addizione", "Sottrazione", "Moltiplicazione", "Divisione", "Esci"):
            check(by_name(start, name, pyatspi.ROLE_PUSH_BUTTON) is not None, f"start: button {name}")
        switch = by_name(start, "Suoni spenti")
        check(switch is not None
              and switch.getRole() in (pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_TOGGLE_BUTTON)
              and not checked(switch),
              "start: the sound switch 'Suoni spenti' reads as not checked", fatal=True)
        check(by_name(start, "Versione 3.5") is not None, "start: the version is read")

        click(switch)
        check(wait_event(lambda: checked(switch), 5),
              "start: after a click the switch reads as checked: the sound is off")

        click(by_name(start, "Addizione", pyatspi.ROLE_PUSH_BUTTON))
        exercise = exercise_window(app)
        check(exercise is not None, "the exercise window opens", fatal=True)
        check(exercise.getRole() == pyatspi.ROLE_FRAME and exercise.name == "Vortani Puzzle, Addizione",
              "exercise: a frame named by the title and the operation")
        for name in [str(d) for d in range(10)] + ["Cancella", "OK", "Stampa", "Esci"]:
            check(by_name(exercise, name, pyatspi.ROLE_PUSH_BUTTON) is not None, f"exercise: key {name}")
        levels = [by_name(exercise, n, pyatspi.ROLE_RADIO_BUTTON)
                  for n in ("Basso", "Medio", "Alto", "Esagerato")]
        check(all(levels), "exercise: the four levels are radio buttons named Basso .. Esagerato",
              fatal=True)
        check(showing(by_name(exercise, "faccina seria")), "exercise: the neutral face is showing")
        check(not showing(by_name(exercise, "faccina sorridente")), "exercise: the smiling face is not")
        message = by_name(exercise, LEVEL_HINT)
        check(message is not None, "exercise: the message asks for a level")
        check(message is not None and message.getRole() == pyatspi.ROLE_NOTIFICATION,
              "exercise: the message line is a notification")

        def tiles():
            return [n for n in nodes(exercise)
                    if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.description.startswith("Tessera")]

        click(levels[0])
        check(wait_event(lambda: checked(levels[0]), 5), "exercise: Basso is checked after a click")
        dealt = wait_event(lambda: (lambda found: len(found) == 12 and all("+" in t.name for t in found)
                                    and found)(tiles()), 5) or tiles()
        check(len(dealt) == 12, f"exercise: twelve tiles (found {len(dealt)})", fatal=True)
        check(all("+" in t.name for t in dealt), "exercise: every tile reads its problem")

        first, second = (next(t for t in dealt if t.description == f"Tessera {n}") for n in (1, 2))
        click(second)
        wait_event(lambda: selected(second), 5)
        click(first)
        wait_event(lambda: selected(first) and not selected(second), 5)
        check(selected(first) and first.description == "Tessera 1, aperta",
              "exercise: the open tile is selected and described as open")
        check(not selected(second) and second.description == "Tessera 2",
              "exercise: the tile opened before is no longer")
        check(sum(selected(t) for t in dealt) == 1, "exercise: one tile open")
        a, b = [int(x) for x in first.name.replace("+", " ").split()]
        for digit in str(a + b):
            click(by_name(exercise, digit, pyatspi.ROLE_PUSH_BUTTON))
        click(by_name(exercise, "OK", pyatspi.ROLE_PUSH_BUTTON))
        smiling = by_name(exercise, "faccina sorridente")
        check(wait_event(lambda: showing(smiling), 5), "exercise: a right answer shows the smiling face")
        check(wait_event(lambda: not showing(first), 5), "exercise: the solved tile is gone")
        check(not selected(first), "exercise: the solved tile is no longer open")
        check(wait_event(lambda: has_state(second, pyatspi.STATE_FOCUSED), 5),
              "exercise: with OK pressed, the focus goes on to the next tile")
        check(any(by_name(exercise, p) is not None for p in PRAISE), "exercise: the praise is there")
        check(wait_event(lambda: any(p in spoken for p in PRAISE), 5),
              "exercise: the change of message is announced")
        check(wait_event(lambda: any(p in shown for p in PRAISE), 5),
              "exercise: the praise is shown as a notification")
        check(TYPE_HINT in spoken, "exercise: the typing hint is announced")
    finally:
        stop(game)


def main(argv):
    need("dbus-daemon", "Xvfb", "xdotool", "/usr/libexec/at-spi-bus-launcher", modules=("gi",))
    with display("800x600x24") as env, session_bus(env) as env, accessibility_bus(env) as env:
        read(argv[0], env)
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
