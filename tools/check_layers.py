#!/usr/bin/python3
# Checks that every file under src/ and bench/ includes its own folder and lower floors only.
# Run from anywhere: `python3 tools/check_layers.py [repository folder]`; exits 1 on any
# include from a lower floor to a higher one, printing "file:line: core may not include ...".
# `--layout` prints the floor lines of the README's "Layout" section instead.
import os
import re
import sys

# The floors, lowest first; the README's "Layout" section lists the same table.
FLOORS = [
    ("core", ["core"],
     "platform, files, log, text and localisation, XML/INI readers, buffer, messages and timers, "
     "shared pointers, random, the display device, SDL events made into input events"),
    ("graphics", ["graphics"],
     "textures, drawables, fonts, tweens, trajectories, rotation effects, repeaters and particles"),
    # Sound sits above graphics because its fades run on the tweens.
    ("sound", ["sound"], "OpenAL engine, streamed Ogg Vorbis, sound lists and the sound manager, Ogg Theora movies"),
    ("ui", ["ui"], "windows, the window manager, cursors and the interface layout"),
    ("game, objects, rooms", ["game", "objects", "rooms"],
     "the mosaic game, its screens and the player profile; scene objects; rooms and effectors"),
    # Files outside the floor folders (src/main.cpp, bench/) are programs built on everything.
    ("app", ["app"],
     "start-up, frame loop, shutdown, input dispatch and the focus pause, the application tasks, "
     "the settings"),
]

LEVEL = {folder: level for level, (_, folders, _) in enumerate(FLOORS) for folder in folders}
TOP = len(FLOORS) - 1
INCLUDE = re.compile(r'^\s*#\s*include\s*"([A-Za-z_]+)/')


def floor_of(relative):
    """The level of a file given relative to the repository; None when it has no floor."""
    parts = relative.split("/")
    if parts[0] == "src" and len(parts) > 2:
        return LEVEL.get(parts[1], TOP), parts[1]
    return TOP, parts[0]


def violations(root):
    found = []
    for top in ("src", "bench"):
        for folder, dirs, files in os.walk(os.path.join(root, top)):
            dirs.sort()
            for name in sorted(files):
                if not name.endswith((".h", ".hpp", ".cpp", ".cc")):
                    continue
                path = os.path.join(folder, name)
                relative = os.path.relpath(path, root).replace(os.sep, "/")
                level, own = floor_of(relative)
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        match = INCLUDE.match(line)
                        if not match or match.group(1) not in LEVEL:
                            continue
                        if LEVEL[match.group(1)] > level:
                            target = line.split('"')[1]
                            found.append("%s:%d: %s may not include %s" % (relative, number, own, target))
    return found


def layout():
    return ["- %s: %s" % (name, what) for name, _, what in FLOORS]


def main():
    if sys.argv[1:] == ["--layout"]:
        print("\n".join(layout()))
        return 0
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    found = violations(os.path.abspath(root))
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
