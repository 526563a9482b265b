#!/usr/bin/python3
# Writes the seeds of `make fuzz`: tests/fuzz/seeds/buffer/, each behind a valid CRC-32,
# tests/fuzz/seeds/saves/, the bytes after the checksum of a default and a golden settings file
# and profile, tests/fuzz/seeds/font/, small font descriptors, tests/fuzz/seeds/trajectories/,
# tests/fuzz/seeds/particles/, particle descriptions, with the particle target's dictionary
# tests/fuzz/particles.dict, and tests/fuzz/seeds/scene/, small space files and the shipped
# menu's saved state (that one through build-fuzz/scene_fuzz, when it is built).
# Run: /usr/bin/python3 tools/make_fuzz_seeds.py
# After a change of assets/mainmenu.xml, with build-fuzz/scene_fuzz built, the menu's state alone:
#      /usr/bin/python3 tools/make_fuzz_seeds.py --menu-state
import os
import struct
import subprocess
import sys

SEEDS_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "fuzz", "seeds")
OUT = os.path.join(SEEDS_DIR, "buffer")
SAVES_OUT = os.path.join(SEEDS_DIR, "saves")
FONT_OUT = os.path.join(SEEDS_DIR, "font")
PARTICLES_OUT = os.path.join(SEEDS_DIR, "particles")
PARTICLES_DICT = os.path.join(SEEDS_DIR, "..", "particles.dict")


def crc32_msb(data, crc=0):
    # Polynomial 0x04C11DB7, most significant bit first, no final XOR; bit by bit on purpose,
    # so it checks the game's table-driven code rather than copying it.
    for byte in data:
        crc ^= byte << 24
        for _ in range(8):
            crc = ((crc << 1) ^ 0x04C11DB7) if crc & 0x80000000 else (crc << 1)
            crc &= 0xFFFFFFFF
    return crc if data else 0


def int32(v):
    return struct.pack("<i", v)


def milli(v):
    return int32(int(v * 1000))


def string(s):
    b = s.encode("utf-8")
    return struct.pack("<H", len(b)) + b


def block(b):
    return int32(len(b)) + b


def nested(b):
    return block(b) + struct.pack("<I", crc32_msb(b))


SEEDS = {
    "empty": b"",
    "byte": bytes([0x7F]),
    "int32": int32(-1) + int32(1000),
    "fraction": milli(0.5) + milli(0.7) + milli(-2.25),
    "string": string("abc") + string(""),
    "block": block(bytes([1, 2, 3, 4])),
    "nested": nested(string("abc") + int32(7)) + int32(5),
    "nested_twice": nested(nested(string("in")) + milli(1.5)),
    "timer": milli(1.0) + bytes([1]) + milli(0.25) + bytes([0]),
    "string_top_bit": bytes([0x00, 0x80]) + string("next"),
    "block_too_long": bytes([0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3]),
    "block_negative": bytes([0x00, 0x00, 0x00, 0x80, 9]),
    "settings_like": int32(1000) + int32(1) + string("Player") + int32(0) + bytes([1, 0]),
}


def int16(v):
    return struct.pack("<h", v)


def settings(fullscreen, current, last, users):
    body = int32(1000) + bytes([0, 0]) + int32(3) + bytes([fullscreen, 0, 1])
    body += int16(current) + int16(last) + int16(len(users))
    for uid, name in users:
        body += int16(uid) + string(name)
    return body


def progress(stage, level, level_score, total, flags, entries):
    # flags in file order: 4, 5, 3, 1, 2
    body = int32(stage) + int32(level) + int32(level_score) + int32(total) + int32(0) + bytes(flags)
    body += int32(len(entries))
    for time, best, stars in entries:
        body += int32(time) + int32(best) + int32(stars)
    return body


def profile(volumes, counter, flag, pairs, difficulty, mode, saved, view, records, preset):
    body = int32(1000) + b"".join(milli(v) for v in volumes) + int32(counter) + bytes([flag, 0])
    body += struct.pack("<H", len(pairs)) + b"".join(string(k) + string(v) for k, v in pairs)
    body += bytes([difficulty, mode]) + int32(saved) + milli(view) + b"".join(records) + preset
    return body


# Each the body of a file the game writes; the fuzz target puts the checksum in front.
SAVE_SEEDS = {
    "settings_default": settings(1, -1, 0, []),
    "settings_golden": settings(1, 0, 1, [(1, "Jo")]),
    "profile_default": profile((0.4, 0.5, 0.5), 0, 0, [], 4, 0, 0, 1.0,
                               [progress(0, -1, 0, 0, (0, 0, 0, 0, 1), [])] * 2,
                               int32(30) + int32(0) + int32(0) + milli(2.0)),
    "profile_golden": profile((0.1, 0.2, 0.7), 7, 1, [("IHelpShown", "tip1")], 2, 1, 5, 1.5,
                              [progress(0, 1, 30, 400, (0, 1, 0, 1, 1), [(65, 120, 3), (0, 0, 0)]),
                               progress(0, -1, 0, 0, (0, 0, 0, 0, 1), [(0, 0, 0)])],
                              int32(45) + int32(1) + int32(5) + milli(2.5)),
}


# Descriptors for the font target; the fuzzer's folder holds a 32x32 "a.png" to map from.
FONT_COMMANDS = """# every command once
SetDefaultPointSize 20;
Define CH ('A' 'B' 'g');
Define R ((0 0 8 10) (8 0 8 10) (16 0 8 12));
CreateHorzSpanRectList S (0 12 0 10) (4 5 6);
SetCharMap ('a' 'b') ('A' 'B');
CreateLayer main;
LayerSetImage main "a.png";
LayerSetPointSize main 20;
LayerSetAscent main 10;
LayerSetAscentPadding main 1;
LayerSetLineSpacingOffset main 2;
LayerSetDrawMode main 1;
LayerSetColorMult main (1 1 1 1);
LayerSetColorAdd main (0 0.25 0 0);
LayerSetSpacing main 1;
LayerSetOffset main (0 -1);
LayerPointRange main 5 -1;
LayerExcludeTags main ('thin');
LayerSetImageMap main CH R;
LayerSetCharWidths main CH (9 9 9);
LayerSetCharOffsets main CH ((0 0) (0 1) (0 -2));
LayerSetKerningPairs main ('AB' 'BA') (-1 2);
LayerSetCharOrders main ('A') (3);
LayerSetBaseOrder main 0;
CreateLayerFrom shadow main;
LayerSetOffset shadow (2 2);
LayerSetColorMult shadow (0 0 0 0.5);
LayerSetBaseOrder shadow -1;
LayerRequireTags shadow ('bold');
LayerSetImageMap shadow CH S;
LayerSetCharWidths shadow CH (9 9 9);
LayerSetCharOffsets shadow CH ((0 0) (0 1) (0 -2));
LayerSetKerningPairs shadow ('AB') (-1);
"""

FONT_QUOTING = """Define Q ("'" '"' '\\\\' ';' '#' ',' '(' ' ' 5 "'\\"" '' 0x1F -3);
Define W Q;
Define N 'name';
CreateLayer m; LayerSetImage m N;
"""

FONT_SCALED = """SetDefaultPointSize 40;
CreateLayer big; LayerSetImage big 'a.png'; LayerSetPointSize big 10; LayerSetAscent big 8;
LayerSetImageMap big ('A' 'V' 'Ж') ((0 0 8 8) (8 0 8 8) (16 16 16 16));
LayerSetCharWidths big ('A' 'V' 'Ж') (8 8 16);
LayerSetKerningPairs big ('AV' 'ЖA') (-2 1);
CreateLayer small; LayerSetImage small 'a.png'; LayerPointRange small 1 20; LayerSetAscent small 4;
LayerSetImageMap small ('A') ((0 0 4 4)); LayerSetCharWidths small ('A') (4);
"""

FONT_ORDER_MAX = """CreateLayer m; LayerSetImage m 'a.png'; LayerSetAscent m 4;
LayerSetImageMap m ('A' 'g') ((0 0 4 4) (4 0 4 4));
LayerSetCharWidths m ('A' 'g') (5 5);
LayerSetCharOrders m ('A' 'g') (2147483647 -2147483648);
"""

FONT_SEEDS = {
    "commands": FONT_COMMANDS.encode("latin-1"),
    "commands_utf16le": b"\xff\xfe" + FONT_COMMANDS.encode("utf-16-le"),
    "commands_utf16be": b"\xfe\xff" + FONT_COMMANDS.encode("utf-16-be"),
    "quoting": FONT_QUOTING.encode("latin-1"),
    "scaled_utf16le": b"\xff\xfe" + FONT_SCALED.encode("utf-16-le"),
    "order_max": FONT_ORDER_MAX.encode("latin-1"),
    "errors": b"Define X (1 2; Frob; CreateLayer a; CreateLayer A;",
}


def curve(name, points, n=None):
    out = int32(len(points) if n is None else n) + name.ljust(20, b"\0")[:20]
    for x, y, length in points:
        out += struct.pack("<iifffff", x, y, 1.0, 0.0, 0.0, 0.0, length)
    return out


TWO_POINTS = [(0, 0, 100.0), (100, 0, 0.0)]
TRAJECTORY_SEEDS = {
    "two_curves": int32(2) + curve(b"line", TWO_POINTS) + curve(b"bend", [(0, 0, 50.0), (30, 40, 60.0), (90, 40, 0.0)]),
    "truncated": (int32(2) + curve(b"line", TWO_POINTS) + curve(b"cut", TWO_POINTS))[:-9],
    "huge_count": int32(0x7FFFFFFF) + curve(b"line", TWO_POINTS),
    "negative_n": int32(2) + curve(b"line", TWO_POINTS) + curve(b"minus", [], n=-1),
    "name_20_bytes": int32(1) + curve(b"abcdefghijklmnopqrst", TWO_POINTS),
    "one_point": int32(1) + curve(b"dot", [(5, 5, 0.0)]),
    "no_points": int32(1) + curve(b"none", []),
}
PARTICLE_KEYS = [
    "nEmission", "fLifetime", "fParticleLifeMin", "fParticleLifeMax", "fDirection", "fSpread", "bRelative",
    "fSpeedMin", "fSpeedMax", "fGravityMin", "fGravityMax", "fRadialAccelMin", "fRadialAccelMax",
    "fTangentialAccelMin", "fTangentialAccelMax", "fSizeStart", "fSizeEnd", "fSizeVar", "fSpinStart", "fSpinEnd",
    "fSpinVar", "colColorStartR", "colColorStartG", "colColorStartB", "colColorStartA", "colColorEndR",
    "colColorEndG", "colColorEndB", "colColorEndA", "fColorVar", "fAlphaVar", "iDrawMode", "ImageFile",
    "bUseRandomRect", "TextureRect0", "TextureRect1", "TextureRect2", "TextureRect3", "SrcAreaSizeX",
    "SrcAreaSizeY", "SrcAreaType",
]
PARTICLE_BASE = ["nEmission=200", "fParticleLifeMin=0.5", "fParticleLifeMax=2", "fSpeedMin=0.5", "fSpeedMax=2",
                 "fGravityMin=1", "fGravityMax=3", "fRadialAccelMin=-1", "fRadialAccelMax=2", "fSpinStart=50",
                 "fSpinEnd=300", "colColorStartR=1", "colColorStartG=1", "colColorStartB=1", "colColorStartA=1",
                 "colColorEndR=0.5", "colColorEndG=0.5", "colColorEndB=1", "colColorEndA=0",
                 "ImageFile=textures/fx/sparks", "TextureRect0=0,0,32,32", "TextureRect1=32,0,32,32"]


def particles(*lines, base=True, eol="\r\n", section="[Default]"):
    body = [section] + (PARTICLE_BASE if base else []) + list(lines)
    return (eol.join(body) + eol).encode("latin-1")


def padded_to(data, remainder):
    # The target picks its area mask by the input length mod 5: comment lines steer it.
    while len(data) % 5 != remainder:
        data += b";\r\n"
    return data


def particle_seeds():
    seeds = {}
    for area in range(5):
        seeds["area%d" % area] = particles("SrcAreaType=%d" % area, "SrcAreaSizeX=60", "SrcAreaSizeY=30")
    # An odd length gives the outline of the input's first bytes.
    polygon = particles("SrcAreaType=4", "SrcAreaSizeX=40", "SrcAreaSizeY=40")
    seeds["area4_outline"] = polygon if len(polygon) % 2 else polygon + b";"
    for name, size in (("zero", "0"), ("nan", "nan"), ("tiny", "1e-45"), ("huge", "1e30")):
        seeds["ellipse_" + name] = particles("SrcAreaType=2", "SrcAreaSizeX=" + size, "SrcAreaSizeY=" + size)
        seeds["outline_" + name] = particles("SrcAreaType=4", "SrcAreaSizeX=" + size, "SrcAreaSizeY=" + size)
    seeds["rate_max"] = particles("nEmission=2147483647", "fParticleLifeMin=100", "fParticleLifeMax=100")
    seeds["rects_edge"] = particles("bUseRandomRect=0", "TextureRect0=96,0,32,32", "TextureRect1=97,0,32,32",
                                    "TextureRect2=0,1,32,32", "TextureRect3=0,0,128,32", base=False)
    seeds["overflow"] = particles("nEmission=99999999999", "fSpeedMax=1e999", "fSizeStart=-1e40", "fSpinVar=inf",
                                  "TextureRect0=0,0,99999999999,1", "TextureRect1=-2147483648,0,1,1",
                                  "fLifetime=1e-40", "SrcAreaType=-2147483648")
    seeds["two_commas"] = particles("TextureRect0=0,0,32", "TextureRect1=1,,2,3,4", "TextureRect2=0 ,0,8,8")
    seeds["lf_only"] = particles("SrcAreaType=1", "SrcAreaSizeX=100", eol="\n")
    seeds["no_section"] = particles("SrcAreaType=1", section="[Other]")
    seeds["mask_1x1"] = padded_to(particles("SrcAreaType=3"), 1)
    seeds["mask_1x8"] = padded_to(particles("SrcAreaType=3"), 2)
    return seeds


def particle_dictionary():
    words = PARTICLE_KEYS + ["[Default]", "=", ",", "\r\n", "nan", "inf", "-1", "2147483647", "1e30",
                             "textures/fx/sparks"]
    lines = ["# Tokens of the particle descriptions (written by tools/make_fuzz_seeds.py)."]
    for i, word in enumerate(words):
        text = "".join("\\x%02X" % ord(c) if c in "\r\n\\\"" else c for c in word)
        lines.append('kw%d="%s"' % (i, text))
    return "\n".join(lines) + "\n"

# Small space files, one part of the scene each: a frame sheet, random and keyed effectors, a
# pocket with its movements, and nested objects; then damaged ones, each a value that once
# crashed the renderer or asked it for petabytes (the door of the last one covers the screen,
# so the target's first press opens the pocket).
SCENE_SEEDS = {
    "frames": b'<room><Common name="f"/><Objects><object id="a" name="menu/sail" texrects="0.0.8.8" '
              b'frames="4" texw="16" framedelay="0.1" animmode="loop"/></Objects></room>',
    "effectors": b'<room><Common name="e"/><Objects><object id="a" effector="r"/><object id="b" effector="k"/>'
                 b'</Objects><effector type="random" name="r" tracks="x,o,s" minmax="-5,5;0,1;0.5,2" '
                 b'changes="3" dt="0.2" tbc="0.1"/><effector name="k" loop="2"><key id="s" time="0" value="1"/>'
                 b'<key id="s" time="1" value="2"/><key id="a" time="0" value="0"/></effector></room>',
    "pocket": b'<room><Common name="p"/><Objects><object id="door" pocket="box" w="40" h="40"/></Objects>'
              b'<pockets><pocket name="box" appeartime="0.2" disappeartime="0.2"><object id="in" w="10" h="10">'
              b'<object id="child" drawtype="1"/></object></pocket></pockets></room>',
    "angle_nan": b'<room><Common name="a"/><Objects><object id="o" name="mainmenu/ball" x="20" y="20" '
                 b'angle="nan"/></Objects></room>',
    "maxangle_nan": b'<room><Common name="w"/><Objects><object id="s" type="weight_system" name="mainmenu/ball" '
                    b'x="20" y="20" maxangle="nan"><object id="left" type="weight_part"><object id="k" tag="1"/>'
                    b'</object></object></Objects></room>',
    "clock_nan": b'<room><Common name="c"/><Objects><object id="h" type="moving_clock_arrow" name="mainmenu/ball" '
                 b'x="20" y="20" time_per_div="nan"/></Objects></room>',
    "scale_huge": b'<room><Common name="s"/><Objects><object id="o" name="mainmenu/ball" scale="2000000"/>'
                  b'</Objects></room>',
    "pocket_start_nan": b'<room><Common name="p"/><Objects><object id="door" pocket="b" w="1366" h="768"/>'
                        b'</Objects><pockets><pocket name="b" startx="nan" starty="nan"><object id="i" '
                        b'name="mainmenu/ball"/></pocket></pockets></room>',
}
# Made by the scene target itself (built by `make fuzz`), which knows the record of every kind.
SCENE_STATE_MAKER = os.path.join(SEEDS_DIR, "..", "..", "..", "build-fuzz", "scene_fuzz")
SCENE_OUT = os.path.join(SEEDS_DIR, "scene")
MENU_STATE = os.path.join(SCENE_OUT, "mainmenu_state.bin")


def write_menu_state():
    # The state of today's assets/mainmenu.xml: written again whenever the menu changes.
    if not os.path.exists(SCENE_STATE_MAKER):
        raise SystemExit("build-fuzz/scene_fuzz is needed to write " + MENU_STATE +
                         " (cmake --build build-fuzz --target scene_fuzz, as `make fuzz` configures it)")
    env = dict(os.environ, BRISALO_WRITE_MENU_STATE=os.path.abspath(MENU_STATE))
    subprocess.run([SCENE_STATE_MAKER], env=env, check=True, stdout=subprocess.DEVNULL)


def write_scene_seeds():
    os.makedirs(SCENE_OUT, exist_ok=True)
    for name, data in SCENE_SEEDS.items():
        with open(os.path.join(SCENE_OUT, name + ".xml"), "wb") as f:
            f.write(data)
    if os.path.exists(SCENE_STATE_MAKER) or not os.path.exists(MENU_STATE):
        write_menu_state()
    else:
        print("kept " + MENU_STATE + ": build-fuzz/scene_fuzz is not built to write it again")


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(OUT, name + ".bin"), "wb") as f:
            f.write(struct.pack("<I", crc32_msb(data)) + data)
    os.makedirs(SAVES_OUT, exist_ok=True)
    for name, data in SAVE_SEEDS.items():
        with open(os.path.join(SAVES_OUT, name + ".bin"), "wb") as f:
            f.write(data)
    os.makedirs(FONT_OUT, exist_ok=True)
    for name, data in FONT_SEEDS.items():
        with open(os.path.join(FONT_OUT, name + ".txt"), "wb") as f:
            f.write(data)
    trajectories = os.path.join(SEEDS_DIR, "trajectories")
    os.makedirs(trajectories, exist_ok=True)
    for name, data in TRAJECTORY_SEEDS.items():
        with open(os.path.join(trajectories, name + ".dat"), "wb") as f:
            f.write(data)
    os.makedirs(PARTICLES_OUT, exist_ok=True)
    for name, data in particle_seeds().items():
        with open(os.path.join(PARTICLES_OUT, name + ".ini"), "wb") as f:
            f.write(data)
    with open(PARTICLES_DICT, "w", newline="\n") as f:
        f.write(particle_dictionary())
    write_scene_seeds()


if __name__ == "__main__":
    if sys.argv[1:] == ["--menu-state"]:
        write_menu_state()
    elif sys.argv[1:]:
        raise SystemExit("usage: make_fuzz_seeds.py [--menu-state]")
    else:
        main()
