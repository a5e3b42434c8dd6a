# SPDX-License-Identifier: GPL-3.0-or-later
"""msi_class_setup.py MSI STATE: a class's set-up given to the MSI as a school's IT does
(msiexec /i ... /qn OPERAZIONI=addizione LIVELLI=1). A set-up the program accepts reaches the
Start-menu shortcut's arguments, which the installed program reads as given; one it refuses
fails the install with the program's own message in the log, and leaves nothing installed."""
import os
import struct
import subprocess
import sys
import time

from msi_install import log_of, msiexec, prop, removed, shortcuts
# tests/e2e is on the path once msi_install is imported.
from vortani_e2e import Screen, check, finish, private_wine, stop

PROGRAM = r"C:\Program Files\Vortani Puzzle\Vortani.exe"

# The properties; the shortcut's arguments and the program's argv that they must make, None
# when the install must fail; what its log must say then; whether the game is played, which
# must then offer Addizione alone.
ROWS = [
    ([], "", [], None, False),
    (["OPERAZIONI=addizione", "LIVELLI=1"], "--operazioni=addizione --livelli=1",
     ["--operazioni=addizione", "--livelli=1"], None, True),
    # A space keeps the value one argument; the accent reaches the program as typed.
    (["OPERAZIONI=addizione, divisione", "SUONI=sì", "VOCE=no"],
     '"--operazioni=addizione, divisione" --suoni=sì --voce=no',
     ["--operazioni=addizione, divisione", "--suoni=sì", "--voce=no"], None, False),
    (["LIVELLI=5"], None, None, "«5» non è un livello", False),
]


def link_arguments(path):
    """The arguments a shell link (.lnk) gives its target, read from the file's own layout."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"\x4c\0\0\0":
        return None
    flags = struct.unpack_from("<I", data, 0x14)[0]
    at = 0x4C
    if flags & 0x01:  # an item list for the target
        at += 2 + struct.unpack_from("<H", data, at)[0]
    if flags & 0x02:  # where the target lies
        at += struct.unpack_from("<I", data, at)[0]
    wide = flags & 0x80
    # The strings that follow, in this order, each present when its flag is: name, relative
    # path, working folder, arguments.
    for flag in (0x04, 0x08, 0x10, 0x20):
        if flags & flag:
            size = struct.unpack_from("<H", data, at)[0] * (2 if wide else 1)
            text = data[at + 2:at + 2 + size].decode("utf-16-le" if wide else "cp1252")
            at += 2 + size
            if flag == 0x20:
                # Wine counts a terminating NUL, which Windows does not write.
                return text.rstrip("\0")
    return ""


def logged(path, text):
    """Whether the installer's log holds text, in the system's ANSI code page as Wine writes it
    or in Unicode."""
    with open(path, "rb") as f:
        log = f.read()
    return any(text.encode(codec) in log for codec in ("cp1252", "utf-8", "utf-16-le"))


def server_ended(env):
    subprocess.run(["wineserver", "-k"], env=env)
    subprocess.run(["wineserver", "-w"], env=env)


def plays_only_addition(argv, state, env):
    """Started with argv, the game opens no exercise for Sottrazione, which is not offered, and
    one for Addizione: a second window, titled as the first on Windows."""
    with open(os.path.join(state, "game.log"), "w") as out:
        game = subprocess.Popen(["wine", PROGRAM, *argv], stdin=subprocess.DEVNULL, stdout=out,
                                stderr=out, env=env)
    screen = Screen(env)
    try:
        start = screen.wait_windows(1, 60)
        check(start, "the game shows its start window", fatal=True)
        origin = screen.origin(start[0])
        wait = 5.0
        screen.press(origin, "startForm/operationButton_1")
        none = not screen.wait_windows(2, wait)
        began = time.monotonic()
        screen.press(origin, "startForm/operationButton_0")
        opened = screen.wait_windows(2, 60)
        took = time.monotonic() - began
        # The wait for Sottrazione means something only if Addizione's window comes sooner.
        check(none and opened and took < wait,
              f"Sottrazione opens nothing in {wait:.0f} s; Addizione opens its window "
              f"({bool(opened)}) in {took:.1f} s")
    finally:
        stop(game)
        server_ended(env)


def accepted(msi, row, state, env):
    properties, arguments, argv, _, play = row
    status = msiexec("/i", msi, state, env, *properties)
    check(status == 0, f"{properties}: msiexec /i exited with {status}", fatal=True)
    links = shortcuts(os.path.join(env["WINEPREFIX"], "drive_c"))
    found = [link_arguments(p) for p in links]
    check(found == [arguments], f"{properties}: one shortcut, with the arguments {arguments!r} "
          f"(found {found})")
    if argv:
        run = subprocess.run(["wine", PROGRAM, *argv, "--verifica"], capture_output=True,
                             stdin=subprocess.DEVNULL, env=env)
        errors = run.stderr.decode("utf-8", "replace")
        check(run.returncode == 0 and "vortani:" not in errors,
              f"{argv} --verifica: status {run.returncode} {errors.strip()}")
    if play:
        plays_only_addition(argv, state, env)
    status = msiexec("/x", msi, state, env)
    check(status == 0, f"{properties}: msiexec /x exited with {status}", fatal=True)


def refused(msi, row, state, env):
    properties, _, _, message, _ = row
    status = msiexec("/i", msi, state, env, *properties)
    check(status != 0 and logged(log_of(state), message),
          f"{properties}: the install fails (status {status}) and its log "
          f"{os.path.basename(log_of(state))} says {message!r}")
    # The registry's files are written once the server has ended.
    server_ended(env)
    removed(os.path.join(env["WINEPREFIX"], "drive_c"), f"{properties}: the failed install",
            [prop(msi, "ProductCode").strip("{}")], env)


def main(argv):
    msi, state = map(os.path.abspath, argv[:2])
    check(os.path.isfile(msi), f"{msi} is there (built by the target windows_packages)",
          fatal=True)
    with private_wine(state) as env:
        for row in ROWS:
            (accepted if row[1] is not None else refused)(msi, row, state, env)
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
