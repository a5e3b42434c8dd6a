# SPDX-License-Identifier: GPL-3.0-or-later
"""class_link.py SITE: the game opened from a class's link in headless Chromium. The link's
set-up reaches the program (only the operation and levels offered answer, the sound starts off
and can be switched on), the manifest of an app installed from it keeps the query, a link the
program refuses shows its words for the grown-up with the way to the teacher's page, and the
link works offline."""
import os
import re
import sys
import time
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import layout  # noqa: E402
import scenario  # noqa: E402
from browser import built_site, errors, offline, site_page  # noqa: E402
from page_driver import WATCH, PageDriver  # noqa: E402
from vortani_e2e import check, commonest, finish, wait_for  # noqa: E402

SETUP = "?operazioni=divisione&livelli=3,4&suoni=no"

# A link the program does not play: (query, the page's state, words of its message).
NOTICES = [
    ("?livelli=5", "refused", "«5» non è un livello"),
    ("?operazioni=addizione&colore=blu", "refused", "«colore» non è un'impostazione"),
    ("?suoni=forse", "refused", "«forse» non va bene"),
    ("?help", "notice", "--operazioni="),
]

NOTICE = """(() => {
  const box = document.getElementById('grownUp');
  const link = document.getElementById('classLink');
  const seen = (e) => !!e && !e.hidden && e.getClientRects().length > 0;
  return {shown: seen(box), text: document.getElementById('noticeText').textContent,
          heading: seen(document.getElementById('refusedHeading')),
          link: seen(link) ? link.href : null, crashed: seen(document.getElementById('crashed')),
          canvas: seen(document.getElementById('screen')),
          manifest: document.querySelector('link[rel=manifest]').href};
})()"""


def open_link(driver, address, state="playing"):
    page = driver.page
    mark = len(page.events)
    page.send("Page.navigate", url=address)
    wait_for(lambda: driver.state() == state, 120, 0.1)
    return page.events[mark:]


def offered_only(driver):
    """The start form offers Divisione alone, the exercise form Alto and Esagerato alone; the
    sound is off until the switch turns it on."""
    d = driver
    check(wait_for(lambda: commonest(d.pixels(scenario.TOP)) == layout.TEAL, d.patience, 0.1),
          "the link's start form shows its teal background", fatal=True)
    # The greyed ones pressed first: had any of them answered, its hint would be heard before
    # the one that follows the offered button.
    hint = lambda t: scenario.same(t, layout.LEVEL_HINT)  # noqa: E731
    mark = len(d.said())
    for i in range(4):
        d.press(f"startForm/operationButton_{i}")
    check(scenario.hear(d, hint, mark), "Divisione opens the exercise form", fatal=True)
    check(sum(map(hint, d.said()[mark:])) == 1, "the operations not offered open nothing")

    dealt = lambda t: scenario.same(t, layout.TILE_HINT)  # noqa: E731
    first = lambda t: re.search(r",\s*Tessera 1\b", t)  # noqa: E731
    mark = len(d.said())
    for i in range(3):
        d.press(f"exerciseForm/levelButton_{i}")
    check(scenario.hear(d, first, mark), "Alto deals a puzzle", fatal=True)
    # The deal's hint follows tile 1's name.
    check(scenario.hear(d, dealt, mark) and sum(map(dealt, d.said()[mark:])) == 1,
          "Basso and Medio, not offered, deal nothing")
    for i, name in ((2, "Alto"), (3, "Esagerato")):
        mark = len(d.said())
        d.press(f"exerciseForm/levelButton_{i}")
        caption = scenario.hear(d, lambda t: re.search(r",\s*Tessera 1\b", t), mark)
        check(caption and ":" in caption.split(",")[0],
              f"level {name} deals a puzzle of divisions ({caption!r})")
    check(d.sound() == 0, f"with suoni=no nothing sounds while playing ({d.sound()} clips)")
    spoken = d.page.evaluate("window.__spoken")
    check(spoken == [], f"without voce nothing reaches the browser's speech ({spoken})")

    d.press("exerciseForm/exitButton")
    time.sleep(1)
    d.press("startForm/soundSwitch")
    check(wait_for(lambda: d.sound() > 0, d.patience, 0.2),
          f"the child switches the sound on from the start form ({d.sound()} clips)")


def installed_manifest(page, address):
    """The manifest Chromium would install from this page: its start_url keeps the query."""
    # The page's copy of the manifest replaces the plain one once it is fetched.
    wait_for(lambda: page.evaluate("document.querySelector('link[rel=manifest]').href")
             .startswith("data:"), 20, 0.1)
    manifest = page.send("Page.getAppManifest")
    parsed = manifest.get("manifest", {})
    check(parsed.get("startUrl") == address and not manifest.get("errors"),
          f"the installed app would start at the link, query and all ({parsed.get('startUrl')}, "
          f"errors {manifest.get('errors')})")
    check(parsed.get("scope") == urllib.parse.urljoin(address, "./") and parsed.get("icons"),
          f"its scope is the site's folder, its icons are there ({parsed.get('scope')})")
    installable = page.send("Page.getInstallabilityErrors").get("installabilityErrors")
    check(installable == [], f"Chromium finds the page installable ({installable})")


def notices(driver, base):
    for query, state, words in NOTICES:
        events = open_link(driver, base + query, state)
        time.sleep(1)  # the program has returned from main(): nothing more may follow
        seen = driver.page.evaluate(NOTICE)
        check(driver.state() == state and seen["shown"] and words in seen["text"],
              f"{query} shows the program's words on the page ({state}: {seen['text'][:80]!r})")
        check(seen["link"] == urllib.parse.urljoin(base, "classe.html") and not seen["crashed"]
              and not seen["canvas"], f"{query}: with the way to classe.html, no crash notice, "
              f"no canvas (link {seen['link']}, crashed {seen['crashed']}, canvas "
              f"{seen['canvas']})")
        check(seen["heading"] == (state == "refused") and not seen["manifest"].startswith(
              "data:"), f"{query}: a refusal says so; no app would be installed from it "
              f"({seen['manifest'][:40]})")
        problems = errors(events)
        check(not problems, f"{query}: no errors in the console {problems[:3]}")


def main(argv):
    with site_page(built_site(argv[0])) as (server, page):
        page.preload(WATCH)
        driver = PageDriver(page)
        address = server.url + SETUP
        events = open_link(driver, address)
        check(driver.state() == "playing", f"{SETUP} starts the game (data-state "
              f"'{driver.state()}')", fatal=True)
        offered_only(driver)
        installed_manifest(page, address)
        check(not errors(events + page.events), "no errors in the console while playing")

        notices(driver, server.url)

        check(offline(page, server), "the site's service worker is active")
        open_link(driver, address)
        check(driver.state() == "playing" and page.evaluate("location.search") == SETUP,
              f"with the server gone the link still starts the game ('{driver.state()}')")
    return finish()

if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
