# SPDX-License-Identifier: GPL-3.0-or-later
"""The real Vortani.exe under Wine, played as a child plays it, judged by what the screen shows,
the loudspeaker plays and a screen reader is told.

    play.py <Vortani.exe> <wininfo.exe> <folder for screenshots> <stand-in uiautomationcore.dll>
            <stand-in sapi.dll>

Wine's prefix and display come from the wine fixture's folder (VORTANI_WINE_STATE), the sound
and print servers from the environment (ctest's fixtures). Windows reports the windows
(wininfo.exe: z-order, topmost band, client size and place); xdotool moves and clicks a real
pointer; screenshots of the display tell what the child sees; the sound server's null sink is
recorded throughout. What the game raises through UI Automation the stand-in library logs:
nothing until a screen reader asks a window for its root (wininfo.exe wake), then every
message, while the whole puzzle (tests/e2e/scenario.py) is played. The class reads aloud
(--voce=sì): what reaches SAPI's voice the other stand-in logs.
"""
import os
import re
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import layout  # noqa: E402
import scenario  # noqa: E402
from vortani_e2e import (Recording, Screen, check, finish, print_jobs,  # noqa: E402
                         printed_pdf, stop, wait_exit, wait_for, wine_environment)


class Wine:
    """The game's windows as Windows lists them (wininfo.exe), and what it raises through UI
    Automation (the stand-in's log)."""

    def __init__(self, env, wininfo, shots, uia_log):
        self.env, self.wininfo, self.shots, self.uia_log = env, wininfo, shots, uia_log

    def windows(self):
        """The game's visible windows, front to back."""
        # A file, not a pipe, which a Wine background program started meanwhile would hold open.
        listing = os.path.join(self.shots, "windows.txt")
        with open(listing, "w") as f:
            subprocess.run(["wine", self.wininfo], stdout=f, stderr=subprocess.DEVNULL,
                           stdin=subprocess.DEVNULL, timeout=60, env=self.env)
        with open(listing) as f:
            found = re.findall(r"^(\S+) topmost=(\d) client=(\d+)x(\d+) at=(-?\d+),(-?\d+) "
                               rf"title={layout.TITLE}\r?$", f.read(), re.M)
        return [{"handle": h, "topmost": t == "1", "client": (int(w), int(ht)),
                 "at": (int(x), int(y))} for h, t, w, ht, x, y in found]

    def wait_windows(self, count, seconds=60):
        found = wait_for(lambda: (lambda w: len(w) == count and w)(self.windows()), seconds, 0.3)
        check(found, f"{count} game window(s) shown", fatal=True)
        return found

    def wake(self, handle):
        """As a screen reader does when it starts: asks the window for its UI Automation root."""
        # Not through a pipe: see windows().
        return subprocess.run(["wine", self.wininfo, "wake", handle], stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60,
                              env=self.env).returncode

    def told(self):
        """What the game has raised through UI Automation so far, one line each."""
        with open(self.uia_log, encoding="utf-8") as f:
            return f.read().splitlines()

    def notifications(self):
        return [line[len("notification "):] for line in self.told()
                if line.startswith("notification ")]


class WineDriver(scenario.Driver):
    """Vortani.exe under Wine: xdotool's pointer on the window's client area, which stays where
    the start window is; messages as UI Automation notifications; the null sink's recording;
    the default printer's PDF. Windows reads no problem out: answers are found by trying."""

    reads_problems = False

    def __init__(self, wine, screen, origin, recording, game):
        self.wine, self.screen, self.origin = wine, screen, origin
        self.recording, self.game = recording, game
        self.jobs = set()

    def press(self, name):
        if name == "exerciseForm/printButton":
            self.jobs = print_jobs(self.wine.env)
        self.screen.press(self.origin, name)

    def type(self, digits):
        # A double-click's pace apart, as a child's quick presses of one key.
        self.screen.press(self.origin, *[f"exerciseForm/digitKey_{d}" for d in digits], pause=0.16)

    def problem(self, tile):
        return None

    def said(self):
        return self.wine.notifications()

    def pixels(self, rect):
        return self.screen.shot(os.path.join(self.wine.shots, "look.png")).pixels(self.origin, rect)

    def answer(self):
        return self.screen.copied()

    def sound(self):
        return self.recording.heard()

    def printout(self):
        """Windows' default printer is the tests' PDF queue (through Wine's PostScript driver);
        the job is known by its number, as other runs print into the same folder."""
        jobs = wait_for(lambda: print_jobs(self.wine.env) - self.jobs, 60, 0.25)
        printed = printed_pdf(jobs) if jobs else None
        page = subprocess.run(["pdftoppm", "-r", "40", "-singlefile", printed],
                              capture_output=True).stdout if printed else b""
        m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", page)
        print(f"     printed: job {jobs}, {printed}")
        if not m:
            return None
        body = page[m.end():]
        return int(m.group(1)), [tuple(body[i:i + 3]) for i in range(0, len(body) - 2, 3)]

    def ended(self):
        status = wait_exit(self.game, 30)
        return "" if status == 0 else f"(status {status})"

    def reached(self, step, tile=None):
        if step == "printed":
            check(len(self.wine.windows()) == 2, "printing raises no message")


def before_a_screen_reader(wine, screen):
    """The windows as Windows has them, and nothing raised through UI Automation while no screen
    reader has asked: the start window's handle and client area's place."""
    start = wine.wait_windows(1)[0]
    check(start["client"] == layout.FORM, "the start window has a client area of %d x %d" % layout.FORM)
    check(start["topmost"], "the start window is in the topmost band")
    size = [int(n) for n in screen.xdo("getdisplaygeometry").split()]
    off = [start["at"][i] + layout.FORM[i] // 2 - size[i] // 2 for i in (0, 1)]
    check(max(map(abs, off)) <= 40, f"the start window is centred (off by {off})")
    origin = start["at"]
    screen.press(origin, "startForm/operationButton_0")
    both = wine.wait_windows(2)
    front = both[0]
    check(front["handle"] != start["handle"] and both[1]["handle"] == start["handle"],
          "Addizione opens a second window in front of the start window")
    check(front["topmost"] and front["client"] == layout.FORM and front["at"] == start["at"],
          "the exercise window is topmost, %d x %d, over the start window" % layout.FORM)
    screen.press(origin, "exerciseForm/levelButton_0", layout.tile(0), "exerciseForm/exitButton")
    left = wine.wait_windows(1)
    check(left[0]["handle"] == start["handle"], "the exercise window's exit leaves the start window")
    check(wine.told() == [], "no screen reader has asked yet: nothing is raised through UI "
          f"Automation ({wine.told()[:3]})")
    return start["handle"], origin


def told_in_order(wine):
    """UI Automation's event ids: 20016 a window opened, 20005 the focus moved."""
    lines = wine.told()
    first = lines.index(f"notification {layout.LEVEL_HINT}") \
        if f"notification {layout.LEVEL_HINT}" in lines else 0
    opened = max((i for i in range(first) if lines[i] == "event 20016"), default=first)
    check("event 20005" in lines[opened:first],
          "the exercise window's opening and its focus are told before its level hint")


class StandIns:
    """Libraries of the game's own put in the place of the system's, for the game alone (a DLL
    override), and the system's put back afterwards."""

    def __init__(self, env, libraries):
        """libraries: (the stand-in, its folder under the system folder, where Windows keeps
        the library it stands in for)."""
        system = os.path.join(env["WINEPREFIX"], "drive_c", "windows", "system32")
        self.places = [(library, os.path.join(system, folder, os.path.basename(library)))
                       for library, folder in libraries]
        self.overrides = ";".join(os.path.splitext(os.path.basename(library))[0] + "=n"
                                  for library, _ in libraries)

    def install(self):
        for library, place in self.places:
            if not os.path.exists(place + ".vortani-original"):
                shutil.copy(place, place + ".vortani-original")
            shutil.copy(library, place)
        return self

    def restore(self):
        for _, place in self.places:
            shutil.copy(place + ".vortani-original", place)


def spoken(log):
    """The texts SAPI's voice was asked to say, and whether each cut off what it still said."""
    with open(log, encoding="utf-8") as f:
        lines = [line.rstrip("\r\n").split(" ", 2) for line in f if line.startswith("speak ")]
    SPF_PURGEBEFORESPEAK = 2
    return [(text, bool(int(flags, 16) & SPF_PURGEBEFORESPEAK)) for _, flags, text in lines]


def main(argv):
    program, wininfo, shots, stand_in, sapi_stand_in = argv[:5]
    os.makedirs(shots, exist_ok=True)
    env = wine_environment(os.environ["VORTANI_WINE_STATE"])
    screen = Screen(env)
    # Qt and COM load the libraries from the system folder; only the game takes the stand-ins.
    logs = {name: os.path.abspath(os.path.join(shots, f"{name}.log")) for name in ("uia", "sapi")}
    for log in logs.values():
        open(log, "w").close()
    wine = Wine(env, wininfo, shots, logs["uia"])
    stand_ins = StandIns(env, [(stand_in, ""),
                                (sapi_stand_in, os.path.join("Speech", "Common"))]).install()
    # Everything the game plays reaches the null sink; its monitor is recorded from the start.
    recording = Recording(os.path.join(shots, "sound.raw"), env)
    wine_path = {name: "Z:" + log.replace("/", "\\") for name, log in logs.items()}
    game = subprocess.Popen(["wine", program, "--voce=sì"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL,
                            env=dict(env, VORTANI_UIA_LOG=wine_path["uia"],
                                     VORTANI_SAPI_LOG=wine_path["sapi"],
                                     WINEDLLOVERRIDES=env["WINEDLLOVERRIDES"] + ";" +
                                     stand_ins.overrides))
    try:
        handle, origin = before_a_screen_reader(wine, screen)
        status = wine.wake(handle)
        check(status == 0, f"a screen reader asks the start window for its UI Automation root "
              f"(status {status})")
        scenario.play(WineDriver(wine, screen, origin, recording, game))
        told_in_order(wine)
        said = spoken(logs["sapi"])
        scenario.read_aloud([text for text, _ in said])
        check(said and all(purged for _, purged in said),
              "read aloud: each text through SAPI cuts off the one before")
    finally:
        stop(game)
        stand_ins.restore()
        recording.stop()
    # Clicks, blips and both answers' clips: well over half a second of sound.
    loud = recording.heard()
    check(loud > 0.5, f"the clips reach the sound server through winmm ({loud:.2f} s of sound heard)")
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
