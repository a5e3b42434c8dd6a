# SPDX-License-Identifier: GPL-3.0-or-later
"""msi_install.py MSI WXS STAGED PUBLISHER STATE: silent install, start, upgrade and removal."""
import glob
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from vortani_e2e import check, finish, private_wine, stop, window_of

UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"


def run(*command, env=None):
    return subprocess.run(command, capture_output=True, text=True, stdin=subprocess.DEVNULL,
                          env=env)


def prop(package, name):
    table = run("msiinfo", "export", package, "Property").stdout.replace("\r", "")
    return next((line.split("\t")[1] for line in table.splitlines()
                 if line.split("\t")[0] == name), None)


def winpath(path, env):
    return run("winepath", "-w", path, env=env).stdout.strip()


runs = 0


def msiexec(action, package, state, env, *properties):
    """msiexec's status, its log state/msiexec-<n>.log (log_of); Wine hands on its low byte only
    (1603 shows as 67). properties: NAME=value each."""
    global runs
    runs += 1
    return subprocess.run(["wine", "msiexec", action, winpath(package, env), "/qn", "/l*v",
                           winpath(log_of(state), env), *properties], stdin=subprocess.DEVNULL,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env).returncode


def log_of(state):
    """The log of the latest msiexec."""
    return f"{state}/msiexec-{runs}.log"


def value(product, name, env):
    out = run("wine", "reg", "query", f"{UNINSTALL}\\{product}", "/v", name, env=env).stdout
    m = re.search(rf"^\s*{name}\s+REG_SZ\s+(.*?)\r?$", out, re.M)
    return m[1] if m else ""


def entries(env):
    out = run("wine", "reg", "query", UNINSTALL, "/s", env=env).stdout
    return len(re.findall(r"DisplayName\s+REG_SZ\s+Vortani Puzzle\r?$", out, re.M))


def shortcuts(drive):
    # Windows puts a per-machine shortcut in ProgramData's Start menu; Wine's msi in the user's.
    return [p for p in glob.glob(f"{drive}/ProgramData/**/Start Menu/Programs/**/*", recursive=True)
            + glob.glob(f"{drive}/users/**/Start Menu/Programs/**/*", recursive=True)
            if "vortani" in os.path.basename(p).lower()]


def installed(drive, product, version, stage, publisher, env):
    folder = f"{drive}/Program Files/Vortani Puzzle"
    links = shortcuts(drive)
    with open(links[0], "rb") if len(links) == 1 else open(os.devnull, "rb") as f:
        target = b"C:\\Program Files\\Vortani Puzzle\\Vortani.exe" in f.read()
    entry = (f"{value(product, 'DisplayVersion', env)} by {value(product, 'Publisher', env)}, "
             f"{entries(env)} time(s)")
    same = subprocess.run(["diff", "-rq", stage, folder], capture_output=True).returncode == 0
    check(same and [os.path.basename(p) for p in links] == ["Vortani Puzzle.lnk"]
          and target and entry == f"{version} by {publisher}, 1 time(s)",
          f"{version}: the zip's folder in Program Files, its shortcut, one entry in installed "
          f"programs (shortcuts {links}, installed programs list {entry})")


def removed(drive, what, products, env):
    folder = f"{drive}/Program Files/Vortani Puzzle"
    left = ([folder] if os.path.exists(folder) else []) + shortcuts(drive)
    if entries(env):
        left.append(f"{entries(env)} entries in installed programs")
    subprocess.run(["wineserver", "-w"], env=env)  # the registry reaches its files as the server ends
    for hive in glob.glob(os.path.join(env["WINEPREFIX"], "*.reg")):
        with open(hive, errors="replace") as f:
            found = re.search("Vortani Puzzle|" + "|".join(products), f.read(), re.I)
        if found:
            left.append(f"{found[0]} in {os.path.basename(hive)}")
    check(not left, f"{what} leaves no file, shortcut or registry entry {left or ''}")


def install_start_remove(msi, stage, publisher, state, env):
    """Installs msi as an administrator does, checks it against the staged folder, starts the
    program, removes it and checks that nothing is left; its (product code, version)."""
    drive = os.path.join(env["WINEPREFIX"], "drive_c")
    check(os.path.isfile(msi), f"{msi} is there (built by the target windows_packages)",
          fatal=True)
    product, version = prop(msi, "ProductCode"), prop(msi, "ProductVersion")
    status = msiexec("/i", msi, state, env)
    check(status == 0, f"msiexec /i exited with {status}", fatal=True)
    installed(drive, product, version, stage, publisher, env)
    game, why = window_of(r"C:\Program Files\Vortani Puzzle\Vortani.exe",
                          os.path.join(state, "program.log"), "/", env)
    check(not why, f"the installed program shows its window {why}")
    # The next program must not meet the server ending.
    subprocess.run(["wineserver", "-k"], env=env)
    subprocess.run(["wineserver", "-w"], env=env)
    stop(game)
    status = msiexec("/x", msi, state, env)
    check(status == 0, f"msiexec /x exited with {status}", fatal=True)
    removed(drive, "msiexec /x", [product.strip("{}")], env)
    return product, version


def upgrade(msi, wxs, stage, publisher, state, env, product, version):
    """Installed twice and upgraded: one entry, the later version's, which msi cannot replace."""
    major, minor = version.split(".")[:2]
    later = f"{major}.{int(minor) + 1}.0"
    subprocess.run(["wixl", "-a", "x64", "-D", f"Version={later}", "-o", f"{state}/later.msi", wxs],
                   check=True)
    later_product = prop(f"{state}/later.msi", "ProductCode")
    drive = os.path.join(env["WINEPREFIX"], "drive_c")
    statuses = [msiexec("/i", msi, state, env), msiexec("/i", msi, state, env)]
    check(statuses == [0, 0], f"installing twice: msiexec exited with {statuses}")
    status = msiexec("/i", f"{state}/later.msi", state, env)
    check(status == 0, f"upgrading to {later}: msiexec exited with {status}", fatal=True)
    installed(drive, later_product, later, stage, publisher, env)
    status = msiexec("/i", msi, state, env)
    with open(log_of(state), errors="replace") as f:
        refused = re.search(r"^Property\(S\): WIX_DOWNGRADE_DETECTED = \{", f.read(), re.M)
    check(status != 0 and refused, f"{version} refuses to replace {later} (status {status})")
    status = msiexec("/x", f"{state}/later.msi", state, env)
    check(status == 0, f"msiexec /x of {later} exited with {status}", fatal=True)
    removed(drive, "removal after the upgrade", [product.strip("{}"), later_product.strip("{}")],
            env)


def main(argv):
    msi, wxs, stage, publisher, state = argv[:5]
    msi, wxs, stage, state = map(os.path.abspath, (msi, wxs, stage, state))
    with private_wine(state) as env:
        product, version = install_start_remove(msi, stage, publisher, state, env)
        upgrade(msi, wxs, stage, publisher, state, env, product, version)
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
