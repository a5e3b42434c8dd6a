# SPDX-License-Identifier: GPL-3.0-or-later
"""play.py SITE: the whole puzzle (tests/e2e/scenario.py) in headless Chromium, by mouse on the
drawn form, with what the page says, plays and prints; a tile by keyboard alone; then the page
again without its server, and in a window narrower than the form."""
import base64
import os
import re
import sys
import urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import layout  # noqa: E402
import scenario  # noqa: E402
from browser import Chromium, Form, Server, built_site, decode_png, errors, key  # noqa: E402
from vortani_e2e import check, finish, wait_for  # noqa: E402

# Installed before the page's own scripts: what #messages receives, clip starts, print calls.
WATCH = r"""
window.__said = []; window.__starts = 0; window.__printed = []; window.__spoken = [];
(() => {
  // What reaches the browser's speech, and in which language.
  if (globalThis.speechSynthesis) {
    const speak = speechSynthesis.speak.bind(speechSynthesis);
    speechSynthesis.speak = (utterance) => {
      window.__spoken.push([utterance.text, utterance.lang]);
      return speak(utterance);
    };
  }
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


class ChromiumDriver(scenario.Driver):
    """The page in Chromium over the DevTools protocol: the pointer on the drawn form, what the
    page's live region says (every message, and each control's name as it takes the focus)."""

    patience = 20  # software WebGL is slow

    def __init__(self, page):
        self.page = page
        self.form = Form(page)

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
        if step == "printed":
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
        key(self.page, "Tab")
        named = scenario.hear(self, lambda t: True, mark, 10)
        check(named and named.split(",")[0].strip() == "Basso",
              f"Tab takes the focus from tile 1 to level Basso, and the page names it ({named!r})")
        mark = len(self.said())
        key(self.page, "Tab", shift=True)
        scenario.hear(self, lambda t: t == caption, mark, 10)
        mark = len(self.said())
        for k in ("Enter", *str(answer), "Enter"):
            key(self.page, k)
        verdict = scenario.hear(self, lambda t: scenario.praise(t) or scenario.same(
            t, layout.WRONG), mark)
        check(verdict and scenario.praise(verdict),
              f"by keyboard: Enter, {answer}, Enter solves tile 1 ({verdict})")


def read_aloud(spoken):
    scenario.read_aloud([text for text, _ in spoken])
    check(spoken and all(lang == "it-IT" for _, lang in spoken), "read aloud: every text in it-IT")


def distinct_share(pixels):
    """How much of the pixels the commonest colour is not."""
    from collections import Counter
    return 1 - Counter(pixels).most_common(1)[0][1] / len(pixels)


def no_errors(events, when=""):
    problems = errors(events)
    check(not problems, f"no errors in the console {when}({len(problems)})")
    for problem in problems[:10]:
        print("   ", problem[:300])


def reload(driver, what):
    """Reloads; true once the form is drawn. An uncaught exception ends the wait: the program
    does not start after one."""
    page = driver.page
    events = len(page.events)
    page.send("Page.reload", ignoreCache=False)
    wait_for(lambda: driver.state() == "playing" or any(
        e["method"] == "Runtime.exceptionThrown" for e in page.events[events:]), 120, 0.1)
    shown = driver.form.pixels()[1]
    drawn = check(driver.state() == "playing" and distinct_share(shown) > 0.05,
                  f"{what} starts the game and draws the start form (data-state "
                  f"'{driver.state()}', {distinct_share(shown):.0%} of it off its commonest colour)")
    no_errors(page.events[events:], "then ")
    return drawn


def offline_and_narrow(driver, server):
    """The page again from its service worker, then scaled down in a small window, where the
    pointer must still land on Esci."""
    page = driver.page
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
    reload(driver, "with the server gone a reload")
    page.send("Emulation.setDeviceMetricsOverride", width=480, height=400, deviceScaleFactor=1,
              mobile=False)
    rect = reload(driver, "in a 480x400 window, a reload") and driver.form.rect()
    check(rect and rect["x"] >= 0 and rect["x"] + rect["width"] <= 480.5 and rect["y"] >= 0 and
          rect["y"] + rect["height"] <= 400.5 and rect["width"] < layout.FORM[0] and
          abs(rect["width"] / rect["height"] - layout.FORM[0] / layout.FORM[1]) < 0.01,
          f"the form is scaled down whole ({rect})")
    driver.press("startForm/exitButton")
    why = driver.ended()
    check(not why, f"in the small window, Esci on the start form shows the goodbye {why}")


def play_again(driver):
    box = driver.page.evaluate("(() => { const b = document.getElementById('playAgain');"
                               " b.scrollIntoView({block: 'center'});"
                               " const r = b.getBoundingClientRect();"
                               " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
    for kind, buttons in (("mousePressed", 1), ("mouseReleased", 0)):
        driver.page.send("Input.dispatchMouseEvent", type=kind, x=box[0], y=box[1],
                         button="left", buttons=buttons, clickCount=1)
    check(wait_for(lambda: driver.state() == "playing", 120, 0.1),
          f"the goodbye's button starts the game again (data-state '{driver.state()}')")


def main(argv):
    site = built_site(argv[0])
    server = Server(site)
    chromium = Chromium()
    page = chromium.page()
    try:
        for domain in ("Page", "Runtime", "Log", "Network"):
            page.send(f"{domain}.enable")
        page.send("Page.addScriptToEvaluateOnNewDocument", source=WATCH)
        # Read aloud, as a class of children who cannot read yet has it: the scenario plays the
        # same with the voice on.
        page.send("Page.navigate", url=server.url + "?voce=s%C3%AC")
        driver = ChromiumDriver(page)
        check(wait_for(lambda: driver.state() == "playing", 120, 0.1), "the page draws the start "
              f"form (body data-state '{driver.state()}')", fatal=True)
        rect = driver.form.rect()
        check(abs(rect["width"] - layout.FORM[0]) < 1 and abs(rect["height"] - layout.FORM[1]) < 1,
              "a window that holds the form shows it at scale 1 "
              f"(canvas {rect['width']}x{rect['height']})")
        scenario.play(driver)
        if len(driver.said()) < 60:
            print("said:", driver.said())
        read_aloud(page.evaluate("window.__spoken") or [])
        play_again(driver)
        no_errors(page.events, "while playing ")
        offline_and_narrow(driver, server)
    finally:
        page.close()
        chromium.close()
        server.stop()
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
