#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the windows' background artwork with ImageMagick.

Writes data/artwork/main.jpg and data/artwork/viewer.jpg (640 x 480) and their
double-resolution variants main@2x.jpg and viewer@2x.jpg (1280 x 960): old
paper, ink-wash hills, a seal-red frame, a title and red seals. Everything is
drawn at double size and scaled down, so both sizes show the same picture.

Needs ImageMagick 6 (`convert`) and the Noto Serif CJK fonts. The output is
deterministic: every random choice comes from fixed seeds.

    tools/make_artwork.py [OUTPUT_DIR]     (default: data/artwork)
"""

import math
import os
import random
import subprocess
import sys
import tempfile

W, H = 1280, 960  # drawing size; the shipped 1x pictures are half of it
S = 2  # drawing units per window pixel

PAPER = "#f1e5c8"
INK = "#26282c"
SEAL = "#a8322d"
SEAL_TEXT = "#f6e9d4"
SERIF = "Noto-Serif-CJK-SC"
SERIF_BOLD = "Noto-Serif-CJK-SC-Bold"
# The program's Chinese name, as the desktop entry (Name[zh_CN]), the AppStream
# data and the README give it.
CHINESE_NAME = "易理测算"


def run(*args):
    subprocess.run(["convert", *[str(a) for a in args]], check=True)


class Canvas:
    def __init__(self, workdir, name):
        self.dir = workdir
        self.name = name
        self.path = self.tmp("canvas.png")
        self.n = 0

    def tmp(self, stem):
        return os.path.join(self.dir, f"{self.name}-{stem}")

    def fresh(self, stem):
        self.n += 1
        return self.tmp(f"{self.n:02d}-{stem}.png")

    def compose(self, layer, op="over", geometry="+0+0"):
        run(self.path, layer, "-geometry", geometry, "-compose", op, "-composite", self.path)


# --- Paper -------------------------------------------------------------------


def paper(c, seed):
    """Warm paper: soft mottling at two scales, fibres, darker edges."""
    cloud_big = c.fresh("cloud-big")
    run("-size", f"{W // 16}x{H // 16}", "xc:gray50", "-seed", seed, "+noise", "Random",
        "-colorspace", "Gray", "-blur", "0x1.2", "-resize", f"{W}x{H}!", "-auto-level",
        "-level", "-40%,140%", cloud_big)
    cloud_small = c.fresh("cloud-small")
    run("-size", f"{W // 3}x{H // 3}", "xc:gray50", "-seed", seed + 1, "+noise", "Random",
        "-colorspace", "Gray", "-blur", "0x0.8", "-resize", f"{W}x{H}!", "-auto-level",
        "-level", "-90%,190%", cloud_small)
    fibres = c.fresh("fibres")
    run("-size", f"{W}x{H}", "xc:black", "-seed", seed + 2, "-attenuate", "0.02", "+noise",
        "Impulse", "-colorspace", "Gray", "-threshold", "60%", "-motion-blur", "0x7+25",
        "-level", "0%,250%", "-negate", fibres)
    run("-size", f"{W}x{H}", f"xc:{PAPER}", cloud_big, "-compose", "softlight", "-composite",
        cloud_small, "-compose", "softlight", "-composite", fibres, "-compose", "multiply",
        "-composite", c.path)
    vignette = c.fresh("vignette")
    run("-size", f"{W}x{H}", "radial-gradient:white-#d8c7a4", "-resize", f"{W}x{H}!",
        "-level", "0%,100%", vignette)
    c.compose(vignette, "multiply")


# --- Ink-wash hills ------------------------------------------------------------


def ridge(seed, base, amplitude, peaks, x0=0, x1=W):
    """Points of a hill line: a few rounded peaks over gentle waves."""
    rnd = random.Random(seed)
    waves = [(rnd.uniform(0.6, 1.0) * amplitude * 0.18, rnd.uniform(2.0, 5.0) * math.pi / W,
              rnd.uniform(0, 2 * math.pi)) for _ in range(3)]
    bumps = [(rnd.uniform(x0, x1), rnd.uniform(0.55, 1.0) * amplitude,
              rnd.uniform(0.05, 0.11) * W) for _ in range(peaks)]
    points = []
    for x in range(x0 - 8, x1 + 9, 8):
        y = base
        for a, f, p in waves:
            y -= a * math.sin(f * x + p)
        for cx, h, wdt in bumps:
            d = abs(x - cx) / wdt
            y -= h * math.exp(-d * d) * (1.0 + 0.25 * math.exp(-4 * d * d))
        # fine, irregular brush texture
        y += rnd.uniform(-1.5, 1.5)
        points.append((x, y))
    return points


def hill(c, seed, base, amplitude, peaks, strength, soften, x0=0, x1=W):
    """One hill layer: ink darkest along its ridge and fading downwards."""
    pts = ridge(seed, base, amplitude, peaks, x0, x1)
    path = "M {},{} ".format(x0 - 8, H + 10) + " ".join(f"L {x:.1f},{y:.1f}" for x, y in pts)
    path += f" L {x1 + 8},{H + 10} Z"
    mask = c.fresh("hill-mask")
    run("-size", f"{W}x{H}", "xc:black", "-fill", "white", "-draw", f"path '{path}'", "-blur",
        f"0x{soften}", mask)
    # Ink gathers along the ridge: bands of growing depth below it, summed,
    # give a wash that is darkest at the ridge and fades downwards.
    bands = []
    for depth, weight in ((5, 0.45), (18, 0.30), (48, 0.20), (120, 0.12)):
        band = c.fresh("hill-band")
        run(mask, "(", mask, "-background", "black", "-splice", f"0x{depth * S}", "-crop",
            f"{W}x{H}+0+0", "+repage", ")", "-compose", "difference", "-composite", "-blur",
            f"0x{max(1, depth // 6) * S}", "-evaluate", "multiply", weight, band)
        bands.append(band)
    band = c.fresh("hill-wash")
    run(bands[0], bands[1], "-compose", "plus", "-composite", bands[2], "-compose", "plus",
        "-composite", bands[3], "-compose", "plus", "-composite", band)
    grain = c.fresh("hill-grain")
    run("-size", f"{W // 4}x{H // 4}", "xc:gray50", "-seed", seed + 7, "+noise", "Random",
        "-colorspace", "Gray", "-blur", "0x0.7", "-resize", f"{W}x{H}!", "-auto-level",
        "-level", "-160%,100%", grain)
    alpha = c.fresh("hill-alpha")
    run("(", mask, "-evaluate", "multiply", 0.10 * strength, ")", "(", band, "-evaluate",
        "multiply", strength, ")", "-compose", "plus", "-composite", grain, "-compose",
        "multiply", "-composite", alpha)
    layer = c.fresh("hill-layer")
    run("-size", f"{W}x{H}", f"xc:{INK}", alpha, "-alpha", "off", "-compose", "copyopacity",
        "-composite", layer)
    c.compose(layer)


def sun(c, x, y, r, opacity):
    layer = c.fresh("sun")
    run("-size", f"{W}x{H}", "xc:none", "-fill", f"rgba(196,72,52,{opacity})", "-draw",
        f"circle {x},{y} {x + r},{y}", "-blur", "0x1.5", layer)
    c.compose(layer)


def birds(c, seed, x, y, count):
    rnd = random.Random(seed)
    layer = c.fresh("birds")
    draw = []
    for _ in range(count):
        bx, by = x + rnd.uniform(-60, 60) * S, y + rnd.uniform(-18, 18) * S
        s = rnd.uniform(4, 6.5) * S
        draw.append(f"path 'M {bx - s:.1f},{by - s * 0.35:.1f} Q {bx - s * 0.4:.1f},{by - s * 0.5:.1f} "
                    f"{bx:.1f},{by:.1f} Q {bx + s * 0.4:.1f},{by - s * 0.5:.1f} "
                    f"{bx + s:.1f},{by - s * 0.4:.1f}'")
    run("-size", f"{W}x{H}", "xc:none", "-fill", "none", "-stroke", "rgba(38,40,44,0.75)",
        "-strokewidth", 1.3 * S, *sum((["-draw", d] for d in draw), []), layer)
    c.compose(layer)


# --- Frame, text, seals ----------------------------------------------------------


def frame(c):
    """A seal-red frame: a strong outer line, a fine inner one, corner marks."""
    o, i = 8 * S, 13 * S
    layer = c.fresh("frame")
    corners = []
    k = 16 * S
    for (cx, cy, dx, dy) in ((i, i, 1, 1), (W - i, i, -1, 1), (i, H - i, 1, -1),
                             (W - i, H - i, -1, -1)):
        x2, y2 = cx + dx * k, cy + dy * k
        corners += ["-draw", f"line {cx + dx * 3 * S},{y2} {x2},{y2}",
                    "-draw", f"line {x2},{cy + dy * 3 * S} {x2},{y2}"]
    run("-size", f"{W}x{H}", "xc:none", "-fill", "none", "-stroke", SEAL, "-strokewidth",
        2.6 * S, "-draw", f"rectangle {o},{o} {W - o},{H - o}", "-strokewidth", 0.8 * S,
        "-draw", f"rectangle {i},{i} {W - i},{H - i}", "-strokewidth", 1.0 * S, *corners, layer)
    c.compose(layer)


def text(c, content, x, y, size, font=SERIF_BOLD, fill=INK):
    """Ink text; (x, y) is the top-left corner in window pixels."""
    layer = c.fresh("text")
    run("-size", f"{W}x{H}", "xc:none", "-font", font, "-pointsize", size * S, "-fill", fill,
        "-gravity", "northwest", "-annotate", f"+{x * S}+{y * S}", content, layer)
    c.compose(layer)


def vertical_text(c, content, x, y, size, step, font=SERIF_BOLD, fill=INK):
    for k, ch in enumerate(content):
        text(c, ch, x, y + k * step, size, font, fill)


def seal(c, chars, x, y, w, h, seed, size, angle=-3):
    """A worn red seal, characters cut out of it, slightly turned."""
    layer = c.fresh("seal")
    pw, ph = w * S, h * S
    cols = 1 if len(chars) <= 2 else 2
    rows = (len(chars) + cols - 1) // cols
    draws = []
    for k, ch in enumerate(chars):
        # Seal text reads top to bottom, right column first.
        col = cols - 1 - k // rows
        row = k % rows
        cx = (col + 0.5) * pw / cols
        cy = (row + 0.5) * ph / rows
        draws += ["-annotate", f"+{cx - pw / 2:.0f}+{cy - ph / 2:.0f}", ch]
    run("-size", f"{pw}x{ph}", "xc:none", "-fill", SEAL, "-draw",
        f"roundrectangle 0,0 {pw - 1},{ph - 1} {3 * S},{3 * S}", "-fill", SEAL_TEXT, "-stroke",
        "none", "-draw", f"roundrectangle {2 * S},{2 * S} {pw - 1 - 2 * S},{ph - 1 - 2 * S} {2 * S},{2 * S}",
        "-fill", SEAL, "-draw",
        f"roundrectangle {3.5 * S},{3.5 * S} {pw - 1 - 3.5 * S},{ph - 1 - 3.5 * S} {2 * S},{2 * S}",
        "-font", SERIF_BOLD, "-pointsize", size * S, "-fill", SEAL_TEXT, "-gravity", "center",
        *draws, layer)
    wear = c.fresh("seal-wear")
    run("-size", f"{pw}x{ph}", "xc:gray50", "-seed", seed, "+noise", "Random", "-colorspace",
        "Gray", "-blur", "0x1", "-threshold", "12%", "-negate", "-negate", wear)
    run(layer, "(", "+clone", "-alpha", "extract", wear, "-compose", "multiply", "-composite",
        ")", "-alpha", "off", "-compose", "copyopacity", "-composite", "-background", "none",
        "-rotate", angle, "-channel", "A", "-evaluate", "multiply", "0.92", "+channel", layer)
    c.compose(layer, "multiply" if False else "over", f"+{x * S}+{y * S}")


def panel_shadow(c, x, y, w, h):
    """A soft shadow and a fine ink line where a window part will sit."""
    layer = c.fresh("shadow")
    run("-size", f"{W}x{H}", "xc:none", "-fill", "rgba(60,40,20,0.30)", "-draw",
        f"rectangle {(x + 2) * S},{(y + 3) * S} {(x + w + 2) * S},{(y + h + 3) * S}", "-blur",
        f"0x{4 * S}", "-fill", "none", "-stroke", "rgba(90,60,40,0.8)", "-strokewidth", S,
        "-draw", f"rectangle {(x - 1) * S},{(y - 1) * S} {(x + w) * S},{(y + h) * S}", layer)
    c.compose(layer)


# --- The two pictures --------------------------------------------------------------


def main_picture(c):
    paper(c, 101)
    sun(c, 566 * S, 74 * S, 23 * S, 0.45)
    hill(c, 201, 400 * S, 120 * S, 3, 0.40, 6 * S)
    hill(c, 202, 440 * S, 90 * S, 4, 0.70, 3 * S)
    hill(c, 203, 478 * S, 64 * S, 3, 1.00, 1.5 * S)
    birds(c, 301, 470 * S, 62 * S, 3)
    frame(c)
    text(c, CHINESE_NAME, 38, 26, 40)
    seal(c, "吉祥", 222, 32, 24, 46, 401, 17)
    text(c, "姓名 · 命运 · 属相 · 星座", 40, 76, 12, SERIF, "#5b4a3a")
    vertical_text(c, "乐天知命", 556, 118, 26, 36)
    seal(c, "问心", 558, 268, 24, 46, 402, 17, angle=2)


def viewer_picture(c):
    paper(c, 111)
    hill(c, 211, 420 * S, 110 * S, 2, 0.45, 6 * S, 0, 700)
    hill(c, 212, 470 * S, 80 * S, 3, 0.90, 2 * S, 0, 900)
    frame(c)
    text(c, "命运结果查阅", 154, 17, 15)
    seal(c, "命书", 50, 30, 46, 46, 411, 17, angle=-2)
    panel_shadow(c, 152, 40, 457, 401)


def finish(c, out_dir, stem):
    big = os.path.join(out_dir, f"{stem}@2x.jpg")
    small = os.path.join(out_dir, f"{stem}.jpg")
    common = ["-strip", "-interlace", "none", "-sampling-factor", "4:2:0", "-colorspace", "sRGB",
              "-type", "TrueColor"]
    run(c.path, *common, "-quality", "86", big)
    run(c.path, "-filter", "Lanczos", "-resize", f"{W // 2}x{H // 2}", *common, "-quality", "90",
        small)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data", "artwork")
    os.makedirs(out_dir, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        for stem, draw in (("main", main_picture), ("viewer", viewer_picture)):
            c = Canvas(work, stem)
            draw(c)
            finish(c, out_dir, stem)
            print(f"wrote {stem}.jpg and {stem}@2x.jpg")


if __name__ == "__main__":
    main()
