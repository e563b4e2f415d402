#!/usr/bin/env python3
"""Writes res/windows/quillmark.ico from the PNGs of res/icons.

The sizes up to 48 pixels are stored as 32-bit DIBs with an AND mask, which
every Windows icon reader takes; the 256-pixel image is PNG-compressed, as
Windows wants it for that size, and written again with 8-bit samples, since
an icon entry of 32 bits per pixel is what the readers expect. Only the standard library is used, so
the icon can be rebuilt anywhere python3 runs.

Usage: make_ico.py [OUT.ico [IN.png...]]
"""
import os
import struct
import sys
import zlib

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
# Above this size an entry is kept as PNG (Vista and later read it).
LARGEST_DIB = 48


def read_png(path):
    """Returns (width, height, rows of RGBA bytes, the file's bytes)."""
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(PNG_SIGNATURE):
        raise ValueError(f"{path}: not a PNG file")
    pos = len(PNG_SIGNATURE)
    header = None
    palette = b""
    transparency = b""
    idat = []
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = body
        elif kind == b"tRNS":
            transparency = body
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
    if header is None:
        raise ValueError(f"{path}: no IHDR chunk")
    width, height, depth, colour, _, _, interlace = header
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}.get(colour)
    if channels is None or depth not in (8, 16) or (colour == 3 and depth != 8):
        raise ValueError(f"{path}: colour type {colour} at depth {depth} is not handled")
    if interlace:
        raise ValueError(f"{path}: interlaced PNGs are not handled")
    raw = zlib.decompress(b"".join(idat))
    step = channels * depth // 8  # bytes per pixel, the filters' unit
    stride = width * step
    rows = []
    previous = bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind = raw[start]
        line = bytearray(raw[start + 1:start + 1 + stride])
        unfilter(kind, line, previous, step, path)
        rows.append(to_rgba(line, width, colour, depth, palette, transparency))
        previous = line
    return width, height, rows, data


def unfilter(kind, line, previous, step, path):
    if kind == 0:
        return
    for i in range(len(line)):
        left = line[i - step] if i >= step else 0
        up = previous[i]
        if kind == 1:
            line[i] = (line[i] + left) & 0xFF
        elif kind == 2:
            line[i] = (line[i] + up) & 0xFF
        elif kind == 3:
            line[i] = (line[i] + ((left + up) >> 1)) & 0xFF
        elif kind == 4:
            upper_left = previous[i - step] if i >= step else 0
            p = left + up - upper_left
            pa, pb, pc = abs(p - left), abs(p - up), abs(p - upper_left)
            predictor = left if pa <= pb and pa <= pc else (up if pb <= pc else upper_left)
            line[i] = (line[i] + predictor) & 0xFF
        else:
            raise ValueError(f"{path}: unknown PNG filter {kind}")


def to_rgba(line, width, colour, depth, palette, transparency):
    # Samples of 16 bits keep their high byte.
    samples = line[::2] if depth == 16 else line
    out = bytearray()
    for x in range(width):
        if colour == 6:
            out += samples[4 * x:4 * x + 4]
        elif colour == 2:
            out += samples[3 * x:3 * x + 3] + b"\xff"
        elif colour == 4:
            g, a = samples[2 * x], samples[2 * x + 1]
            out += bytes((g, g, g, a))
        elif colour == 0:
            g = samples[x]
            out += bytes((g, g, g, 255))
        else:
            index = samples[x]
            alpha = transparency[index] if index < len(transparency) else 255
            out += palette[3 * index:3 * index + 3] + bytes((alpha,))
    return bytes(out)


def dib_entry(width, height, rows):
    """A BITMAPINFOHEADER, the BGRA pixels bottom-up, then the AND mask."""
    pixels = bytearray()
    for row in reversed(rows):
        for x in range(width):
            r, g, b, a = row[4 * x:4 * x + 4]
            pixels += bytes((b, g, r, a))
    mask_stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x in range(width):
            if row[4 * x + 3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def png_rgba8(width, height, rows):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body)))
    raw = b"".join(b"\x00" + row for row in rows)
    return (PNG_SIGNATURE
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def make_ico(pngs):
    images = []
    for path in pngs:
        width, height, rows, _ = read_png(path)
        if width != height or width > 256:
            raise ValueError(f"{path}: an icon image is square and at most 256 pixels")
        if width > LARGEST_DIB:
            body = png_rgba8(width, height, rows)
        else:
            body = dib_entry(width, height, rows)
        images.append((width, body))
    images.sort(key=lambda image: image[0])
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for width, body in images:
        side = 0 if width == 256 else width  # 0 stands for 256
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    return out + b"".join(body for _, body in images)


def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = argv[1] if len(argv) > 1 else os.path.join(root, "res", "windows", "quillmark.ico")
    pngs = argv[2:] or [os.path.join(root, "res", "icons", f"quillmark-{size}.png")
                        for size in (16, 32, 48, 256)]
    ico = make_ico(pngs)
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    with open(out, "wb") as f:
        f.write(ico)
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except (OSError, ValueError, zlib.error) as error:
        print(f"make_ico.py: {error}", file=sys.stderr)
        sys.exit(1)
