# SPDX-License-Identifier: GPL-3.0-or-later
"""The web edition in headless Chromium: the browser on a fresh profile, and a page of it over
the DevTools protocol, with the page interface drawn_form.py describes."""
import base64
import contextlib
import json
import os
import shutil
import subprocess
import sys
import tempfile
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import site_server  # noqa: E402
from png import decode_png  # noqa: E402
from site_server import Server  # noqa: E402,F401  (the bench's server too)
from vortani_e2e import stop, wait_for  # noqa: E402
from websocket import ProtocolError, WebSocket  # noqa: E402

CHROMIUM = "/usr/bin/chromium"


def built_site(folder):
    """folder, absolute, once Chromium is installed and the page is built in it."""
    return site_server.built_site(folder, CHROMIUM)


# ---- The browser ------------------------------------------------------------------------------
class Chromium:
    """Headless Chromium on a fresh profile, its DevTools port read from the profile."""

    def __init__(self, width=1000, height=700, webgl=True):
        self.profile = tempfile.mkdtemp(prefix="vortani-chromium-")
        self.log = open(os.path.join(self.profile, "chromium.log"), "w")
        # As root Chromium refuses to start sandboxed. Qt draws with WebGL: without a GPU that
        # takes the software renderer, which Chromium no longer picks on its own; webgl=False:
        # none at all, as a browser with hardware acceleration off or a blocked GPU has.
        root = ["--no-sandbox"] if os.geteuid() == 0 else []
        software = (["--use-angle=swiftshader", "--enable-unsafe-swiftshader"] if webgl else
                    ["--disable-gpu", "--disable-software-rasterizer"])
        self.process = subprocess.Popen(
            [CHROMIUM, "--headless=new", "--remote-debugging-port=0",
             f"--user-data-dir={self.profile}", f"--window-size={width},{height}",
             "--no-first-run", "--no-default-browser-check", "--disable-extensions",
             *software, "--force-device-scale-factor=1", *root, "about:blank"],
            stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log)
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        # The file is written in two lines; the port alone may be seen half written.
        lines = wait_for(lambda: os.path.exists(port_file) and (
            lambda text: len(text.splitlines()) >= 2 and text.splitlines())(open(port_file).read()),
            30, 0.05)
        if not lines:
            self.close()
            raise RuntimeError(f"Chromium gave no DevTools port (see {self.log.name})")
        self.port = int(lines[0])

    def page(self):
        """A protocol session on the browser's first page."""
        targets = wait_for(lambda: [t for t in json.load(urllib.request.urlopen(
            f"http://127.0.0.1:{self.port}/json/list", timeout=10)) if t["type"] == "page"], 10)
        if not targets:
            raise RuntimeError("Chromium has no page")
        return Session(targets[0]["webSocketDebuggerUrl"])

    def close(self):
        stop(self.process)
        self.log.close()
        shutil.rmtree(self.profile, ignore_errors=True)


@contextlib.contextmanager
def site_page(folder, width=1000, height=700, policy=False, webgl=True):
    """(server, page): folder served (policy: under site_server.CONTENT_POLICY), and a page of a
    fresh Chromium with the Page, Runtime and Log domains on; all stopped afterwards."""
    server = Server(folder, policy=policy)
    chromium = page = None
    try:
        chromium = Chromium(width, height, webgl)
        page = chromium.page()
        for domain in ("Page", "Runtime", "Log"):
            page.send(f"{domain}.enable")
        yield server, page
    finally:
        if page:
            page.close()
        if chromium:
            chromium.close()
        server.stop()


def offline(page, server):
    """Whether the site's service worker is active; then the server is stopped."""
    active = page.evaluate("navigator.serviceWorker.ready.then(r => !!r.active)", wait=True)
    server.stop()
    return active


class Session:
    """One DevTools connection: commands wait for their answer; events are kept, in order."""

    def __init__(self, url):
        self.socket = WebSocket(url)
        self.next_id = 0
        self.events = []

    def send(self, method, **params):
        self.next_id += 1
        self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == self.next_id:
                if "error" in message:
                    raise ProtocolError(f"{method}: {message['error'].get('message')}")
                return message.get("result", {})
            if "method" in message:
                self.events.append(message)

    def evaluate(self, expression, wait=False):
        """expression's value in the page; wait: the value a promise settles to."""
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=wait)
        if "exceptionDetails" in result:
            raise ProtocolError(f"{expression}: {result['exceptionDetails'].get('text')} "
                                f"{result['exceptionDetails'].get('exception', {}).get('description', '')}")
        return result["result"].get("value")

    # ---- The page interface (drawn_form.py) ----
    def navigate(self, url):
        self.send("Page.navigate", url=url)

    def reload(self):
        self.send("Page.reload", ignoreCache=False)

    def preload(self, source):
        self.send("Page.addScriptToEvaluateOnNewDocument", source=source)

    def errors(self):
        """What the page reported as errors so far, uncaught exceptions as "exception: ..."."""
        return errors(self.events)

    def move(self, x, y):
        self.send("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y)

    def click(self, x, y):
        self.move(x, y)
        for kind, buttons in (("mousePressed", 1), ("mouseReleased", 0)):
            self.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left",
                      buttons=buttons, clickCount=1)

    def tap(self, x, y):
        self.send("Input.dispatchTouchEvent", type="touchStart", touchPoints=[dict(x=x, y=y)])
        self.send("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def key(self, name, shift=False):
        key(self, name, shift)

    def screenshot(self, x, y, width, height):
        shot = self.send("Page.captureScreenshot", format="png", clip=dict(
            x=x, y=y, width=width, height=height, scale=1))
        return decode_png(base64.b64decode(shot["data"]))

    def viewport(self, width, height, touch=False):
        """The window's inside as width x height CSS pixels; touch: a phone's or tablet's,
        touch events on."""
        self.send("Emulation.setDeviceMetricsOverride", width=width, height=height,
                  deviceScaleFactor=1, mobile=touch)
        self.send("Emulation.setTouchEmulationEnabled", enabled=touch, maxTouchPoints=5)

    def close(self):
        with contextlib.suppress(Exception):
            self.socket.close()


def errors(events):
    """What the page reported as errors: console.error, uncaught exceptions, the browser's log."""
    found = []
    for e in events:
        p = e.get("params", {})
        if e["method"] == "Runtime.consoleAPICalled" and p.get("type") == "error":
            found.append("console.error: " + " ".join(
                str(a.get("value", a.get("description", ""))) for a in p.get("args", [])))
        elif e["method"] == "Runtime.exceptionThrown":
            d = p.get("exceptionDetails", {})
            found.append("exception: " + (d.get("exception", {}).get("description") or
                                          d.get("text", "")))
        elif e["method"] == "Log.entryAdded" and p.get("entry", {}).get("level") == "error":
            entry = p["entry"]
            found.append(f"log ({entry.get('source')}): {entry.get('text')} {entry.get('url', '')}")
    return found


KEYS = {"Tab": ("Tab", 9, ""), "Enter": ("Enter", 13, "\r"), "Backspace": ("Backspace", 8, "")}


def key(session, name, shift=False):
    """One key typed: a digit, or a name in KEYS."""
    if name.isdigit():
        code, virtual, text = f"Digit{name}", ord(name), name
    else:
        code, virtual, text = KEYS[name]
    common = dict(key=name, code=code, windowsVirtualKeyCode=virtual,
                  nativeVirtualKeyCode=virtual, modifiers=8 if shift else 0)
    session.send("Input.dispatchKeyEvent", type="keyDown", text=text, unmodifiedText=text,
                 **common)
    session.send("Input.dispatchKeyEvent", type="keyUp", **common)


