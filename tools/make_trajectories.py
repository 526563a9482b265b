#!/usr/bin/python3
# Writes assets/trajectories.dat: the curves that scene objects travel, with segment lengths
# measured as the game measures them (float arithmetic, 500 chords per segment).
# Run: /usr/bin/python3 tools/make_trajectories.py
import math
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets", "trajectories.dat")


def f32(v):
    # Every operation of the game's code rounds to float; rounding a double result of one
    # float operation gives the same bits.
    return struct.unpack("<f", struct.pack("<f", v))[0]


def natural_cubic_spline(x):
    n = len(x) - 1
    gamma = [0.0] * (n + 1)
    delta = [0.0] * (n + 1)
    d = [0.0] * (n + 1)
    gamma[0] = 0.5
    for i in range(1, n):
        gamma[i] = f32(1.0 / f32(4.0 - gamma[i - 1]))
    gamma[n] = f32(1.0 / f32(2.0 - gamma[n - 1]))
    delta[0] = f32(f32(3.0 * f32(x[1] - x[0])) * gamma[0])
    for i in range(1, n):
        delta[i] = f32(f32(f32(3.0 * f32(x[i + 1] - x[i - 1])) - delta[i - 1]) * gamma[i])
    delta[n] = f32(f32(f32(3.0 * f32(x[n] - x[n - 1])) - delta[n - 1]) * gamma[n])
    d[n] = delta[n]
    for i in range(n - 1, -1, -1):
        d[i] = f32(delta[i] - f32(gamma[i] * d[i + 1]))
    segments = []
    for i in range(n):
        a = x[i]
        b = d[i]
        c = f32(f32(f32(3.0 * f32(x[i + 1] - x[i])) - f32(2.0 * d[i])) - d[i + 1])
        dd = f32(f32(f32(2.0 * f32(x[i] - x[i + 1])) + d[i]) + d[i + 1])
        segments.append((a, b, c, dd))
    return segments


def value(s, u):
    a, b, c, d = s
    return f32(f32(f32(a + f32(b * u)) + f32(f32(c * u) * u)) + f32(f32(f32(d * u) * u) * u))


def lengths(points):
    xs = natural_cubic_spline([float(p[0]) for p in points])
    ys = natural_cubic_spline([float(p[1]) for p in points])
    out = []
    for sx, sy in zip(xs, ys):
        total = 0.0
        px, py = value(sx, 0.0), value(sy, 0.0)
        for k in range(1, 501):
            u = f32(k / 500.0)
            qx, qy = value(sx, u), value(sy, u)
            dx, dy = f32(qx - px), f32(qy - py)
            total = f32(total + f32(math.sqrt(f32(f32(dx * dx) + f32(dy * dy)))))
            px, py = qx, qy
        out.append(total)
    return out + [0.0]


def menuloop():
    # An ellipse in the band of sky between the menu's title and its first button, closed on
    # its first point: the firefly never crosses the title or a button, nor do the sparks that
    # fall from it (the faintest of them up to 70 px below it).
    pts = []
    for k in range(8):
        t = 2 * math.pi * k / 8
        pts.append((int(round(683 - 330 * math.cos(t))), int(round(185 - 25 * math.sin(t)))))
    return pts + [pts[0]]


def drift():
    # A lazy loop for the small cloud in the sky left of the title: below the player's name,
    # above the easel's mast, closed on its first point.
    return [(110, 186), (150, 166), (200, 158), (250, 164), (290, 180), (250, 196), (200, 200),
            (150, 198), (110, 186)]


CURVES = [
    ("menuloop", menuloop()),
    ("drift", drift()),
    ("swoop", [(80, 40), (330, 380), (683, 540), (1036, 380), (1286, 40)]),
]


def main():
    data = struct.pack("<i", len(CURVES))
    for name, points in CURVES:
        data += struct.pack("<i", len(points)) + name.encode("ascii").ljust(20, b"\0")
        for (x, y), length in zip(points, lengths(points)):
            data += struct.pack("<iifffff", x, y, 1.0, 0.0, 0.0, 0.0, length)
    with open(OUT, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
