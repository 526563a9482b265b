#!/usr/bin/python3
# Writes assets/termins.xml (the localised texts, spreadsheet XML) from tools/texts/en.txt,
# one "key<TAB>text" line each ('#' in a text is a line break in the game).
# Run from anywhere: /usr/bin/python3 tools/make_termins.py
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.join(HERE, "texts", "en.txt")
TARGET = os.path.join(HERE, "..", "assets", "termins.xml")


def escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def read_rows(path):
    rows = []
    seen = set()
    with open(path, encoding="ascii") as source:
        for number, line in enumerate(source, 1):
            line = line.rstrip("\r\n")
            if not line.strip():
                continue
            if "\t" not in line:
                sys.exit("%s:%d: no TAB between key and text" % (path, number))
            key, text = line.split("\t", 1)
            if not key:
                sys.exit("%s:%d: empty key" % (path, number))
            if key.lower() in seen:
                sys.exit("%s:%d: duplicate key %s" % (path, number, key))
            seen.add(key.lower())
            rows.append((key, text))
    return rows


def main():
    rows = read_rows(SOURCE)
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<Workbook xmlns="urn:schemas-microsoft-com:office:spreadsheet"'
           ' xmlns:ss="urn:schemas-microsoft-com:office:spreadsheet">',
           ' <Worksheet ss:Name="Texts">',
           '  <Table>']
    for key, text in rows:
        out.append('   <Row><Cell><Data ss:Type="String">%s</Data></Cell>'
                   '<Cell><Data ss:Type="String">%s</Data></Cell></Row>' % (escape(key), escape(text)))
    out += ['  </Table>', ' </Worksheet>', '</Workbook>']
    with open(TARGET, "w", encoding="ascii", newline="\n") as target:
        target.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
