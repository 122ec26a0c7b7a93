#!/usr/bin/env python3
"""Writes typewriter.wav: a typewriter key strike, 8-bit mono 22 050 Hz PCM,
3 149 samples. A noise burst with a fast decay (the type bar hitting the
platen), a damped low ring under it, and a faint second click (the key
coming back). Deterministic, so the committed file can be rebuilt."""
import math
import random
import struct
import sys

RATE = 22050
COUNT = 3149


def strike(t, start, level, decay):
    if t < start:
        return 0.0
    return level * math.exp(-(t - start) / decay)


def main(path):
    rng = random.Random(1005)
    samples = bytearray()
    smooth = 0.0
    for i in range(COUNT):
        t = i / RATE
        noise = rng.uniform(-1.0, 1.0)
        smooth = 0.55 * smooth + 0.45 * noise  # take the hiss off the click
        value = smooth * (strike(t, 0.0, 0.9, 0.006) + strike(t, 0.085, 0.35, 0.004))
        value += strike(t, 0.0, 0.4, 0.025) * math.sin(2 * math.pi * 180 * t)
        value = max(-1.0, min(1.0, value))
        samples.append(int(round(128 + 127 * value)))
    header = b"RIFF" + struct.pack("<I", 36 + len(samples)) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE, 1, 8)
    header += b"data" + struct.pack("<I", len(samples))
    with open(path, "wb") as f:
        f.write(header + bytes(samples))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "typewriter.wav")
