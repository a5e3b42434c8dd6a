# SPDX-License-Identifier: GPL-3.0-or-later
"""notices.py QT_NOTICES GCC_COPYRIGHT MINGW_COPYRIGHT SOURCE_ARCHIVE FOLDER OUT DLL=VERSION...:
writes OUT, the notice of every component built into each DLL in FOLDER, read from
the copyright and attribution files of the sources that were built; fails on a DLL it cannot
name, or on a component whose files are not there."""
import glob
import json
import os
import re
import sys

# What each shipped DLL holds besides its own code, by attribution Id. Chosen from the configure
# options of scripts/build-qt-mingw.sh (-qt-zlib -qt-libpng ..., no network, no Vulkan) and
# checked against the strings in the built DLLs; Unix-, macOS-, ARM- and Wasm-only parts left out.
QT = ["qt"]
BUILT_INTO = {
    "Qt6Core.dll": QT + ["zlib", "pcre2", "pcre2-sljit", "doubleconversion", "tinycbor",
                         "siphash", "easing", "md4", "md5", "sha1", "sha3_endian", "sha3_keccak",
                         "rfc6234", "blake2", "unicode-character-database", "unicode-cldr"],
    "Qt6Gui.dll": QT + ["freetype", "freetype-zlib", "freetype-bdf", "freetype-pcf",
                        "grayraster", "harfbuzz-ng", "libpng", "md4c", "icc-sRGB-color-profile",
                        "smooth-scaling-algorithm", "xserverhelper"],
    "Qt6Widgets.dll": QT,
    "Qt6PrintSupport.dll": QT,
    "qwindows.dll": QT,
    "qjpeg.dll": QT + ["libjpeg"],
    "libstdc++-6.dll": ["gcc-runtime"],
    "libgcc_s_seh-1.dll": ["gcc-runtime"],
    "libwinpthread-1.dll": ["winpthreads"],
}


def fail(message):
    sys.exit(f"notices.py: {message}")


def read(path):
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            return f.read().replace("\r\n", "\n").strip("\n")
    except OSError as error:
        fail(f"cannot read {path}: {error}")


def debian_paragraphs(text):
    return [p for p in re.split(r"\n\s*\n", text) if p.strip()]


def field(paragraph, name):
    """A field of a Debian copyright paragraph, its continuation lines joined with newlines."""
    match = re.search(rf"^{name}:[ \t]*(.*(?:\n[ \t].*)*)", paragraph, re.M)
    return match.group(1).strip() if match else None


def attributions(qt_notices):
    found = {}
    for path in glob.glob(os.path.join(qt_notices, "src", "**", "qt_attribution.json"),
                          recursive=True):
        with open(path, encoding="utf-8") as f:
            entries = json.load(f, strict=False)  # some carry raw newlines in their strings
        for entry in entries if isinstance(entries, list) else [entries]:
            found[entry["Id"]] = (entry, os.path.dirname(path))
    return found


def qt_component(qt_notices):
    version = read(os.path.join(qt_notices, "version"))
    copyright = read(os.path.join(qt_notices, "debian-copyright"))
    general = next((p for p in debian_paragraphs(copyright) if field(p, "Files") == "*"), None)
    if not general:
        fail("Debian's copyright file of qt6-base has no 'Files: *' paragraph")
    if not os.path.isfile(os.path.join(qt_notices, "LICENSES", "LGPL-3.0-only.txt")):
        fail("Qt's LICENSES/LGPL-3.0-only.txt is missing")
    return ("Qt", version.split()[-1], field(general, "License") + " (used under the LGPL-3.0)",
            field(general, "Copyright"), [])


def legal_section(readme):
    """The IJG README's LEGAL ISSUES, whose notice the IJG licence requires."""
    match = re.search(r"^LEGAL ISSUES\n=+\n(.*?)(?=\n\n[A-Z][A-Z ]+\n=+\n)", readme, re.S | re.M)
    if not match:
        fail("README.ijg has no LEGAL ISSUES section")
    return match.group(1).strip("\n")


def bundled_component(entry, folder, root):
    files = entry.get("LicenseFiles") or entry.get("LicenseFile") or []
    texts = []
    for name in [files] if isinstance(files, str) else files:
        path = os.path.normpath(os.path.join(folder, name))
        if os.path.isfile(path):
            texts.append(read(path))
    if not texts:  # not kept by an older Qt cache: Qt's SPDX texts, where one fits
        for spdx in re.split(r" (?:AND|OR) ", entry.get("LicenseId") or ""):
            path = os.path.join(root, "LICENSES", f"{spdx}.txt")
            if os.path.isfile(path):
                texts.append(read(path))
    if entry["Id"] == "libjpeg":
        texts.append(legal_section(read(os.path.join(folder, "src", "README.ijg"))))
    if not texts and entry.get("License") != "Public Domain":
        # Qt caches made before the recipe kept every *LICENSE* file: point into Qt's source.
        where = os.path.relpath(os.path.normpath(os.path.join(folder, str(files))), root)
        texts.append(f"The full text is in Qt's source (see Corresponding source) at {where}.")
    return (entry["Name"], entry.get("Version", "(not numbered)"), entry["License"],
            entry.get("Copyright", "").strip(), texts)


def gcc_component(path, version):
    text = read(path)
    libraries = re.search(r"^The following runtime libraries are licensed.*?\n\n(?=\S)", text,
                          re.S | re.M)
    exception = re.search(r"^GCC RUNTIME LIBRARY EXCEPTION\n.*?^The availability of this "
                          r"Exception.*?\n\n", text, re.S | re.M)
    if not libraries or not exception or "libstdc++" not in libraries.group(0):
        fail(f"{path} does not state the GCC Runtime Library Exception for libstdc++")
    holder = re.search(r"Free Software Foundation, Inc\.", text)
    if not holder:
        fail(f"{path} does not name the Free Software Foundation")
    return ("GCC runtime (libstdc++, libgcc)", version,
            "GPL-3.0-or-later WITH GCC-exception-3.1 (GPL-3.0 text in LICENSE.txt)",
            holder.group(0),
            [libraries.group(0).strip("\n"), exception.group(0).strip("\n")])


def winpthreads_component(path, version):
    paragraphs = debian_paragraphs(read(path))
    ours = [p for p in paragraphs if (field(p, "Files") or "").startswith(
        "mingw-w64-libraries/winpthreads/") and "tests_pthread" not in field(p, "Files")]
    if not ours:
        fail(f"{path} names no winpthreads files")
    texts, licences = [], []
    for p in ours:
        licence = field(p, "License")
        licences.append(licence.split("\n")[0])
        texts.append(p)
        if "\n" not in licence:  # the text is in a paragraph of its own
            text = next((q for q in paragraphs if q.startswith(f"License: {licence}\n")), None)
            if not text:
                fail(f"{path} lacks the text of licence {licence}")
            texts.append(text)
    return ("winpthreads (mingw-w64)", version, ", ".join(dict.fromkeys(licences)),
            "\n".join(field(p, "Copyright") for p in ours), list(dict.fromkeys(texts)))


def main():
    qt_notices, gcc_copyright, mingw_copyright, source_archive, folder, out = sys.argv[1:7]
    versions = dict(arg.split("=", 1) for arg in sys.argv[7:])
    gcc_version = versions["libstdc++-6.dll"]
    mingw_version = versions["libwinpthread-1.dll"]
    shipped = sorted(os.path.relpath(os.path.join(top, name), folder).replace(os.sep, "\\")
                     for top, _, names in os.walk(folder) for name in names
                     if name.lower().endswith(".dll"))
    unnamed = [dll for dll in shipped if dll.split("\\")[-1] not in BUILT_INTO]
    if unnamed:
        fail(f"{', '.join(unnamed)} shipped in {folder} but has no entry in the notice: "
             "name what it is built from in packaging/windows/notices.py")
    known = attributions(qt_notices)
    components = {"qt": qt_component(qt_notices),
                  "gcc-runtime": gcc_component(gcc_copyright, gcc_version),
                  "winpthreads": winpthreads_component(mingw_copyright, mingw_version)}
    qt_version = components["qt"][1]
    sources = read(os.path.join(qt_notices, "debian-source-files")).split()

    out_lines = [
        "Componenti di terze parti / Third-party components",
        "",
        "Each library in this folder, the components built into it, and their licences and",
        "copyright notices, as found in the sources they were built from.",
        "",
        "Corresponding source",
        "--------------------",
        f"- Vortani Puzzle: {source_archive}, published beside this zip and MSI. It also holds",
        "  the recipe that built Qt: scripts/build-qt-mingw.sh and cmake/mingw-w64.cmake.",
        f"- Qt {qt_version}: Debian's qt6-base source package {qt_version}, files:",
        *[f"    {name}" for name in sources],
        "  from https://snapshot.debian.org/package/qt6-base/"
        f"{qt_version.replace('+', '%2B')}/ or https://deb.debian.org/debian/pool/main/q/qt6-base/",
        f"- GCC runtime {gcc_version} and winpthreads {mingw_version}: Debian's gcc-mingw-w64",
        "  and mingw-w64 source packages of those versions, from the same two archives.",
        "",
    ]
    for dll in shipped:
        out_lines += ["", "=" * 72, f"{dll}", "=" * 72]
        for cid in BUILT_INTO[dll.split("\\")[-1]]:
            if cid not in components:
                if cid not in known:
                    fail(f"no qt_attribution.json entry {cid} in {qt_notices}")
                components[cid] = bundled_component(*known[cid], qt_notices)
            name, version, licence, copyright, _ = components[cid]
            out_lines += ["", f"* {name} {version}", f"  Licence: {licence}"]
            out_lines += [f"  Copyright: {line.strip()}" for line in copyright.split("\n")
                          if line.strip()]
    out_lines += ["", "", "=" * 72, "Licence texts", "=" * 72]
    for name, version, _, _, texts in components.values():
        for text in texts:
            out_lines += ["", f"---- {name} {version} ----", "", text]
    with open(out, "w", encoding="utf-8", newline="\r\n") as f:
        f.write("\n".join(out_lines) + "\n")


if __name__ == "__main__":
    main()
