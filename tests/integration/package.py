# SPDX-License-Identifier: GPL-3.0-or-later
"""package.py install BUILD_DIR PICTURES | remove BUILD_DIR: the Debian package, installed with dpkg
under CI=true (else unpacked) for the tests that need it (BUILD_DIR/package-under-test), removed."""
import contextlib
import fcntl
import glob
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from layout import rect  # noqa: E402
from vortani_e2e import CI, Screen, check, display, finish, need, ran, stop, wait_for  # noqa: E402

source_dir = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
MISSING_PICTURE = "cannot load the puzzle picture"
TILES = rect("exerciseForm/puzzlePicture")  # under the twelve tiles


def run(*command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, **kwargs)


# Installed with dpkg, the package is the machine's: each run using it holds a lease; the last to
# leave removes it, if a run installed it.
LEASES = "/run/lock/vortani-package"


@contextlib.contextmanager
def leases():
    os.makedirs(LEASES, exist_ok=True)
    with open(LEASES + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        yield [name for name in os.listdir(LEASES) if name != "origin"]


def lease_of(build):
    return hashlib.sha256(build.encode()).hexdigest()[:16]


def remove(build):
    marker = os.path.join(build, "package-under-test")
    if not os.path.isfile(marker):
        print(f"nothing to remove: {marker} is missing")
        return
    with open(marker) as f:
        fields = dict(line.split("=", 1) for line in f.read().splitlines() if "=" in line)
    os.remove(marker)
    if fields.get("root"):
        shutil.rmtree(fields["root"], ignore_errors=True)
        check(not os.path.exists(fields["root"]), f"removed the unpacked tree {fields['root']}")
        return
    with leases() as held:
        if lease_of(build) in held:
            os.remove(os.path.join(LEASES, lease_of(build)))
            held.remove(lease_of(build))
        if held:
            print(f"another run still uses the installed package ({len(held)}): left for it")
            return
        origin_file = os.path.join(LEASES, "origin")
        with open(origin_file, "a+") as f:
            f.seek(0)
            installed_by_tests = f.read().strip() == "tests"
        os.remove(origin_file)
        if not installed_by_tests:
            print("the package was installed before the tests: left as it was")
            return
        ran("dpkg -r vortani", "dpkg", "-r", "vortani", fatal=True)
    left = [d for d in ("/usr/lib/vortani", "/usr/share/games/vortani", "/usr/share/doc/vortani",
                        "/usr/games/vortani") if os.path.exists(d)]
    check(not left, f"dpkg -r removes the package and its folders (left: {left})")


def install(build, pictures, work):
    need("cpack", "dpkg-deb", "dpkg-shlibdeps", "file", "Xvfb", "xdotool", "xwininfo", "import",
         "convert",
         "desktop-file-validate", "appstreamcli", "lintian", "hardening-check")
    if CI:
        check(os.geteuid() == 0, "under CI the package is installed with dpkg, which needs root",
              fatal=True)

    ran("cpack builds the package", "cpack", "--config", f"{build}/CPackConfig.cmake", "-G", "DEB",
        "-B", f"{work}/out", fatal=True)
    deb = glob.glob(f"{work}/out/vortani_*.deb")[0]
    print(f"Package: {os.path.basename(deb)}")
    depends = run("dpkg-deb", "-f", deb, "Depends").stdout.strip()
    print(f"Depends: {depends}")

    # Every kind of tag counts, pedantic ones included; lintian's own notices go to stderr.
    lintian = run("lintian", "--pedantic", "-I", deb)
    if lintian.returncode != 0 or lintian.stdout.strip():
        print(lintian.stdout, lintian.stderr)
    check(lintian.returncode == 0 and not lintian.stdout.strip(),
          f"lintian --pedantic -I has nothing to say (status {lintian.returncode})")

    marker = os.path.join(build, "package-under-test")
    with_root = os.path.join(build, "package-root")
    shutil.rmtree(with_root, ignore_errors=True)
    if os.path.exists(marker):
        os.remove(marker)
    if CI:
        with leases() as held:
            if not held:
                had = "ok installed" in run("dpkg-query", "-W", "-f=${Status}", "vortani").stdout
                with open(os.path.join(LEASES, "origin"), "w") as f:
                    f.write("before\n" if had else "tests\n")
            open(os.path.join(LEASES, lease_of(build)), "w").close()
            with open(marker, "w") as f:
                f.write("root=\n")
            # No apt-get -f: every dependency must be there from install-deps.sh.
            ran("dpkg -i installs it with every dependency already present", "dpkg", "-i", deb,
                fatal=True)
        root = ""
    else:
        root = with_root
        subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
        with open(marker, "w") as f:
            f.write(f"root={root}\n")
    usr = root + "/usr"

    # The pictures are game data, reached from the program's folder by relative links.
    missing = []
    for n in range(1, pictures + 1):
        link = f"{usr}/lib/vortani/pic{n}.jpg"
        target = os.readlink(link) if os.path.islink(link) else ""
        if not (target and not target.startswith("/")
                and os.path.realpath(link) == os.path.realpath(f"{usr}/share/games/vortani/pic{n}.jpg")
                and run("file", "-bL", "--mime-type", link).stdout.strip() == "image/jpeg"):
            missing.append(f"pic{n}.jpg")
    check(not missing, f"the {pictures} puzzle pictures are beside the program, linked from "
          f"share/games/vortani (missing, not JPEG or not relative links: {missing})")

    # No control-flow protection: Debian 12's C start-up files carry no CET marks, so no program
    # linked there can have one.
    ran("hardening-check finds PIE, stack protector, fortified calls, RELRO and BIND_NOW",
        "hardening-check", "--nocfprotection", f"{usr}/lib/vortani/vortani")

    # The package's own entry and metainfo, not others installed on the machine.
    contents = run("dpkg-deb", "-c", deb).stdout

    def packaged(pattern):
        m = re.search(r"\./(usr/share/" + pattern + ")$", contents, re.M)
        return f"{root}/{m[1]}" if m else ""
    desktop = packaged(r"applications/[^/]*\.desktop")
    metainfo = packaged(r"metainfo/[^/]*\.metainfo\.xml")
    ran(f"desktop-file-validate {os.path.basename(desktop) or '(no entry in share/applications)'}",
        "desktop-file-validate", desktop or "/nonexistent")
    ran(f"appstreamcli validate --pedantic --no-net {os.path.basename(metainfo) or '(no metainfo)'}",
        "appstreamcli", "validate", "--pedantic", "--no-net", metainfo or "/nonexistent")
    info = open(metainfo).read() if metainfo else ""
    # Software centres show the same two screenshots of the desktop game as the README (the
    # other editions' are in folders of their own), captioned in both languages.
    shots = sorted(re.findall(r"<image[^>]*>.*/([^/<]*)</image>", info))
    with open(os.path.join(source_dir, "README.md")) as f:
        readme_shots = sorted(re.findall(r"docs/screenshots/([^/)]*)\)", f.read()))
    captions = len(re.findall(r"<caption>", info))
    captions_it = len(re.findall(r'<caption xml:lang="it">', info))
    check(shots and shots == readme_shots and captions == 2 and captions_it == 2,
          f"metainfo lists the README's screenshots {shots} with English and Italian captions "
          f"({captions} + {captions_it}; README has {readme_shots})")

    # The entry's command, its icon at every size, and the metainfo must all name what is installed.
    entry = open(desktop).read() if desktop else ""

    def key(name):
        m = re.search(rf"^{name}=(.*)$", entry, re.M)
        return m[1] if m else ""
    command = key("Exec").split(" ")[0]
    check(command and os.access(f"{usr}/games/{command}", os.X_OK),
          f"Exec={command} is an installed command in games/")
    # A user's terminal has the games folder in its search path (root's has not).
    if CI:
        found = run("runuser", "-u", "nobody", "--", "bash", "-lc", "command -v vortani").stdout.strip()
        check(found == "/usr/games/vortani", f"a user's login shell finds vortani as {found}")
    icon = key("Icon")
    bad_icons = [] if icon and os.path.isfile(f"{usr}/share/icons/hicolor/scalable/apps/{icon}.svg") \
        else ["scalable"]
    for px in (16, 32, 48, 64, 128, 256):
        kind = run("file", "-b", f"{usr}/share/icons/hicolor/{px}x{px}/apps/{icon}.png").stdout
        if not kind.startswith(f"PNG image data, {px} x {px},"):
            bad_icons.append(str(px))
    check(not bad_icons, f"icon {icon} in hicolor at every size (missing or wrong: {bad_icons})")
    launchable = re.search(r'<launchable type="desktop-id">(.*)</launchable>', info)
    release = re.search(r'<release version="([^"]*)"', info)
    version = run("dpkg-deb", "-f", deb, "Version").stdout.strip()
    check(desktop and launchable and launchable[1] == os.path.basename(desktop)
          and release and release[1] == version,
          f"metainfo names the desktop entry and release {version} (names "
          f"{launchable and launchable[1]}, {release and release[1]})")

    with display("800x600x24") as env:
        screen = Screen(env)

        def play(program, name):
            """(process, whether a puzzle was dealt) from an empty folder; stderr in name.err."""
            folder = os.path.join(work, "cwd-" + name)
            os.makedirs(folder)
            with open(os.path.join(work, name + ".err"), "w") as err:
                game = subprocess.Popen([program], cwd=folder, stderr=err, env=env)
            start = screen.wait_windows(1)
            if not start:
                return game, False
            screen.press(screen.origin(start[0]), "startForm/operationButton_0")
            if not screen.wait_windows(2):
                return game, False
            exercise = next(w for w in screen.window_ids() if w != start[0])
            at = screen.origin(exercise)
            before = screen.shot(os.path.join(work, "before.png")).pixels(at, TILES)
            screen.press(at, "exerciseForm/levelButton_0")
            # The level's handler deals and loads the picture before the tiles are drawn anew.
            dealt = wait_for(lambda: screen.shot(os.path.join(work, "dealt.png")).pixels(
                at, TILES) != before, 20, 0.1)
            return game, dealt and game.poll() is None

        def errors(name):
            with open(os.path.join(work, name + ".err"), errors="replace") as f:
                return f.read()

        # The same program alone in a folder must complain: proof that the clicks reach the picture.
        os.makedirs(os.path.join(work, "bare"))
        shutil.copy(f"{usr}/lib/vortani/vortani", os.path.join(work, "bare"))
        game, played = play(os.path.join(work, "bare", "vortani"), "bare")
        stop(game)
        if not (played and MISSING_PICTURE in errors("bare")):
            print(errors("bare"))
        check(played and MISSING_PICTURE in errors("bare"),
              "without its pictures the program says so (the clicks reach a puzzle)")

        game, played = play(f"{usr}/games/vortani", "installed")
        try:
            if not (played and MISSING_PICTURE not in errors("installed")):
                print(errors("installed"))
            check(played and MISSING_PICTURE not in errors("installed"),
                  "started through games/vortani from another folder, it shows a puzzle with its "
                  "picture")
            # Plugins and fonts are loaded out of dpkg-shlibdeps' sight: their packages must be
            # direct dependencies.
            check(game.poll() is None, "the installed program runs, to list what it loaded",
                  fatal=True)
            with open(f"/proc/{game.pid}/maps") as f:
                loaded = sorted(set(re.findall(r"/\S*/(?:qt6/plugins|share/fonts)/\S*", f.read())))
            needed = {re.split(r"[ (:]", d.strip())[0] for d in re.split(r"[,|]", depends)}
            unlisted = []
            for path in loaded:
                owner = run("dpkg", "-S", path).stdout.split(":")[0]
                if owner not in needed:
                    unlisted.append(f"{path} ({owner or 'no package'})")
            check(loaded and not unlisted, f"the {len(loaded)} plugins and fonts it loaded come "
                  f"from its dependencies (not from them: {unlisted})")
        finally:
            stop(game)


def main(argv):
    build = os.path.abspath(argv[1])
    if argv[0] == "remove":
        remove(build)
    else:
        with tempfile.TemporaryDirectory() as work:
            install(build, int(argv[2]), work)
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
