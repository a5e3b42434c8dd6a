# SPDX-License-Identifier: GPL-3.0-or-later
"""One whole puzzle as a child plays it, with what every edition must show, say and play: the
same for the desktop, Windows and the browser. Each edition gives a Driver; play(driver) runs
on the start form: Addizione, level Basso, every tile's problem read, the first tile answered
wrong once, then each tile right; the finish; Stampa; Esci on both forms."""
import collections
import re

import layout
from layout import FINISHED, LEVEL_HINT, PALE_YELLOW, PRAISES, TEAL, TILE_HINT, TYPE_HINT, WRONG
from vortani_e2e import check, commonest, differing, wait_for


class Missed(Exception):
    """An action the edition could not complete; the check at hand fails with its reason."""


class Driver:
    """What the scenario asks of an edition, which subclasses this and gives each method below;
    another browser or platform plugs in with a driver of its own. Controls are named
    "form/objectName" (layout.py); rectangles are in the form's own pixels.

    press(name)    presses the control as the edition's child does: a pointer, or the keys that
                   reach it; raises Missed when it cannot reach it
    type(digits)   types digits into the open tile's answer, one key after another
    problem(tile)  tile's (0..11) problem as the game reads it out ("7 + 5")
    said()         every message the game has said so far, oldest first, without a reader's
                   wrapping
    pixels(rect)   the (r, g, b) pixels of rect on the form in front, row by row, as the screen
                   shows it
    answer()       the answer box's text, or None where the edition cannot read it
    sound()        how much the game has played so far (seconds heard, or clips started)
    printout()     the page Stampa printed, waited for: (width, pixels row by row), or None
    ended()        waits for the game to end after Esci on the start form: "" once it has, else
                   why not
    """

    patience = 20.0  # seconds the game may take to answer one input
    reads_problems = True  # False: no problem() is read, the answers are found by trying
    prints = True  # False: no printer, so printing must say why instead

    def reached(self, step, tile=None):
        """The edition's own checks at a step: "exercise", "dealt", "opened" (tile), "wrong",
        "solved" (tile), "printed", "left"."""


def same(line, text):
    """A line that says text; readers may end a sentence with a full stop of their own."""
    return line.strip().rstrip(".") == text.rstrip(".")


def praise(line):
    return any(same(line, p) for p in PRAISES)


def hear(driver, holds, after, timeout=None):
    """The first thing said after index after that holds(line), waiting for it."""
    return wait_for(lambda: next((t for t in driver.said()[after:] if holds(t)), None),
                    timeout or driver.patience)


def result_of(problem):
    m = re.match(r"^\s*(-?\d+)\s*([-+x:])\s*(-?\d+)\s*$", problem or "")
    if not m:
        return None
    a, op, b = int(m.group(1)), m.group(2), int(m.group(3))
    return {"+": a + b, "-": a - b, "x": a * b, ":": a // b if b else None}[op]


def ink(pixels, ground):
    """Pixels clearly apart from the ground: a caption's strokes."""
    return sum(1 for p in pixels if sum(abs(a - b) for a, b in zip(p, ground)) > 120)


def near(p, colour, within=60):
    return sum(abs(a - b) for a, b in zip(p, colour)) < within


TOP = (0, 0, layout.FORM[0], 60)
PUZZLE = layout.rect("exerciseForm/puzzlePicture")
FACE = layout.rect("exerciseForm/neutralFace")
MESSAGE = layout.rect("exerciseForm/verdictLine")
ANSWER = layout.inside("exerciseForm/answerBox", 2)
OK = "exerciseForm/okKey"


def tile_area(i):
    """Tile i clear of its edges and of the focus's dotted mark."""
    return layout.inside(layout.tile(i), 8)


def typed(driver):
    """The answer box shows digits: its red text."""
    return sum(1 for r, g, b in driver.pixels(ANSWER) if r > 180 and g < 90 and b < 90) > 10


class Scenario:
    def __init__(self, driver):
        self.d = driver
        self.seen = {}  # pixels kept for later comparisons

    def play(self):
        self.start()
        self.exercise()
        self.deal()
        for i in range(12):
            if not self.solve(i):
                break
        self.finished()
        self.printing()
        self.leave()

    def start(self):
        d = self.d
        shown = wait_for(lambda: commonest(d.pixels(TOP)) == TEAL, d.patience, 0.1)
        check(shown, "the start form shows its teal background")
        self.seen["banner"] = d.pixels(layout.rect("startForm/banner"))

    def exercise(self):
        mark = len(self.d.said())
        self.d.press("startForm/operationButton_0")
        check(hear(self.d, lambda t: same(t, LEVEL_HINT), mark),
              "Addizione opens the exercise form, which asks for the level", fatal=True)
        self.d.reached("exercise")

    def deal(self):
        d = self.d
        mark = len(d.said())
        d.press("exerciseForm/levelButton_0")
        check(hear(d, lambda t: same(t, TILE_HINT), mark),
              "level Basso deals the puzzle and asks for a tile", fatal=True)

        def dealt():
            tiles = [d.pixels(tile_area(i)) for i in range(12)]
            # The desktop's button face, whatever the theme: the tiles' ground before a choice.
            face = commonest(tiles[11])
            return tiles, face, (face not in (TEAL, PALE_YELLOW) and
                                 all(commonest(t) == face and ink(t, face) > 20 for t in tiles))
        wait_for(lambda: dealt()[2], d.patience, 0.1)
        tiles, self.face, shown = dealt()
        check(shown, f"a level shows twelve tiles in the button face {self.face}, each with its "
              "problem on it")
        check(len({tuple(t) for t in tiles}) == 12, "the twelve problems are all different")
        self.seen.update(covered=d.pixels(PUZZLE), neutral=d.pixels(FACE), sound=d.sound())
        d.reached("dealt")

    def solve(self, i):
        """Tile i answered right, the first one wrong before; whether it went."""
        d, first, name = self.d, i == 0, f"tile {i + 1}"
        if d.reads_problems:
            problem = d.problem(i)
            answer = result_of(problem)
            if not check(answer is not None, f"{name} reads its problem ({problem!r})"):
                return False
            tries = [answer]
        else:
            # The sums of a low level, likeliest first: a wrong try is told, a right one praised.
            problem, answer, tries = None, None, sorted(range(2, 20), key=lambda n: abs(n - 11))
        try:
            d.press(layout.tile(i))
            if first:
                self.wrong_once(problem, answer)
            for number in tries:
                mark = len(d.said())
                d.type(str(number))
                d.press(OK)
                verdict = hear(d, lambda t: praise(t) or same(t, WRONG) or same(t, FINISHED), mark)
                if not verdict or not same(verdict, WRONG):
                    break
        except Missed as missed:
            return check(False, f"{name}: {missed}")
        sum_ = f"{problem} = {number}" if problem else f"{number}, found by trying,"
        # The last tile's finish may replace its praise before the praise is said.
        if not check(verdict and (praise(verdict) or (i == 11 and same(verdict, FINISHED))),
                     f"{name}: {sum_} is praised ({verdict})"):
            return False
        if first:
            self.right_once()
        d.reached("solved", i)
        return True

    def wrong_once(self, problem, answer):
        """The open tile shown chosen, a quickly typed wrong answer told so and shown."""
        d = self.d
        chosen = wait_for(lambda: commonest(d.pixels(tile_area(0))) == PALE_YELLOW, d.patience, 0.1)
        check(chosen, "the chosen tile turns pale yellow")
        message = d.pixels(MESSAGE)
        if d.answer() is not None:
            check(d.answer() == "", "the keypad opens with an empty answer box")
        d.reached("opened", 0)
        wrong = "99" if answer != 99 else "88"
        mark = len(d.said())
        d.type(wrong)
        wait_for(lambda: typed(d), d.patience, 0.1)
        if d.answer() is not None:
            got = wait_for(lambda: (lambda text: len(text) >= 2 and text)(d.answer()),
                           10) or d.answer()
            check(got == wrong, f"two quick presses of {wrong[0]} write \"{wrong}\" in the answer "
                  f"box (it holds \"{got}\")")
        d.press(OK)
        check(hear(d, lambda t: same(t, WRONG), mark),
              f"a wrong answer ({wrong}{f' for {problem}' if problem else ''}) is told so")
        neutral = self.seen["neutral"]
        wait_for(lambda: differing(d.pixels(FACE), neutral) and not typed(d), d.patience, 0.1)
        self.seen["sad"] = sad = d.pixels(FACE)
        check(differing(sad, neutral) > 0, "a wrong answer changes the face")
        if d.answer() is not None:
            check(d.answer() == "", "a wrong answer empties the answer box")
        now = d.pixels(MESSAGE)
        check(ink(now, TEAL) > 100 and differing(now, message) > 100,
              "a wrong answer writes another message in place of the hint")
        check(commonest(d.pixels(tile_area(0))) == PALE_YELLOW, "a wrong answer leaves the tile "
              "chosen")
        d.reached("wrong")

    def right_once(self):
        """The first tile gone, the picture beneath, the faces and the sound."""
        d = self.d
        sound = self.seen["sound"]

        def gone():
            return commonest(d.pixels(tile_area(0))) not in (PALE_YELLOW, self.face)
        check(wait_for(gone, d.patience, 0.1), "a right answer takes the tile away and shows the "
              "picture beneath")
        smile = d.pixels(FACE)
        check(differing(smile, self.seen["sad"]) > 0 and differing(smile, self.seen["neutral"]) > 0,
              "a right answer shows another face than the wrong one and the neutral one")
        check(all(commonest(d.pixels(tile_area(i))) == self.face for i in range(1, 12)),
              "the other tiles stay")
        heard = wait_for(lambda: d.sound() > sound, d.patience, 0.2)
        check(heard, f"the game's clips are heard as the first tile is answered ({d.sound():g})")

    def finished(self):
        d = self.d
        check(hear(d, lambda t: same(t, FINISHED), 0, 30), "the twelfth answer finishes the puzzle")
        said = d.said()
        order = [LEVEL_HINT, TILE_HINT, TYPE_HINT, WRONG, "a praise", FINISHED]
        at, found = 0, []
        for want in order:
            at = next((n for n in range(at, len(said)) if
                       (praise(said[n]) if want == "a praise" else same(said[n], want))), None)
            if at is None:
                break
            found.append(want)
        check(found == order, "the level hint, the tile hints, an error, a praise and the finish "
              f"are said in the order they appeared (got as far as {found})")
        praised = sum(1 for t in said if praise(t))
        # The twelfth praise is replaced at once by the finish; a reader may drop it.
        check(11 <= praised <= 12, f"a praise said for each right answer ({praised})")
        verdicts = [t for t in said if praise(t) or same(t, WRONG) or same(t, FINISHED)]
        check(sum(same(t, FINISHED) for t in said) == 1 and same(verdicts[-1], FINISHED),
              "the finish is said once, the last verdict")
        covered = self.seen["covered"]
        changed = wait_for(lambda: differing(d.pixels(PUZZLE), covered) / len(covered) > 0.5,
                           d.patience, 0.1)
        shown = d.pixels(PUZZLE)
        share = differing(shown, covered) / len(covered)
        # A picture that could not be read leaves a plain fill in its place.
        colours = len(set(shown))
        check(changed and colours > 50, f"the finished puzzle shows the picture: {share:.0%} of "
              f"the puzzle's pixels changed since the deal, in {colours} colours")

    def printing(self):
        d = self.d
        mark = len(d.said())
        d.press("exerciseForm/printButton")
        if not d.prints:
            check(hear(d, lambda t: same(t, layout.NO_PRINTER), mark),
                  "with no printer ready, Stampa says so")
        else:
            check_page(d.printout())
        d.reached("printed")

    def leave(self):
        d, banner = self.d, self.seen["banner"]
        d.press("exerciseForm/exitButton")
        check(wait_for(lambda: d.pixels(layout.rect("startForm/banner")) == banner, d.patience,
                       0.1), "Esci on the exercise form brings back the start form")
        d.reached("left")
        d.press("startForm/exitButton")
        why = d.ended()
        check(not why, f"Esci on the start form ends the game {why}")


def check_page(page):
    """The printout: the whole form, upright across a landscape page, with its picture."""
    if not check(page, "Stampa prints a page"):
        return
    width, pixels = page
    height = len(pixels) // width
    teal = [(n % width, n // width) for n, p in enumerate(pixels) if near(p, TEAL)]
    box = teal and (min(x for x, _ in teal), min(y for _, y in teal),
                    max(x for x, _ in teal) + 1, max(y for _, y in teal) + 1)
    ratio = box and (box[2] - box[0]) / (box[3] - box[1])
    colours = len(collections.Counter(pixels))
    check(width > height and len(teal) / len(pixels) > 0.3 and box and
          abs(ratio - layout.FORM[0] / layout.FORM[1]) < 0.03 and colours > 50,
          f"the printout is the whole form across a landscape page, with its picture ({width} x "
          f"{height}, {len(teal) / len(pixels):.0%} of it the form's teal, the form's box {box}, "
          f"{colours} colours)")


def read_aloud(texts):
    """What a voice was given while play() ran with the class reading aloud: the hints, each
    opened problem in words, the error, the praise and the finish, and nothing else."""
    words = r"[a-zàèéìòù]+"
    problem = re.compile(rf"^{words} più {words}(\. {re.escape(TYPE_HINT)})?$")
    check(texts[:3] and texts[0] == LEVEL_HINT and texts[1] == TILE_HINT and
          problem.match(texts[2]) and texts[2].endswith(TYPE_HINT),
          f"read aloud: the level hint, the tile hint, the first problem with the typing hint "
          f"({texts[:3]})")
    check(sum(bool(problem.match(t)) for t in texts) >= 12, "read aloud: each problem opened")
    check(WRONG in texts and FINISHED in texts and any(praise(t) for t in texts),
          "read aloud: the error, a praise, the finish")
    check(WRONG in texts and FINISHED in texts and texts.index(WRONG) < texts.index(FINISHED),
          "read aloud: the error before the finish")
    strays = [t for t in texts if not (problem.match(t) or praise(t) or t in (
        WRONG, FINISHED, LEVEL_HINT, TILE_HINT, layout.NO_PRINTER, layout.PRINT_FAILED))]
    check(not strays, f"read aloud: nothing else ({strays[:5]})")


def play(driver):
    Scenario(driver).play()
