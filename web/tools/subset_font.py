#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
"""Cuts IPAPGothic down to the characters the page shows, under a name of its own.

  subset_font.py SOURCE TEXTS FONT LICENCE COPYRIGHT

SOURCE is ipagp.ttf; TEXTS the window's texts, one a line (printable ASCII is always kept, for
numbers and the page's sentences); FONT the WOFF written; LICENCE the licence file written beside
it, made from the font package's COPYRIGHT file. The IPA Font License lets a derived font be
shared only under another name, with the licence and a way back to the original.
"""
import sys

from fontTools import subset

FAMILY = "Needle PGothic"
POSTSCRIPT_NAME = "NeedlePGothic"
# Family, unique id, full name, PostScript name, typographic family.
RENAMED = {1: FAMILY, 3: FAMILY + " 003.03 subset", 4: FAMILY, 6: POSTSCRIPT_NAME, 16: FAMILY}

ABOUT = """{family} ({font}, and the same font inlined in font.js) is a derived program of
IPAPGothic (ipagp.ttf, IPAfont 003.03), cut down to the characters this page shows and renamed,
as Article 3 of the licence below asks. It is licensed under the same IPA Font License
Agreement v1.0. No other file was made in deriving it.

To use the original instead: install IPAPGothic (Debian's fonts-ipafont-gothic, or ipagp.ttf
from https://moji.or.jp/ipafont/) and delete the line that loads font.js from index.html; the
page then asks the system for IPAPGothic by name.

"""


def rename(font):
    table = font["name"]
    table.names = [record for record in table.names if record.nameID not in RENAMED]
    for name_id, text in RENAMED.items():
        table.setName(text, name_id, 3, 1, 0x409)
        table.setName(text, name_id, 1, 0, 0)


def licence_text(copyright_path):
    """The IPA-1 licence paragraph of a Debian copyright file, as plain text."""
    lines = open(copyright_path, encoding="utf-8").read().splitlines()
    # The licence's own paragraph, not the line of the paragraph that names its files.
    start = len(lines) - lines[::-1].index("License: IPA-1")
    text = []
    for line in lines[start:]:
        if not line.startswith(" "):
            break
        text.append("" if line == " ." else line[1:])
    return "\n".join(text) + "\n"


def main(source, texts, font_path, licence_path, copyright_path):
    options = subset.Options()
    options.flavor = "woff"
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    font = subset.load_font(source, options)
    subsetter = subset.Subsetter(options)
    shown = open(texts, encoding="utf-8").read()
    subsetter.populate(text=shown + "".join(map(chr, range(0x20, 0x7F))))
    subsetter.subset(font)
    rename(font)
    subset.save_font(font, font_path, options)
    with open(licence_path, "w", encoding="utf-8") as licence:
        licence.write(ABOUT.format(family=FAMILY, font=font_path.rsplit("/", 1)[-1]))
        licence.write(licence_text(copyright_path))


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    main(*sys.argv[1:])
