# SPDX-License-Identifier: GPL-3.0-or-later
"""play.py SITE: one whole puzzle in headless Chromium, by mouse on the drawn form and once by
keyboard, with what the page says, plays and prints; then the page again without its server."""
import os
import re
import sys
import urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from browser import CHROMIUM, Chromium, Form, Server, errors, key  # noqa: E402
from vortani_e2e import check, finish, need, not_ready, wait_for  # noqa: E402

site = os.path.abspath(sys.argv[1])
need(CHROMIUM)
if not os.path.exists(os.path.join(site, "index.html")):
    not_ready(f"no page in {site}: build the web edition first (make web)")

# Form coordinates. The start form's staircase; the exercise form's level, tiles and keypad.
ADDIZIONE, START_ESCI = (370, 170), (450, 314)
BASSO, STAMPA, EXERCISE_ESCI = (58, 158), (558, 78), (562, 358)
PUZZLE = (128, 76, 353, 265)
KEYPAD = (496, 104)
DIGIT_KEYS = [(8, 140), (8, 100), (48, 100), (88, 100), (8, 60), (48, 60), (88, 60), (8, 20),
              (48, 20), (88, 20)]
OK_KEY = (KEYPAD[0] + 8 + 56, KEYPAD[1] + 180 + 16)

PRAISES = {"Bravissimo.", "Molto bravo.", "Dai che vai forte.", "Molto bene.", "Continua così.",
           "Sei proprio bravo.", "Uaoo!"}
LEVEL_HINT, TILE_HINT = "Scegli il livello.", "Scegli l'operazione cliccando su una tessera del puzzle."
WRONG, FINISHED = "Ops! hai sbagliato. Riprova.", "Hai finito. Guarda che bel disegno"
WAIT = 20  # seconds for anything the game does on one input; software WebGL is slow

# Installed before the page's own scripts: what #messages receives, clip starts, print calls.
WATCH = r"""
window.__said = []; window.__starts = 0; window.__printed = [];
(() => {
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (...args) {
    window.__starts++;
    return start.apply(this, args);
  };
  // Printing would open a dialogue no one answers: note the call and what was to be printed.
  window.print = () => window.__printed.push(!!document.querySelector('#printout img'));
  const listen = () => {
    const box = document.getElementById('messages');
    if (!box) return false;
    const note = node => {
      const text = (node.textContent || '').trim();
      if (text) window.__said.push(text);
    };
    box.childNodes.forEach(note);
    new MutationObserver(records => records.forEach(r => r.addedNodes.forEach(note)))
      .observe(box, {childList: true});
    return true;
  };
  if (!listen()) {
    const early = new MutationObserver(() => listen() && early.disconnect());
    early.observe(document, {childList: true, subtree: true});
  }
})();
"""


def said():
    return page.evaluate("window.__said") or []


def hear(holds, after, timeout=WAIT):
    """The first text said after index after that holds(text), waiting for it."""
    return wait_for(lambda: next((t for t in said()[after:] if holds(t)), None), timeout)


def state():
    return page.evaluate("document.body ? document.body.dataset.state : ''")


def centre(place, at=(0, 0), jitter=0):
    # Qt drops a move to where the pointer already is: repeated presses come from either side.
    return (at[0] + place[0] + 16 + jitter, at[1] + place[1] + 16)


def tile_centre(n):
    i = n - 1
    return (PUZZLE[0] + 44 + 88 * (i % 4), PUZZLE[1] + 44 + 88 * (i // 4))


def caption_of(n):
    """Tile n's problem, as the page names the tile when the pointer comes onto it."""
    form.move(EXERCISE_ESCI)  # away first: the focus may be on that tile already
    mark = len(said())
    form.move(tile_centre(n))
    return hear(lambda t: re.search(rf",\s*Tessera {n}\b", t), mark)


def result_of(caption):
    m = re.match(r"^\s*(-?\d+)\s*([-+x:])\s*(-?\d+)\s*,", caption)
    if not m:
        return None
    a, op, b = int(m.group(1)), m.group(2), int(m.group(3))
    return {"+": a + b, "-": a - b, "x": a * b, ":": a // b if b else None}[op]


def type_on_keypad(number, problems):
    """Each digit's key, then OK: each key names itself as the pointer comes, which it does only
    once the keypad is open; a pressed digit sends the focus to the answer box."""
    for i, digit in enumerate(str(number)):
        at = centre(DIGIT_KEYS[int(digit)], KEYPAD, 4 * (i % 2) - 2)
        mark = len(said())
        form.move(at)
        if not hear(lambda t: t.split(",")[0].strip() == digit, mark):
            problems.append(f"key {digit} did not take the focus")
            return False
        mark = len(said())
        form.click(at)
        if not hear(lambda t: t.startswith("Risultato"), mark):
            problems.append(f"key {digit} did not reach the answer box")
            return False
    mark = len(said())
    form.move(OK_KEY)
    if not hear(lambda t: t.split(",")[0].strip() == "OK", mark):
        problems.append("OK did not take the focus")
        return False
    form.click(OK_KEY)
    return True


def distinct_share(pixels):
    """How much of the pixels the commonest colour is not."""
    from collections import Counter
    return 1 - Counter(pixels).most_common(1)[0][1] / len(pixels)


server = Server(site)
chromium = Chromium()
page = chromium.page()
try:
    for domain in ("Page", "Runtime", "Log", "Network"):
        page.send(f"{domain}.enable")
    page.send("Page.addScriptToEvaluateOnNewDocument", source=WATCH)
    page.send("Page.navigate", url=server.url)
    form = Form(page)
    check(wait_for(lambda: state() == "playing", 120, 0.1), "the page draws the start form "
          f"(body data-state '{state()}')", fatal=True)
    rect = form.rect()
    check(abs(rect["width"] - 632) < 1 and abs(rect["height"] - 453) < 1,
          f"a window that holds the form shows it at scale 1 (canvas {rect['width']}x{rect['height']})")

    # ---- One puzzle by mouse -------------------------------------------------------------------
    mark = len(said())
    form.click(ADDIZIONE)
    check(hear(lambda t: t == LEVEL_HINT, mark), "Addizione opens the exercise form, which asks "
          "for the level", fatal=True)
    mark = len(said())
    form.click(BASSO)
    check(hear(lambda t: t == TILE_HINT, mark), "level Basso deals the puzzle and asks for a tile",
          fatal=True)
    covered = form.pixels(PUZZLE)[1]

    for n in range(1, 13):
        caption = caption_of(n)
        answer = caption and result_of(caption)
        if not check(answer is not None, f"tile {n} names its problem as the pointer comes "
                     f"({caption!r})"):
            break
        form.click(tile_centre(n))
        problems = []
        if n == 1:
            mark = len(said())
            if type_on_keypad(answer + 1, problems):
                check(hear(lambda t: t == WRONG, mark), f"a wrong answer ({answer + 1} for "
                      f"{caption.split(',')[0].strip()}) is told so")
        mark = len(said())
        typed = type_on_keypad(answer, problems)
        verdict = typed and hear(lambda t: t in PRAISES or t == WRONG, mark)
        if not check(verdict in PRAISES, f"tile {n}: {caption.split(',')[0].strip()} = {answer} "
                     f"on the keypad is praised ({verdict or '; '.join(problems) or 'nothing'})"):
            break

    mark = len(said())
    finished = hear(lambda t: t == FINISHED, 0, 30)
    check(finished, "the twelfth answer finishes the puzzle")
    heard = said()
    order = [LEVEL_HINT, WRONG, "praise", FINISHED]
    at, found = 0, []
    for want in order:
        at = next((i for i in range(at, len(heard)) if heard[i] == want or
                   (want == "praise" and heard[i] in PRAISES)), None)
        if at is None:
            break
        found.append(want)
    check(found == order, f"the live region said the level hint, the error, a praise and the "
          f"finish in that order (got as far as {found})")
    if len(heard) < 40:
        print("said:", heard)

    revealed = form.pixels(PUZZLE)[1]
    changed = sum(1 for p, q in zip(covered, revealed) if p != q) / len(covered)
    check(changed > 0.5, f"the finished puzzle shows the picture: {changed:.0%} of the puzzle's "
          "pixels changed since the deal")
    starts = page.evaluate("window.__starts")
    check(starts > 0, f"the game played its clips through Web Audio ({starts} starts)")

    # ---- Print ----------------------------------------------------------------------------------
    form.click(STAMPA)
    printed = wait_for(lambda: page.evaluate("window.__printed"), WAIT)
    check(printed and all(printed), f"Stampa asks the browser to print, the picture in place "
          f"(calls: {printed})")
    # Drawn again in the page: a printout of a cleared WebGL canvas is one flat colour.
    picture = page.evaluate("""(async () => {
      const img = document.querySelector('#printout img');
      if (!img || !img.complete || !img.naturalWidth) return null;
      const bytes = new Uint8Array(await (await fetch(img.src)).arrayBuffer()).slice(0, 8);
      const c = document.createElement('canvas');
      c.width = img.naturalWidth; c.height = img.naturalHeight;
      const g = c.getContext('2d');
      g.drawImage(img, 0, 0);
      const data = g.getImageData(0, 0, c.width, c.height).data, colours = new Set();
      for (let i = 0; i < data.length; i += 4 * 7) colours.add(data[i] << 16 | data[i+1] << 8 | data[i+2]);
      return {png: bytes.join() === '137,80,78,71,13,10,26,10', url: img.src.slice(0, 5),
              width: img.naturalWidth, height: img.naturalHeight, colours: colours.size};
    })()""", wait=True)
    check(picture and picture["png"] and picture["width"] >= 632 and
          abs(picture["width"] / picture["height"] - 632 / 453) < 0.02 and picture["colours"] > 50,
          f"the printout is a PNG of the whole form with its picture ({picture})")

    # ---- Keyboard alone -------------------------------------------------------------------------
    # A new deal puts the focus on tile 1, which the page names. Tab goes on to the first level,
    # Shift+Tab comes back; Enter opens the tile, the digits go to the answer box and Enter
    # confirms.
    mark = len(said())
    form.click(BASSO)
    caption = hear(lambda t: re.search(r",\s*Tessera 1\b", t), mark)
    answer = caption and result_of(caption)
    if check(answer is not None, f"a new deal gives tile 1 the focus, and the page names it "
             f"({caption!r})"):
        mark = len(said())
        key(page, "Tab")
        named = hear(lambda t: True, mark, 10)
        check(named and named.split(",")[0].strip() == "Basso",
              f"Tab takes the focus from tile 1 to level Basso, and the page names it ({named!r})")
        mark = len(said())
        key(page, "Tab", shift=True)
        hear(lambda t: t == caption, mark, 10)
        mark = len(said())
        for k in ("Enter", *str(answer), "Enter"):
            key(page, k)
        verdict = hear(lambda t: t in PRAISES or t == WRONG, mark)
        check(verdict in PRAISES, f"by keyboard: Enter, {answer}, Enter solves tile 1 ({verdict})")

    problems = errors(page.events)
    check(not problems, f"no errors in the console while playing ({len(problems)})")
    for problem in problems[:10]:
        print("   ", problem[:300])

    # ---- Without the server ---------------------------------------------------------------------
    worker = page.evaluate("""Promise.race([
      navigator.serviceWorker ? navigator.serviceWorker.ready.then(r => !!r.active) : false,
      new Promise(done => setTimeout(() => done(false), 30000))])""", wait=True)
    check(worker, "the page's service worker is active after one visit")
    server.stop()
    try:
        urllib.request.urlopen(server.url, timeout=2)
        check(False, "the page's server stopped")
    except OSError:
        pass
    def reload(what):
        """Reloads; true once the form is drawn. An uncaught exception ends the wait: the
        program does not start after one."""
        events = len(page.events)
        page.send("Page.reload", ignoreCache=False)
        wait_for(lambda: state() == "playing" or any(
            e["method"] == "Runtime.exceptionThrown" for e in page.events[events:]), 120, 0.1)
        shown = form.pixels()[1]
        drawn = check(state() == "playing" and distinct_share(shown) > 0.05,
                      f"{what} starts the game and draws the start form (data-state "
                      f"'{state()}', {distinct_share(shown):.0%} of it off its commonest colour)")
        problems = errors(page.events[events:])
        check(not problems, f"no errors in the console then ({len(problems)})")
        for problem in problems[:10]:
            print("   ", problem[:300])
        return drawn

    reload("with the server gone a reload")
    # A window narrower than the form: the form comes scaled down, and the pointer still lands
    # where the scaled form shows its buttons (Esci, below).
    page.send("Emulation.setDeviceMetricsOverride", width=480, height=400, deviceScaleFactor=1,
              mobile=False)
    rect = reload("in a 480x400 window, a reload") and form.rect()
    check(rect and rect["x"] >= 0 and rect["x"] + rect["width"] <= 480.5 and rect["y"] >= 0 and
          rect["y"] + rect["height"] <= 400.5 and rect["width"] < 632 and
          abs(rect["width"] / rect["height"] - 632 / 453) < 0.01,
          f"the form is scaled down whole ({rect})")

    # ---- Esci -----------------------------------------------------------------------------------
    form.click(START_ESCI)
    gone = wait_for(lambda: state() == "goodbye" and page.evaluate(
        "(() => { const g = document.getElementById('goodbye');"
        " return !!g && !g.hidden && g.getClientRects().length > 0"
        " && !!document.getElementById('playAgain'); })()"), WAIT)
    check(gone, f"Esci on the start form shows the goodbye with its button (data-state "
          f"'{state()}')")
    if gone:
        box = page.evaluate("(() => { const b = document.getElementById('playAgain');"
                            " b.scrollIntoView({block: 'center'});"
                            " const r = b.getBoundingClientRect();"
                            " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
        for kind, buttons in (("mousePressed", 1), ("mouseReleased", 0)):
            page.send("Input.dispatchMouseEvent", type=kind, x=box[0], y=box[1], button="left",
                      buttons=buttons, clickCount=1)
        check(wait_for(lambda: state() == "playing", 120, 0.1),
              f"its button starts the game again (data-state '{state()}')")
finally:
    page.close()
    chromium.close()
    server.stop()
finish()
