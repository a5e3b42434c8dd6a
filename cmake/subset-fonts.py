#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Cuts a font down to the characters the game can show, for the web edition's first download.

    subset-fonts.py --facts GameFacts.json [--rename "Old Family=New Family"] IN OUT

The characters: every text of the game's facts, and a margin for the texts written in the code
(Italian letters, the usual punctuation and signs). --rename gives the cut-down font another
family name where the original's licence reserves its own for the unmodified font (SIL OFL 1.1
section 3): every name record but the copyright, trademark and licence ones."""

import argparse
import json
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

# Printable Basic Latin and all of Latin-1 (the Italian letters, « », ×, ÷ and the rest), with
# the quotes, dashes, ellipsis and minus sign a text may use.
MARGIN = ([chr(c) for c in range(0x20, 0x7F)] + [chr(c) for c in range(0xA0, 0x100)] +
          list("‘’“”…–—−"))

# Copyright, trademark, licence and its address: they name the original as its authors wrote it.
KEPT_NAME_IDS = {0, 7, 13, 14}


def texts(value):
    """Every string in a JSON value."""
    if isinstance(value, str):
        yield value
    elif isinstance(value, list):
        for item in value:
            yield from texts(item)
    elif isinstance(value, dict):
        for item in value.values():
            yield from texts(item)


def characters(facts_path):
    with open(facts_path, encoding="utf-8") as facts:
        shown = set("".join(texts(json.load(facts))))
    return sorted((shown | set(MARGIN)) - {"\n", "\t"})


def rename(font, old, new):
    old_compact, new_compact = old.replace(" ", ""), new.replace(" ", "")
    for record in font["name"].names:
        if record.nameID in KEPT_NAME_IDS:
            continue
        text = record.toUnicode()
        renamed = text.replace(old, new).replace(old_compact, new_compact)
        if record.nameID == 3:  # the unique name: the new family's, not the foundry's
            style = font["name"].getDebugName(2) or ""
            renamed = f"{new} {style}".strip()
        if renamed != text:
            record.string = renamed
    left = [r.nameID for r in font["name"].names
            if r.nameID not in KEPT_NAME_IDS and old_compact in r.toUnicode().replace(" ", "")]
    if left:
        sys.exit(f"subset-fonts: name records {sorted(set(left))} still say {old}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--facts", required=True)
    parser.add_argument("--rename", metavar="OLD=NEW")
    parser.add_argument("original")
    parser.add_argument("output")
    args = parser.parse_args()

    font = TTFont(args.original)
    options = subset.Options()
    options.name_IDs = ["*"]  # the copyright and the licence stay with the font
    options.name_languages = ["*"]
    options.notdef_outline = True
    # A TrueType font's hinting is half of it cut down, and the forms drew the same, pixel for
    # pixel, without it; a PostScript font's is a few bytes, and without it the forms drew
    # differently.
    options.hinting = "glyf" not in font
    options.drop_tables += ["FFTM"]  # the font editor's time stamps
    options.recalc_timestamp = False  # the same input makes the same file
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=[ord(c) for c in characters(args.facts)])
    subsetter.subset(font)
    if args.rename:
        old, _, new = args.rename.partition("=")
        rename(font, old, new)
    font.save(args.output)


if __name__ == "__main__":
    main()
