#!/usr/bin/python3
"""Draw the skin images of the settings screen and of the message box.

Writes one full set per portrait screen size into skins/<W>x<H>/, each file
named as the program loads it from \\Windows, plus skins/contact-sheet.png.
Standard library only; the output is the same byte for byte on every run.

    /usr/bin/python3 tools/make_skin.py [output-dir]
"""

import math
import os
import struct
import sys
import zlib

# --------------------------------------------------------------------------
# Screens. wp/wl: portrait and landscape window widths; t6: the 320 x 480
# class with its own fixed geometry.

SETS = [
    dict(name="240x320", w=240, h=320, s=1, t6=False, wp=240, wl=320),
    dict(name="320x480", w=320, h=480, s=1, t6=True, wp=320, wl=480),
    dict(name="480x640", w=480, h=640, s=2, t6=False, wp=480, wl=640),
    dict(name="480x800", w=480, h=800, s=2, t6=False, wp=480, wl=800),
]

TITLE_BASE = 30  # title bar height in base units; the program reads it back


def trunc_div(a, b):
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b > 0) else -q


def msgbox_panels(cfg):
    """Panel size and header-band height of the message box, per orientation,
    from the box's own layout rules, so the panel is drawn 1:1 on this screen."""
    s = cfg["s"]

    def d(v):
        return trunc_div(v, 2 // s)

    def half(v):
        return trunc_div(v, 2)

    out = {}
    if cfg["t6"]:
        # Portrait: fixed pixels, caption line 86..124 in a panel from 80.
        out["P"] = (302, 250, (86 - 80) + (124 - 80))
        # Landscape: the box's table puts the caption below its own bottom at
        # s = 1, so the box takes the portrait panel there, centred.
        out["L"] = out["P"]
    else:
        for key, (W, H, pw, c0, c1) in {
            "P": (cfg["w"], cfg["h"], 468, 12, 72),
            "L": (cfg["h"], cfg["w"], 508, 14, 74),
        }.items():
            x0 = half(W - pw)
            y0 = half(H - d(52) - 346)
            width = d(x0 + pw) - d(x0)
            height = d(y0 + 346) - d(y0)
            out[key] = (width, height, d(c0) + d(c1))
    return out


def msgbox_button(cfg):
    # s = 2: two buttons at 38 and 247 sit symmetric in a 480-wide screen when
    # 195 wide; s = 1 (after the 10-pixel shift): 29 and 123 with 88.
    # Class 6 portrait uses fixed 118 x 54 rectangles.
    if cfg["t6"]:
        return (118, 54)
    return (195, 48) if cfg["s"] == 2 else (88, 24)


# --------------------------------------------------------------------------
# Palette (straight RGB, 0..255).

def rgb(v, a=1.0):
    return ((v >> 16 & 255) / 255.0, (v >> 8 & 255) / 255.0, (v & 255) / 255.0, a)


WHITE = rgb(0xFFFFFF)
ACCENT = rgb(0x2F7FCF)
ACCENT_TOP = rgb(0x4592DD)
ACCENT_BOTTOM = rgb(0x2A70B9)
ACCENT_EDGE = rgb(0x24629F)
SLATE_TOP = rgb(0x55626F)
SLATE_BOTTOM = rgb(0x404B57)
SLATE_EDGE = rgb(0x333C46)
LINE = rgb(0xD9DDE2)
FRAME = rgb(0xAEB6C0)
CONTROL_EDGE = rgb(0x8C96A1)


def mix(c0, c1, t):
    return tuple(c0[i] + (c1[i] - c0[i]) * t for i in range(4))


def faded(c, amount=0.55):
    """Disabled look: the colour pulled towards white."""
    return mix(c, WHITE, amount)[:3] + (c[3],)


# --------------------------------------------------------------------------
# Canvas: premultiplied float RGBA, anti-aliased shapes from signed distances.

class Canvas:
    def __init__(self, w, h, bg=None):
        self.w, self.h = w, h
        self.p = [0.0] * (4 * w * h)
        if bg is not None:
            self.rect(0, 0, w, h, bg)

    def _put(self, x, y, c, cov):
        a = c[3] * cov
        if a <= 0.0:
            return
        i = 4 * (y * self.w + x)
        p = self.p
        k = 1.0 - a
        p[i] = c[0] * a + p[i] * k
        p[i + 1] = c[1] * a + p[i + 1] * k
        p[i + 2] = c[2] * a + p[i + 2] * k
        p[i + 3] = a + p[i + 3] * k

    def rect(self, x0, y0, x1, y1, col):
        """Hard-edged rectangle; col is a colour or a function of y."""
        x0, y0 = max(0, x0), max(0, y0)
        x1, y1 = min(self.w, x1), min(self.h, y1)
        for y in range(y0, y1):
            c = col(y) if callable(col) else col
            for x in range(x0, x1):
                self._put(x, y, c, 1.0)

    def shape(self, sdf, col, box=None):
        """Fill where sdf < 0, with one pixel of edge blending."""
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        x0, y0 = max(0, int(math.floor(x0)) - 1), max(0, int(math.floor(y0)) - 1)
        x1, y1 = min(self.w, int(math.ceil(x1)) + 1), min(self.h, int(math.ceil(y1)) + 1)
        for y in range(y0, y1):
            c = col(y) if callable(col) else col
            py = y + 0.5
            for x in range(x0, x1):
                dist = sdf(x + 0.5, py)
                if dist < 0.5:
                    cov = 1.0 if dist <= -0.5 else 0.5 - dist
                    self._put(x, y, c, cov)

    def rgba_rows(self):
        rows = []
        p = self.p
        for y in range(self.h):
            row = bytearray(4 * self.w)
            for x in range(self.w):
                i = 4 * (y * self.w + x)
                a = p[i + 3]
                a8 = int(a * 255.0 + 0.5)
                if a8 <= 0:
                    continue
                j = 4 * x
                for k in range(3):
                    v = p[i + k] / a
                    row[j + k] = int((1.0 if v > 1.0 else v) * 255.0 + 0.5)
                row[j + 3] = a8
            rows.append(bytes(row))
        return rows


def rrect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def f(px, py):
        qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
        ox, oy = max(qx, 0.0), max(qy, 0.0)
        return math.hypot(ox, oy) + min(max(qx, qy), 0.0) - r
    return f


def circle(cx, cy, r):
    return lambda px, py: math.hypot(px - cx, py - cy) - r


def polyline(points, half_width):
    segs = list(zip(points, points[1:]))

    def f(px, py):
        best = 1e9
        for (ax, ay), (bx, by) in segs:
            dx, dy = bx - ax, by - ay
            t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
            t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
            best = min(best, math.hypot(px - ax - t * dx, py - ay - t * dy))
        return best - half_width
    return f


def vgrad(y0, y1, c0, c1):
    span = max(1, y1 - y0 - 1)
    return lambda y: mix(c0, c1, min(1.0, max(0.0, (y - y0) / span)))


def framed_rrect(cv, x0, y0, x1, y1, r, edge, fill, bw):
    """Rounded rectangle with a bw-pixel border drawn inside its bounds."""
    cv.shape(rrect(x0, y0, x1, y1, r), edge, (x0, y0, x1, y1))
    cv.shape(rrect(x0 + bw, y0 + bw, x1 - bw, y1 - bw, max(0.5, r - bw)), fill,
             (x0, y0, x1, y1))


# --------------------------------------------------------------------------
# The images. Bars that the program block-copies are fully opaque; the rest
# are drawn through alpha blending and keep transparent surroundings.

def img_title(w, s):
    h = TITLE_BASE * s
    cv = Canvas(w, h)
    cv.rect(0, 0, w, h, vgrad(0, h, rgb(0xFAFBFC), rgb(0xE6E9ED)))
    cv.rect(0, 0, w, 1, rgb(0xFFFFFF))
    cv.rect(0, h - s, w, h, rgb(0xC3C9D0))
    return cv, False


def img_line(w, s):
    cv = Canvas(w, s, LINE)
    return cv, False


def img_subtitle(w, h, s):
    cv = Canvas(w, h)
    cv.rect(0, 0, w, h, vgrad(0, h, SLATE_TOP, SLATE_BOTTOM))
    cv.rect(0, 0, w, 1, rgb(0x67737F))
    cv.rect(0, h - s, w, h, SLATE_EDGE)
    return cv, False


def img_focus(w, h, s):
    cv = Canvas(w, h)
    cv.rect(0, 0, w, h, vgrad(0, h, ACCENT_TOP, ACCENT_BOTTOM))
    cv.rect(0, 0, w, s, rgb(0x62A4E4))
    cv.rect(0, h - s, w, h, ACCENT_EDGE)
    return cv, False


def img_inputbox(w, h, s):
    cv = Canvas(w, h)
    framed_rrect(cv, 0, 0, w, h, 4 * s, FRAME, WHITE, s)
    # a hint of depth along the inner top edge
    cv.shape(rrect(s, s, w - s, h - s, 3 * s),
             lambda y: (0.55, 0.6, 0.66, 0.10 if y < 2 * s else 0.0), (0, 0, w, 2 * s + 1))
    return cv, True


def img_checkbox(s, on, disabled):
    n = 16 * s
    cv = Canvas(n, n)
    edge = ACCENT_EDGE if on else CONTROL_EDGE
    fill = vgrad(s, n - s, ACCENT_TOP, ACCENT_BOTTOM) if on else WHITE
    if disabled:
        edge = faded(edge)
        fill = vgrad(s, n - s, faded(ACCENT_TOP), faded(ACCENT_BOTTOM)) if on else rgb(0xF5F6F8)
    framed_rrect(cv, s, s, n - s, n - s, 3 * s, edge, fill, s)
    if on:
        k = s
        tick = [(4.3 * k, 8.3 * k), (6.9 * k, 10.9 * k), (11.8 * k, 5.4 * k)]
        cv.shape(polyline(tick, 0.95 * k), WHITE, (0, 0, n, n))
    return cv, True


def img_radio(s, on):
    n = 16 * s
    c = n / 2.0
    cv = Canvas(n, n)
    cv.shape(circle(c, c, 7 * s), ACCENT_EDGE if on else CONTROL_EDGE)
    cv.shape(circle(c, c, 7 * s - s), WHITE)
    if on:
        cv.shape(circle(c, c, 3.5 * s), lambda y: mix(ACCENT_TOP, ACCENT_BOTTOM, y / n))
    return cv, True


def img_radio_mask(s):
    n = 16 * s
    c = n / 2.0
    cv = Canvas(n, n, rgb(0x000000))
    cv.shape(circle(c, c, 7 * s), WHITE)
    return cv, False


def img_switch(s, on, disabled):
    w, h = 36 * s, 14 * s
    cv = Canvas(w, h)
    r = h / 2.0
    if on:
        edge, fill = ACCENT_EDGE, vgrad(0, h, ACCENT_TOP, ACCENT_BOTTOM)
        knob_edge = rgb(0x2A6FB5)
    else:
        edge, fill = rgb(0xA9B1BA), vgrad(0, h, rgb(0xC3C9D0), rgb(0xD3D8DD))
        knob_edge = rgb(0x9DA6B0)
    knob = vgrad(0, h, rgb(0xFFFFFF), rgb(0xEEF0F3))
    if disabled:
        edge, knob_edge = faded(edge), faded(knob_edge)
        base_fill = fill
        fill = lambda y: faded(base_fill(y))
        knob = vgrad(0, h, rgb(0xFFFFFF), rgb(0xF7F8FA))
    framed_rrect(cv, 0, 0, w, h, r, edge, fill, s)
    kc = (w - r) if on else r
    cv.shape(circle(kc, r, r - s), knob_edge)
    cv.shape(circle(kc, r, r - 2 * s), knob)
    return cv, True


def img_panel(w, h, band, s):
    cv = Canvas(w, h)
    r = 6 * s
    rule = s
    # outline, then the two bands inside it
    cv.shape(rrect(0, 0, w, h, r), rgb(0x28313A))
    inner = rrect(s, s, w - s, h - s, r - s)
    cv.shape(inner, vgrad(s, band, SLATE_TOP, SLATE_BOTTOM), (0, 0, w, band))
    cv.shape(inner, ACCENT, (0, band, w, band + rule))
    body = vgrad(band + rule, h - s, rgb(0xF8F9FA), rgb(0xECEFF2))
    inner_body = lambda px, py: max(inner(px, py), band + rule - py)
    cv.shape(inner_body, body, (0, band + rule, w, h))
    # top highlight of the header
    cv.shape(lambda px, py: max(inner(px, py), py - (s + 1)), rgb(0x6B7784, 0.8),
             (0, 0, w, s + 2))
    return cv, True


def img_nb_button(w, h, s, down):
    cv = Canvas(w, h)
    r = min(h / 2.0, 6.0 * s)
    if down:
        framed_rrect(cv, 0, 0, w, h, r, ACCENT_EDGE,
                     vgrad(s, h - s, ACCENT_TOP, ACCENT_BOTTOM), s)
    else:
        framed_rrect(cv, 0, 0, w, h, r, rgb(0x9AA3AD),
                     vgrad(s, h - s, rgb(0xFFFFFF), rgb(0xE3E7EB)), s)
    return cv, True


def build_set(cfg):
    s, wp, wl, t6 = cfg["s"], cfg["wp"], cfg["wl"], cfg["t6"]
    # Sub-title rows take the image's height; their text sits 2s (1 on the
    # 320 x 480 class) below the top in the large font.
    sub_h = 22 if t6 else 20 * s
    # Plain rows are as high as the focus mark (less 2 on the 320 x 480
    # class, where the mark overlaps a pixel above and below).
    focus_h = 42 if t6 else 40 * s
    # The frame starts 2s into a text-box item and its edit control 6s, so
    # this keeps 4s of frame around the control on all sides.
    box_h = 28 if t6 else 23 * s
    # Check boxes, radio buttons and switches sit at fixed offsets in their
    # rows; 16s squares and a 36s x 14s switch clear the texts beside them.
    panels = msgbox_panels(cfg)
    bw, bh = msgbox_button(cfg)
    return [
        ("QXBS_Button_Off.png", img_radio(s, False)),
        ("QXBS_Button_On.png", img_radio(s, True)),
        ("QXBS_L_Line.png", img_line(wl, s)),
        ("QXBS_L_SubTitle.png", img_subtitle(wl, sub_h, s)),
        ("QXBS_L_Title.png", img_title(wl, s)),
        ("QXBS_L_Button_Focus.png", img_focus(wl, focus_h, s)),
        ("QXBS_P_Line.png", img_line(wp, s)),
        ("QXBS_P_SubTitle.png", img_subtitle(wp, sub_h, s)),
        ("QXBS_P_Title.png", img_title(wp, s)),
        ("QXBS_P_Button_Focus.png", img_focus(wp, focus_h, s)),
        ("QXBS_Button_Off_Mask.png", img_radio_mask(s)),
        ("QXBS_Button_On_Mask.png", img_radio_mask(s)),
        ("QXBS_SWITCH_ON.png", img_switch(s, True, False)),
        ("QXBS_SWITCH_OFF.png", img_switch(s, False, False)),
        ("QXBS_SWITCH_ON_DISABLE.png", img_switch(s, True, True)),
        ("QXBS_SWITCH_OFF_DISABLE.png", img_switch(s, False, True)),
        ("QXBS_CLICK_BOX_ON.png", img_checkbox(s, True, False)),
        ("QXBS_CLICK_BOX_OFF.png", img_checkbox(s, False, False)),
        ("QXBS_CLICK_BOX_ON_DISABLE.png", img_checkbox(s, True, True)),
        ("QXBS_CLICK_BOX_OFF_DISABLE.png", img_checkbox(s, False, True)),
        ("QXBS_P_INPUTBOX.png", img_inputbox(wp - 8 * s, box_h, s)),
        ("QXBS_L_INPUTBOX.png", img_inputbox(wl - 8 * s, box_h, s)),
        ("QXBS_NB_bg_P.png", img_panel(*panels["P"], s)),
        ("QXBS_NB_bg_L.png", img_panel(*panels["L"], s)),
        ("QXBS_NB_btn_up.png", img_nb_button(bw, bh, s, False)),
        ("QXBS_NB_btn_dn.png", img_nb_button(bw, bh, s, True)),
    ]


# --------------------------------------------------------------------------
# PNG output.

def png_encode(w, h, rows, alpha):
    """rows: RGBA bytes per row; written as RGB when alpha is False."""
    bpp = 4 if alpha else 3
    raw = bytearray()
    prev = bytes(w * bpp)
    for row in rows:
        if not alpha:
            row = bytes(b for i, b in enumerate(row) if i % 4 != 3)
        # "up" filter: bars and gradients are row-wise constant or nearly so
        raw.append(2)
        raw.extend((row[i] - prev[i]) & 255 for i in range(len(row)))
        prev = row

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    ihdr = struct.pack(">IIBBBBB", w, h, 8, 6 if alpha else 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


# --------------------------------------------------------------------------
# Contact sheet with a small bitmap font for the labels.

FONT = {
    "A": ".###./#...#/#...#/#####/#...#/#...#/#...#",
    "B": "####./#...#/#...#/####./#...#/#...#/####.",
    "C": ".###./#...#/#..../#..../#..../#...#/.###.",
    "D": "####./#...#/#...#/#...#/#...#/#...#/####.",
    "E": "#####/#..../#..../####./#..../#..../#####",
    "F": "#####/#..../#..../####./#..../#..../#....",
    "G": ".###./#...#/#..../#.###/#...#/#...#/.####",
    "H": "#...#/#...#/#...#/#####/#...#/#...#/#...#",
    "I": ".###./..#../..#../..#../..#../..#../.###.",
    "J": "..###/...#./...#./...#./...#./#..#./.##..",
    "K": "#...#/#..#./#.#../##.../#.#../#..#./#...#",
    "L": "#..../#..../#..../#..../#..../#..../#####",
    "M": "#...#/##.##/#.#.#/#.#.#/#...#/#...#/#...#",
    "N": "#...#/#...#/##..#/#.#.#/#..##/#...#/#...#",
    "O": ".###./#...#/#...#/#...#/#...#/#...#/.###.",
    "P": "####./#...#/#...#/####./#..../#..../#....",
    "Q": ".###./#...#/#...#/#...#/#.#.#/#..#./.##.#",
    "R": "####./#...#/#...#/####./#.#../#..#./#...#",
    "S": ".####/#..../#..../.###./....#/....#/####.",
    "T": "#####/..#../..#../..#../..#../..#../..#..",
    "U": "#...#/#...#/#...#/#...#/#...#/#...#/.###.",
    "V": "#...#/#...#/#...#/#...#/#...#/.#.#./..#..",
    "W": "#...#/#...#/#...#/#.#.#/#.#.#/#.#.#/.#.#.",
    "X": "#...#/#...#/.#.#./..#../.#.#./#...#/#...#",
    "Y": "#...#/#...#/.#.#./..#../..#../..#../..#..",
    "Z": "#####/....#/...#./..#../.#.../#..../#####",
    "a": "...../...../.###./....#/.####/#...#/.####",
    "b": "#..../#..../#.##./##..#/#...#/#...#/####.",
    "c": "...../...../.###./#..../#..../#...#/.###.",
    "d": "....#/....#/.##.#/#..##/#...#/#...#/.####",
    "e": "...../...../.###./#...#/#####/#..../.###.",
    "f": "..##./.#..#/.#.../###../.#.../.#.../.#...",
    "g": "...../...../.####/#...#/#...#/#...#/.####/....#/.###.",
    "h": "#..../#..../#.##./##..#/#...#/#...#/#...#",
    "i": "..#../...../.##../..#../..#../..#../.###.",
    "j": "...#./...../..##./...#./...#./...#./...#./#..#./.##..",
    "k": "#..../#..../#..#./#.#../##.../#.#../#..#.",
    "l": ".##../..#../..#../..#../..#../..#../.###.",
    "m": "...../...../##.#./#.#.#/#.#.#/#...#/#...#",
    "n": "...../...../#.##./##..#/#...#/#...#/#...#",
    "o": "...../...../.###./#...#/#...#/#...#/.###.",
    "p": "...../...../####./#...#/#...#/#...#/####./#..../#....",
    "q": "...../...../.####/#...#/#...#/#...#/.####/....#/....#",
    "r": "...../...../#.##./##..#/#..../#..../#....",
    "s": "...../...../.####/#..../.###./....#/####.",
    "t": ".#.../.#.../###../.#.../.#.../.#..#/..##.",
    "u": "...../...../#...#/#...#/#...#/#..##/.##.#",
    "v": "...../...../#...#/#...#/#...#/.#.#./..#..",
    "w": "...../...../#...#/#...#/#.#.#/#.#.#/.#.#.",
    "x": "...../...../#...#/.#.#./..#../.#.#./#...#",
    "y": "...../...../#...#/#...#/#...#/#...#/.####/....#/.###.",
    "z": "...../...../#####/...#./..#../.#.../#####",
    "0": ".###./#...#/#..##/#.#.#/##..#/#...#/.###.",
    "1": "..#../.##../..#../..#../..#../..#../.###.",
    "2": ".###./#...#/....#/...#./..#../.#.../#####",
    "3": "#####/...#./..#../...#./....#/#...#/.###.",
    "4": "...#./..##./.#.#./#..#./#####/...#./...#.",
    "5": "#####/#..../####./....#/....#/#...#/.###.",
    "6": "..##./.#.../#..../####./#...#/#...#/.###.",
    "7": "#####/....#/...#./..#../.#.../.#.../.#...",
    "8": ".###./#...#/#...#/.###./#...#/#...#/.###.",
    "9": ".###./#...#/#...#/.####/....#/...#./.##..",
    "_": "...../...../...../...../...../...../#####",
    ".": "...../...../...../...../...../.##../.##..",
    "-": "...../...../...../#####/...../...../.....",
    "=": "...../...../#####/...../#####/...../.....",
    "(": "...#./..#../.#.../.#.../.#.../..#../...#.",
    ")": ".#.../..#../...#./...#./...#./..#../.#...",
    ",": "...../...../...../...../.##../..#../.#...",
    ":": "...../.##../.##../...../.##../.##../.....",
    "+": "...../..#../..#../#####/..#../..#../.....",
    " ": "...../...../...../...../...../...../.....",
}


def glyph(ch):
    """5 x 9 cell: 7 rows above the baseline, 2 for descenders."""
    rows = FONT.get(ch, FONT[" "]).split("/")
    assert len(rows) in (7, 9) and all(len(r) == 5 for r in rows), ch
    return "".join(rows) + "....." * (9 - len(rows))


class Sheet:
    def __init__(self, w, h, bg):
        self.w, self.h = w, h
        self.px = bytearray(bytes(bg) * (w * h))

    def fill(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            i0 = 3 * (y * self.w + max(0, x0))
            n = min(self.w, x1) - max(0, x0)
            if n > 0:
                self.px[i0:i0 + 3 * n] = bytes(c) * n

    def checker(self, x0, y0, x1, y1, cell=6):
        for y in range(y0, y1):
            for x in range(x0, x1):
                dark = ((x - x0) // cell + (y - y0) // cell) & 1
                i = 3 * (y * self.w + x)
                self.px[i:i + 3] = b"\xc4\xc4\xc4" if dark else b"\xdd\xdd\xdd"

    def paste(self, x0, y0, rows, w):
        for y, row in enumerate(rows):
            for x in range(w):
                a = row[4 * x + 3]
                if a == 0:
                    continue
                i = 3 * ((y0 + y) * self.w + x0 + x)
                for k in range(3):
                    self.px[i + k] = (row[4 * x + k] * a + self.px[i + k] * (255 - a) + 127) // 255

    def text(self, x, y, s, c, scale=1):
        for ch in s:
            g = glyph(ch)
            for gy in range(9):
                for gx in range(5):
                    if g[gy * 5 + gx] == "#":
                        self.fill(x + gx * scale, y + gy * scale,
                                  x + (gx + 1) * scale, y + (gy + 1) * scale, c)
            x += 6 * scale

    def rows(self):
        out = []
        for y in range(self.h):
            row = self.px[3 * y * self.w:3 * (y + 1) * self.w]
            rgba = bytearray(4 * self.w)
            rgba[0::4], rgba[1::4], rgba[2::4] = row[0::3], row[1::3], row[2::3]
            rgba[3::4] = b"\xff" * self.w
            out.append(bytes(rgba))
        return out


def contact_sheet(sets):
    width, margin, gap, pad = 980, 16, 14, 3
    label_h = 12
    # first pass: place every cell, second pass: draw
    placed, y = [], margin
    for name, images in sets:
        placed.append(("head", margin, y, name))
        y += 9 * 2 + 8
        x, line_h = margin, 0
        for fname, (rows, w, h) in images:
            label = "%s %dx%d" % (fname[:-4], w, h)
            cw = max(w + 2 * pad, 6 * len(label))
            ch = label_h + h + 2 * pad
            if x > margin and x + cw > width - margin:
                x, y = margin, y + line_h + gap
                line_h = 0
            placed.append(("cell", x, y, (label, rows, w, h)))
            x += cw + gap
            line_h = max(line_h, ch)
        y += line_h + 2 * gap
    sheet = Sheet(width, y + margin - gap, (0xF2, 0xF3, 0xF5))
    for kind, x, y, item in placed:
        if kind == "head":
            sheet.text(x, y, item, (0x30, 0x38, 0x40), 2)
            sheet.fill(x, y + 19, width - margin, y + 20, (0xB0, 0xB6, 0xBD))
            continue
        label, rows, w, h = item
        sheet.text(x, y, label, (0x40, 0x46, 0x4C))
        top = y + label_h
        sheet.checker(x, top, x + w + 2 * pad, top + h + 2 * pad)
        sheet.paste(x + pad, top + pad, rows, w)
    return sheet


# --------------------------------------------------------------------------

def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), os.pardir, "skins")
    root = os.path.normpath(root)
    sheet_sets = []
    for cfg in SETS:
        out_dir = os.path.join(root, cfg["name"])
        os.makedirs(out_dir, exist_ok=True)
        images = []
        for fname, (cv, alpha) in build_set(cfg):
            rows = cv.rgba_rows()
            with open(os.path.join(out_dir, fname), "wb") as f:
                f.write(png_encode(cv.w, cv.h, rows, alpha))
            images.append((fname, (rows, cv.w, cv.h)))
            print("%s/%s %dx%d" % (cfg["name"], fname, cv.w, cv.h))
        if cfg["name"] in ("240x320", "480x640"):
            label = "%s  s=%d" % (cfg["name"], cfg["s"])
            sheet_sets.append((label, images))
    sheet = contact_sheet(sheet_sets)
    with open(os.path.join(root, "contact-sheet.png"), "wb") as f:
        f.write(png_encode(sheet.w, sheet.h, sheet.rows(), False))


if __name__ == "__main__":
    main()
