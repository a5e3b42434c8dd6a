# SPDX-License-Identifier: GPL-3.0-or-later
"""startup.py SITE BARE_SITE: the web edition's start-up against the floor, a bare Qt window
built with the same Qt for the web (bench/web): the time from navigation to the first drawn form
of each, in Chromium and in Firefox, each load on a fresh profile so that nothing is cached, both
sites served gzipped over loopback (bench/web/wire_server.py). Runs alternate between the two
after one unrecorded warm-up each; the medians, the ratio game/bare and both sizes are printed.
VORTANI_BENCH_RUNS sets the runs (default 5)."""
import gzip
import os
import statistics
import sys
import tempfile
import traceback

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, here)
sys.path.insert(0, os.path.join(here, "..", "..", "tests", "e2e"))
import drawn  # noqa: E402
from wire_server import WireServer  # noqa: E402

FIREFOX = "/usr/bin/firefox-esr"
FIREFOX_CLIENT = os.path.join(here, "..", "..", "tests", "e2e", "firefox.py")


def wasm_size(folder, name):
    with open(os.path.join(folder, name), "rb") as f:
        return len(gzip.compress(f.read(), 9))


def load(load_in, server):
    """(ms to the drawn form, bytes sent until then) of one cold load."""
    server.clear()
    at = load_in(server.url)
    moment = (at["origin"] + at["at"]) / 1000
    return at["at"], sum(r["wire"] for r in server.responses() if r["came"] < moment)


def measure(name, load_in, servers, runs):
    """Prints one browser's runs and medians."""
    for server in servers.values():
        load(load_in, server)  # warm-up, unrecorded
    times = {kind: [] for kind in servers}
    sent = {kind: [] for kind in servers}
    for i in range(runs):
        for kind, server in servers.items():
            ms, count = load(load_in, server)
            times[kind].append(ms)
            sent[kind].append(count)
        print(f"  run {i + 1}: game {times['game'][-1]:8.0f} ms   bare {times['bare'][-1]:8.0f} ms",
              flush=True)
    game, bare = (statistics.median(times[kind]) for kind in ("game", "bare"))
    spread = {kind: f"{min(times[kind]):.0f} to {max(times[kind]):.0f}" for kind in times}
    print(f"  {name}, median of {runs}: game {game:.0f} ms ({spread['game']}), bare window "
          f"{bare:.0f} ms ({spread['bare']}), game/bare {game / bare:.2f}")
    print(f"  sent until drawn (gzip, median): game {statistics.median(sent['game']) / 1e6:.2f} MB,"
          f" bare window {statistics.median(sent['bare']) / 1e6:.2f} MB")


def main(argv):
    if len(argv) != 2:
        return "usage: startup.py SITE BARE_SITE"
    site, bare_site = drawn.sites(argv)
    runs = int(os.environ.get("VORTANI_BENCH_RUNS", "5"))
    print(f"sizes, .wasm with gzip -9: game {wasm_size(site, 'vortani.wasm') / 1e6:.2f} MB, "
          f"bare window {wasm_size(bare_site, 'bare_window.wasm') / 1e6:.2f} MB")
    failed = False
    with tempfile.TemporaryDirectory(prefix="vortani-bench-") as scratch:
        servers = {kind: WireServer(folder, "gzip", os.path.join(scratch, f"{kind}.log"))
                   for kind, folder in (("game", site), ("bare", bare_site))}
        try:
            for name, load_in in drawn.BROWSERS.items():
                print(f"{name}: navigation to the first drawn form, fresh profile each load",
                      flush=True)
                if name == "Firefox" and not os.path.exists(FIREFOX_CLIENT):
                    print("  NOT RUN: tests/e2e/firefox.py, the Firefox client, is missing")
                    continue
                if name == "Firefox" and not os.access(FIREFOX, os.X_OK):
                    print(f"  NOT RUN: {FIREFOX} is not installed")
                    continue
                try:
                    measure(name, load_in, servers, runs)
                    # Other work on the machine shows in every time.
                    print("  load average after it: " +
                          " ".join(f"{load:.2f}" for load in os.getloadavg()))
                except Exception:  # the other browser is still measured
                    failed = True
                    print(f"  FAILED in {name}:\n" + traceback.format_exc(), flush=True)
        finally:
            for server in servers.values():
                server.stop()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
