"""The button faces: 28x28 pictures in one style (yellow face, black outline, shading to the lower
right, a small highlight to the upper left) on the button face grey, each with the emoticon it
stands for and a one-line hint."""

from pixelart import Canvas, VGA16, BLACK, MAROON, GREY, SILVER, WHITE, RED, BLUE, NAVY, GREEN

SIZE = 28

# Colours beyond the 16 standard ones: the 8-bit faces use them for shading and details.
FACE, SHADE, SHINE, TONGUE, BLUSH, TEAR, SICK, SICKSHADE, HOT, HOTSHADE, BROWN, MOUTH, LIPS, \
    GOLD, STEEL, STEELSHADE = range(16, 32)
FACE_PALETTE = VGA16 + [
    (255, 216, 0),    # face
    (232, 156, 0),    # face shade
    (255, 250, 176),  # highlight
    (255, 112, 136),  # tongue
    (255, 150, 128),  # blush
    (88, 168, 255),   # tear
    (168, 220, 96),   # sick face
    (112, 168, 48),   # sick shade
    (248, 80, 40),    # red face
    (184, 36, 16),    # red shade
    (136, 76, 20),    # hair, moustache
    (96, 0, 0),       # inside of a mouth
    (224, 40, 88),    # lips, hearts
    (255, 196, 0),    # halo, coins
    (176, 196, 216),  # robot
    (120, 140, 168),  # robot shade
]

CMAP = {
    "#": BLACK, "w": WHITE, "r": MOUTH, "p": TONGUE, "k": BLUSH, "b": TEAR, "R": RED,
    "L": LIPS, "y": FACE, "s": SHADE, "h": SHINE, "o": BROWN, "g": GREY, "G": SILVER,
    "n": NAVY, "B": BLUE, "m": MAROON, "d": GOLD, "e": GREEN, "x": STEELSHADE,
}

CX = CY = 14.0
R = 12.0


def _sym(rows):
    for row in rows:
        assert row == row[::-1], "asymmetric row %r" % row
    return rows


def put(cv, x, y, rows):
    cv.sprite(x, y, rows, CMAP)


def pair(cv, x, y, rows):
    """Places rows at (x, y) and its mirror image on the other side of the face."""
    put(cv, x, y, rows)
    w = len(rows[0])
    put(cv, SIZE - x - w, y, [r[::-1] for r in rows])


def base(fill=FACE, shade=SHADE, shine=SHINE):
    cv = Canvas(SIZE, SIZE)

    def inside(x, y):
        return (x - CX) ** 2 + (y - CY) ** 2 <= R * R

    def lit(x, y):
        return (x - CX + 2.2) ** 2 + (y - CY + 2.2) ** 2 <= (R - 0.6) ** 2

    cv.region(inside, shade, BLACK)
    cv.region(lambda x, y: inside(x, y) and lit(x, y), fill, None)
    cv.region(inside, None, BLACK)
    if shine is not None:
        cv.sprite(6, 5, ["..hh", ".h..", "h...", "h..."], {"h": shine})
    return cv


# ---- eyes ---------------------------------------------------------------------------------------
EYE = ["##", "##", "##", "##"]
EYE_WIDE = [".##.", "#ww#", "#w##", "#w##", ".##."]
EYE_CLOSED_HAPPY = [".##.", "#..#"]
EYE_CLOSED_SAD = ["#..#", ".##."]
EYE_X = ["#..#", ".##.", ".##.", "#..#"]
EYE_TIGHT = ["#...", ".##.", "...#"]  # squeezed shut, left side; mirrored for the right


def eyes(cv, rows=EYE, x=9, y=8):
    pair(cv, x, y, rows)


def brows(cv, rows, x=7, y=5):
    pair(cv, x, y, rows)


# ---- mouths (drawn across columns 7 to 20, symmetric about the face's axis) ---------------------
SMILE = _sym([
    "#............#",
    ".#..........#.",
    "..##......##..",
    "....######....",
])
BIG_SMILE = _sym([
    "##............##",
    ".#............#.",
    "..##........##..",
    "....########....",
])
GRIN = _sym([
    "##############",
    "#wwwwwwwwwwww#",
    "#rrrrrrrrrrrr#",
    ".#rrrrrrrrrr#.",
    "..#rrpppprr#..",
    "...##pppp##...",
    ".....####.....",
])
FROWN = _sym([
    "....######....",
    "..##......##..",
    ".#..........#.",
    "#............#",
])
FLAT = _sym(["##########"])
O_MOUTH = _sym([
    "..####..",
    ".#rrrr#.",
    "#rrrrrr#",
    "#rrrrrr#",
    "#rrrrrr#",
    ".#rrrr#.",
    "..####..",
])
TONGUE_OUT = [
    "#............#",
    ".##########..#",
    "......#pp#....",
    "......#pp#....",
    ".......##.....",
]
KISS = [
    ".##.",
    "#..#",
    "..#.",
    ".#..",
    "..#.",
    "#..#",
    ".##.",
]
WAVY = _sym(["..##....##..", ".#..#..#..#.", "#....##....#"])
TEETH = _sym([
    ".############.",
    "#w#ww#ww#ww#w#",
    "##############",
    "#w#ww#ww#ww#w#",
    ".############.",
])


def mouth(cv, rows, y=16, x=None):
    if x is None:
        x = (SIZE - len(rows[0])) // 2
    put(cv, x, y, rows)


def heart(cv, x, y, c=LIPS):
    cv.sprite(x, y, [".#.#.", "#####", "#####", ".###.", "..#.."], {"#": c})


# ---- the faces ----------------------------------------------------------------------------------
def f_smile():
    cv = base()
    eyes(cv)
    mouth(cv, SMILE)
    return cv


def f_wink():
    cv = base()
    put(cv, 9, 8, EYE)
    put(cv, 16, 10, EYE_CLOSED_HAPPY)
    mouth(cv, SMILE)
    return cv


def f_grin():
    cv = base()
    eyes(cv)
    mouth(cv, GRIN, y=15)
    return cv


def f_laugh():
    cv = base()
    pair(cv, 7, 7, ["#...", ".##.", "...#", ".##.", "#..."])
    mouth(cv, GRIN, y=15)
    return cv


def f_joy():
    cv = base()
    eyes(cv, EYE_CLOSED_HAPPY, x=8, y=10)
    mouth(cv, GRIN, y=15)
    pair(cv, 4, 12, ["b.", "bb", "bb", ".b"])
    return cv


def f_sad():
    cv = base()
    eyes(cv)
    mouth(cv, FROWN, y=17)
    return cv


def f_cry():
    cv = base()
    eyes(cv, EYE_CLOSED_SAD, x=8, y=10)
    brows(cv, ["..##", "##.."], x=7, y=6)
    mouth(cv, FROWN, y=18)
    pair(cv, 8, 12, ["b.", "b.", "bb", "bb", "bb", ".b"])
    return cv


def angry_brows(cv, y=6):
    brows(cv, ["##..", ".##.", "..##"], x=7, y=y)


def f_angry():
    cv = base()
    angry_brows(cv)
    eyes(cv, ["##", "##", "##"], y=9)
    mouth(cv, FROWN[:3], y=18, x=8)
    return cv


def f_furious():
    cv = base(HOT, HOTSHADE, None)
    angry_brows(cv)
    eyes(cv, ["##", "##", "##"], y=9)
    mouth(cv, TEETH, y=17)
    return cv


def f_surprised():
    cv = base()
    brows(cv, [".##.", "#..#"], x=8, y=4)
    eyes(cv, EYE, y=8)
    mouth(cv, O_MOUTH, y=15)
    return cv


def f_shocked():
    cv = base()
    eyes(cv, EYE_WIDE, x=7, y=6)
    mouth(cv, O_MOUTH, y=15)
    return cv


def f_tongue():
    cv = base()
    eyes(cv)
    mouth(cv, TONGUE_OUT, y=16, x=7)
    return cv


def f_cheeky():
    cv = base()
    put(cv, 9, 8, EYE)
    put(cv, 16, 10, EYE_CLOSED_HAPPY)
    mouth(cv, TONGUE_OUT, y=16, x=7)
    return cv


def f_kiss():
    cv = base()
    eyes(cv, EYE_CLOSED_HAPPY, x=8, y=10)
    put(cv, 13, 15, KISS)
    heart(cv, 20, 16)
    return cv


def f_blowkiss():
    cv = base()
    put(cv, 9, 8, EYE)
    put(cv, 16, 10, EYE_CLOSED_HAPPY)
    put(cv, 11, 15, KISS)
    heart(cv, 17, 16)
    heart(cv, 22, 11)
    return cv


def shades(cv):
    put(cv, 4, 8, [
        "####################",
        "#nnnnnnn####nnnnnnn#",
        ".#nnnnn#....#nnnnn#.",
        "..#####......#####..",
    ])
    cv.set(7, 9, BLUE)
    cv.set(17, 9, BLUE)


def f_cool():
    cv = base()
    shades(cv)
    put(cv, 8, 16, [".........##", "#.......#..", ".#######..."])
    return cv


def f_confused():
    cv = base()
    brows(cv, ["###."], x=7, y=6)
    put(cv, 16, 4, [".###", "#..."])
    eyes(cv)
    put(cv, 8, 16, ["..........##", "......####..", "..####......", "##.........."])
    return cv


def f_neutral():
    cv = base()
    eyes(cv)
    mouth(cv, FLAT, y=18)
    return cv


def f_blush():
    cv = base()
    eyes(cv, EYE_CLOSED_HAPPY, x=8, y=10)
    pair(cv, 4, 14, ["kkk", "kkk"])
    put(cv, 9, 17, ["#........#", ".##....##.", "...####..."])
    return cv


def f_devil():
    cv = base(HOT, HOTSHADE, None)
    put(cv, 1, 0, ["m.....", "mm....", "mmm...", ".mmm..", "..mm.."])
    put(cv, 21, 0, [".....m", "....mm", "...mmm", "..mmm.", "..mm.."])
    angry_brows(cv, y=7)
    eyes(cv, ["##", "##"], y=10)
    mouth(cv, BIG_SMILE, y=16)
    return cv


def f_angel():
    cv = base()
    eyes(cv)
    mouth(cv, SMILE)
    put(cv, 6, 0, _sym([
        "...dddddddd...",
        ".dd........dd.",
        "..dddddddddd..",
    ]))
    return cv


def f_sleepy():
    cv = base()
    eyes(cv, ["####", ".##."], x=8, y=10)
    mouth(cv, _sym(["..##..", ".#rr#.", "..##.."]), y=17)
    return cv


def f_asleep():
    cv = base()
    eyes(cv, EYE_CLOSED_SAD, x=8, y=10)
    mouth(cv, _sym([".####.", "#....#"]), y=18)
    put(cv, 19, 1, ["nnnn.", "..n..", ".n...", "nnnn."])
    put(cv, 24, 0, ["nnn", ".n.", "nnn"])
    return cv


def f_yawn():
    cv = base()
    eyes(cv, EYE_TIGHT, x=8, y=8)
    mouth(cv, _sym([
        "..######..",
        ".#rrrrrr#.",
        "#rrrrrrrr#",
        "#rrrrrrrr#",
        "#rrrpprrr#",
        ".#rppppr#.",
        "..######..",
    ]), y=15)
    return cv


def f_sick():
    cv = base(SICK, SICKSHADE, None)
    eyes(cv, EYE_CLOSED_SAD, x=8, y=9)
    mouth(cv, WAVY, y=17)
    return cv


def f_nerd():
    cv = base()
    pair(cv, 5, 7, [
        ".#####",
        "#.....",
        "#..##.",
        "#..##.",
        ".#####",
    ])
    put(cv, 11, 7, ["######"])
    cv.rect(11, 8, 11, 10, BLACK)
    cv.rect(16, 8, 16, 10, BLACK)
    mouth(cv, SMILE, y=15)
    put(cv, 12, 18, ["####", "#ww#", ".##."])
    return cv


def f_love():
    cv = base()
    heart(cv, 6, 7)
    heart(cv, 17, 7)
    mouth(cv, SMILE, y=16)
    return cv


def f_shout():
    cv = base()
    angry_brows(cv)
    eyes(cv, ["##", "##", "##"], y=9)
    mouth(cv, _sym([
        "..######..",
        ".#rrrrrr#.",
        "#rrrrrrrr#",
        "#rrrrrrrr#",
        "#rrrpprrr#",
        ".#rppppr#.",
        "..######..",
    ]), y=15)
    return cv


def f_shh():
    cv = base()
    eyes(cv, EYE_CLOSED_HAPPY, x=8, y=10)
    # a raised forefinger across the lips, the fist below it
    put(cv, 12, 13, [
        ".##.....",
        "#yy#....",
        "#yy#....",
        "#ys#....",
        "#ys#....",
        "#ys####.",
        "#yyyyys#",
        "#yy#yys#",
        "#yyyyys#",
        "#ys#ss#.",
        ".######.",
    ])
    return cv


def f_sealed():
    cv = base()
    eyes(cv)
    put(cv, 7, 17, [
        "#.#.#.#.#.#.#.",
        "##############",
        "#.#.#.#.#.#.#.",
    ])
    put(cv, 20, 16, ["GG", "GG", "GG"])
    cv.set(21, 19, GREY)
    return cv


def f_eyeroll():
    cv = base()
    pair(cv, 7, 7, [".###.", "#ww##", "#www#", ".###."])
    cv.set(9, 8, BLACK)
    cv.set(18, 8, BLACK)
    mouth(cv, FLAT, y=18)
    return cv


def f_worried():
    cv = base()
    brows(cv, ["..##", "##.."], x=7, y=5)
    eyes(cv)
    mouth(cv, WAVY, y=17)
    put(cv, 22, 6, [".b", "bb", "bb"])
    return cv


def f_smirk():
    cv = base()
    eyes(cv)
    put(cv, 8, 16, [".........#..", "..........#.", "#.......##..", ".#######...."])
    return cv


def f_happy():
    cv = base()
    eyes(cv, [".##.", "#..#", "#..#"], x=8, y=9)
    mouth(cv, BIG_SMILE, y=16)
    pair(cv, 4, 14, ["kk"])
    return cv


def f_nervous():
    cv = base()
    eyes(cv, [".##.", "#..#", "#..#"], x=8, y=9)
    mouth(cv, SMILE, y=16)
    put(cv, 21, 3, [".b.", "bbb", "bbb", ".b."])
    return cv


def f_eyebrow():
    cv = base()
    put(cv, 7, 4, [".###", "#..."])
    put(cv, 16, 7, ["####"])
    put(cv, 8, 7, [".##.", "#ww#", "#w##", "#w##", ".##."])
    put(cv, 17, 9, ["##", "##"])
    put(cv, 9, 18, ["........##", "########.."])
    return cv


def f_dizzy():
    cv = base()
    spiral = [".###.", "#...#", "#.#.#", "#..##", ".#..."]
    put(cv, 7, 7, spiral)
    put(cv, 16, 7, [r[::-1] for r in spiral])
    put(cv, 8, 17, ["..##....##", ".#..#..#..", "#....##..."])
    return cv


def f_knockedout():
    cv = base()
    eyes(cv, EYE_X, x=8, y=8)
    mouth(cv, FROWN[:3], y=18, x=8)
    return cv


def f_drool():
    cv = base()
    eyes(cv, EYE_CLOSED_HAPPY, x=8, y=10)
    mouth(cv, SMILE, y=15)
    put(cv, 17, 18, ["bb", "bb", "bb", ".b"])
    return cv


def f_disappointed():
    cv = base()
    brows(cv, ["..##", "##.."], x=7, y=6)
    eyes(cv, ["##", "##", "##"], y=9)
    mouth(cv, _sym(["..######..", ".#......#.", "#........#"]), y=18)
    return cv


def f_evilgrin():
    cv = base()
    angry_brows(cv)
    eyes(cv, ["##", "##"], y=10)
    mouth(cv, _sym([
        "#..............#",
        "################",
        ".#wwwwwwwwwwww#.",
        "..##rrrrrrrr##..",
        "....########....",
    ]), y=15)
    return cv


def f_party():
    cv = base()
    eyes(cv, y=10)
    mouth(cv, BIG_SMILE, y=17)
    put(cv, 9, 0, [
        ".....R.....",
        ".....#.....",
        "....#B#....",
        "...#BBR#...",
        "..#RRRBB#..",
        ".#BBRRRRR#.",
        "#RRRRRBBBB#",
    ])
    return cv


def f_clown():
    cv = base()
    pair(cv, 1, 3, ["..RR", ".RRR", "RRRR", "RRRR", ".RR."])
    eyes(cv, ["##", "##", "##"], y=9)
    put(cv, 12, 12, [".##.", "#RR#", "#RR#", ".##."])
    cv.set(13, 13, WHITE)
    mouth(cv, _sym(["#..............#", ".#LLLLLLLLLLLL#.", "..##LLLLLLLL##..", "....########...."]),
          y=16)
    return cv


def f_santa():
    cv = base()
    eyes(cv, y=10)
    mouth(cv, SMILE, y=16)
    # a red cap with a white rim, its tip and bobble hanging to the right
    put(cv, 3, 0, [
        "...........####...",
        "........###RRR#...",
        "......##RRRRRR#ww.",
        "....##RRRRRRRR#ww.",
        "..wwwwwwwwwwwwwww.",
        "..wwwwwwwwwwwwwww.",
    ])
    return cv


def f_pirate():
    cv = base()
    cv.line(3, 4, 24, 12, BLACK)
    put(cv, 7, 7, [".####.", "######", "######", ".####."])
    put(cv, 17, 8, EYE)
    mouth(cv, SMILE, y=16)
    return cv


def f_robot():
    cv = Canvas(SIZE, SIZE)
    cv.rect(3, 5, 24, 25, STEEL)
    cv.rect(20, 7, 24, 25, STEELSHADE)
    cv.rect(3, 23, 24, 25, STEELSHADE)
    cv.frame(3, 5, 24, 25, BLACK)
    cv.rect(13, 1, 14, 4, BLACK)
    cv.rect(12, 0, 15, 1, RED)
    cv.rect(1, 12, 2, 17, BLACK)
    cv.rect(25, 12, 26, 17, BLACK)
    put(cv, 7, 9, ["####", "#RR#", "#RR#", "####"])
    put(cv, 17, 9, ["####", "#RR#", "#RR#", "####"])
    put(cv, 8, 17, ["############", "#G#G#GG#G#G#", "############"])
    return cv


def f_moustache():
    cv = base()
    eyes(cv)
    mouth(cv, _sym([
        "..oooo..oooo..",
        ".oooooooooooo.",
        "ooo..oooo..ooo",
        "oo..........oo",
    ]), y=14)
    mouth(cv, _sym(["#......#", ".######."]), y=19)
    return cv


def f_bored():
    cv = base()
    eyes(cv, ["####", ".##."], x=8, y=9)
    mouth(cv, _sym(["########"]), y=19)
    return cv


def f_thinking():
    cv = base()
    put(cv, 7, 6, [".###"])
    put(cv, 16, 5, ["###."])
    eyes(cv)
    put(cv, 11, 18, ["#######"])
    # a hand on the chin
    put(cv, 18, 15, [".##...", "#yy###", "#yyyys#", "#ysss#.", ".####.."])
    return cv



def f_starstruck():
    cv = base()
    for ox in (6, 15):
        put(cv, ox, 6, ["...R...", "..RRR..", "RRRRRRR", ".RRRRR.", "..RRR..", ".RR.RR.",
                        ".R...R."])
    mouth(cv, GRIN, y=15)
    return cv


def f_money():
    cv = base()
    dollar = [".#.", "###", "#..", "###", "..#", "###", ".#."]
    cv.sprite(8, 6, dollar, {"#": GREEN})
    cv.sprite(17, 6, dollar, {"#": GREEN})
    mouth(cv, BIG_SMILE, y=16)
    return cv


def f_yummy():
    cv = base()
    eyes(cv, EYE_CLOSED_HAPPY, x=8, y=10)
    put(cv, 7, 16, [
        "#............#",
        ".#..........#.",
        "..##....pp##..",
        "....####pp#...",
        "........##....",
    ])
    return cv


def f_horrified():
    cv = base()
    brows(cv, ["..##", "##.."], x=7, y=4)
    eyes(cv, EYE_WIDE, x=7, y=6)
    mouth(cv, _sym([
        "....######....",
        "..##rrrrrr##..",
        ".#rrrrrrrrrr#.",
        "#wwwwwwwwwwww#",
        "##############",
    ]), y=16)
    return cv


def f_upsidedown():
    return f_smile().rotated180()


def f_crazy():
    cv = base()
    put(cv, 6, 6, [".###.", "#www#", "#w###", "#w###", "#www#", ".###."])
    put(cv, 17, 9, ["##", "##"])
    mouth(cv, TONGUE_OUT, y=16, x=7)
    return cv


def f_grimace():
    cv = base()
    eyes(cv, ["##", "##", "##"], y=9)
    brows(cv, ["..##", "##.."], x=7, y=6)
    mouth(cv, TEETH, y=17)
    return cv


def f_sweetsmile():
    cv = base()
    eyes(cv, EYE_CLOSED_HAPPY, x=8, y=10)
    mouth(cv, SMILE, y=16)
    return cv


# Palette order: the commonest first. name, sequence, hint, drawing.
FACES = [
    ("smile", ":-)", "Smile", f_smile),
    ("wink", ";-)", "Wink", f_wink),
    ("grin", ":-D", "Big grin", f_grin),
    ("laugh", "X-D", "Laughing out loud", f_laugh),
    ("joy", ":'-D", "Tears of joy", f_joy),
    ("sad", ":-(", "Sad", f_sad),
    ("cry", ":'-(", "Crying", f_cry),
    ("angry", ">:-(", "Angry", f_angry),
    ("surprised", ":-O", "Surprised", f_surprised),
    ("tongue", ":-P", "Sticking out the tongue", f_tongue),
    ("kiss", ":-*", "Kiss", f_kiss),
    ("cool", "8-)", "Cool, wearing sunglasses", f_cool),
    ("confused", ":-/", "Confused, not sure", f_confused),
    ("neutral", ":-|", "Neutral, no comment", f_neutral),
    ("blush", ":-[", "Blushing, embarrassed", f_blush),
    ("devil", ">:-)", "Little devil", f_devil),
    ("angel", "O:-)", "Angel, innocent", f_angel),
    ("sleepy", "|-)", "Sleepy", f_sleepy),
    ("sick", ":-&", "Feeling sick", f_sick),
    ("nerd", "8-B", "Nerd with glasses", f_nerd),
    ("love", "<3", "In love", f_love),
    ("shout", ":-@", "Shouting", f_shout),
    ("shh", ":-#", "Shh! Keep it quiet", f_shh),
    ("eyeroll", "8-|", "Rolling eyes", f_eyeroll),
    ("cheeky", ";-P", "Cheeky wink with the tongue out", f_cheeky),
    ("blowkiss", ";-*", "Blowing a kiss", f_blowkiss),
    ("happy", "^_^", "Happy", f_happy),
    ("sweetsmile", ":-]", "Sweet smile", f_sweetsmile),
    ("smirk", ":->", "Smirk", f_smirk),
    ("worried", ":-S", "Worried", f_worried),
    ("nervous", "^_^;", "Nervous laugh", f_nervous),
    ("shocked", "=-O", "Shocked", f_shocked),
    ("horrified", "D-:", "Horrified", f_horrified),
    ("furious", ">:-@", "Furious, seeing red", f_furious),
    ("disappointed", ":-<", "Disappointed", f_disappointed),
    ("grimace", ":-E", "Grimace, gritted teeth", f_grimace),
    ("eyebrow", "o_O", "Raised eyebrow, puzzled", f_eyebrow),
    ("thinking", ":-?", "Thinking it over", f_thinking),
    ("sealed", ":-X", "My lips are sealed", f_sealed),
    ("yawn", "|-O", "Yawning", f_yawn),
    ("asleep", "-_-zz", "Fast asleep", f_asleep),
    ("bored", "-_-", "Bored, unimpressed", f_bored),
    ("dizzy", "%-)", "Dizzy", f_dizzy),
    ("knockedout", "X-(", "Knocked out", f_knockedout),
    ("drool", ":-)~", "Drooling", f_drool),
    ("yummy", ":-9", "Yummy, licking the lips", f_yummy),
    ("evilgrin", ">:-D", "Evil grin", f_evilgrin),
    ("starstruck", "*-*", "Star-struck", f_starstruck),
    ("money", "$-)", "Money on my mind", f_money),
    ("crazy", "%-P", "Crazy", f_crazy),
    ("upsidedown", "(-:", "Upside-down smile", f_upsidedown),
    ("party", "<:-)", "Party time", f_party),
    ("clown", "*:o)", "Clown", f_clown),
    ("santa", "*<|:-)", "Santa Claus", f_santa),
    ("pirate", "P-)", "Pirate with an eye patch", f_pirate),
    ("moustache", ":-{)", "Wearing a moustache", f_moustache),
    ("robot", "[:|]", "Robot", f_robot),
]
