# SPDX-License-Identifier: GPL-3.0-or-later
"""first_visit.py SITE BARE_SITE: what a first visit to the web edition downloads, from the
navigation until the start form is drawn, in headless Chromium on a fresh profile at device
pixel ratio 1; once with gzip, once with brotli, as a host set up for compression sends the site
(bench/web/wire_server.py). Then, apart, what is fetched in the background after the start (the
service worker's cache, pictures for later), and the floor: the bare window's .wasm, compressed."""
import collections
import gzip
import os
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, here)
sys.path.insert(0, os.path.join(here, "..", "..", "tests", "e2e"))
import drawn  # noqa: E402
from vortani_e2e import need, wait_for  # noqa: E402
from wire_server import WireServer, compress  # noqa: E402

TARGET = 3.5e6  # bytes gzipped, until the start form is drawn
QUIET = 5  # s without a response: the background fetching is over
SETTLE = 120  # s at most for it
ENCODINGS = ("gzip", "br")
NAMES = {"gzip": "gzip", "br": "brotli"}


def megabytes(count):
    return f"{count / 1e6:.2f} MB"


def worker_active(page):
    return page.evaluate("navigator.serviceWorker ? navigator.serviceWorker.getRegistration()"
                         ".then((r) => !!(r && r.active)) : false", wait=True)


def visit(site, encoding, log):
    """(responses before the form was drawn, responses after it, the service worker's state
    once the fetching is over, the page's device pixel ratio) of one first visit."""
    server = WireServer(site, encoding, log)
    seen = {}

    def settle(page):
        # Over once a service worker is active and nothing has been sent for a while.
        seen["ratio"] = page.evaluate("window.devicePixelRatio")
        quiet = lambda: time.time() - os.path.getmtime(log) >= QUIET  # noqa: E731
        wait_for(lambda: quiet() and worker_active(page), SETTLE, 0.5)
        seen["worker"] = "active" if worker_active(page) else "NOT ACTIVE"
        if not quiet():
            seen["worker"] += f", still fetching after {SETTLE} s"
    try:
        at = drawn.chromium(server.url, then=settle)
        responses = server.responses()
    finally:
        server.stop()
    moment = (at["origin"] + at["at"]) / 1000
    before = [r for r in responses if r["came"] < moment]
    after = [r for r in responses if r["came"] >= moment]
    return before, after, seen["worker"], seen["ratio"]


def tally(responses):
    """{(path, who): [count, bytes on the wire]}."""
    files = collections.OrderedDict()
    for r in responses:
        key = (r["path"] + ("" if r["status"] == 200 else f" ({r['status']})"), r["by"])
        entry = files.setdefault(key, [0, 0])
        entry[0] += 1
        entry[1] += r["wire"]
    return files


def table(title, phase):
    """Prints phase, {encoding: responses}, file by file; returns {encoding: total bytes}."""
    tallies = {e: tally(phase[e]) for e in ENCODINGS}
    keys = list(tallies[ENCODINGS[0]])
    keys += [k for e in ENCODINGS[1:] for k in tallies[e] if k not in keys]
    print(title)
    print(f"  {'file':34} {'by':6} " + " ".join(f"{NAMES[e] + ', B':>15}" for e in ENCODINGS))

    def line(label, who, counts):
        print(f"  {label:34} {who:6} " + " ".join(
            f"{wire:>12,}" + (f" ×{count}" if count > 1 else "   ") for count, wire in counts))
    for who in ("page", "worker"):
        mine = [k for k in keys if k[1] == who]
        for key in mine:
            line(key[0], who, [tallies[e].get(key, (0, 0)) for e in ENCODINGS])
        if mine:
            line(f"{len(mine)} files by the {who}", "", [
                (1, sum(r["wire"] for r in phase[e] if r["by"] == who)) for e in ENCODINGS])
    totals = {e: sum(r["wire"] for r in phase[e]) for e in ENCODINGS}
    line("total", "", [(1, totals[e]) for e in ENCODINGS])
    return totals


def floor(bare_site):
    """Prints the bare window's .wasm as the floor of any download."""
    with open(os.path.join(bare_site, "bare_window.wasm"), "rb") as f:
        wasm = f.read()
    packed = {"gzip -9": gzip.compress(wasm, 9), "brotli 11": compress(wasm, "br")}
    print("floor: the bare Qt window's .wasm (bench/web) is " +
          ", ".join(f"{megabytes(len(data))} with {how}" for how, data in packed.items()) +
          f" ({megabytes(len(wasm))} raw)")


def main(argv):
    if len(argv) != 2:
        return "usage: first_visit.py SITE BARE_SITE"
    site, bare_site = drawn.sites(argv)
    need(modules=("brotli",))
    before, after, workers, ratios = {}, {}, {}, set()
    with tempfile.TemporaryDirectory(prefix="vortani-bench-") as scratch:
        for encoding in ENCODINGS:
            before[encoding], after[encoding], workers[encoding], ratio = visit(
                site, encoding, os.path.join(scratch, f"{encoding}.log"))
            ratios.add(ratio)
    print(f"first visit in headless Chromium, device pixel ratio {', '.join(map(str, ratios))}, "
          "fresh profile; bytes on the wire, heads included")
    first = table("until the start form is drawn:", before)
    print(f"first visit: {megabytes(first['gzip'])} gzipped, {megabytes(first['br'])} with brotli;"
          f" target: at or under {megabytes(TARGET)} gzipped: "
          f"{'met' if first['gzip'] <= TARGET else 'MISSED'}")
    later = table("in the background after the start (by: page or its service worker):", after)
    print(f"background: {megabytes(later['gzip'])} gzipped, {megabytes(later['br'])} with brotli;"
          " service worker: " + ", ".join(f"{workers[e]} ({NAMES[e]})" for e in ENCODINGS))
    floor(bare_site)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
