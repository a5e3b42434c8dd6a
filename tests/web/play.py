# SPDX-License-Identifier: GPL-3.0-or-later
"""play.py BROWSER SITE: the whole puzzle (tests/e2e/scenario.py) in Chromium, Firefox or WebKit,
by mouse on the drawn form, with what the page says, plays and prints, and what it reads aloud
where the browser can speak; a tile by keyboard alone; no console error throughout. Then the
page again without its server (in Chromium a whole puzzle more, its picture from the service
worker's store), and in a window narrower than the form."""
import os
import sys
import urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import browsers  # noqa: E402
import layout  # noqa: E402
import scenario  # noqa: E402
from page_driver import no_errors  # noqa: E402
from vortani_e2e import check, finish, wait_for  # noqa: E402


def read_aloud(page):
    """What reached the browser's speech, where it has one."""
    if not page.evaluate("typeof speechSynthesis === 'object'"):
        print("note: this browser has no speech: reading aloud is not judged", flush=True)
        return
    spoken = page.evaluate("window.__spoken") or []
    scenario.read_aloud([text for text, _ in spoken])
    check(spoken and all(lang == "it-IT" for _, lang in spoken), "read aloud: every text in it-IT")


def reload(driver, what):
    """Reloads; true once the form is drawn. An uncaught exception ends the wait: the program
    does not start after one."""
    page = driver.page
    mark = len(page.errors())
    page.evaluate("window.__before = true")  # until the reload has replaced the page
    page.reload()
    wait_for(lambda: page.evaluate("!window.__before") and driver.state() == "playing" or any(
        e.startswith("exception") for e in page.errors()[mark:]), 120, 0.1)
    drawn = browsers.form_drawn(driver, what)
    no_errors(page, "then ", mark)
    return drawn


def offline(driver, server, whole):
    """The page again from its service worker; whole: and a whole puzzle played from it."""
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
    if reload(driver, "with the server gone a reload") and whole:
        mark = len(page.errors())
        driver.keyboard = False
        scenario.play(driver)
        no_errors(page, "while playing offline ", mark)


def narrow(driver):
    """Scaled down in a small window, where the pointer must still land on Esci."""
    driver.page.viewport(480, 400)
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
    driver.page.click(*box)
    check(wait_for(lambda: driver.state() == "playing", 120, 0.1),
          f"the goodbye's button starts the game again (data-state '{driver.state()}')")


def main(argv):
    if len(argv) != 2:
        return "usage: play.py chromium|firefox|webkit SITE"
    name, site = argv[0], browsers.site_of(*argv)
    with browsers.opened(name, site) as (server, page):
        # Read aloud, as a class of children who cannot read yet has it: the scenario plays the
        # same with the voice on.
        driver = browsers.start(page, server.url + "?voce=s%C3%AC")
        check(driver.state() == "playing", "the page draws the start form (body data-state "
              f"'{driver.state()}')", fatal=True)
        rect = driver.form.rect()
        check(abs(rect["width"] - layout.FORM[0]) < 1 and abs(rect["height"] - layout.FORM[1]) < 1,
              "a window that holds the form shows it at scale 1 "
              f"(canvas {rect['width']}x{rect['height']})")
        scenario.play(driver)
        if len(driver.said()) < 60:
            print("said:", driver.said())
        read_aloud(page)
        play_again(driver)
        no_errors(page, "while playing ")
        # The pictures come from the service worker's store: a whole puzzle shows one.
        offline(driver, server, whole=name == "chromium")
        narrow(driver)
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
