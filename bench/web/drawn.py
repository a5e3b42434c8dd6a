# SPDX-License-Identifier: GPL-3.0-or-later
"""One cold load of a page in a browser on a fresh profile, until its form is first drawn: the
page's body leaves data-state "loading" ("playing" once the program has painted its form; the
bare window's page says the same). The moment is taken in the page, from its navigation's
start, by a script that runs before the page's own. The browser is first made ready as a
child's is when a link is opened in it: its graphics process started, by a WebGL context made on
its blank page. A freshly launched browser starts that process only when first asked, which
would charge a second or more to whichever page asks first."""
import json
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "tests", "e2e"))
from browser import Chromium, built_site  # noqa: E402
from vortani_e2e import not_ready, wait_for  # noqa: E402



def sites(argv):
    """(the game's site, the bare window's page), both built, from SITE BARE_SITE."""
    site = built_site(argv[0])
    bare_site = os.path.abspath(argv[1])
    if not os.path.isfile(os.path.join(bare_site, "bare_window.wasm")):
        not_ready(f"no bare window in {bare_site}: build the web edition with its tests")
    return site, bare_site


DEADLINE = 180  # s; a loaded machine with software WebGL takes tens of seconds

WATCH = r"""
(() => {
  const stamp = () => {
    const state = document.body && document.body.dataset.state;
    if (!state || state === "loading")
      return false;
    window.__drawn = {state, at: performance.now(), origin: performance.timeOrigin};
    return true;
  };
  if (!stamp())
    new MutationObserver((records, observer) => {
      if (stamp())
        observer.disconnect();
    }).observe(document, {attributes: true, attributeFilter: ["data-state"], childList: true,
                          subtree: true});
  return document.body ? document.body.dataset.state : "";
})()
"""


WARM_UP = """(() => {
  const gl = document.createElement('canvas').getContext('webgl');
  const lose = gl && gl.getExtension('WEBGL_lose_context');
  if (lose)
    lose.loseContext(); // given back before the page comes
  return !!gl;
})()"""


class NotDrawn(RuntimeError):
    pass


def _drawn(page, url):
    # As text: every browser's client hands a string back alike.
    drawn = wait_for(lambda: json.loads(page.evaluate("JSON.stringify(window.__drawn || null)")),
                     DEADLINE, 0.05)
    if not drawn:
        raise NotDrawn(f"{url}: nothing drawn within {DEADLINE} s")
    if drawn["state"] != "playing":
        raise NotDrawn(f"{url}: the page went to \"{drawn['state']}\", not \"playing\"")
    return drawn


def chromium(url, then=None):
    """{"at": ms from the navigation's start, "origin": its epoch ms} of url's first drawn form
    in headless Chromium (tests/e2e/browser.py: device pixel ratio 1, software WebGL);
    then(page), if given, runs on the page before the browser closes."""
    browser = Chromium()
    page = None
    try:
        page = browser.page()
        page.send("Page.enable")
        page.evaluate(WARM_UP)
        page.send("Page.addScriptToEvaluateOnNewDocument", source=WATCH)
        page.send("Page.navigate", url=url)
        drawn = _drawn(page, url)
        if then:
            then(page)
        return drawn
    finally:
        if page:
            page.close()
        browser.close()


def firefox(url):
    """The same in Firefox (tests/e2e/firefox.py), through WebDriver BiDi. Should the client
    have no way to run a script before the page's own (preload), the watch starts once the new
    page answers, and a form drawn before that is not timed but reported."""
    from firefox import Firefox
    browser = Firefox(width=1000, height=700)
    try:
        browser.evaluate(WARM_UP)
        preload = getattr(browser, "preload", None)
        if preload:
            preload(WATCH)
            browser.navigate(url)
        else:
            browser.navigate(url)
            state = wait_for(lambda: browser.evaluate(
                f"location.href === {url!r} && document.body ? {WATCH} : ''"), 30, 0.01)
            if state != "loading":
                raise NotDrawn(f"{url}: the form was drawn before it could be timed ({state!r})")
        return _drawn(browser, url)
    finally:
        browser.close()


BROWSERS = {"Chromium": chromium, "Firefox": firefox}
