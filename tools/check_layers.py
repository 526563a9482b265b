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
# Every directive that reads another file, quoted or angle-bracketed ("%:" is the digraph of
# '#'; GCC takes #import and #include_next as well); the form that names a macro cannot be
# followed. Comments are gone from the lines this is matched against.
INCLUDE = re.compile(r'^\s*(?:#|%:)\s*(?:include_next|include|import)\b\s*(?:"([^"]*)"|<([^>]*)>|(\S.*?))\s*$')
# Where a header name in angle brackets may follow: "/*" inside it opens no comment.
BEFORE_HEADER_NAME = re.compile(r'^\s*(?:#|%:)\s*(?:include_next|include|import)\s*$')
# GCC joins lines at a backslash even when blanks stand between it and the line end.
SPLICE = re.compile(r"\\[ \t\f\v]*\n")
# The tokens that decide where comments are: comments themselves, raw strings (which may run
# over lines), words and numbers (a quote inside 1'000 starts nothing), quoted literals (which
# end at the line's end when unclosed), and any other single character.
TOKEN = re.compile(r'''
    (?P<block>/\*.*?(?:\*/|\Z))
  | (?P<line>//[^\n]*)
  | (?P<raw>(?:u8|u|U|L)?R"(?P<delimiter>[^ ()\\\t\v\f\n]{0,16})\(.*?\)(?P=delimiter)")
  | (?P<quoted>(?:u8|u|U|L)?(?:"(?:\\[^\n]|[^"\\\n])*"?|'(?:\\[^\n]|[^'\\\n])*'?))
  | (?P<word>[A-Za-z_][A-Za-z0-9_]*|\.?[0-9](?:[eEpP][+-]|'[A-Za-z0-9_]|[A-Za-z0-9_.])*)
  | (?P<other>.)
''', re.VERBOSE | re.DOTALL)
HEADER_NAME = re.compile(r"(?P<header><[^>\n]*>?)")


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


# What resolve() answers for a project's include whose file lies outside the repository.
OUTSIDE = object()


def resolve(root, including, written, quoted):
    """The repository-relative path an include names, the way the compiler finds it: a quoted
    name first beside the including file, then under src/ (the one include folder); an angle
    name under src/ only. A name found nowhere is still the project's when it is written
    relative or starts with a folder under src/; anything else is a system header (None).
    Paths go to the file system as written: a ".." after a symbolic link leaves the link's
    target, not the folder holding the link. A project's include that a link carries out of
    the repository gives OUTSIDE."""
    src = os.path.join(root, "src")
    candidates = ([os.path.dirname(including)] if quoted else []) + [src]
    for folder in candidates:
        path = os.path.join(folder, written)
        if os.path.isfile(path):
            break
    else:
        parts = written.replace("\\", "/").split("/")
        first = parts[0]
        if quoted and (first == "." or ".." in parts):
            path = os.path.join(os.path.dirname(including), written)
        elif first in LEVEL or ("/" in written and os.path.isdir(os.path.join(src, first))):
            path = os.path.join(src, written)
        else:
            return None
    path = os.path.realpath(path)
    real_root = os.path.realpath(root)
    if inside(path, real_root):
        return os.path.relpath(path, real_root).replace(os.sep, "/")
    return OUTSIDE


def project_files(root):
    """Every file under src/ and bench/: a header may end in anything (.hh, .inl, ...)."""
    for top in ("src", "bench"):
        for folder, dirs, files in os.walk(os.path.join(root, top)):
            dirs.sort()
            for name in sorted(files):
                yield os.path.join(folder, name)


def spliced(text):
    """The text with its line joins taken out, and the line number of each character left."""
    kept, numbers, number, at = [], [], 1, 0
    for join in list(SPLICE.finditer(text)) + [None]:
        for c in text[at:join.start() if join else len(text)]:
            kept.append(c)
            numbers.append(number)
            if c == "\n":
                number += 1
        if join:
            number += 1
            at = join.end()
    return "".join(kept), numbers


def logical_lines(text):
    """The lines as the preprocessor reads them: a byte-order mark at the start is skipped, a
    backslash at a line's end joins the next line, every comment is one space (the line ends
    inside a block comment vanish with it, so a directive may follow a comment opened lines
    before), and literals and header names are kept whole, so that a "/*" inside them opens
    nothing. Each line comes with the number of the line on which its first token stands."""
    if text.startswith("\ufeff"):
        text = text[1:]
    text, numbers = spliced(text)
    line, first, at = [], 0, 0
    while at < len(text):
        if text[at] == "\n":
            if first:
                yield first, "".join(line)
            line, first, at = [], 0, at + 1
            continue
        if text[at] == "<" and BEFORE_HEADER_NAME.match("".join(line)):
            token = HEADER_NAME.match(text, at)
        else:
            token = TOKEN.match(text, at)
        if token.lastgroup in ("block", "line"):
            line.append(" ")
        else:
            if not first and not token.group().isspace():
                first = numbers[at]
            line.append(token.group().replace("\n", " "))
        at = token.end()
    if first:
        yield first, "".join(line)


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
            text = f.read()
        for number, line in logical_lines(text):
            match = INCLUDE.match(line)
            if not match:
                continue
            quoted, angled, other = match.groups()
            if other is not None:
                found.append("%s:%d: %s includes %s, which the check cannot follow"
                             % (relative, number, own, other))
                continue
            written = quoted if quoted is not None else angled
            target = resolve(root, path, written, quoted is not None)
            if target is None:
                continue
            if target is OUTSIDE:
                found.append("%s:%d: %s includes %s, which leads outside the repository"
                             % (relative, number, own, written))
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
