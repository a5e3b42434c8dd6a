# SPDX-License-Identifier: GPL-3.0-or-later
"""The web edition in headless Chromium: a static server for the page, the browser, and its
DevTools protocol. Also run as "browser.py serve DIR": serves DIR, prints the port."""
import base64
import contextlib
import functools
import http.server
import json
import os
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import urllib.parse
import urllib.request
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from layout import FORM  # noqa: E402
from vortani_e2e import need, not_ready, stop, wait_for  # noqa: E402

CHROMIUM = "/usr/bin/chromium"
FORM_WIDTH, FORM_HEIGHT = FORM


def built_site(folder):
    """folder, absolute, once Chromium is installed and the page is built in it."""
    need(CHROMIUM)
    folder = os.path.abspath(folder)
    if not os.path.exists(os.path.join(folder, "index.html")):
        not_ready(f"no page in {folder}: build the web edition first (make web)")
    return folder


# ---- The page's server ------------------------------------------------------------------------
class _Handler(http.server.SimpleHTTPRequestHandler):
    # Browsers compile wasm while it streams only when it comes as application/wasm.
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".wasm": "application/wasm", ".js": "text/javascript",
                             ".webmanifest": "application/manifest+json"})

    def end_headers(self):
        # Nothing kept in the browser's HTTP cache: what works offline is the service worker's.
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def log_message(self, *args):
        pass


def _serve(folder):
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(_Handler, directory=folder))
    print(server.server_address[1], flush=True)
    server.serve_forever()


class Server:
    """The site folder on http://127.0.0.1:PORT/, in a process of its own, to stop at will."""

    def __init__(self, folder):
        self.process = subprocess.Popen([sys.executable, "-B", os.path.abspath(__file__), "serve",
                                         folder], stdout=subprocess.PIPE, stdin=subprocess.DEVNULL)
        port = self.process.stdout.readline().strip()
        if not port.isdigit():
            stop(self.process)
            raise RuntimeError("the page's server did not start")
        self.url = f"http://127.0.0.1:{int(port)}/"

    def stop(self):
        stop(self.process)


# ---- The browser ------------------------------------------------------------------------------
class Chromium:
    """Headless Chromium on a fresh profile, its DevTools port read from the profile."""

    def __init__(self, width=1000, height=700):
        self.profile = tempfile.mkdtemp(prefix="vortani-chromium-")
        self.log = open(os.path.join(self.profile, "chromium.log"), "w")
        # As root Chromium refuses to start sandboxed. Qt draws with WebGL: without a GPU that
        # takes the software renderer, which Chromium no longer picks on its own.
        root = ["--no-sandbox"] if os.geteuid() == 0 else []
        self.process = subprocess.Popen(
            [CHROMIUM, "--headless=new", "--remote-debugging-port=0",
             f"--user-data-dir={self.profile}", f"--window-size={width},{height}",
             "--no-first-run", "--no-default-browser-check", "--disable-extensions",
             "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
             "--force-device-scale-factor=1", *root, "about:blank"],
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
def site_page(folder, width=1000, height=700):
    """(server, page): folder served, and a page of a fresh Chromium with the Page, Runtime and
    Log domains on; all stopped afterwards."""
    server = Server(folder)
    chromium = page = None
    try:
        chromium = Chromium(width, height)
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


class ProtocolError(RuntimeError):
    pass


class WebSocket:
    """The little of RFC 6455 the DevTools protocol needs: text messages both ways. No Origin
    header: Chromium turns away a socket that names an origin it was not told to allow."""

    def __init__(self, url, timeout=60):
        address = urllib.parse.urlparse(url)
        self.socket = socket.create_connection((address.hostname, address.port), timeout)
        self.buffer = bytearray()
        self.socket.sendall(
            f"GET {address.path} HTTP/1.1\r\nHost: {address.netloc}\r\nUpgrade: websocket\r\n"
            f"Connection: Upgrade\r\nSec-WebSocket-Key: {base64.b64encode(os.urandom(16)).decode()}"
            "\r\nSec-WebSocket-Version: 13\r\n\r\n".encode())
        while b"\r\n\r\n" not in self.buffer:
            self._more()
        head, _, rest = bytes(self.buffer).partition(b"\r\n\r\n")
        if not head.startswith(b"HTTP/1.1 101"):
            raise ProtocolError(f"no websocket at {url}: {head.splitlines()[0].decode()}")
        self.buffer = bytearray(rest)

    def _more(self):
        chunk = self.socket.recv(1 << 20)
        if not chunk:
            raise ConnectionError("the browser closed the connection")
        self.buffer += chunk

    def _take(self, count):
        while len(self.buffer) < count:
            self._more()
        taken = bytes(self.buffer[:count])
        del self.buffer[:count]
        return taken

    def _frame(self, opcode, payload):
        length = len(payload)
        head = bytes([0x80 | opcode]) + (
            bytes([0x80 | length]) if length < 126 else
            bytes([0x80 | 126]) + struct.pack(">H", length) if length < 1 << 16 else
            bytes([0x80 | 127]) + struct.pack(">Q", length))
        # A client masks what it sends.
        mask = os.urandom(4)
        masked = (int.from_bytes(payload, "big") ^ int.from_bytes(
            (mask * (length // 4 + 1))[:length], "big")).to_bytes(length, "big")
        self.socket.sendall(head + mask + masked)

    def send(self, text):
        self._frame(0x1, text.encode())

    def recv(self):
        message = b""
        while True:
            first, second = self._take(2)
            length = second & 0x7F
            if length == 126:
                length = struct.unpack(">H", self._take(2))[0]
            elif length == 127:
                length = struct.unpack(">Q", self._take(8))[0]
            mask = self._take(4) if second & 0x80 else None
            payload = self._take(length)
            if mask:
                payload = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
            opcode = first & 0x0F
            if opcode == 0x8:
                raise ConnectionError("the browser closed the connection")
            if opcode == 0x9:
                self._frame(0xA, payload)
                continue
            if opcode in (0x0, 0x1, 0x2):
                message += payload
                if first & 0x80:
                    return message.decode()

    def close(self):
        with contextlib.suppress(OSError):
            self._frame(0x8, b"")
        self.socket.close()


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


# ---- The game's canvas ------------------------------------------------------------------------
class Form:
    """Points of the form drawn in the page's canvas, in the form's own pixels. The form's box on
    the page is its frame's: the canvas keeps the form's own size inside it, scaled down whole
    where the window is smaller, and tells the program its unscaled box."""

    def __init__(self, session):
        self.session = session

    def rect(self):
        return self.session.evaluate(
            "(() => { const r = document.getElementById('frame').getBoundingClientRect();"
            " return {x: r.left, y: r.top, width: r.width, height: r.height}; })()")

    def point(self, at):
        r = self.rect()
        return (r["x"] + at[0] * r["width"] / FORM_WIDTH,
                r["y"] + at[1] * r["height"] / FORM_HEIGHT)

    def move(self, at):
        x, y = self.point(at)
        self.session.send("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y)

    def click(self, at):
        x, y = self.point(at)
        self.session.send("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y)
        self.session.send("Input.dispatchMouseEvent", type="mousePressed", x=x, y=y,
                          button="left", buttons=1, clickCount=1)
        self.session.send("Input.dispatchMouseEvent", type="mouseReleased", x=x, y=y,
                          button="left", buttons=0, clickCount=1)

    def pixels(self, rect=(0, 0, FORM_WIDTH, FORM_HEIGHT)):
        """(width, rows of (r, g, b)) of rect as the page shows it."""
        r = self.rect()
        sx, sy = r["width"] / FORM_WIDTH, r["height"] / FORM_HEIGHT
        shot = self.session.send("Page.captureScreenshot", format="png", clip=dict(
            x=r["x"] + rect[0] * sx, y=r["y"] + rect[1] * sy, width=rect[2] * sx,
            height=rect[3] * sy, scale=1))
        return decode_png(base64.b64decode(shot["data"]))


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


# ---- Pictures ---------------------------------------------------------------------------------
def decode_png(data):
    """(width, pixels as (r, g, b), row by row) of an 8-bit, non-interlaced PNG such as the
    browser's screenshots."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    at, chunks, header = 8, [], None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            chunks.append(body)
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    channels = {2: 3, 6: 4}.get(colour)
    if depth != 8 or not channels or interlace:
        raise ValueError(f"PNG kind not read here: depth {depth}, colour {colour}")
    raw = zlib.decompress(b"".join(chunks))
    stride = width * channels
    previous, pixels = bytearray(stride), []
    for y in range(height):
        kind, row = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = row[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                row[i] = (row[i] + a) & 255
            elif kind == 2:
                row[i] = (row[i] + b) & 255
            elif kind == 3:
                row[i] = (row[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                row[i] = (row[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        pixels.extend(tuple(row[i:i + 3]) for i in range(0, stride, channels))
        previous = row
    return width, pixels


def main(argv):
    if argv[:1] != ["serve"] or len(argv) != 2:
        return "usage: browser.py serve DIR"
    _serve(argv[1])


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
