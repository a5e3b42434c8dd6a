# SPDX-License-Identifier: GPL-3.0-or-later
"""web_load.py SITE: how long the web edition takes to draw its start form in headless Chromium,
the median of cold loads, each on a fresh profile; and how much the page fetches to get there,
compressed as a server would send it."""
import gzip
import os
import statistics
import sys
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from browser import Chromium, Server, built_site  # noqa: E402
from vortani_e2e import wait_for  # noqa: E402

LOADS = 5
# The time is taken in the page, from its navigation's start, when the form is first drawn.
STAMP = r"""
window.__playingAt = null;
new MutationObserver((records, observer) => {
  if (document.body && document.body.dataset.state === 'playing') {
    window.__playingAt = performance.now();
    observer.disconnect();
  }
}).observe(document, {attributes: true, attributeFilter: ['data-state'], childList: true,
                      subtree: true});
"""


def main(argv):
    site = built_site(argv[0])
    server = Server(site)
    times, fetched = [], set()
    try:
        for _ in range(LOADS):
            chromium = Chromium()
            try:
                page = chromium.page()
                page.send("Page.enable")
                page.send("Network.enable")
                page.send("Page.addScriptToEvaluateOnNewDocument", source=STAMP)
                page.send("Page.navigate", url=server.url)
                at = wait_for(lambda: page.evaluate("window.__playingAt"), 120, 0.05)
                if not at:
                    sys.exit(f"web load: the start form was not drawn within 120 s ({server.url})")
                times.append(at)
                for e in page.events:
                    if e["method"] == "Network.requestWillBeSent":
                        url = e["params"]["request"]["url"]
                        if url.startswith(server.url):
                            fetched.add(urllib.parse.urlparse(url).path)
                page.close()
            finally:
                chromium.close()
    finally:
        server.stop()

    sizes = []
    for path in sorted(fetched):
        file = os.path.join(site, urllib.parse.unquote(path).lstrip("/") or "index.html")
        if os.path.isdir(file):
            file = os.path.join(file, "index.html")
        if os.path.isfile(file):
            with open(file, "rb") as f:
                data = f.read()
            sizes.append((len(data), len(gzip.compress(data, 9))))
    print(f"web load: {statistics.median(times):.0f} ms from navigation to the drawn start form, "
          f"median of {LOADS} cold loads ({', '.join(f'{t:.0f}' for t in times)} ms)")
    print(f"web download: {len(sizes)} files fetched at start, {sum(s[0] for s in sizes) / 1e6:.2f} MB, "
          f"{sum(s[1] for s in sizes) / 1e6:.2f} MB with gzip -9")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
