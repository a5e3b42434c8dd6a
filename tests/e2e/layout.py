# SPDX-License-Identifier: GPL-3.0-or-later
"""Where the forms' controls lie and what the game says: the one place the end-to-end tests take
them from. Controls are named "form/objectName"; rectangles are in the form's own pixels."""

FORM = (632, 453)
TITLE = "Vortani Puzzle"
EXERCISE_TITLE = "Vortani Puzzle, Addizione"

# objectName: (parent, x, y, width, height) inside the parent, as the forms place them.
_PLACES = {
    "startForm": {
        "outerFrame": ("startForm", 68, 72, 493, 285),
        "menuFrame": ("outerFrame", 8, 8, 476, 270),
        **{f"operationButton_{i}": ("menuFrame", 212 + 20 * i, 76 + 36 * i, 165, 29)
           for i in range(4)},
        "exitButton": ("menuFrame", 292, 220, 165, 29),
        "banner": ("startForm", 140, 96, 311, 47),
        "soundSwitch": ("startForm", 272, 388, 85, 37),
    },
    "exerciseForm": {
        "printButton": ("exerciseForm", 516, 60, 85, 37),
        "levelFrame": ("exerciseForm", 4, 128, 109, 153),
        **{f"levelButton_{i}": ("levelFrame", 12, 20 + 32 * i, 85, 25 if i == 3 else 21)
           for i in range(4)},
        "puzzleFrame": ("exerciseForm", 120, 56, 369, 293),
        "puzzlePicture": ("puzzleFrame", 8, 20, 353, 265),
        **{f"tile_{i}": ("puzzleFrame", 8 + 88 * (i % 4), 20 + 88 * (i // 4), 89, 89)
           for i in range(12)},
        "keypad": ("exerciseForm", 496, 104, 129, 221),
        **{f"digitKey_{d}": ("keypad", x, y, 33, 33) for d, (x, y) in enumerate(
            [(8, 140), (8, 100), (48, 100), (88, 100), (8, 60), (48, 60), (88, 60), (8, 20),
             (48, 20), (88, 20)])},
        "eraseKey": ("keypad", 48, 140, 73, 33),
        "okKey": ("keypad", 8, 180, 113, 33),
        "neutralFace": ("exerciseForm", 36, 324, 52, 52),
        "answerBox": ("exerciseForm", 356, 356, 73, 29),
        "exitButton": ("exerciseForm", 520, 340, 85, 37),
        "verdictLine": ("exerciseForm", 12, 392, 609, 57),
    },
}

# What screen readers and the page call each control.
SPOKEN = {
    "startForm/operationButton_0": "Addizione", "startForm/exitButton": "Esci",
    "exerciseForm/levelButton_0": "Basso", "exerciseForm/printButton": "Stampa",
    "exerciseForm/okKey": "OK", "exerciseForm/eraseKey": "Cancella",
    "exerciseForm/exitButton": "Esci", "exerciseForm/answerBox": "Risultato",
    **{f"exerciseForm/digitKey_{d}": str(d) for d in range(10)},
    **{f"exerciseForm/tile_{i}": f"Tessera {i + 1}" for i in range(12)},
}

# The game's messages.
LEVEL_HINT = "Scegli il livello."
TILE_HINT = "Scegli l'operazione cliccando su una tessera del puzzle."
TYPE_HINT = "Scrivi il risultato utilizzando il tastierino numerico. Conferma premendo il tasto OK."
WRONG = "Ops! hai sbagliato. Riprova."
FINISHED = "Hai finito. Guarda che bel disegno"
NO_PRINTER = "Non c'è nessuna stampante pronta: la pagina non è stata stampata."
PRAISES = ("Bravissimo.", "Molto bravo.", "Dai che vai forte.", "Molto bene.", "Continua così.",
           "Sei proprio bravo.", "Uaoo!")

TEAL = (0, 192, 192)  # the forms' background
PALE_YELLOW = (255, 255, 192)  # the chosen tile


def rect(name):
    """(x, y, width, height) of "form/objectName" in its form."""
    form, control = name.split("/")
    parent, x, y, w, h = _PLACES[form][control]
    while parent != form:
        parent, px, py = _PLACES[form][parent][:3]
        x, y = x + px, y + py
    return x, y, w, h


def centre(name):
    x, y, w, h = rect(name)
    return x + w // 2, y + h // 2


def inside(name, margin):
    """rect(name) shrunk by margin on every side."""
    x, y, w, h = rect(name)
    return x + margin, y + margin, w - 2 * margin, h - 2 * margin


def tile(i):
    return f"exerciseForm/tile_{i}"
