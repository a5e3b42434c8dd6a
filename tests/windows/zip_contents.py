# SPDX-License-Identifier: GPL-3.0-or-later
"""zip_contents.py ZIP PICTURES OBJDUMP CHECK_IMPORTS STATE: the unpacked zip's files and imports,
and the program started from that folder alone."""
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from vortani_e2e import check, finish, private_wine, stop, window_of


def unpack(archive, state):
    """The zip unpacked under state: (the folder it unpacks into, the one holding the program)."""
    check(os.path.isfile(archive), f"{archive} is there (built by the target windows_packages)",
          fatal=True)
    unpacked = os.path.join(state, "unpacked")
    os.makedirs(unpacked)
    subprocess.run(["cmake", "-E", "tar", "xf", archive], cwd=unpacked, check=True)
    return unpacked, os.path.join(unpacked, "Vortani Puzzle")


def starts(folder, state, env, what="Vortani.exe"):
    """Started from elsewhere than the program's folder: its DLLs must come from that folder
    alone."""
    game, why = window_of(os.path.join(folder, "Vortani.exe"), os.path.join(state, "program.log"),
                          state, env)
    try:
        check(not why, f"{what} starts from the unpacked folder alone and shows its window {why}")
    finally:
        stop(game)


def contents(unpacked, folder, pictures, objdump, check_imports, state):
    """Exactly the files shipped; the import check passes on them and sees a DLL missing or
    one too many."""
    expected = ["Vortani.exe", "Qt6Core.dll", "Qt6Gui.dll", "Qt6Widgets.dll",
                "Qt6PrintSupport.dll", "libstdc++-6.dll", "libgcc_s_seh-1.dll",
                "libwinpthread-1.dll", "platforms/qwindows.dll", "imageformats/qjpeg.dll",
                "LICENSE.txt", "NOTICES.txt", "ComicNeue-Regular.otf", "ComicNeue-Bold.otf",
                "LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf",
                "LiberationSans-Italic.ttf", "LiberationSans-BoldItalic.ttf",
                "fonts-comic-neue-LICENSE.txt", "fonts-liberation2-LICENSE.txt"
                ] + [f"pic{n}.jpg" for n in range(1, int(pictures) + 1)]
    want = {f"Vortani Puzzle/{name}" for name in expected}
    have = {os.path.relpath(os.path.join(top, name), unpacked)
            for top, _, names in os.walk(unpacked) for name in names}
    with open(os.path.join(folder, "LICENSE.txt"), errors="replace") as f:
        lgpl = "GNU LESSER GENERAL PUBLIC LICENSE" in f.read()
    check(want == have and lgpl, f"exactly {len(expected)} files in one folder 'Vortani Puzzle', "
          f"the LGPL among them (missing {sorted(want - have)}, unexpected {sorted(have - want)}"
          f"{'' if lgpl else ', LICENSE.txt lacks the LGPL'})")

    # The notice has a heading of its own for each DLL, as the folder names it.
    with open(os.path.join(folder, "NOTICES.txt"), encoding="utf-8", newline="") as f:
        headings = set(f.read().split("\r\n"))
    dlls = {os.path.relpath(name, "Vortani Puzzle").replace("/", "\\")
            for name in have if name.endswith(".dll")}
    check(dlls and dlls <= headings, f"NOTICES.txt (CRLF) names each of the {len(dlls)} DLLs "
          f"(unnamed: {sorted(dlls - headings)})")

    def imports(where):
        run = subprocess.run(["cmake", f"-DOBJDUMP={objdump}", f"-DFOLDER={where}", "-P",
                              check_imports], capture_output=True, text=True)
        return run.returncode == 0, run.stdout + run.stderr
    fine, report = imports(folder)
    broken = os.path.join(state, "broken")
    shutil.copytree(folder, broken)
    os.rename(os.path.join(broken, "libwinpthread-1.dll"), os.path.join(broken, "extra.dll"))
    refused, broken_report = imports(broken)
    seen = (fine and not refused
            and "imports libwinpthread-1.dll, which is neither" in broken_report
            and "extra.dll is shipped, but nothing" in broken_report)
    check(seen, "every DLL imported is in the folder or Windows' own; the check sees one missing "
          "or extra" + ("" if seen else f"\n{report}{broken_report}"))


def main(argv):
    archive, pictures, objdump, check_imports, state = argv[:5]
    archive, check_imports, state = map(os.path.abspath, (archive, check_imports, state))
    with private_wine(state) as env:
        unpacked, folder = unpack(archive, state)
        contents(unpacked, folder, pictures, objdump, check_imports, state)
        starts(folder, state, env)
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
