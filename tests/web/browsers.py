# SPDX-License-Identifier: GPL-3.0-or-later
"""The browsers the web edition is tested in, each opened on the built site with the page's
watch (watch.js) in place before the page's own scripts."""
import contextlib
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import browser  # noqa: E402
import firefox  # noqa: E402
import webkit  # noqa: E402
from page_driver import WATCH, PageDriver  # noqa: E402
from site_server import Server, built_site  # noqa: E402
from vortani_e2e import check, commonest, wait_for  # noqa: E402

# What each needs installed (scripts/install-deps.sh's web_test).
TOOLS = {"chromium": (browser.CHROMIUM,), "firefox": (firefox.FIREFOX, "Xvfb"),
         "webkit": (webkit.DRIVER, webkit.MINIBROWSER, "Xvfb")}


def site_of(name, folder):
    """The built site's folder, once the browser named is installed (else a skip; under CI a
    failure)."""
    if name not in TOOLS:
        sys.exit(f"no browser {name!r}: one of {', '.join(TOOLS)}")
    return built_site(folder, *TOOLS[name])


@contextlib.contextmanager
def opened(name, site, width=1000, height=700, policy=False, touch=False, webgl=True):
    """(server, page) of a fresh browser on site's server; all stopped afterwards. policy: the
    server sends site_server.CONTENT_POLICY; touch: touch events on (Firefox); webgl=False:
    Chromium without any WebGL."""
    if name == "chromium":
        with browser.site_page(site, width, height, policy, webgl) as (server, page):
            page.preload(WATCH)
            yield server, page
        return
    # No script runs before the page's own over WebKit's WebDriver: the server puts it in.
    server = Server(site, policy=policy,
                    inject=webkit.RECORDER + WATCH if name == "webkit" else None)
    page = None
    try:
        if name == "webkit":
            page = webkit.WebKit(width, height)
        else:
            page = firefox.Firefox(width, height, firefox.TOUCH if touch else None)
            page.preload(WATCH)
        yield server, page
    finally:
        if page:
            page.close()
        server.stop()


def start(page, url):
    """The page at url, its driver, once the page has left its loading state (or the time is
    up)."""
    driver = PageDriver(page)
    page.evaluate("window.__before = true")  # until the new page has replaced it
    page.navigate(url)
    wait_for(lambda: page.evaluate("!window.__before") and driver.state() not in (
        None, "", "loading"), 120, 0.1)
    return driver


def form_drawn(driver, what):
    """Whether the page shows the drawn start form: its state, and more than one colour."""
    shown = driver.form.pixels()[1]
    share = 1 - shown.count(commonest(shown)) / len(shown)
    return check(driver.state() == "playing" and share > 0.05,
                 f"{what} starts the game and draws the start form (data-state "
                 f"'{driver.state()}', {share:.0%} of it off its commonest colour)")
