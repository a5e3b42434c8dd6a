# SPDX-License-Identifier: GPL-3.0-or-later
"""The built site as a plain static host serves it, for the browser tests; run on its own as
"site_server.py DIR [--policy] [--inject FILE]" it serves DIR and prints its port."""
import contextlib
import functools
import http.server
import io
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from vortani_e2e import need, not_ready, stop  # noqa: E402

# What a school's careful server may send, and the site must work under (README.md gives it).
CONTENT_POLICY = ("default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; "
                  "img-src 'self' data: blob:; manifest-src 'self' data:")


def built_site(folder, *tools):
    """folder, absolute, once tools (the browser's programs) are installed and the page is built
    in it."""
    need(*tools)
    folder = os.path.abspath(folder)
    if not os.path.exists(os.path.join(folder, "index.html")):
        not_ready(f"no page in {folder}: build the web edition first (make web)")
    return folder


class _Handler(http.server.SimpleHTTPRequestHandler):
    # Browsers compile wasm while it streams only when it comes as application/wasm.
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".wasm": "application/wasm", ".js": "text/javascript",
                             ".webmanifest": "application/manifest+json"})
    policy = None
    inject = None  # a script put first into every page's head

    def end_headers(self):
        # Nothing kept in the browser's HTTP cache: what works offline is the service worker's.
        self.send_header("Cache-Control", "no-store")
        if self.policy:
            self.send_header("Content-Security-Policy", self.policy)
        super().end_headers()

    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path) and self.path.split("?")[0].endswith("/"):
            path = os.path.join(path, "index.html")
        if not (self.inject and path.endswith(".html") and os.path.isfile(path)):
            return super().send_head()
        with open(path, "rb") as f:
            page = f.read().replace(b"<head>", b"<head>\n<script>" + self.inject + b"</script>", 1)
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(page)))
        self.end_headers()
        return io.BytesIO(page)

    def log_message(self, *args):
        pass


class _Server(http.server.ThreadingHTTPServer):
    def handle_error(self, request, address):
        # A browser that gives up a download (no WebGL, so no program to run) hangs up mid-file.
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(request, address)


def _serve(folder, policy=False, inject=None):
    _Handler.policy = CONTENT_POLICY if policy else None
    if inject:
        with open(inject, "rb") as f:
            _Handler.inject = f.read()
    server = _Server(("127.0.0.1", 0), functools.partial(_Handler, directory=folder))
    print(server.server_address[1], flush=True)
    server.serve_forever()


class Server:
    """The site folder on http://127.0.0.1:PORT/, in a process of its own, to stop at will.
    policy: every answer carries CONTENT_POLICY; inject: a script's source put first into every
    page, for a browser that cannot run one before the page's own."""

    def __init__(self, folder, policy=False, inject=None):
        self.script = None
        if inject:
            with tempfile.NamedTemporaryFile("w", suffix=".js", delete=False) as f:
                f.write(inject)
            self.script = f.name
        self.process = subprocess.Popen(
            [sys.executable, "-B", os.path.abspath(__file__), folder,
             *(["--policy"] if policy else []), *(["--inject", self.script] if inject else [])],
            stdout=subprocess.PIPE, stdin=subprocess.DEVNULL)
        port = self.process.stdout.readline().strip()
        if not port.isdigit():
            stop(self.process)
            raise RuntimeError("the page's server did not start")
        self.url = f"http://127.0.0.1:{int(port)}/"

    def stop(self):
        stop(self.process)
        if self.script:
            with contextlib.suppress(OSError):
                os.unlink(self.script)


def main(argv):
    if not argv or argv[0].startswith("-"):
        return "usage: site_server.py DIR [--policy] [--inject FILE]"
    inject = argv[argv.index("--inject") + 1] if "--inject" in argv else None
    _serve(argv[0], "--policy" in argv, inject)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
