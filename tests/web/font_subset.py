# SPDX-License-Identifier: GPL-3.0-or-later
"""The web edition's cut-down look-alike fonts: each family the program looks for is there, draws
every character of the game's texts and of the texts the forms' code writes, and none is named
with a name its licence reserves.

    font_subset.py FONTS_DIR GameFacts.json SCREENS_SRC "wanted|family|pattern|..."
"""

import fnmatch
import importlib.util
import json
import pathlib
import re
import sys

from fontTools.ttLib import TTFont

# The facts' texts are walked as the build's cutting walks them.
_spec = importlib.util.spec_from_file_location(
    "subset_fonts", pathlib.Path(__file__).resolve().parents[2] / "cmake" / "subset-fonts.py")
_subset_fonts = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(_subset_fonts)
texts = _subset_fonts.texts

# The names a user sees the font by (family, unique, full, PostScript, typographic, WWS).
PRIMARY_NAME_IDS = {1, 3, 4, 6, 16, 21}
LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')


def shown_characters(facts_path, screens):
    with open(facts_path, encoding="utf-8") as facts:
        shown = set("".join(texts(json.load(facts))))
    for source in sorted(screens.rglob("*.[ch]pp")) + sorted(screens.rglob("*.h")):
        for line in source.read_text(encoding="utf-8").splitlines():
            if not line.lstrip().startswith(("#include", "//")):
                shown.update("".join(LITERAL.findall(line)))
    return {c for c in shown if c.isprintable()}


def reserved_names(fonts):
    names = set()
    for licence in fonts.glob("*LICENSE*"):
        for found in re.findall(r"with Reserved Font(?: Names?)? ([A-Z][^.\n]*)\.",
                                licence.read_text(encoding="utf-8")):
            names.update(n.strip() for n in re.split(r",| and ", found) if n.strip())
    return names


def main():
    fonts, facts, screens = pathlib.Path(sys.argv[1]), sys.argv[2], pathlib.Path(sys.argv[3])
    rows = sys.argv[4].split("|")
    needed = shown_characters(facts, screens)
    reserved = reserved_names(fonts)
    problems = []
    if "Liberation" not in reserved:
        problems.append(f"the licences in {fonts} name no reserved font name: {reserved}")
    for wanted, family, pattern in zip(rows[0::3], rows[1::3], rows[2::3]):
        files = sorted(f for f in fonts.iterdir() if fnmatch.fnmatch(f.name, pattern))
        if not files:
            problems.append(f"{wanted}: no {pattern} in {fonts}")
        for path in files:
            font = TTFont(path)
            names = font["name"]
            if names.getDebugName(1) != family:
                problems.append(f"{path.name}: family {names.getDebugName(1)!r}, not {family!r}")
            missing = sorted(c for c in needed if ord(c) not in font.getBestCmap())
            if missing:
                problems.append(f"{path.name} cannot draw {''.join(missing)!r}")
            for record in names.names:
                if record.nameID in PRIMARY_NAME_IDS:
                    used = [r for r in reserved if r in record.toUnicode()]
                    if used:
                        problems.append(f"{path.name}: name {record.nameID} "
                                        f"{record.toUnicode()!r} uses {used}")
    for problem in problems:
        print(f"font_subset: {problem}", file=sys.stderr)
    print(f"font_subset: {len(rows) // 3} families, {len(needed)} characters shown, "
          f"reserved names {sorted(reserved)}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
