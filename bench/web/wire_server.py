# SPDX-License-Identifier: GPL-3.0-or-later
"""A folder served as a host set up for compression serves it, counting what it sends: the .gz
or .br file beside a file when the build wrote one, else the file compressed on the fly (gzip -9,
brotli quality 11) where that makes it smaller. Every response is logged as a line of JSON:
when its request came (epoch seconds), the path, who asked (the page or its service worker), the
encoding, the body's bytes and all the bytes written to the socket for it, head included.
Run on its own as "wire_server.py DIR gzip|br|identity LOG": serves DIR, prints the port."""
import email.utils
import gzip
import http.server
import json
import os
import subprocess
import sys
import threading
import time
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "tests", "e2e"))
from vortani_e2e import stop  # noqa: E402

TYPES = {".html": "text/html; charset=utf-8", ".js": "text/javascript", ".css": "text/css",
         ".json": "application/json", ".webmanifest": "application/manifest+json",
         ".wasm": "application/wasm", ".svg": "image/svg+xml", ".png": "image/png",
         ".jpg": "image/jpeg", ".txt": "text/plain; charset=utf-8"}
SUFFIX = {"gzip": ".gz", "br": ".br"}


class _Counted:
    """A stream that counts what is written through it."""

    def __init__(self, stream):
        self.stream = stream
        self.count = 0

    def write(self, data):
        self.count += len(data)
        return self.stream.write(data)

    def __getattr__(self, name):
        return getattr(self.stream, name)


def compress(data, encoding):
    if encoding == "gzip":
        return gzip.compress(data, 9, mtime=0)
    import brotli
    return brotli.compress(data, quality=11)


class _Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"  # kept-alive connections, as a browser uses them
    folder = encoding = log = None
    lock = threading.Lock()
    compressed = {}  # (path, encoding): body, made once

    def setup(self):
        super().setup()
        self.wfile = _Counted(self.wfile)

    @classmethod
    def body(cls, path, encoding):
        """(encoding, bytes) sent for the file at path to a client accepting encoding."""
        if encoding == "identity":
            with open(path, "rb") as f:
                return "identity", f.read()
        beside = path + SUFFIX[encoding]
        if os.path.isfile(beside):
            with open(beside, "rb") as f:
                return encoding, f.read()
        with cls.lock:
            if (path, encoding) not in cls.compressed:
                with open(path, "rb") as f:
                    raw = f.read()
                packed = compress(raw, encoding)
                cls.compressed[path, encoding] = packed if len(packed) < len(raw) else None
            packed = cls.compressed[path, encoding]
        if packed is None:
            with open(path, "rb") as f:
                return "identity", f.read()
        return encoding, packed

    def do_GET(self):
        came = time.time()
        self.wfile.count = 0
        name = urllib.parse.unquote(urllib.parse.urlsplit(self.path).path)
        path = os.path.normpath(os.path.join(self.folder, name.lstrip("/")))
        if os.path.isdir(path):
            path = os.path.join(path, "index.html")
        if not path.startswith(self.folder + os.sep) or not os.path.isfile(path):
            self.send_error(404)
            self.logged(came, name, 404, "identity", 0)
            return
        accepted = [part.split(";")[0].strip()
                    for part in self.headers.get("Accept-Encoding", "").split(",")]
        encoding, data = self.body(path, self.encoding if self.encoding in accepted
                                   else "identity")
        self.send_response(200)
        self.send_header("Content-Type", TYPES.get(os.path.splitext(path)[1],
                                                   "application/octet-stream"))
        self.send_header("Content-Length", str(len(data)))
        if encoding != "identity":
            self.send_header("Content-Encoding", encoding)
        self.send_header("Vary", "Accept-Encoding")
        self.send_header("Last-Modified", email.utils.formatdate(os.path.getmtime(path),
                                                                 usegmt=True))
        # Every fetch reaches the network, to be counted: none is answered from the HTTP cache.
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        self.wfile.write(data)
        self.logged(came, name, 200, encoding, len(data))

    def logged(self, came, name, status, encoding, body):
        # What a service worker fetches names the worker's script as its referrer.
        referrer = urllib.parse.urlsplit(self.headers.get("Referer", "")).path
        entry = {"came": came, "path": name, "status": status,
                 "by": "worker" if referrer.endswith("sw.js") else "page",
                 "encoding": encoding, "body": body, "wire": self.wfile.count}
        with self.lock, open(self.log, "a") as log:
            log.write(json.dumps(entry) + "\n")

    def log_message(self, *args):
        pass


def _serve(folder, encoding, log):
    handler = type("Handler", (_Handler,), dict(folder=os.path.abspath(folder),
                                                 encoding=encoding, log=log))
    # Compressed before the first request, so that no load waits on the compressor.
    if encoding != "identity":
        for root, _, files in os.walk(handler.folder):
            for file in files:
                if not file.endswith((".gz", ".br")):
                    handler.body(os.path.join(root, file), encoding)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    server.serve_forever()


class WireServer:
    """folder on http://127.0.0.1:PORT/ in a process of its own; responses() says what it sent."""

    def __init__(self, folder, encoding, log):
        self.log = log
        open(log, "w").close()
        self.process = subprocess.Popen(
            [sys.executable, "-B", os.path.abspath(__file__), folder, encoding, log],
            stdout=subprocess.PIPE, stdin=subprocess.DEVNULL)
        port = self.process.stdout.readline().strip()
        if not port.isdigit():
            stop(self.process)
            raise RuntimeError(f"the server for {folder} did not start")
        self.url = f"http://127.0.0.1:{int(port)}/"

    def responses(self):
        with open(self.log) as log:
            return [json.loads(line) for line in log if line.endswith("\n")]

    def clear(self):
        open(self.log, "w").close()

    def stop(self):
        stop(self.process)


if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[2] not in ("gzip", "br", "identity"):
        sys.exit("usage: wire_server.py DIR gzip|br|identity LOG")
    _serve(*sys.argv[1:])
