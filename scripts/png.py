"""A small PNG writer on the standard library alone (zlib and struct)."""
import struct
import zlib

# colour type by channel count: grey, grey+alpha, RGB, RGBA
COLOUR_TYPES = {1: 0, 2: 4, 3: 2, 4: 6}


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def encode(width, height, rows, channels=3, depth=8, palette=None):
    """rows: one bytes object per row, already packed for the depth.
    With a palette (a list of RGB triples) the image is paletted."""
    colour = 3 if palette else COLOUR_TYPES[channels]
    header = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, 0)
    raw = b"".join(b"\x00" + bytes(r) for r in rows)
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
    if palette:
        out += chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    out += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    return out


def write(path, width, height, rows, **kwargs):
    with open(path, "wb") as f:
        f.write(encode(width, height, rows, **kwargs))
