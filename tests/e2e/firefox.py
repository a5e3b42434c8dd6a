# SPDX-License-Identifier: GPL-3.0-or-later
"""The web edition in Firefox: headless on a fresh profile, driven over WebDriver BiDi with the
page interface drawn_form.py describes.

    firefox = Firefox(width=1000, height=700, prefs={"name": value})
    firefox.navigate(url); firefox.evaluate("1 + 1") == 2
    firefox.evaluate("fetch('.').then(r => r.status)", wait=True) == 200
    firefox.console             # every log entry seen so far (log.entryAdded's parameters)
    firefox.close()"""
import base64
import contextlib
import json
import math
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import webdriver  # noqa: E402
from png import decode_png  # noqa: E402
from vortani_e2e import environment, stop, wait_exit, wait_for  # noqa: E402
from websocket import ProtocolError, WebSocket  # noqa: E402

FIREFOX = "/usr/bin/firefox-esr"
# Touch events on, as on a tablet: without them desktop Firefox has no TouchEvent at all.
TOUCH = {"dom.w3c_touch_events.enabled": 1}


def value_of(remote):
    """A BiDi RemoteValue as Python's: objects and maps as dicts, arrays and sets as lists."""
    kind, value = remote.get("type"), remote.get("value")
    if kind in ("undefined", "null"):
        return None
    if kind == "number" and isinstance(value, str):
        return {"NaN": math.nan, "-0": -0.0, "Infinity": math.inf, "-Infinity": -math.inf}[value]
    if kind in ("array", "set"):
        return [value_of(item) for item in value or []]
    if kind in ("object", "map"):
        return {(k if isinstance(k, str) else value_of(k)): value_of(v) for k, v in value or []}
    return value


class Firefox(webdriver.OnOwnDisplay):
    """One tab of a headless Firefox. Headless Firefox draws WebGL only with an X display to
    ask for its GL, so it gets a private Xvfb."""

    def __init__(self, width=1000, height=700, prefs=None):
        self.prefs = dict(prefs or {})
        self.profile = tempfile.mkdtemp(prefix="vortani-firefox-")
        with open(os.path.join(self.profile, "user.js"), "w") as f:
            for name, value in self.prefs.items():
                f.write(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n")
        self.log = open(os.path.join(self.profile, "firefox.log"), "w")
        self.process = self.socket = None
        super().__init__(width, height)

    def _start(self, width, height):
        self.process = subprocess.Popen(
            [FIREFOX, "--headless", "--remote-debugging-port=0", "--profile", self.profile,
             "--no-remote", "--new-instance", "about:blank"],
            stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log,
            env=environment(DISPLAY=self.display, WAYLAND_DISPLAY=None, MOZ_HEADLESS=None))
        server_file = os.path.join(self.profile, "WebDriverBiDiServer.json")

        def port():
            with contextlib.suppress(OSError, ValueError, KeyError):
                with open(server_file) as f:
                    return json.load(f)["ws_port"]
            return self.process.poll() is not None and "gone"
        found = wait_for(port, 60, 0.05)
        if not isinstance(found, int):
            raise RuntimeError(f"Firefox gave no WebDriver BiDi port (see {self.log.name})")
        self.socket = WebSocket(f"ws://127.0.0.1:{found}/session")
        self.next_id = 0
        self.events = []
        self.send("session.new", capabilities={})
        self.context = self.send("browsingContext.getTree")["contexts"][0]["context"]
        self.send("session.subscribe", events=["log.entryAdded"])
        self.viewport(width, height)

    def send(self, method, **params):
        """The command's result, once it comes; events meanwhile are kept, in order."""
        self.next_id += 1
        self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("type") == "event":
                self.events.append(message)
            elif message.get("id") == self.next_id:
                if message.get("type") == "error":
                    raise ProtocolError(f"{method}: {message.get('error')}: "
                                        f"{message.get('message')}")
                return message.get("result", {})

    @property
    def console(self):
        return [e["params"] for e in self.events if e["method"] == "log.entryAdded"]

    def evaluate(self, expression, wait=False):
        """expression's value in the page; wait: the value a promise settles to."""
        result = self.send("script.evaluate", expression=expression, awaitPromise=wait,
                           target={"context": self.context},
                           serializationOptions={"maxObjectDepth": 32})
        if result.get("type") == "exception":
            details = result.get("exceptionDetails", {})
            raise ProtocolError(f"{expression}: {details.get('text')}")
        return value_of(result.get("result", {}))

    def navigate(self, url, wait="interactive"):
        self.send("browsingContext.navigate", context=self.context, url=url, wait=wait)

    def reload(self):
        self.send("browsingContext.reload", context=self.context, wait="interactive")

    def preload(self, source):
        self.send("script.addPreloadScript", functionDeclaration=f"() => {{\n{source}\n}}")

    def errors(self):
        found = []
        for entry in self.console:
            if entry.get("level") == "error":
                kind = "exception" if entry.get("type") == "javascript" else "console.error"
                found.append(f"{kind}: {entry.get('text')}")
        return found

    def _act(self, actions):
        self.send("input.performActions", context=self.context, actions=actions)

    def move(self, x, y):
        self._act(webdriver.pointer(x, y, press=False))

    def click(self, x, y):
        self._act(webdriver.pointer(x, y))

    def tap(self, x, y):
        self._act(webdriver.pointer(x, y, kind="touch"))

    def key(self, name, shift=False):
        self._act(webdriver.key(name, shift))

    def screenshot(self, x, y, width, height):
        shot = self.send("browsingContext.captureScreenshot", context=self.context,
                         origin="viewport", clip={"type": "box", "x": x, "y": y,
                                                  "width": width, "height": height})
        return decode_png(base64.b64decode(shot["data"]))

    def viewport(self, width, height, touch=False):
        if touch and not all(self.prefs.get(k) == v for k, v in TOUCH.items()):
            raise ValueError("touch needs Firefox started with prefs=firefox.TOUCH")
        self.send("browsingContext.setViewport", context=self.context,
                  viewport={"width": width, "height": height}, devicePixelRatio=1)

    def close(self):
        if self.socket:
            with contextlib.suppress(Exception):
                self.send("browser.close")
            self.socket.close()
        if self.process and wait_exit(self.process, 10) is None:
            stop(self.process)
        super().close()
        self.log.close()
        shutil.rmtree(self.profile, ignore_errors=True)
