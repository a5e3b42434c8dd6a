# SPDX-License-Identifier: GPL-3.0-or-later
"""Screenshots as pixels: the browsers send PNG, which the tests read without a library."""
import functools
import struct
import zlib


@functools.lru_cache(maxsize=8)
def _masks(n):
    return int.from_bytes(b"\x7f" * n, "big"), int.from_bytes(b"\x80" * n, "big")


def _up(row, previous):
    """row + previous, byte by byte, modulo 256: all bytes at once in one big integer, the top
    bit of each byte added apart so that no carry crosses into the next."""
    n = len(row)
    low, high = _masks(n)
    a, b = int.from_bytes(row, "big"), int.from_bytes(previous, "big")
    return (((a & low) + (b & low)) ^ ((a ^ b) & high)).to_bytes(n, "big")


def _unfilter(kind, row, previous, channels):
    if kind == 0:
        return row
    if kind == 2:  # the commonest in a screenshot of flat colours, so done fast
        return _up(row, previous)
    row = bytearray(row)
    for i in range(len(row)):
        a = row[i - channels] if i >= channels else 0
        b = previous[i]
        c = previous[i - channels] if i >= channels else 0
        if kind == 1:
            row[i] = (row[i] + a) & 255
        elif kind == 3:
            row[i] = (row[i] + (a + b) // 2) & 255
        elif kind == 4:
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            row[i] = (row[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
    return bytes(row)


def decode_png(data, box=None):
    """(width, pixels as (r, g, b), row by row) of an 8-bit, non-interlaced PNG such as the
    browser's screenshots; box (x, y, width, height, whole pixels inside it): that part alone."""
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
    x, y, w, h = box or (0, 0, width, height)
    raw = zlib.decompress(b"".join(chunks))
    stride = width * channels
    previous, pixels = bytes(stride), []
    # Each row is read against the one above: every row down to the box's last is undone.
    for line in range(y + h):
        start = line * (stride + 1)
        row = _unfilter(raw[start], raw[start + 1:start + 1 + stride], previous, channels)
        if line >= y:
            part = row[x * channels:(x + w) * channels]
            pixels.extend(zip(part[0::channels], part[1::channels], part[2::channels]))
        previous = row
    return w, pixels
