# SPDX-License-Identifier: GPL-3.0-or-later
"""Walks the game's accessibility tree and checks what a screen reader would say."""
import os
import subprocess
import sys
import time

import pyatspi
from tree_checks import by_name, check, find_app, finish, nodes, showing, wait

spoken = []  # names that changed, as a screen reader is told of them
shown = []  # notifications shown, which a screen reader reads out


def heard(event):
    spoken.append(event.source.name)


def notified(event):
    if event.detail1 and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
        shown.append(event.source.name)


pyatspi.Registry.registerEventListener(heard, "object:property-change:accessible-name")
pyatspi.Registry.registerEventListener(notified, "object:state-changed:showing")
wait(0.5)
game = subprocess.Popen([os.environ["VORTANI_PROGRAM"]], stdout=subprocess.DEVNULL,
                        stderr=subprocess.DEVNULL)


def window(app, title):
    for _ in range(50):
        for node in app:
            if node is not None and node.name == title and node.getState().contains(pyatspi.STATE_SHOWING):
                return node
        time.sleep(0.1)
    return None


def click(node):
    """Clicks the middle of a control with the real pointer."""
    ext = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(ext.x + ext.width // 2),
                    str(ext.y + ext.height // 2), "click", "1"], check=True)
    wait(0.6)


app = find_app()
check(app is not None, "the program shows up on the accessibility bus")
if app is None:
    game.terminate()
    sys.exit(1)

start = [w for w in app if w is not None][0]
check(start.name == "Vortani Puzzle", "the start window is named Vortani Puzzle")
check(start.getRole() == pyatspi.ROLE_FRAME, "the start window is a frame, not a filler")
for name in ("Addizione", "Sottrazione", "Moltiplicazione", "Divisione", "Esci"):
    check(by_name(start, name, pyatspi.ROLE_PUSH_BUTTON) is not None, f"start: button {name}")
switch = by_name(start, "Suoni spenti")
check(switch is not None
      and switch.getRole() in (pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_TOGGLE_BUTTON)
      and not switch.getState().contains(pyatspi.STATE_CHECKED),
      "start: the sound switch 'Suoni spenti' reads as not checked")
check(by_name(start, "Versione 3.5") is not None, "start: the version is read")

click(switch)
check(switch.getState().contains(pyatspi.STATE_CHECKED),
      "start: after a click the switch reads as checked: the sound is off")

click(by_name(start, "Addizione", pyatspi.ROLE_PUSH_BUTTON))
exercise = None
for _ in range(50):
    exercise = [w for w in app if w is not None and by_name(w, "Somma =") is not None]
    if exercise:
        break
    time.sleep(0.1)
check(bool(exercise), "the exercise window opens")
exercise = exercise[0]
check(exercise.getRole() == pyatspi.ROLE_FRAME and exercise.name == "Vortani Puzzle, Addizione",
      "exercise: a frame named by the title and the operation")
for name in [str(d) for d in range(10)] + ["Cancella", "OK", "Stampa", "Esci"]:
    check(by_name(exercise, name, pyatspi.ROLE_PUSH_BUTTON) is not None, f"exercise: key {name}")
levels = [by_name(exercise, n, pyatspi.ROLE_RADIO_BUTTON) for n in ("Basso", "Medio", "Alto", "Esagerato")]
check(all(levels), "exercise: the four levels are radio buttons named Basso .. Esagerato")
check(showing(by_name(exercise, "faccina seria")), "exercise: the neutral face is showing")
check(not showing(by_name(exercise, "faccina sorridente")), "exercise: the smiling face is not")
message = by_name(exercise, "Scegli il livello.")
check(message is not None, "exercise: the message asks for a level")
check(message is not None and message.getRole() == pyatspi.ROLE_NOTIFICATION,
      "exercise: the message line is a notification")

click(levels[0])
check(levels[0].getState().contains(pyatspi.STATE_CHECKED), "exercise: Basso is checked after a click")
tiles = [n for n in nodes(exercise)
         if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.description.startswith("Tessera")]
check(len(tiles) == 12, f"exercise: twelve tiles (found {len(tiles)})")
check(all("+" in t.name for t in tiles), "exercise: every tile reads its problem")

first, second = (next(t for t in tiles if t.description == f"Tessera {n}") for n in (1, 2))


def selected(tile):
    return tile.getState().contains(pyatspi.STATE_SELECTED)


click(second)
click(first)
check(selected(first) and first.description == "Tessera 1, aperta",
      "exercise: the open tile is selected and described as open")
check(not selected(second) and second.description == "Tessera 2",
      "exercise: the tile opened before is no longer")
check(sum(selected(t) for t in tiles) == 1, "exercise: one tile open")
a, b = [int(x) for x in first.name.replace("+", " ").split()]
for digit in str(a + b):
    click(by_name(exercise, digit, pyatspi.ROLE_PUSH_BUTTON))
click(by_name(exercise, "OK", pyatspi.ROLE_PUSH_BUTTON))
check(showing(by_name(exercise, "faccina sorridente")), "exercise: a right answer shows the smiling face")
check(not showing(first), "exercise: the solved tile is gone")
check(not selected(first), "exercise: the solved tile is no longer open")
check(second.getState().contains(pyatspi.STATE_FOCUSED),
      "exercise: with OK pressed, the focus goes on to the next tile")
praise = {"Bravissimo.", "Molto bravo.", "Dai che vai forte.", "Molto bene.", "Continua così.",
          "Sei proprio bravo.", "Uaoo!"}
check(any(by_name(exercise, p) is not None for p in praise), "exercise: the praise is there")
for _ in range(50):
    if any(p in spoken for p in praise):
        break
    wait(0.1)
check(any(p in spoken for p in praise), "exercise: the change of message is announced")
check(any(p in shown for p in praise), "exercise: the praise is shown as a notification")
check("Scrivi il risultato utilizzando il tastierino numerico. Conferma premendo il tasto OK."
      in spoken, "exercise: the typing hint is announced")

game.terminate()
finish()
