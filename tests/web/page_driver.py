# SPDX-License-Identifier: GPL-3.0-or-later
"""The scenario's driver for the page in any browser (tests/e2e/drawn_form.py's page): the
pointer on the drawn form, what the page's live region says (every message, and each control's
name as it takes the focus), what it plays and prints."""
import base64
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import layout  # noqa: E402
import scenario  # noqa: E402
from drawn_form import Form  # noqa: E402
from png import decode_png  # noqa: E402
from vortani_e2e import check, wait_for  # noqa: E402

with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "watch.js")) as _f:
    WATCH = _f.read()

# The printout as the page holds it: its bytes, base64.
PRINTOUT = """(async () => {
  const img = document.querySelector('#printout img');
  if (!img || !img.complete || !img.naturalWidth) return null;
  const bytes = new Uint8Array(await (await fetch(img.src)).arrayBuffer());
  let text = '';
  for (let i = 0; i < bytes.length; i += 32768)
    text += String.fromCharCode.apply(null, bytes.subarray(i, i + 32768));
  return btoa(text);
})()"""

GOODBYE = ("(() => { const g = document.getElementById('goodbye');"
           " return !!g && !g.hidden && g.getClientRects().length > 0"
           " && !!document.getElementById('playAgain'); })()")


class PageDriver(scenario.Driver):
    patience = 20  # software WebGL is slow

    def __init__(self, page, keyboard=True):
        self.page = page
        self.form = Form(page)
        self.keyboard = keyboard  # a tile by keyboard alone, after the printout

    def state(self):
        return self.page.evaluate("document.body ? document.body.dataset.state : ''")

    def press(self, name):
        if name == scenario.OK:
            self.focus(name, (0, 0))
        self.form.click(layout.centre(name))

    def focus(self, name, jitter):
        """The pointer onto the control, once the page names it as it takes the focus."""
        x, y = layout.centre(name)
        mark = len(self.said())
        self.form.move((x + jitter[0], y + jitter[1]))
        spoken = layout.SPOKEN[name]
        if not scenario.hear(self, lambda t: t.split(",")[0].strip() == spoken, mark):
            raise scenario.Missed(f"{spoken} did not take the focus as the pointer came")
        return x + jitter[0], y + jitter[1]

    def type(self, digits):
        # Each key names itself as the pointer comes, which it does only once the keypad is
        # open; a pressed digit sends the focus to the answer box. Qt drops a move to where the
        # pointer already is: repeated presses come from either side.
        for i, digit in enumerate(digits):
            at = self.focus(f"exerciseForm/digitKey_{digit}", (4 * (i % 2) - 2, 0))
            mark = len(self.said())
            self.form.click(at)
            if not scenario.hear(self, lambda t: t.startswith("Risultato"), mark):
                raise scenario.Missed(f"key {digit} did not reach the answer box")

    def problem(self, tile):
        """As the page names the tile when the pointer comes onto it."""
        self.form.move(layout.centre("exerciseForm/exitButton"))  # the focus may be there already
        mark = len(self.said())
        self.form.move(layout.centre(layout.tile(tile)))
        caption = scenario.hear(self, lambda t: re.search(rf",\s*Tessera {tile + 1}\b", t), mark)
        return caption and caption.split(",")[0].strip()

    def said(self):
        return self.page.evaluate("window.__said") or []

    def pixels(self, rect):
        return self.form.pixels(rect)[1]

    def answer(self):
        return None  # drawn in the canvas only

    def sound(self):
        return self.page.evaluate("window.__starts")

    def printout(self):
        printed = wait_for(lambda: self.page.evaluate("window.__printed"), self.patience)
        check(printed and all(printed), f"Stampa asks the browser to print, the picture in place "
              f"(calls: {printed})")
        data = self.page.evaluate(PRINTOUT, wait=True)
        try:
            width, pixels = decode_png(base64.b64decode(data or ""))
        except ValueError as error:
            return check(False, f"the printout is a PNG ({error})")
        height = len(pixels) // width
        check(width >= layout.FORM[0] and abs(width / height - layout.FORM[0] / layout.FORM[1]) <
              0.02, f"the printout is a PNG of the whole form ({width} x {height})")
        return width, pixels

    def ended(self):
        gone = wait_for(lambda: self.state() == "goodbye" and self.page.evaluate(GOODBYE),
                        self.patience)
        return "" if gone else f"(no goodbye with its button: data-state '{self.state()}')"

    def reached(self, step, tile=None):
        if step == "printed" and self.keyboard:
            self.by_keyboard()

    def by_keyboard(self):
        """A new deal puts the focus on tile 1, which the page names. Tab goes on to the first
        level, Shift+Tab comes back; Enter opens the tile, the digits go to the answer box and
        Enter confirms."""
        mark = len(self.said())
        self.press("exerciseForm/levelButton_0")
        caption = scenario.hear(self, lambda t: re.search(r",\s*Tessera 1\b", t), mark)
        answer = caption and scenario.result_of(caption.split(",")[0])
        if not check(answer is not None, f"a new deal gives tile 1 the focus, and the page names "
                     f"it ({caption!r})"):
            return
        mark = len(self.said())
        self.page.key("Tab")
        named = scenario.hear(self, lambda t: True, mark, 10)
        check(named and named.split(",")[0].strip() == "Basso",
              f"Tab takes the focus from tile 1 to level Basso, and the page names it ({named!r})")
        mark = len(self.said())
        if getattr(self.page, "shift_tab", True):
            self.page.key("Tab", shift=True)
            back = scenario.hear(self, lambda t: t == caption, mark, 10)
        else:
            back = self.tab_round(caption)
        if not check(back, "Shift+Tab (or Tab round the form) brings the focus back to tile 1"):
            return
        mark = len(self.said())
        for k in ("Enter", *str(answer), "Enter"):
            self.page.key(k)
        verdict = scenario.hear(self, lambda t: scenario.praise(t) or scenario.same(
            t, layout.WRONG), mark)
        check(verdict and scenario.praise(verdict),
              f"by keyboard: Enter, {answer}, Enter solves tile 1 ({verdict})")


    def tab_round(self, caption):
        """Tab from control to control round the form until the one named caption has the
        focus again; whether it came."""
        for _ in range(60):
            mark = len(self.said())
            self.page.key("Tab")
            named = scenario.hear(self, lambda t: True, mark, 5)
            if not named or named == caption:
                return named
        return None


def no_errors(page, when="", since=0):
    """No errors reported by the page since errors()[since:]."""
    problems = page.errors()[since:]
    check(not problems, f"no errors in the console {when}({len(problems)})")
    for problem in problems[:10]:
        print("   ", " | ".join(problem.splitlines()[:3])[:300])
