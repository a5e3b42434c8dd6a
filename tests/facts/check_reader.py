# SPDX-License-Identifier: GPL-3.0-or-later
"""check_reader.py BUILD TRICKY: tests/e2e/facts.py reads the facts the build made, and turns
places in nested parents into the form's coordinates (on tests/facts/tricky.json, made in
TRICKY)."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from facts import Form, load  # noqa: E402
from vortani_e2e import check, finish  # noqa: E402

build, tricky = sys.argv[1:3]


def raises(error, call):
    try:
        call()
    except error:
        return True
    return False


facts = load(tricky)
form = facts.form("trickyForm")
check(form.local("inner") == (3, -4, 100, 100), "a control's own rect is its parent's")
check(form.rect("key_1") == (28, 22, 7, 8),
      f"two parents deep, the places add up, a negative one too ({form.rect('key_1')})")
check(form.centre("key_1") == (31, 25) and form.centre("place") == (0, 0),
      f"the centre is QRect.center()'s ({form.centre('key_1')}, {form.centre('place')})")
check(form.rect("first") == form.rect("second") == form.rect("place") == (-1, 0, 2, 2),
      "the controls that share a place are found by their names and the place's")
check(facts.form("otherForm").rect("outer") == (1, 1, 1, 1) and form.rect("outer")[:2] == (10, 20),
      "the same name on two forms is two controls")
check(facts.texts["WindowTitle"] == 'Vortani "Puzzle"' and facts.praise[1] == "\\"
      and facts.titles[2]["title"] == "Mul\n" and facts.size == (7, 5),
      "texts, praise, titles and size are read as written")
check(raises(KeyError, lambda: form.rect("nothing")) and raises(KeyError, lambda: facts.form("x")),
      "an unknown control or form is an error, not a place")
looped = Form("loopForm", {"a": {"parent": "b", "rect": [0, 0, 1, 1]},
                           "b": {"parent": "a", "rect": [0, 0, 1, 1]}})
check(raises(ValueError, lambda: looped.rect("a")), "a control inside itself is an error")

game = load(build)
unplaced = [f"{name}.{control}" for name in ("startForm", "exerciseForm")
            for control in game.form(name).names()
            if raises((KeyError, ValueError), lambda: game.form(name).rect(control))]
check(not unplaced, f"every control of the game's forms lies on its form ({', '.join(unplaced)})")
check(all(isinstance(game.texts.get(name), str) for name in (
    "WindowTitle", "LevelHint", "TileHint", "TypingHint", "WrongAnswer", "Finished",
    "WholePartOnly", "NoPrinter", "PrintFailed")) and len(game.titles) == 4 and game.praise,
      "the game's texts, titles and praise are there")
finish()
