# SPDX-License-Identifier: GPL-3.0-or-later
"""content_policy.py SITE: the game in headless Chromium with its server sending the strict
Content-Security-Policy a school's server may send (site_server.CONTENT_POLICY): it starts and a
problem is answered with nothing refused and no error in the console."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import browsers  # noqa: E402
import scenario  # noqa: E402
from page_driver import no_errors  # noqa: E402
from site_server import CONTENT_POLICY  # noqa: E402
from vortani_e2e import check, finish, wait_for  # noqa: E402

# What the policy refused, as the page is told.
VIOLATIONS = """
window.__refused = [];
document.addEventListener('securitypolicyviolation', (e) => window.__refused.push(
  `${e.effectiveDirective} refused ${e.blockedURI} (${e.sourceFile}:${e.lineNumber})`));
"""


def main(argv):
    site = browsers.site_of("chromium", argv[0])
    with browsers.opened("chromium", site, policy=True) as (server, page):
        page.preload(VIOLATIONS)
        driver = browsers.start(page, server.url)
        sent = page.evaluate("fetch(location.href).then(r => r.headers.get("
                             "'content-security-policy'))", wait=True)
        check(sent == CONTENT_POLICY, f"the server sends the policy ({sent})", fatal=True)
        if browsers.form_drawn(driver, "under the policy, the page"):
            # The start, and the first tile answered wrong, then right.
            played = scenario.Scenario(driver)
            for step in (played.start, played.exercise, played.deal, lambda: played.solve(0)):
                step()
        refused = page.evaluate("window.__refused")
        check(refused == [], f"the policy refuses nothing the page does ({refused})")
        no_errors(page, "under the policy ")
        # The page hears of a refusal: the check above could have failed.
        page.evaluate("new Image().src = 'https://example.invalid/picture.png'")
        check(wait_for(lambda: len(page.evaluate("window.__refused")), 10),
              "a picture from elsewhere is refused and the page is told")
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
