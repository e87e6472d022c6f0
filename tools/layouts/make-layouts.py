#!/usr/bin/env python3
"""Writes the keyboard layout files of the shipped languages.

Reads the layout tables (LANG.full.tsv: scan code, the characters without and
with Shift, letter or sign, which levels are dead keys, whether the characters
exist in the code page) and writes data/Modules/Languages/<Language>.Layout in
the language's single-byte code page. A dead key types nothing by itself, so
its level gets no character; a key without any character shows nothing.

Usage: make-layouts.py TABLES_DIR OUTPUT_DIR
  e.g. tools/layouts/make-layouts.py ../shared/languages/layouts data/Modules/Languages
"""

import csv
import os
import sys

LANGUAGES = [
    # table, file name, code page
    ("en", "English", "cp1252"),
    ("ru", "Russian", "cp1251"),
    ("de", "German", "cp1252"),
    ("fr", "French", "cp1252"),
    ("es", "Spanish", "cp1252"),
    ("uk", "Ukrainian", "cp1251"),
]

XML_ENCODING = {"cp1252": "windows-1252", "cp1251": "windows-1251"}

# The 47 character keys of the main block; the space bar comes last.
CHARACTER_KEYS = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 16, 17, 18, 19, 20, 21, 22, 23, 24,
                  25, 26, 27, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 43, 44, 45, 46,
                  47, 48, 49, 50, 51, 52, 53}
SPACE_BAR = '    <button sc="57" type="sign" value=" " shiftvalue=" " caption="Space"/>'


def attribute(text):
    return (text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
            .replace('"', "&quot;"))


def read_table(path):
    rows = []
    with open(path, encoding="utf-8") as f:
        lines = [line for line in f if not line.startswith("#")]
    for row in csv.DictReader(lines, delimiter="\t", quoting=csv.QUOTE_NONE):
        scan = int(row["scancode"])
        if scan in CHARACTER_KEYS:
            rows.append(row)
    found = {int(r["scancode"]) for r in rows}
    if found != CHARACTER_KEYS:
        sys.exit(f"{path}: keys missing: {sorted(CHARACTER_KEYS - found)}")
    return rows


def key_line(row, codepage, path):
    dead = set(row["dead"].split(",")) if row["dead"] not in ("", "-") else set()
    kind = "letter" if row["type"] == "letter" else "sign"
    parts = [f'sc="{int(row["scancode"])}"', f'type="{kind}"']
    for level, name in (("unshifted", "value"), ("shifted", "shiftvalue")):
        ch = row[level]
        if level in dead or ch == "":
            continue
        if len(ch) != 1:
            sys.exit(f"{path}: key {row['scancode']}: '{ch}' is not one character")
        try:
            ch.encode(codepage)
        except UnicodeEncodeError:
            continue  # not in the code page: the key types nothing at this level
        parts.append(f'{name}="{attribute(ch)}"')
    return "    <button " + " ".join(parts) + "/>"


def write_layout(tables, output, table, name, codepage):
    path = os.path.join(tables, f"{table}.full.tsv")
    rows = read_table(path)
    rows.sort(key=lambda r: int(r["scancode"]))
    lines = [f'<?xml version="1.0" encoding="{XML_ENCODING[codepage]}"?>',
             f"<!-- {name} keyboard layout, written by tools/layouts/make-layouts.py. -->",
             "<keyboard>", "  <buttons>"]
    lines += [key_line(row, codepage, path) for row in rows]
    lines += [SPACE_BAR, "  </buttons>", "</keyboard>", ""]
    target = os.path.join(output, f"{name}.Layout")
    with open(target, "wb") as f:
        f.write("\r\n".join(lines).encode(codepage))
    print(f"{target}: {len(rows) + 1} keys")


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    tables, output = sys.argv[1], sys.argv[2]
    os.makedirs(output, exist_ok=True)
    for table, name, codepage in LANGUAGES:
        write_layout(tables, output, table, name, codepage)


if __name__ == "__main__":
    main()
