#!/usr/bin/env python3
"""Draws every picture of the program and writes the face list and the sample settings file.

    python3 assets/gen/make_art.py [--preview DIR]

Writes into assets/: splash.bmp, toolbar/*.bmp, icons/*.ico, aboutlogo.bmp, faces.tsv, and into
assets/dist/ (shipped beside the program): Faces/*.bmp and MOODPAD.INI. The output depends on
nothing but this code, so the committed files can be checked by running it again. --preview also
writes PNG copies enlarged four times (needs PIL) for looking at the pixels."""

import os
import sys

sys.dont_write_bytecode = True

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from pixelart import (Canvas, VGA16, BLACK, MAROON, NAVY, SILVER, GREY, RED, YELLOW, WHITE,
                      text_width, write_bmp, write_ico)
import faces

ASSETS = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TRANSPARENT = 16  # outside the 16 colours: becomes the icon's transparent mask


# ---- faces in the 16 standard colours, at any size ----------------------------------------------
def face16(cv, cx, cy, r, mood="smile", line=None, fill=YELLOW):
    """A flat yellow face with a black outline; line is the outline width."""
    line = line or max(1, round(r / 14))
    cv.disc(cx, cy, r, BLACK)
    cv.disc(cx, cy, r - line, fill)
    # eye centres on whole pixel edges, mirrored about the face's axis, so both eyes come out the
    # same width (two pixels for small faces)
    lx = round(cx - r * 0.36)
    rx = 2 * cx - lx
    ey = round(cy - r * 0.28)
    erx, ery = max(1.0, r * 0.09), max(1.6, r * 0.2)
    cv.ellipse(lx, ey, erx, ery, BLACK)
    if mood == "wink":
        _arc(cv, rx, ey + ery * 0.6, max(2.0, r * 0.16), max(1, r * 0.07), up=True)
    else:
        cv.ellipse(rx, ey, erx, ery, BLACK)
    t = max(1.0, r * 0.1)
    if mood in ("smile", "wink"):
        _arc(cv, cx, cy - r * 0.02, r * 0.58, t, up=False, lift=r * 0.2)
    elif mood == "grin":
        rr = r * 0.58
        cv.region(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= rr * rr and y >= cy + r * 0.1,
                  MAROON, BLACK)
        cv.region(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= (rr - t) ** 2
                  and cy + r * 0.1 + t <= y <= cy + r * 0.1 + t + r * 0.12, WHITE, None)
    elif mood == "sad":
        _arc(cv, cx, cy + r * 0.75, r * 0.45, t, up=True, lift=r * 0.3)
    elif mood == "surprised":
        cv.ellipse(cx, cy + r * 0.38, r * 0.18, r * 0.24, MAROON, BLACK)
    elif mood == "tongue":
        cv.rect(round(cx - r * 0.45), round(cy + r * 0.3), round(cx + r * 0.45) - 1,
                round(cy + r * 0.3 + t) - 1, BLACK)
        cv.ellipse(cx + r * 0.12, cy + r * 0.3 + t + r * 0.12, r * 0.18, r * 0.2, RED, BLACK)


def _arc(cv, cx, cy, radius, thick, up, lift=0.0):
    """A curved stroke: the lower half of a ring (a smile), or the upper half when up."""
    def inside(x, y):
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        side = (y <= cy - lift) if up else (y >= cy + lift)
        return (radius - thick) ** 2 <= d2 <= radius ** 2 and side
    cv.region(inside, BLACK, None)


# ---- splash -------------------------------------------------------------------------------------
def splash():
    cv = Canvas(400, 150, WHITE)
    # the window shows 396 of the 400 columns: keep the frame inside that
    cv.frame(4, 2, 395, 147, NAVY)
    cv.frame(6, 4, 393, 145, NAVY)
    face16(cv, 80, 75, 54, "smile", line=3)
    cv.ellipse(52, 44, 8, 4, WHITE)
    word = "Moodpad"
    w = text_width(word, scale=5)
    x0 = (136 + 396 - w) // 2
    cv.text(x0 + 3, 26 + 3, word, SILVER, scale=5)
    cv.text(x0, 26, word, NAVY, scale=5)
    # a row of little faces under the name
    moods = ["wink", "grin", "tongue", "surprised", "sad"]
    step = w / len(moods)
    for i, mood in enumerate(moods):
        face16(cv, round(x0 + step * (i + 0.5)), 112, 13, mood)
    return cv


# ---- toolbar pictures (85 x 24) -----------------------------------------------------------------
def tb_minimize():
    cv = Canvas(85, 24)
    face16(cv, 12, 12, 11, "smile")
    # arrow pointing at the box
    cv.rect(28, 11, 44, 13, NAVY)
    for i in range(6):
        cv.rect(45 + i, 7 + i, 45 + i, 17 - i, NAVY)
    # a small window with a small face in it
    cv.rect(56, 4, 80, 20, WHITE)
    cv.rect(56, 4, 80, 7, NAVY)
    cv.frame(56, 4, 80, 20, BLACK)
    face16(cv, 68, 14, 5.5, "smile")
    return cv


def tb_customize():
    cv = Canvas(85, 24)
    for cx in (9, 76):
        cv.disc(cx, 12, 7.5, GREY, BLACK)
        cv.disc(cx - 1.5, 10.5, 4.5, SILVER)
        cv.line(cx - 4, 15, cx + 3, 8, BLACK)
        cv.line(cx - 3, 15, cx + 4, 8, BLACK)

    # the wrench: an open jaw on the left, the handle, a ring on the right
    def wrench(x, y):
        jaw = (x - 27) ** 2 + (y - 12) ** 2 <= 7.5 ** 2 and not (x < 28 and abs(y - 12) < 3)
        handle = 27 <= x <= 60 and abs(y - 12) <= 3
        ring = 6.5 ** 2 >= (x - 60) ** 2 + (y - 12) ** 2 >= 2.5 ** 2
        return jaw or handle or ring

    # polished steel: light on top, a shadow along the lower edge
    cv.region(wrench, WHITE, BLACK)
    cv.region(lambda x, y: wrench(x, y) and y > 13, GREY, BLACK)
    return cv


def tb_order():
    cv = Canvas(85, 24)
    for cx in (10, 19, 28):
        face16(cv, cx, 12, 8, "smile")
    cv.text(42, 8, "Order", BLACK, bold=True)
    return cv


def tb_about():
    cv = Canvas(85, 24)
    cv.text(10, 8, "About", BLACK, bold=True)
    face16(cv, 66, 12, 10, "smile")
    return cv


def tb_help():
    cv = Canvas(85, 24)
    cv.text(12, 7, "Help", BLACK, bold=True)
    # a red book standing slightly open: pages on the right edge, a question mark on the cover
    x0, y0 = 54, 2
    cv.rect(x0 + 3, y0 + 2, x0 + 21, y0 + 20, WHITE)
    cv.frame(x0 + 3, y0 + 2, x0 + 21, y0 + 20, BLACK)
    cv.rect(x0, y0, x0 + 18, y0 + 18, RED)
    cv.frame(x0, y0, x0 + 18, y0 + 18, BLACK)
    cv.rect(x0 + 1, y0 + 1, x0 + 2, y0 + 17, MAROON)
    cv.sprite(x0 + 6, y0 + 3, [
        ".####.",
        "##..##",
        "....##",
        "...##.",
        "..##..",
        "..##..",
        "......",
        "..##..",
        "..##..",
    ], {"#": YELLOW})
    for i in range(3):
        cv.line(x0 + 19, y0 + 19 + i - 2, x0 + 20, y0 + 19 + i - 2, GREY)
    return cv


# ---- icons --------------------------------------------------------------------------------------
def icon32():
    cv = Canvas(32, 32, TRANSPARENT)
    # a sheet with its upper right corner folded down
    cv.rect(4, 1, 27, 30, WHITE)
    cv.frame(4, 1, 27, 30, BLACK)
    for i in range(7):
        cv.rect(27 - 6 + i, 1 + i, 27, 1 + i, TRANSPARENT)
    cv.line(20, 1, 20, 8, BLACK)
    cv.line(20, 8, 27, 8, BLACK)
    cv.line(21, 1, 27, 7, BLACK)
    for y in range(2, 8):
        cv.rect(21, y, 21 + (y - 2), y, SILVER)
        cv.set(20, y, BLACK)
    cv.line(21, 1, 27, 7, BLACK)
    face16(cv, 16, 18, 9.5, "smile")
    return cv


def icon16():
    cv = Canvas(16, 16, TRANSPARENT)
    cv.sprite(0, 0, [
        "..##########....",
        "..#wwwwwwww##...",
        "..#wwwwwwww#G#..",
        "..#wwwwwwww####.",
        "..#ww#####www#..",
        "..#w#yyyyy#ww#..",
        "..##yy#y#yy#w#..",
        "..##yy#y#yy#w#..",
        "..##yyyyyyy#w#..",
        "..##y#yyy#y#w#..",
        "..##yy###yy#w#..",
        "..#w#yyyyy#ww#..",
        "..#ww#####www#..",
        "..#wwwwwwwwww#..",
        "..############..",
        "................",
    ], {"#": BLACK, "w": WHITE, "y": YELLOW, "G": SILVER})
    cv.set(13, 1, TRANSPARENT)
    cv.set(14, 2, TRANSPARENT)
    cv.set(14, 3, BLACK)
    return cv


def credits32():
    cv = Canvas(32, 32, TRANSPARENT)
    face16(cv, 14, 17, 12.5, "smile")
    cv.sprite(19, 0, [
        "......#......",
        ".....#Y#.....",
        ".....#Y#.....",
        "....#YYY#....",
        "#####YYY#####",
        "#YYYYYYYYYYY#",
        ".#YYYYYYYYY#.",
        "..#YYYYYYY#..",
        "...#YYYYY#...",
        "...#YYYYY#...",
        "..#YYY#YYY#..",
        "..#YY#.#YY#..",
        ".#Y##...##Y#.",
        ".##.......##.",
    ], {"#": BLACK, "Y": YELLOW})
    return cv


# ---- about logo (100 x 200, 256 colours) --------------------------------------------------------
def about_logo():
    pal = list(faces.FACE_PALETTE)
    band0 = len(pal)
    bands = 20
    for i in range(bands):
        t = i / (bands - 1)
        pal.append((int(16 + 40 * t), int(24 + 88 * t), int(96 + 159 * t)))
    cv = Canvas(100, 200)
    for i in range(bands):
        cv.rect(0, i * 10, 99, i * 10 + 9, band0 + i)
    # a large shaded face
    cx, cy, r = 50.0, 58.0, 36.0

    def inside(x, y):
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

    cv.region(inside, BLACK)
    cv.region(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= (r - 2) ** 2, faces.SHADE)
    cv.region(lambda x, y: (x - cx + 5) ** 2 + (y - cy + 5) ** 2 <= (r - 4) ** 2
              and inside(x, y), faces.FACE)
    cv.ellipse(36, 36, 7, 4, faces.SHINE)
    cv.ellipse(38, 48, 4, 8, BLACK)
    cv.ellipse(62, 48, 4, 8, BLACK)
    _arc(cv, cx, cy + 2, 22, 4, up=False, lift=6)
    cv.text(11, 113, "Moodpad", BLACK, scale=2)
    cv.text(9, 111, "Moodpad", WHITE, scale=2)
    for i, name in enumerate(("wink", "grin", "tongue")):
        small = dict((n, f) for n, _, _, f in faces.FACES)[name]()
        for y in range(28):
            for x in range(28):
                c = small.px[y][x]
                if c != SILVER:
                    cv.set(4 + i * 32 + x, 150 + y, c)
    cv.text(38, 186, "1.32", WHITE)
    return cv, pal


# ---- face list and settings file ----------------------------------------------------------------
def check_faces():
    names, seqs = set(), set()
    for name, seq, hint, _ in faces.FACES:
        assert name.isascii() and name.isalnum() and name.lower() not in names, name
        assert 0 < len(seq) <= 19 and seq.isascii() and " " not in seq and "\t" not in seq, seq
        assert seq not in seqs, seq
        assert hint and len(hint) <= 179, hint
        names.add(name.lower())
        seqs.add(seq)


def faces_tsv():
    return "".join("%s\t%s\t%s\n" % (n, s, h) for n, s, h, _ in faces.FACES)


def settings_ini():
    lines = [
        "[AutoInsert]", "Enabled=1", "TrackWindows=1", "UseClipboard=1",
        "[ButtonPath]", "Value=Faces",
        "[Startup]", "Enabled=0", "Name=",
        "[Hotkey]", "Alt=1", "Ctrl=0", "Shift=0", "Key=69",
        "[DragDrop]", "Enabled=1",
        "[Window]", "Left=0", "Top=0", "Width=0", "Height=0", "Code=1",
        "[ExtraSpacing]", "Before=1", "After=0",
        "[Buttons]",
    ]
    for name, seq, hint, _ in faces.FACES:
        # the program's own layout: name padded to 19, sequence padded to 19, then the hint
        value = seq.ljust(19) + (" " if len(seq) >= 19 else "") + hint
        lines.append(name.ljust(19) + "=" + value.rstrip())
    # What the about box shows; an empty PictureAbout keeps its built-in logo.
    lines += [
        "[ProductInfo]",
        "ProductName=Moodpad(tm)",
        "ProductVersion=1.32",
        "Copyright1=Copyright (c) 2026 the Moodpad developers",
        "Copyright2=Moodpad is free to use, to copy and to share.",
        "Copyright3=Faces & pictures drawn for Moodpad.",
        "PictureAbout=",
        "Phone=+1 555 0100",
        "Internet=moodpad.example.org",
        "AOL=Moodpad",
        "Techphone=+1 555 0199",
        "TechOnline=moodpad.example.org/help",
    ]
    return "".join(line + "\r\n" for line in lines)


def main(argv):
    preview = argv[argv.index("--preview") + 1] if "--preview" in argv else None
    check_faces()
    out = {}

    def bmp(rel, cv, bpp, pal, rle=False):
        path = os.path.join(ASSETS, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        write_bmp(path, cv, bpp, pal, rle)
        out[rel] = cv

    bmp("splash.bmp", splash(), 8, VGA16, rle=True)
    for name, fn in (("minimize", tb_minimize), ("customize", tb_customize), ("order", tb_order),
                     ("about", tb_about), ("help", tb_help)):
        bmp("toolbar/%s.bmp" % name, fn(), 4, VGA16)
    logo, pal = about_logo()
    # Run-length encoded, as the splash: both are built into the program, whose size counts.
    bmp("aboutlogo.bmp", logo, 8, pal, rle=True)
    os.makedirs(os.path.join(ASSETS, "icons"), exist_ok=True)
    i32, i16, c32 = icon32(), icon16(), credits32()
    write_ico(os.path.join(ASSETS, "icons", "moodpad.ico"), [(i32, TRANSPARENT), (i16, TRANSPARENT)])
    write_ico(os.path.join(ASSETS, "icons", "credits.ico"), [(c32, TRANSPARENT)])
    out["icons/moodpad32"], out["icons/moodpad16"], out["icons/credits"] = i32, i16, c32

    faces_dir = os.path.join(ASSETS, "dist", "Faces")
    os.makedirs(faces_dir, exist_ok=True)
    wanted = {n + ".bmp" for n, _, _, _ in faces.FACES}
    for stale in set(os.listdir(faces_dir)) - wanted:
        os.remove(os.path.join(faces_dir, stale))
    for name, _, _, draw in faces.FACES:
        bmp("dist/Faces/%s.bmp" % name, draw(), 8, faces.FACE_PALETTE)
    with open(os.path.join(ASSETS, "faces.tsv"), "w", newline="\n") as f:
        f.write(faces_tsv())
    with open(os.path.join(ASSETS, "dist", "MOODPAD.INI"), "w", newline="") as f:
        f.write(settings_ini())

    if preview:
        write_previews(preview, out, pal)


def write_previews(folder, pictures, logo_pal):
    from PIL import Image

    os.makedirs(folder, exist_ok=True)

    def png(cv, pal, scale=4):
        img = Image.new("RGB", (cv.w, cv.h))
        img.putdata([pal[c] if c < len(pal) else (255, 0, 255) for row in cv.px for c in row])
        return img.resize((cv.w * scale, cv.h * scale), Image.NEAREST)

    for rel, cv in pictures.items():
        if rel.startswith("dist/Faces/"):
            continue
        pal = logo_pal if rel == "aboutlogo.bmp" else faces.FACE_PALETTE
        png(cv, pal).save(os.path.join(folder, rel.replace("/", "_") + ".png"))
    # every face on one sheet, in palette order, on 36 x 36 cells like the buttons
    cols = 10
    rows = (len(faces.FACES) + cols - 1) // cols
    sheet = Canvas(cols * 36, rows * 36)
    for i, (_, _, _, draw) in enumerate(faces.FACES):
        x, y = (i % cols) * 36, (i // cols) * 36
        sheet.frame(x, y, x + 35, y + 35, WHITE)
        sheet.frame(x + 35, y, x + 35, y + 35, BLACK)
        sheet.frame(x, y + 35, x + 35, y + 35, BLACK)
        sheet.blit(draw(), x + 4, y + 4)
    png(sheet, faces.FACE_PALETTE, 3).save(os.path.join(folder, "faces_sheet.png"))


if __name__ == "__main__":
    main(sys.argv[1:])
