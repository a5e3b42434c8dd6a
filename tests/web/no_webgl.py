# SPDX-License-Identifier: GPL-3.0-or-later
"""no_webgl.py SITE: headless Chromium with neither a GPU nor its software renderer, so without
WebGL, as a browser with hardware acceleration off or a blocked graphics card is: the game
plays, or the page says that WebGL is missing, never that the browser is too old."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import browsers  # noqa: E402
import layout  # noqa: E402
import scenario  # noqa: E402
from page_driver import no_errors  # noqa: E402
from vortani_e2e import check, finish  # noqa: E402

WEBGL = "!!document.createElement('canvas').getContext('webgl')"


def main(argv):
    site = browsers.site_of("chromium", argv[0])
    with browsers.opened("chromium", site, webgl=False) as (server, page):
        check(not page.evaluate(WEBGL), "Chromium so started has no WebGL", fatal=True)
        driver = browsers.start(page, server.url)
        state = driver.state()
        shown = page.evaluate("document.body.innerText")
        if state == "playing":
            browsers.form_drawn(driver, "without WebGL the page")
            mark = len(driver.said())
            driver.press("startForm/operationButton_0")
            check(scenario.hear(driver, lambda t: scenario.same(t, layout.LEVEL_HINT), mark),
                  "without WebGL, Addizione opens the exercise form")
            no_errors(page, "without WebGL ")
        else:
            check(state == "nowebgl" and "WebGL" in shown and "browser recente" not in shown,
                  f"without WebGL the page says WebGL is missing (data-state '{state}': "
                  f"{' '.join(shown.split())[:200]!r})")
            # the downloads begun before the probe are stopped without an error of their own
            no_errors(page, "while telling WebGL is missing ")
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
