#!/usr/bin/python3
# Checks that every file under src/ and bench/ includes its own folder and lower floors only.
# Run from anywhere: `python3 tools/check_layers.py [repository folder]`; exits 1 on any
# include from a lower floor to a higher one, printing "file:line: core may not include ...",
# and on a folder under src/ that the table below does not name.
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
# Every include line, quoted or angle-bracketed ("%:" is the digraph of '#'); the form that
# names a macro cannot be followed.
INCLUDE = re.compile(r'^\s*(?:#|%:)\s*include\b\s*(?:"([^"]*)"|<([^>]*)>|(\S.*?))\s*(?://.*|/\*.*)?$')
COMMENT = re.compile(r"/\*.*?\*/")


def src_folder(relative):
    """The folder under src/ that holds a file given relative to the repository, else None."""
    parts = relative.split("/")
    return parts[1] if parts[0] == "src" and len(parts) > 2 else None


def floor_of(relative):
    """The level and floor name of a file given relative to the repository. Files outside the
    floor folders (src/main.cpp, bench/) and in a folder the table does not name stand on top;
    the unnamed folder itself is refused separately."""
    folder = src_folder(relative)
    if folder is not None:
        return LEVEL.get(folder, TOP), folder
    parts = relative.split("/")
    return TOP, parts[0] if len(parts) > 1 else relative


def inside(path, root):
    return path == root or path.startswith(root + os.sep)


def resolve(root, including, written, quoted):
    """The repository-relative path an include names, the way the compiler finds it: a quoted
    name first beside the including file, then under src/ (the one include folder); an angle
    name under src/ only. A name found nowhere is still the project's when it is written
    relative or starts with a folder under src/; anything else is a system header (None)."""
    src = os.path.join(root, "src")
    candidates = ([os.path.dirname(including)] if quoted else []) + [src]
    for folder in candidates:
        path = os.path.normpath(os.path.join(folder, written))
        if os.path.isfile(path):
            path = os.path.realpath(path)
            break
    else:
        parts = written.replace("\\", "/").split("/")
        first = parts[0]
        if quoted and (first == "." or ".." in parts):
            path = os.path.normpath(os.path.join(os.path.dirname(including), written))
        elif first in LEVEL or ("/" in written and os.path.isdir(os.path.join(src, first))):
            path = os.path.normpath(os.path.join(src, written))
        else:
            return None
    real_root = os.path.realpath(root)
    for base in (real_root, root):
        if inside(path, base):
            return os.path.relpath(path, base).replace(os.sep, "/")
    return None


def project_files(root):
    """Every file under src/ and bench/: a header may end in anything (.hh, .inl, ...)."""
    for top in ("src", "bench"):
        for folder, dirs, files in os.walk(os.path.join(root, top)):
            dirs.sort()
            for name in sorted(files):
                yield os.path.join(folder, name)


def logical_lines(f):
    """The lines as the preprocessor reads them: a backslash at the end joins the next line, and
    a comment closed on the line is a space. Each comes with the number of its first line."""
    pending, first = "", 0
    for number, line in enumerate(f, 1):
        line = line.rstrip("\r\n")
        if not pending:
            first = number
        if line.endswith("\\"):
            pending += line[:-1]
            continue
        yield first, COMMENT.sub(" ", pending + line)
        pending = ""
    if pending:
        yield first, COMMENT.sub(" ", pending)


def unnamed_folders(root):
    src = os.path.join(root, "src")
    if not os.path.isdir(src):
        return []
    return sorted(name for name in os.listdir(src)
                  if os.path.isdir(os.path.join(src, name)) and name not in LEVEL)


def violations(root):
    found = ["src/%s: folder not in the floor table; give it a floor in tools/check_layers.py "
             "and a line in the README's Layout" % name for name in unnamed_folders(root)]
    for path in project_files(root):
        relative = os.path.relpath(path, root).replace(os.sep, "/")
        level, own = floor_of(relative)
        with open(path, encoding="utf-8", errors="replace") as f:
            for number, line in logical_lines(f):
                match = INCLUDE.match(line)
                if not match:
                    continue
                quoted, angled, other = match.groups()
                if other is not None:
                    found.append("%s:%d: %s includes %s, which the check cannot follow"
                                 % (relative, number, own, other))
                    continue
                target = resolve(root, path, quoted if quoted is not None else angled, quoted is not None)
                if target is None:
                    continue
                target_level, _ = floor_of(target)
                if target_level > level:
                    shown = target[len("src/"):] if target.startswith("src/") else target
                    found.append("%s:%d: %s may not include %s" % (relative, number, own, shown))
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
