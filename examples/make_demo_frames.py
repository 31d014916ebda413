#!/usr/bin/env python3
"""Renders the demo animation's frames as a raw frame file (RAWB).

A ball bounces over a tiled floor under a sky whose colours cycle; every
frame is drawn here, so the example needs no outside material. Turn the
result into the animation with:

    build/bin/orx encode demo.raw examples/demo.gnt --ring
"""
import math
import struct
import sys

WIDTH, HEIGHT, FRAMES = 160, 120, 48
PERIOD_MS = 40


def palette(frame):
    entries = []
    for i in range(256):
        if i < 64:  # sky: a blue ramp that shifts with the frame
            t = (i + frame * 2) % 64
            entries.append((t // 2, t // 2 + 16, 200 + t // 2))
        elif i < 128:  # floor tiles
            t = i - 64
            entries.append((90 + t * 2, 60 + t, 30))
        elif i < 192:  # the ball, dark to light
            t = i - 128
            entries.append((120 + 2 * t, 20 + 3 * t, 20 + t))
        else:
            entries.append((0, 0, 0))
    return bytes(c for rgb in entries for c in rgb)


def render(frame):
    horizon = HEIGHT * 2 // 3
    pixels = bytearray(WIDTH * HEIGHT)
    for y in range(HEIGHT):
        row = y * WIDTH
        for x in range(WIDTH):
            if y < horizon:
                pixels[row + x] = y * 63 // horizon
            else:
                tile = ((x // 8) + ((y - horizon) // 4)) % 2
                pixels[row + x] = 64 + tile * 40 + (y - horizon) // 4
    phase = 2 * math.pi * frame / FRAMES
    cx = WIDTH / 2 + (WIDTH / 2 - 20) * math.sin(phase)
    cy = horizon - 12 - abs(math.sin(2 * phase)) * (horizon - 30)
    radius = 12
    for y in range(int(cy - radius), int(cy + radius) + 1):
        for x in range(int(cx - radius), int(cx + radius) + 1):
            dx, dy = x - cx, y - cy
            if 0 <= x < WIDTH and 0 <= y < HEIGHT and dx * dx + dy * dy <= radius * radius:
                light = 1 - (dx + dy + 2 * radius) / (4 * radius)
                pixels[y * WIDTH + x] = 128 + max(0, min(63, int(light * 63)))
    return bytes(pixels)


def main(path):
    with open(path, "wb") as out:
        out.write(b"RAWB" + struct.pack("<IIIi", FRAMES, WIDTH, HEIGHT, -PERIOD_MS))
        for frame in range(FRAMES):
            out.write(struct.pack("<I", 0) + palette(frame))
            out.write(struct.pack("<I", 1) + render(frame))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "demo.raw")
