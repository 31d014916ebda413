#!/usr/bin/env python3
"""Renders the demo's sound animation: rings spreading from the middle of a
dark field, with a two-note chime that fades as the rings do. Writes the
frames as a raw frame file (RAWB) and the sound as an 8-bit mono WAV file;
turn them into the animation with:

    build/bin/orx encode chime.raw examples/demo_chime.gnt --audio chime.wav --raw-audio
"""
import math
import struct
import sys

WIDTH, HEIGHT, FRAMES = 160, 120, 30
PERIOD_MS = 50
RATE = 11025


def palette():
    entries = []
    for i in range(256):
        if i < 64:  # the field: near black with a hint of blue
            entries.append((i // 8, i // 6, 24 + i // 3))
        elif i < 128:  # the rings: blue to white
            t = i - 64
            entries.append((60 + 3 * t, 90 + 2 * t + t // 2, 200 + t // 2))
        else:
            entries.append((0, 0, 0))
    return bytes(c for rgb in entries for c in rgb)


def render(frame):
    pixels = bytearray(WIDTH * HEIGHT)
    cx, cy = WIDTH / 2, HEIGHT / 2
    fade = 1 - frame / FRAMES
    for y in range(HEIGHT):
        for x in range(WIDTH):
            d = math.hypot(x - cx, y - cy)
            value = 8 if d > 50 else 8 + int((50 - d) / 5)
            for ring in range(3):
                r = frame * 4 - ring * 18
                if r > 0 and abs(d - r) < 3:
                    value = 64 + int(63 * fade)
            pixels[y * WIDTH + x] = max(0, min(127, value))
    return bytes(pixels)


def chime():
    count = RATE * FRAMES * PERIOD_MS // 1000
    samples = bytearray(count)
    for i in range(count):
        t = i / RATE
        note = 880.0 if t < 0.4 else 660.0
        start = 0.0 if t < 0.4 else 0.4
        envelope = math.exp(-(t - start) * 4)
        samples[i] = 128 + int(90 * envelope * math.sin(2 * math.pi * note * t))
    return bytes(samples)


def write_wav(path, samples):
    with open(path, "wb") as out:
        out.write(b"RIFF" + struct.pack("<I", 36 + len(samples)) + b"WAVE")
        out.write(b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE, 1, 8))
        out.write(b"data" + struct.pack("<I", len(samples)) + samples)


def main(frames_path, sound_path):
    with open(frames_path, "wb") as out:
        out.write(b"RAWB" + struct.pack("<IIIi", FRAMES, WIDTH, HEIGHT, -PERIOD_MS))
        for frame in range(FRAMES):
            out.write(struct.pack("<I", 0) + palette())
            out.write(struct.pack("<I", 1) + render(frame))
    write_wav(sound_path, chime())


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "chime.raw",
         sys.argv[2] if len(sys.argv) > 2 else "chime.wav")
