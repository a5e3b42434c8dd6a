# SPDX-License-Identifier: GPL-3.0-or-later
"""The little of RFC 6455 a browser's remote protocol needs, client side: Chromium's DevTools
and WebDriver BiDi both speak JSON in text messages over it."""
import base64
import contextlib
import os
import socket
import struct
import urllib.parse


class ProtocolError(RuntimeError):
    pass


class WebSocket:
    """Text messages both ways. No Origin header: Chromium turns away a socket that names an
    origin it was not told to allow."""

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
