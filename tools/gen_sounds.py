#!/usr/bin/python3
# Writes the game's effects and music (assets/sounds, assets/music) and the sound test fixtures
# (tests/data/sound) with sox and oggenc. Run: /usr/bin/python3 tools/gen_sounds.py
# sox runs with -R and oggenc with a fixed serial per file, so the output is byte-identical on
# every run.
import os
import random
import subprocess
import sys
import tempfile
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
EFFECT_RATE = 22050
MUSIC_RATE = 22050

# Effects: name -> list of sox chains (each chain a list of effect words), concatenated.
EFFECTS = {
    "btnmouseenter": [["synth", "0.04", "sine", "2200", "fade", "q", "0.002", "0.04", "0.03"]],
    "btnmousedown": [["synth", "0.07", "square", "700", "lowpass", "2500", "fade", "q", "0.002", "0.07", "0.06"]],
    "flywindow": [["synth", "0.5", "pinknoise", "highpass", "400", "lowpass", "3500",
                   "fade", "h", "0.2", "0.5", "0.3"]],
    "showtutorial": [["synth", "0.7", "sine", "880", "sine", "1320", "remix", "-",
                      "fade", "q", "0.005", "0.7", "0.6"]],
    "colorselected": [["synth", "0.09", "sine", "1250", "fade", "q", "0.003", "0.09", "0.07"]],
    "colorcomplete": [["synth", "0.12", "pluck", "C5"], ["synth", "0.12", "pluck", "E5"],
                      ["synth", "0.12", "pluck", "G5"], ["synth", "0.4", "pluck", "C6"]],
    "fillcell": [["synth", "0.03", "sine", "1600", "fade", "q", "0.002", "0.03", "0.02"]],
    "fillarea": [["synth", "0.3", "sine", "500-1500", "fade", "q", "0.01", "0.3", "0.15"]],
    "hint": [["synth", "0.8", "sine", "1046.5", "sine", "1568", "remix", "-", "fade", "q", "0.005", "0.8", "0.7"]],
    "timeup": [["synth", "1.0", "sine", "880-180", "fade", "q", "0.01", "1.0", "0.3"]],
    "levelcomplete": [["synth", "0.15", "pluck", "G4"], ["synth", "0.15", "pluck", "C5"],
                      ["synth", "0.15", "pluck", "E5"], ["synth", "0.15", "pluck", "G5"],
                      ["synth", "0.6", "pluck", "C6"]],
    "gotstar": [["synth", "0.09", "pluck", "E6"], ["synth", "0.09", "pluck", "G6"],
                ["synth", "0.4", "pluck", "C7"]],
    "mapselectboard": [["synth", "0.2", "sine", "660", "sine", "990", "remix", "-",
                        "fade", "q", "0.003", "0.2", "0.17"]],
    "drop_tool": [["synth", "0.25", "sine", "400-150", "fade", "q", "0.005", "0.25", "0.2"]],
    "need_tool": [["synth", "0.12", "square", "220", "lowpass", "1200", "fade", "q", "0.005", "0.12", "0.05"],
                  ["synth", "0.12", "square", "196", "lowpass", "1200", "fade", "q", "0.005", "0.12", "0.08"]],
    "clockticking": [["synth", "0.03", "square", "3000", "lowpass", "5000", "fade", "q", "0.001", "0.03", "0.025"],
                     ["synth", "0.47", "sine", "0", "vol", "0"],
                     ["synth", "0.03", "square", "2400", "lowpass", "5000", "fade", "q", "0.001", "0.03", "0.025"],
                     ["synth", "0.47", "sine", "0", "vol", "0"]],
    "ho_item_found": [["synth", "0.1", "pluck", "A5"], ["synth", "0.35", "pluck", "E6"]],
    "gamename": [["synth", "0.18", "pluck", "C5"], ["synth", "0.18", "pluck", "G5"],
                 ["synth", "0.18", "pluck", "E5"], ["synth", "0.18", "pluck", "A5"],
                 ["synth", "0.7", "pluck", "C6"]],
    # The main menu's scene: a breeze when it opens, then birdsong.
    "scene_breeze": [["synth", "0.9", "pinknoise", "lowpass", "1500", "fade", "h", "0.45", "0.9", "0.45"]],
    "scene_birds": [["synth", "0.12", "sine", "2600-3900", "fade", "q", "0.005", "0.12", "0.05"],
                    ["synth", "0.28", "sine", "0", "vol", "0"],
                    ["synth", "0.12", "sine", "2800-4100", "fade", "q", "0.005", "0.12", "0.05"],
                    ["synth", "0.28", "sine", "0", "vol", "0"],
                    ["synth", "0.12", "sine", "3000-3600", "fade", "q", "0.005", "0.12", "0.05"],
                    ["synth", "0.28", "sine", "0", "vol", "0"]],
    # A tip appearing, and the scene's mill door creaking open when the menu shows.
    "tip": [["synth", "0.2", "sine", "1320", "fade", "q", "0.01", "0.2", "0.15"]],
    "scene_door": [["synth", "0.5", "sawtooth", "120-75", "tremolo", "22", "70", "lowpass", "900",
                    "fade", "q", "0.03", "0.5", "0.15"]],
    # Named by the stages' own lists in stages.xml, not by sounds.xml.
    "stagechime": [["synth", "0.25", "pluck", "E5"], ["synth", "0.45", "pluck", "B5"]],
}

# assets/sounds.xml, in this order: (element, id, file under assets/, loop, volume).
SOUNDS_XML = [
    ("music", "mainmenu", "music/mainmenu", -1, 0.8),
    ("music1", "game1", "music/game1", 1, 0.8),
    ("music1", "game2", "music/game2", 1, 0.8),
    ("sound", "btnmouseenter", "sounds/btnmouseenter", 1, 0.5),
    ("sound", "btnmousedown", "sounds/btnmousedown", 1, 0.6),
    ("sound", "flywindow", "sounds/flywindow", 1, 0.6),
    ("sound", "showtutorial", "sounds/showtutorial", 1, 0.8),
    ("sound", "colorselected", "sounds/colorselected", 1, 0.6),
    ("sound", "colorcomplete", "sounds/colorcomplete", 1, 0.9),
    ("sound", "fillcell", "sounds/fillcell", 1, 0.5),
    ("sound", "fillarea", "sounds/fillarea", 1, 0.7),
    ("sound", "hint", "sounds/hint", 1, 0.8),
    ("sound", "timeup", "sounds/timeup", 1, 0.9),
    ("sound", "levelcomplete", "sounds/levelcomplete", 1, 1.0),
    ("sound", "gotstar", "sounds/gotstar", 1, 0.9),
    ("sound", "mapselectboard", "sounds/mapselectboard", 1, 0.7),
    ("sound", "drop_tool", "sounds/drop_tool", 1, 0.7),
    ("sound", "need_tool", "sounds/need_tool", 1, 0.7),
    ("sound", "clockticking", "sounds/clockticking", 1, 0.6),
    ("sound", "ho_item_found", "sounds/ho_item_found", 1, 0.8),
    ("sound", "scene_breeze", "sounds/scene_breeze", 1, 0.4),
    ("sound", "scene_birds", "sounds/scene_birds", 1, 0.5),
    ("sound", "tip", "sounds/tip", 1, 0.6),
    ("sound", "scene_door", "sounds/scene_door", 1, 0.5),
    ("voice", "gamename", "sounds/gamename", 1, 1.0),
]

# The list and manager tests' sounds, over the fixtures.
LISTS_XML = """<?xml version="1.0" encoding="utf-8"?>
<sounds>
    <sound id="both" name="short" />
    <sound id="twice" name="short" loop="2" />
    <sound id="endless" name="long" loop="-1" />
    <sound id="later" name="short" delay="2" />
    <sound id="soft" name="long" volume="0.8" />
    <sound name="short" />
    <voice id="both" name="long" />
    <voice id="jingle" name="short" />
    <stage id="stagesound" name="short" />
    <music id="track1" name="short" />
    <music id="track2" name="long" />
    <music id="track3" name="short" />
</sounds>
"""

# Music: a melody drawn from a fixed seed over a chord progression, a bass line under it.
MUSIC = {
    "mainmenu": dict(seed=11, beat=0.3, bars=20, chords=["C", "Am", "F", "G"]),
    "game1": dict(seed=23, beat=0.28, bars=22, chords=["F", "Dm", "Bb", "C"]),
    "game2": dict(seed=37, beat=0.32, bars=18, chords=["Am", "F", "C", "G"]),
}
CHORD_NOTES = {
    "C": ["C", "E", "G"], "Am": ["A", "C", "E"], "F": ["F", "A", "C"], "G": ["G", "B", "D"],
    "Dm": ["D", "F", "A"], "Bb": ["A#", "D", "F"],
}


def run(cmd):
    subprocess.run(cmd, check=True)


def serial_of(name):
    return str(zlib.crc32(name.encode()) & 0x7FFFFFFF)


def sox_chains(out_wav, rate, chains, after=None):
    cmd = ["sox", "-R", "-n", "-r", str(rate), "-c", "1", "-b", "16", "-e", "signed-integer", out_wav]
    for i, chain in enumerate(chains):
        if i:
            cmd.append(":")
        cmd += chain
    run(cmd)
    if after:
        tmp = out_wav + ".post.wav"
        run(["sox", "-R", out_wav, tmp] + after)
        os.replace(tmp, out_wav)


def encode(wav, out_ogg, name):
    os.makedirs(os.path.dirname(out_ogg), exist_ok=True)
    run(["oggenc", "-Q", "-q", "2", "-s", serial_of(name), wav, "-o", out_ogg])


def make_effect(tmp, name, chains):
    wav = os.path.join(tmp, name + ".wav")
    sox_chains(wav, EFFECT_RATE, chains, after=["gain", "-n", "-1"])
    encode(wav, os.path.join(ROOT, "assets", "sounds", name + ".ogg"), name)


def make_music(tmp, name, seed, beat, bars, chords):
    rng = random.Random(seed)
    melody, bass = [], []
    for bar in range(bars):
        chord = CHORD_NOTES[chords[bar % len(chords)]]
        bass.append(["synth", str(beat * 4), "triangle", chord[0] + "2", "fade", "q", "0.02",
                     str(beat * 4), str(beat * 2), "vol", "0.5"])
        beats = 0
        while beats < 4:
            length = rng.choice([1, 1, 1, 2]) if beats < 3 else 1
            note = rng.choice(chord + chord + ["D", "A"]) + rng.choice(["4", "5", "5"])
            melody.append(["synth", str(beat * length), "pluck", note])
            beats += length
    total = bars * 4 * beat
    mel, bas = os.path.join(tmp, name + "_m.wav"), os.path.join(tmp, name + "_b.wav")
    sox_chains(mel, MUSIC_RATE, melody)
    sox_chains(bas, MUSIC_RATE, bass)
    wav = os.path.join(tmp, name + ".wav")
    # Both ends fade to silence so that a looping track never clicks at the seam.
    run(["sox", "-R", "-m", mel, bas, "-b", "16", wav, "gain", "-n", "-2",
         "fade", "t", "1.5", str(total), "2.5"])
    encode(wav, os.path.join(ROOT, "assets", "music", name + ".ogg"), name)


def write_text(path, text):
    with open(path, "w", newline="\n") as f:
        f.write(text)


def make_sounds_xml():
    lines = ['<?xml version="1.0" encoding="utf-8"?>', "<sounds>"]
    for element, sound_id, name, loop, volume in SOUNDS_XML:
        lines.append('    <%s id="%s" name="%s" loop="%d" volume="%.1f" />' % (element, sound_id, name, loop, volume))
    lines.append("</sounds>")
    write_text(os.path.join(ROOT, "assets", "sounds.xml"), "\n".join(lines) + "\n")


def make_fixtures(tmp):
    data = os.path.join(ROOT, "tests", "data", "sound")
    os.makedirs(data, exist_ok=True)
    write_text(os.path.join(data, "lists.xml"), LISTS_XML)
    short = os.path.join(tmp, "short.wav")
    sox_chains(short, 22050, [["synth", "0.2", "sine", "440"]])
    encode(short, os.path.join(data, "short.ogg"), "short")
    long_wav = os.path.join(tmp, "long.wav")
    run(["sox", "-R", "-n", "-r", "44100", "-c", "2", "-b", "16", "-e", "signed-integer", long_wav,
         "synth", "1.5", "sine", "330", "sine", "495", "gain", "-3"])
    encode(long_wav, os.path.join(data, "long.ogg"), "long")
    with open(os.path.join(data, "notogg.ogg"), "w") as f:
        f.write("This is plain text, not an Ogg Vorbis stream.\n")
    make_damaged(os.path.join(data, "long.ogg"), os.path.join(data, "damaged.ogg"))


def make_damaged(source, target):
    # Keeps the header pages and the last page (so the file still opens) and overwrites the
    # audio pages between them, capture patterns included, with fixed garbage.
    data = bytearray(open(source, "rb").read())
    pages = []
    pos = data.find(b"OggS")
    while pos >= 0:
        pages.append(pos)
        pos = data.find(b"OggS", pos + 4)
    rng = random.Random(5)
    start, end = pages[2], pages[-1]
    for i in range(start, end):
        data[i] = rng.randrange(256)
    with open(target, "wb") as f:
        f.write(data)


def main():
    with tempfile.TemporaryDirectory() as tmp:
        for name, chains in EFFECTS.items():
            make_effect(tmp, name, chains)
        for name, args in MUSIC.items():
            make_music(tmp, name, **args)
        make_fixtures(tmp)
    make_sounds_xml()
    return 0


if __name__ == "__main__":
    sys.exit(main())
