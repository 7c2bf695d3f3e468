"""A small PNG writer on the standard library alone (zlib and struct)."""
import struct
import zlib

# colour type by channel count: grey, grey+alpha, RGB, RGBA
COLOUR_TYPES = {1: 0, 2: 4, 3: 2, 4: 6}


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def filtered(kind, row, above, bpp):
    """The row under PNG filter kind 0 to 4 (none, sub, up, average, paeth)."""
    out = bytearray(len(row))
    for i, x in enumerate(row):
        a = row[i - bpp] if i >= bpp else 0
        b = above[i]
        c = above[i - bpp] if i >= bpp else 0
        out[i] = (x - (0, a, b, (a + b) // 2, paeth(a, b, c))[kind]) & 0xFF
    return bytes([kind]) + bytes(out)


def smallest_data(rows, bpp):
    """The rows filtered and compressed, the smallest of the usual choices:
    one filter for every row, or each row's with the least sum of its
    signed bytes. Slow in pure Python: for the art, not for test images."""
    above, filterings = bytes(len(rows[0])) if rows else b"", []
    for row in rows:
        row = bytes(row)
        filterings.append([filtered(kind, row, above, bpp) for kind in range(5)])
        above = row
    weight = lambda f: sum(b if b < 128 else 256 - b for b in f[1:])  # noqa: E731
    choices = [[f[kind] for f in filterings] for kind in range(5)] + [[min(f, key=weight) for f in filterings]]
    return min((zlib.compress(b"".join(c), 9) for c in choices), key=len)


def encode(width, height, rows, channels=3, depth=8, palette=None, smallest=False):
    """rows: one bytes object per row, already packed for the depth.
    With a palette (a list of RGB triples) the image is paletted. Rows go
    unfiltered unless smallest asks for the smallest filtering."""
    colour = 3 if palette else COLOUR_TYPES[channels]
    header = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, 0)
    bpp = max(1, channels * depth // 8) if not palette else 1
    data = smallest_data(rows, bpp) if smallest else zlib.compress(b"".join(b"\x00" + bytes(r) for r in rows), 9)
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
    if palette:
        out += chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    out += chunk(b"IDAT", data) + chunk(b"IEND", b"")
    return out


def write(path, width, height, rows, **kwargs):
    with open(path, "wb") as f:
        f.write(encode(width, height, rows, **kwargs))
