#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Synthesises the click sound, data/sound.wav: a short, dry knock like a
wooden fish struck lightly (two damped partials over a brief noise burst).
Deterministic; standard library only.

    tools/make_click.py [OUTPUT]     (default: data/sound.wav)
"""

import math
import os
import random
import struct
import sys
import wave

RATE = 22050
LENGTH = 0.075  # seconds


def samples():
    rnd = random.Random(1729)
    n = int(RATE * LENGTH)
    out = []
    for i in range(n):
        t = i / RATE
        body = 0.62 * math.sin(2 * math.pi * 1180 * t) * math.exp(-t / 0.012)
        ring = 0.28 * math.sin(2 * math.pi * 2630 * t + 0.7) * math.exp(-t / 0.006)
        hit = 0.35 * rnd.uniform(-1, 1) * math.exp(-t / 0.0015)
        attack = min(1.0, i / (RATE * 0.0008))  # no step at the start
        fade = min(1.0, (n - 1 - i) / (RATE * 0.004))  # nor at the end
        out.append((body + ring + hit) * attack * fade)
    return out


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data", "sound.wav")
    data = samples()
    peak = max(abs(v) for v in data)
    frames = b"".join(struct.pack("<h", int(v / peak * 0.7 * 32767)) for v in data)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)
    print(f"wrote {path} ({len(data)} samples)")


if __name__ == "__main__":
    main()
