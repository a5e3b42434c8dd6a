# SPDX-License-Identifier: GPL-3.0-or-later
"""The web edition in WebKit, the engine of Safari on iPads and iPhones: WebKitGTK's MiniBrowser
on a private Xvfb, driven by WebKitWebDriver over plain W3C WebDriver, with the page interface
drawn_form.py describes.

WebDriver gives no console and no way to run a script before the page's own: RECORDER, put
first into every page by the test server (site_server.Server's inject), keeps what the page
reports as errors in the tab's session storage, so that what happens as a page unloads or
reloads is kept too."""
import base64
import contextlib
import json
import os
import socket
import subprocess
import sys
import tempfile
import urllib.error
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import webdriver  # noqa: E402
from png import decode_png  # noqa: E402
from vortani_e2e import environment, stop, wait_for  # noqa: E402
from websocket import ProtocolError  # noqa: E402

DRIVER = "/usr/bin/WebKitWebDriver"
MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"

RECORDER = r"""
(() => {
  const key = '__vortaniErrors';
  const keep = (text) => {
    try {
      const kept = JSON.parse(sessionStorage.getItem(key) || '[]');
      kept.push(String(text).slice(0, 500));
      sessionStorage.setItem(key, JSON.stringify(kept));
    } catch (full) {}
  };
  addEventListener('error', (e) => keep(`exception: ${e.message} (${e.filename}:${e.lineno})`));
  addEventListener('unhandledrejection', (e) => keep(
    `exception: unhandled rejection: ${e.reason} ${e.reason && e.reason.stack || ''}`));
  const error = console.error.bind(console);
  console.error = (...args) => { keep(`console.error: ${args.join(' ')}`); error(...args); };
})();
"""


def _free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class WebKit(webdriver.OnOwnDisplay):
    preload = None  # see RECORDER
    # Its WebDriver sends Shift+Tab as a key named "Unidentified", which a page cannot read as
    # Tab; Safari's own keyboard sends "Tab".
    shift_tab = False

    def __init__(self, width=1000, height=700):
        self.driver = self.session = None
        super().__init__(width, height)

    def _start(self, width, height):
        port = _free_port()
        self.base = f"http://127.0.0.1:{port}"
        self.log = tempfile.NamedTemporaryFile("w+", prefix="vortani-webkit-", suffix=".log")
        self.driver = subprocess.Popen(
            [DRIVER, f"--port={port}"], stdin=subprocess.DEVNULL, stdout=self.log,
            stderr=self.log, env=environment(DISPLAY=self.display, WAYLAND_DISPLAY=None))

        def ready():
            with contextlib.suppress(OSError):
                return urllib.request.urlopen(self.base + "/status", timeout=2).status == 200
        if not wait_for(ready, 30, 0.05):
            raise RuntimeError("WebKitWebDriver did not answer")
        options = {"binary": MINIBROWSER, "args": ["--automation"]}
        self.session = "/session/" + self._call("POST", "/session", {"capabilities": {
            "alwaysMatch": {"webkitgtk:browserOptions": options}}})["sessionId"]
        self._call("POST", self.session + "/timeouts", {"script": 120000})
        self.viewport(width, height)

    def _call(self, method, path, body=None):
        request = urllib.request.Request(
            self.base + path, method=method, headers={"Content-Type": "application/json"},
            data=None if body is None else json.dumps(body).encode())
        try:
            with urllib.request.urlopen(request, timeout=180) as answer:
                return json.load(answer).get("value")
        except urllib.error.HTTPError as error:
            value = json.load(error).get("value", {})
            self.log.seek(0)
            said = self.log.read()[-2000:]  # the browser's own words, when it has any
            raise ProtocolError(f"{method} {path}: {value.get('error')}: "
                                f"{value.get('message')}\n{said}") from None

    def evaluate(self, expression, wait=False):
        """expression's value in the page; wait: the value a promise settles to."""
        if not wait:
            return self._call("POST", self.session + "/execute/sync", {
                "script": f"return (\n{expression}\n);", "args": []})
        settled = self._call("POST", self.session + "/execute/async", {"script": (
            f"const done = arguments[arguments.length - 1]; Promise.resolve(\n{expression}\n)"
            ".then((value) => done({value}), (error) => done({error: String(error)}));"),
            "args": []})
        if "error" in settled:
            raise ProtocolError(f"{expression}: {settled['error']}")
        return settled.get("value")

    def navigate(self, url):
        self._call("POST", self.session + "/url", {"url": url})

    def reload(self):
        self._call("POST", self.session + "/refresh", {})

    def errors(self):
        return self.evaluate("(() => { try { return JSON.parse("
                             "sessionStorage.getItem('__vortaniErrors') || '[]'); }"
                             " catch (noStorage) { return []; } })()")

    def _act(self, actions):
        self._call("POST", self.session + "/actions", {"actions": actions})

    def move(self, x, y):
        self._act(webdriver.pointer(x, y, press=False))

    def click(self, x, y):
        self._act(webdriver.pointer(x, y))

    def tap(self, x, y):
        raise NotImplementedError("WebKitGTK turns WebDriver's touch into a mouse")

    def key(self, name, shift=False):
        self._act(webdriver.key(name, shift))

    def screenshot(self, x, y, width, height):
        """Cut from the window's screenshot, the only kind WebDriver gives of a canvas: a
        smaller element's shows that element alone."""
        shot = base64.b64decode(self._call("GET", self.session + "/screenshot"))
        left, top = round(x), round(y)
        return decode_png(shot, (left, top, round(x + width) - left, round(y + height) - top))

    def viewport(self, width, height, touch=False):
        """The window sized so that its inside, below MiniBrowser's tool bar, is width x
        height. The page hears of a new size a little after the window has it."""
        if touch:
            raise NotImplementedError("WebKitGTK turns WebDriver's touch into a mouse")
        inside = lambda: self.evaluate("[innerWidth, innerHeight]")  # noqa: E731
        for _ in range(3):
            window, now = self._call("GET", self.session + "/window/rect"), inside()
            self._call("POST", self.session + "/window/rect", {
                "width": width + window["width"] - now[0],
                "height": height + window["height"] - now[1]})
            if wait_for(lambda: inside() == [width, height], 5, 0.05):
                return
        raise RuntimeError(f"MiniBrowser's page is {inside()}, not {width}x{height}")

    def close(self):
        if self.session:
            with contextlib.suppress(Exception):
                self._call("DELETE", self.session)
        if self.driver:
            stop(self.driver)
            self.log.close()
        super().close()
