"""Small pixel-art toolkit: an indexed canvas with hard-edged shapes, a bitmap font, and writers
for Windows BMP (4 and 8 bits per pixel) and ICO files. Standard library only, so the output is
the same byte for byte on every machine."""

import struct

# The 16 colours every Windows display shows without dithering, in the usual VGA order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)
BTNFACE = SILVER


class Canvas:
    def __init__(self, w, h, bg=BTNFACE):
        self.w, self.h = w, h
        self.px = [[bg] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h and c is not None:
            self.px[y][x] = c

    def get(self, x, y):
        return self.px[y][x]

    def rect(self, x0, y0, x1, y1, c):
        """Filled rectangle, corners inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.set(x, y0, c)
            self.set(x, y1, c)
        for y in range(y0, y1 + 1):
            self.set(x0, y, c)
            self.set(x1, y, c)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def region(self, inside, fill=None, outline=None, box=None):
        """Paints the pixels whose centres satisfy inside(x, y); outline takes those of them with a
        4-neighbour outside, so every outline is one clean pixel wide."""
        x0, y0, x1, y1 = box if box else (0, 0, self.w - 1, self.h - 1)

        def ins(x, y):
            return inside(x + 0.5, y + 0.5)

        cells = [(x, y) for y in range(y0, y1 + 1) for x in range(x0, x1 + 1) if ins(x, y)]
        for x, y in cells:
            edge = not (ins(x - 1, y) and ins(x + 1, y) and ins(x, y - 1) and ins(x, y + 1))
            if edge and outline is not None:
                self.set(x, y, outline)
            elif fill is not None:
                self.set(x, y, fill)

    def ellipse(self, cx, cy, rx, ry, fill=None, outline=None):
        self.region(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0, fill, outline)

    def disc(self, cx, cy, r, fill=None, outline=None):
        self.ellipse(cx, cy, r, r, fill, outline)

    def sprite(self, x0, y0, rows, cmap):
        """Copies an ASCII picture; characters missing from cmap (such as '.') are transparent."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch in cmap:
                    self.set(x0 + dx, y0 + dy, cmap[ch])

    def blit(self, other, x0, y0, transparent=None):
        for y in range(other.h):
            for x in range(other.w):
                c = other.px[y][x]
                if c != transparent:
                    self.set(x0 + x, y0 + y, c)

    def text(self, x, y, s, c, scale=1, bold=False, spacing=1):
        """Draws s with the bitmap font; y is the top of the capitals. Returns the end x."""
        for ch in s:
            glyph = FONT[ch]
            for gy, row in enumerate(glyph):
                for gx, bit in enumerate(row):
                    if bit == "#":
                        for b in range(2 if bold else 1):
                            self.rect(x + (gx + b) * scale, y + gy * scale,
                                      x + (gx + b + 1) * scale - 1, y + (gy + 1) * scale - 1, c)
            x += (len(glyph[0]) + spacing + (1 if bold else 0)) * scale
        return x - spacing * scale

    def colours(self):
        return {c for row in self.px for c in row}

    def mirrored(self):
        out = Canvas(self.w, self.h)
        out.px = [list(reversed(r)) for r in self.px]
        return out

    def rotated180(self):
        out = Canvas(self.w, self.h)
        out.px = [list(reversed(r)) for r in reversed(self.px)]
        return out

    def rotated90(self):
        """Quarter turn clockwise (square canvases only)."""
        out = Canvas(self.h, self.w)
        out.px = [[self.px[self.h - 1 - x][y] for x in range(self.h)] for y in range(self.w)]
        return out


def text_width(s, scale=1, bold=False, spacing=1):
    w = sum(len(FONT[ch][0]) + spacing + (1 if bold else 0) for ch in s) - spacing
    return w * scale


# 5x7 capitals and lower case with two rows of descender; rows are top to bottom.
_GLYPHS = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "b": ["#....", "#....", "####.", "#...#", "#...#", "#...#", "####."],
    "d": ["....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "l": ["##.", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "p": [".....", ".....", "####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    "t": [".#..", ".#..", "####", ".#..", ".#..", ".#..", "..##"],
    "u": [".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"],
    "1": [".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": ["####.", "....#", "....#", ".###.", "....#", "....#", "####."],
    ".": ["..", "..", "..", "..", "..", "..", "#."],
    " ": ["..."],
}
FONT = {k: [row for row in v] for k, v in _GLYPHS.items()}


# ---- writers ------------------------------------------------------------------------------------

def _rows_bottom_up(canvas, bpp):
    out = bytearray()
    for y in range(canvas.h - 1, -1, -1):
        row = canvas.px[y]
        if bpp == 8:
            data = bytes(row)
        elif bpp == 4:
            data = bytes((row[i] << 4) | (row[i + 1] if i + 1 < len(row) else 0)
                         for i in range(0, len(row), 2))
        else:
            raise ValueError(bpp)
        out += data + b"\0" * ((-len(data)) % 4)
    return bytes(out)


def _palette_bytes(palette, count):
    pal = list(palette) + [(0, 0, 0)] * (count - len(palette))
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in pal[:count])


def _rle8_rows(canvas):
    """The pixels bottom-up in run-length form (BI_RLE8): a run of two or more equal pixels as
    (count, index), a stretch of other pixels literally (0, count, indices, padded to a word)."""
    out = bytearray()
    for y in range(canvas.h - 1, -1, -1):
        row, x, n = canvas.px[y], 0, canvas.w
        while x < n:
            run = 1
            while x + run < n and run < 255 and row[x + run] == row[x]:
                run += 1
            if run >= 2 or n - x < 3:
                out += bytes((run, row[x]))
                x += run
                continue
            start = x
            while x < n and x - start < 255 and not (x + 2 < n and row[x] == row[x + 1] == row[x + 2]):
                x += 1
            literal = bytes(row[start:x])
            if len(literal) < 3:
                out += b"".join(bytes((1, c)) for c in literal)
            else:
                out += bytes((0, len(literal))) + literal + b"\0" * (len(literal) % 2)
        out += b"\0\0"  # end of line
    return bytes(out + b"\0\1")  # end of picture


def bmp_bytes(canvas, bpp, palette, rle=False):
    """A bottom-up BMP with a BITMAPINFOHEADER: uncompressed with a full colour table, or with
    rle (8 bits per pixel only) run-length encoded with only the colours it uses in its table."""
    ncol = 1 << bpp
    if max(canvas.colours()) >= ncol or len(palette) > ncol:
        raise ValueError("colour index out of range for %d bpp" % bpp)
    if rle and bpp != 8:
        raise ValueError("run-length encoding is for 8 bits per pixel")
    bits = _rle8_rows(canvas) if rle else _rows_bottom_up(canvas, bpp)
    used = max(canvas.colours()) + 1 if rle else ncol
    pal = _palette_bytes(palette, used)
    offset = 14 + 40 + len(pal)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, bpp, 1 if rle else 0, len(bits),
                       2835, 2835, used, 0)
    head = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return head + info + pal + bits


def write_bmp(path, canvas, bpp, palette, rle=False):
    with open(path, "wb") as f:
        f.write(bmp_bytes(canvas, bpp, palette, rle))


def ico_bytes(images):
    """A 16-colour icon file; images are (canvas, transparent index) pairs. Transparent pixels
    get a set AND-mask bit and black colour bits, as Windows expects."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for canvas, transparent in images:
        solid = Canvas(canvas.w, canvas.h, BLACK)
        for y in range(canvas.h):
            for x in range(canvas.w):
                c = canvas.px[y][x]
                solid.px[y][x] = BLACK if c == transparent else c
        xor = _rows_bottom_up(solid, 4)
        mask = bytearray()
        for y in range(canvas.h - 1, -1, -1):
            row = bytearray((canvas.w + 7) // 8)
            for x in range(canvas.w):
                if canvas.px[y][x] == transparent:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row + b"\0" * ((-len(row)) % 4)
        info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h * 2, 1, 4, 0,
                           len(xor) + len(mask), 0, 0, 16, 0)
        blob = info + _palette_bytes(VGA16, 16) + xor + bytes(mask)
        entries.append(struct.pack("<BBBBHHII", canvas.w % 256, canvas.h % 256, 16, 0, 1, 4,
                                   len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


def write_ico(path, images):
    with open(path, "wb") as f:
        f.write(ico_bytes(images))
