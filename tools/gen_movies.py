#!/usr/bin/python3
# Writes the shipped movies (assets/textures/movies/) and the movie test fixtures
# (tests/data/movies/, tests/fuzz/seeds/movie/): frames drawn with PIL, converted here to
# 4:2:0 studio-range YCbCr, encoded with theora_encoder_example, serial numbers fixed so two
# runs give the same bytes. Run: /usr/bin/python3 tools/gen_movies.py
import math
import os
import struct
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # importing the seed tool must leave no cache behind
from PIL import Image, ImageDraw

from make_fuzz_seeds import crc32_msb

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
MOVIES = os.path.join(ROOT, "assets", "textures", "movies")
FIXTURES = os.path.join(ROOT, "tests", "data", "movies")
SEEDS = os.path.join(ROOT, "tests", "fuzz", "seeds", "movie")
SERIAL_BASE = 0x4D4F5631


def to_studio(img):
    """Full-range RGB image -> (Y, Cb, Cr) byte planes at full resolution, studio range."""
    ycc = img.convert("RGB").convert("YCbCr")
    w, h = img.size
    ys, cbs, crs = ycc.split()
    y = bytes(16 + (219 * v + 127) // 255 for v in ys.tobytes())
    cb = [128 + round(224 * (v - 128) / 255) for v in cbs.tobytes()]
    cr = [128 + round(224 * (v - 128) / 255) for v in crs.tobytes()]
    return w, h, y, cb, cr


def subsample(plane, w, h, sx, sy):
    out = bytearray()
    for r in range(0, h, sy):
        for c in range(0, w, sx):
            total = 0
            for dy in range(sy):
                for dx in range(sx):
                    total += plane[min(r + dy, h - 1) * w + min(c + dx, w - 1)]
            out.append((total + (sx * sy) // 2) // (sx * sy))
    return bytes(out)


CHROMA = {"420jpeg": (2, 2), "422": (2, 1), "444": (1, 1)}


def frame_planes(img, chroma="420jpeg", alpha=None):
    """Planes of one frame; with alpha (an "L" image) the picture is colour | alpha side by side."""
    w, h, y, cb, cr = to_studio(img)
    if alpha is not None:
        a = alpha.tobytes()
        wide = bytearray()
        cbw, crw = [], []
        for r in range(h):
            wide += y[r * w:(r + 1) * w] + a[r * w:(r + 1) * w]
            cbw += cb[r * w:(r + 1) * w] + [128] * w
            crw += cr[r * w:(r + 1) * w] + [128] * w
        y, cb, cr, w = bytes(wide), cbw, crw, w * 2
    sx, sy = CHROMA[chroma]
    return w, h, y + subsample(cb, w, h, sx, sy) + subsample(cr, w, h, sx, sy)


def write_y4m(path, frames, w, h, chroma="420jpeg"):
    with open(path, "wb") as f:
        f.write(b"YUV4MPEG2 W%d H%d F25:1 Ip A1:1 C%s\n" % (w, h, chroma.encode()))
        for data in frames:
            f.write(b"FRAME\n" + data)


def pages(data):
    pos = 0
    while pos + 27 <= len(data) and data[pos:pos + 4] == b"OggS":
        count = data[pos + 26]
        table = data[pos + 27:pos + 27 + count]
        end = pos + 27 + count + sum(table)
        yield data[pos:end]
        pos = end


def fix_page(page):
    page = bytearray(page)
    page[22:26] = b"\0\0\0\0"
    page[22:26] = struct.pack("<I", crc32_msb(bytes(page)))
    return bytes(page)


def fix_serials(data):
    """The encoder takes its serial numbers from the clock; give them fixed ones."""
    serials = {}
    out = []
    for page in pages(data):
        page = bytearray(page)
        old = struct.unpack_from("<I", page, 14)[0]
        serials.setdefault(old, SERIAL_BASE + len(serials))
        struct.pack_into("<I", page, 14, serials[old])
        out.append(fix_page(page))
    return out


def encode(frames, w, h, chroma="420jpeg", audio=None):
    with tempfile.TemporaryDirectory() as tmp:
        y4m = os.path.join(tmp, "in.y4m")
        out = os.path.join(tmp, "out.ogv")
        write_y4m(y4m, frames, w, h, chroma)
        args = ["theora_encoder_example", "-v", "7", "-o", out]
        if audio:
            wav = os.path.join(tmp, "tone.wav")
            subprocess.run(["sox", "-R", "-n", "-r", "22050", "-c", "1", "-b", "16", wav, "synth", str(audio),
                            "sine", "440", "vol", "0.3"], check=True)
            args.append(wav)
        # Without frames the encoder still writes the headers, then reports failure.
        run = subprocess.run(args + [y4m], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if run.returncode != 0 and frames:
            raise SystemExit("theora_encoder_example failed")
        with open(out, "rb") as f:
            return fix_serials(f.read())


def save(folder, name, page_list):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(b"".join(page_list))


def mosaicspin():
    w, h, frames = 160, 128, []
    colours = [(220, 60, 60), (60, 160, 220), (240, 200, 40), (80, 190, 90), (170, 90, 200)]
    cells = [(c, r) for r in range(h // 16) for c in range(w // 16)]
    for i in range(50):
        img = Image.new("RGB", (w, h), (24, 28, 40))
        d = ImageDraw.Draw(img)
        filled = (i + 1) * len(cells) // 50
        for n, (c, r) in enumerate(cells):
            box = (c * 16 + 1, r * 16 + 1, c * 16 + 14, r * 16 + 14)
            if n < filled:
                d.rectangle(box, fill=colours[(n // 8) % len(colours)])
            else:
                d.rectangle(box, outline=(70, 74, 90))
        angle = 2 * math.pi * i / 50
        cx, cy = w / 2, h / 2
        d.line((cx, cy, cx + 56 * math.sin(angle), cy - 56 * math.cos(angle)), fill=(255, 255, 255), width=5)
        d.ellipse((cx - 6, cy - 6, cx + 6, cy + 6), fill=(255, 255, 255))
        frames.append(frame_planes(img)[2])
    return encode(frames, w, h)


def glowalpha():
    size, frames = 128, []
    for i in range(25):
        phase = 2 * math.pi * i / 25
        radius = 36 + 10 * math.sin(phase)
        hue = ((85 + 255 * i // 25) % 256, 200, 255)
        colour = Image.new("HSV", (1, 1), hue).convert("RGB").getpixel((0, 0))
        rgb = Image.new("RGB", (size, size), (0, 0, 0))
        alpha = Image.new("L", (size, size), 0)
        pr, pa = rgb.load(), alpha.load()
        for y in range(size):
            for x in range(size):
                dist = abs(math.hypot(x + 0.5 - size / 2, y + 0.5 - size / 2) - radius)
                a = 0 if dist >= 14 else (255 if dist <= 5 else int(255 * (14 - dist) / 9))
                if a:
                    pa[x, y] = a
                    pr[x, y] = colour
        frames.append(frame_planes(rgb, alpha=alpha)[2])
    return encode(frames, size * 2, size)


def tiny_frames(w=32, h=32, chroma="420jpeg"):
    frames = []
    for i in range(8):
        if i == 0:
            y, rest = bytes([128] * (w * h)), None
            sx, sy = CHROMA[chroma]
            csize = ((w + sx - 1) // sx) * ((h + sy - 1) // sy)
            frames.append(y + bytes([128] * (2 * csize)))
            continue
        img = Image.new("RGB", (w, h), (128, 128, 128))
        ImageDraw.Draw(img).rectangle((2 * i, 2 * i, 2 * i + 7, 2 * i + 7), fill=(255, 255, 255))
        frames.append(frame_planes(img, chroma)[2])
    return frames


def packet_start(page):
    return 27 + page[26]


def main():
    save(MOVIES, "mosaicspin.ogv", mosaicspin())
    save(MOVIES, "glowalpha.ogv", glowalpha())

    tiny = encode(tiny_frames(), 32, 32)
    save(FIXTURES, "tiny.ogv", tiny)
    save(FIXTURES, "headers.ogv", encode([], 32, 32))

    # The setup header announces itself as a packet type the decoder does not know.
    bad = [bytearray(p) for p in tiny]
    for i, page in enumerate(bad):
        at = bytes(page).find(b"\x82theora")
        if at >= 0:
            page[at] = 0x83
            bad[i] = fix_page(page)
            break
    save(FIXTURES, "badsetup.ogv", [bytes(p) for p in bad])

    # The identification header claims a frame of 300 x 300 macroblocks.
    big = bytearray(tiny[0])
    at = packet_start(big)
    struct.pack_into(">HH", big, at + 10, 300, 300)
    save(FIXTURES, "bigframe.ogv", [fix_page(big)] + tiny[1:])

    save(FIXTURES, "trunc.ogv", [tiny[0], tiny[1][:len(tiny[1]) // 2]])

    av = encode(tiny_frames(), 32, 32, audio=0.4)
    vorbis = [i for i, p in enumerate(av) if p[5] & 2 and p[packet_start(p):packet_start(p) + 7] == b"\x01vorbis"]
    if vorbis and vorbis[0] != 0:
        av.insert(0, av.pop(vorbis[0]))
    save(FIXTURES, "av.ogv", av)

    for name in ("tiny", "headers", "badsetup", "bigframe", "trunc", "av"):
        with open(os.path.join(FIXTURES, name + ".ogv"), "rb") as f:
            save(SEEDS, name + ".ogv", [f.read()])
    save(SEEDS, "tiny422.ogv", encode(tiny_frames(chroma="422"), 32, 32, "422"))
    save(SEEDS, "tiny444.ogv", encode(tiny_frames(chroma="444"), 32, 32, "444"))
    save(SEEDS, "tiny36x20.ogv", encode(tiny_frames(36, 20), 36, 20))


if __name__ == "__main__":
    main()
