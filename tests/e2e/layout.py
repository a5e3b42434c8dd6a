# SPDX-License-Identifier: GPL-3.0-or-later
"""Where the forms' controls lie and what the game says: the one place the end-to-end tests take
them from. Controls are named "form/objectName"; rectangles are in the form's own pixels."""

import facts

_FACTS = facts.declared()
FORM = _FACTS.size
TITLE = _FACTS.texts["WindowTitle"]
EXERCISE_TITLE = f"{TITLE}, {_FACTS.titles[0]['title']}"

# What screen readers and the page call each control.
SPOKEN = {
    "startForm/operationButton_0": _FACTS.titles[0]["title"], "startForm/exitButton": "Esci",
    "exerciseForm/levelButton_0": "Basso", "exerciseForm/printButton": "Stampa",
    "exerciseForm/okKey": "OK", "exerciseForm/eraseKey": "Cancella",
    "exerciseForm/exitButton": "Esci", "exerciseForm/answerBox": "Risultato",
    **{f"exerciseForm/digitKey_{d}": str(d) for d in range(10)},
    **{f"exerciseForm/tile_{i}": f"Tessera {i + 1}" for i in range(12)},
}

# The game's messages.
LEVEL_HINT = _FACTS.texts["LevelHint"]
TILE_HINT = _FACTS.texts["TileHint"]
TYPE_HINT = _FACTS.texts["TypingHint"]
WRONG = _FACTS.texts["WrongAnswer"]
FINISHED = _FACTS.texts["Finished"]
NO_PRINTER = _FACTS.texts["NoPrinter"]
PRINT_FAILED = _FACTS.texts["PrintFailed"]
PRAISES = tuple(_FACTS.praise)

TEAL = (0, 192, 192)  # the forms' background
PALE_YELLOW = (255, 255, 192)  # the chosen tile


def rect(name):
    """(x, y, width, height) of "form/objectName" in its form."""
    form, control = name.split("/")
    return _FACTS.form(form).rect(control)


def centre(name):
    x, y, w, h = rect(name)
    return x + w // 2, y + h // 2


def inside(name, margin):
    """rect(name) shrunk by margin on every side."""
    x, y, w, h = rect(name)
    return x + margin, y + margin, w - 2 * margin, h - 2 * margin


def tile(i):
    return f"exerciseForm/tile_{i}"
