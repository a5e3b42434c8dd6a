# SPDX-License-Identifier: GPL-3.0-or-later
"""The game's texts and the forms' geometry as the build wrote them, so that a harness never
retypes a coordinate, a praise or a hint.

    facts = load(build)                     # reads <build>/facts/facts.json
    facts.texts["LevelHint"]                # the hint to choose a level
    facts.praise                            # every praise, in order
    facts.titles[0]["title"], ["label"]     # per operation, in the order of Operations
    facts.size                              # (width, height) of both forms
    exercise = facts.form("exerciseForm")
    exercise.rect("tile_3")                 # (x, y, width, height) in the form's client area
    exercise.centre("digitKey_7")           # (x, y), the middle pixel, as QRect.center()
    exercise.local("digitKey_7")            # (x, y, width, height) in its parent

facts.json is cmake/GameFacts.json as it is, copied by cmake/GameFacts.cmake:

    {
      "about": str,                             # what the file is, for its reader
      "texts": {name: str},                     # WindowTitle, LevelHint, TileHint, TypingHint,
                                                # WrongAnswer, Finished, WholePartOnly,
                                                # NoPrinter, PrintFailed (GameTexts.h's names)
      "praise": [str],                          # one is shown for every right answer
      "titles": [{"operation": str,             # Addition ... (Operation.h's names, its order)
                  "title": str,                 # above the puzzle; the start form's button
                  "label": str}],               # before the answer box
      "form": {"width": int, "height": int},    # both forms' fixed client size
      "controls": {
        form: {                                 # the form's objectName: startForm, exerciseForm
          name: {                               # the control's objectName, tile_3 in a row
            "parent": str,                      # its parent's objectName, or the form's
            "rect": [x, y, width, height],      # in the parent, as Qt places it
            "controls": [str],                  # optional: the controls sharing this place
                                                # (name is then the place's, facePlace)
            "note": str                         # optional: why it lies there
          }
        }
      }
    }
"""
import json
import os


class Form:
    """One form's controls, by objectName (or the name of a place several controls share)."""

    def __init__(self, name, controls):
        self.name = name
        self._controls = {}
        for key, control in controls.items():
            for member in control.get("controls", [key]) + [key]:
                self._controls[member] = control

    def names(self):
        return list(self._controls)

    def local(self, name):
        """The rectangle in the control's parent."""
        return tuple(self._control(name)["rect"])

    def parent(self, name):
        return self._control(name)["parent"]

    def rect(self, name):
        """The rectangle in the form's client area: the parents' places added up."""
        x, y, width, height = self.local(name)
        seen = {name}
        parent = self.parent(name)
        while parent != self.name:
            if parent in seen:
                raise ValueError(f"{self.name}: {name} lies inside itself through {parent}")
            seen.add(parent)
            px, py = self.local(parent)[:2]
            x, y = x + px, y + py
            parent = self.parent(parent)
        return (x, y, width, height)

    def centre(self, name):
        """The middle pixel as Qt's QRect.center() finds it, halves rounded towards zero."""
        x, y, width, height = self.rect(name)
        return (int((2 * x + width - 1) / 2), int((2 * y + height - 1) / 2))

    def _control(self, name):
        try:
            return self._controls[name]
        except KeyError:
            raise KeyError(f"{self.name} has no control {name}") from None


class Facts:
    def __init__(self, data):
        self.texts = data["texts"]
        self.praise = data["praise"]
        self.titles = data["titles"]
        self.levels = data["levels"]
        self.setup = data["setup"]
        self.size = (data["form"]["width"], data["form"]["height"])
        self._forms = {name: Form(name, controls) for name, controls in data["controls"].items()}

    def form(self, name):
        try:
            return self._forms[name]
        except KeyError:
            raise KeyError(f"no form {name}: there are {', '.join(self._forms)}") from None


def declared():
    """The facts as the source tree declares them, for harnesses that run without a build folder
    at hand: the same file the build copies."""
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "..", "..", "cmake", "GameFacts.json"), encoding="utf-8") as f:
        return Facts(json.load(f))


def load(build):
    """The facts of the build in folder build (the folder CMake configured)."""
    with open(os.path.join(build, "facts", "facts.json"), encoding="utf-8") as f:
        return Facts(json.load(f))
