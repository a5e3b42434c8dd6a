# SPDX-License-Identifier: GPL-3.0-or-later
"""screen_reader.py PROGRAM: the whole puzzle (tests/e2e/scenario.py) on the desktop, with the
keyboard alone while Orca speaks, on a virtual display with a window manager; VORTANI_KEEP=1
keeps Orca's log."""
import glob
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import layout  # noqa: E402
import scenario  # noqa: E402
from layout import EXERCISE_TITLE, LEVEL_HINT, NO_PRINTER, TILE_HINT, TYPE_HINT, WRONG  # noqa: E402
from vortani_e2e import (Recording, Screen, accessibility_bus, atspi, by_name, check,  # noqa: E402
                         display, environment, exercise_window, find_app, finish, focused,
                         has_state, line_log, need, nodes, session_bus, showing, start_sound_server,
                         stop, stop_recorded, stop_sound_server, wait_event, wait_exit,
                         windows_of)


class Orca:
    """What Orca says, read from its log."""

    def __init__(self, log):
        self.log = log

    def lines(self):
        with open(self.log, "a+", encoding="utf-8", errors="replace") as f:
            f.seek(0)
            return re.findall(r"SPEECH OUTPUT: '(.*)'(?: voice=\w+)?\{", f.read())

    def with_text(self, text):
        return [line for line in self.lines() if text in line]

    def spoken(self, said, since, seconds=10):
        """Waits for Orca to say a line said() accepts after line since: it drops the unsaid on
        a key."""
        return wait_event(lambda: any(said(line) for line in self.lines()[since:]), seconds)


class OrcaDriver(scenario.Driver):
    """The program on X11, pressed with the keyboard alone as a blind child does: Tab to the
    control, Space; digits typed; the answer confirmed with Enter, except the right answer after
    the wrong one, which Orca's click (KP_Divide) gives to OK. What was said is what Orca spoke;
    the program's clips are recorded from a sound server of its own. No printer."""

    patience = 10
    prints = False

    def __init__(self, screen, orca, pyatspi, app, game, recording):
        self.screen, self.orca, self.pyatspi = screen, orca, pyatspi
        self.app, self.game, self.recording = app, game, recording
        self.exercise = None
        self.since = 0  # Orca's lines before the last key
        self.clicks_ok = False

    # ---- keys and the focus -------------------------------------------------------------------
    def key(self, *keys):
        """Presses keys; how many lines Orca had said before."""
        self.since = len(self.orca.lines())
        self.screen.xdo("key", "--delay", "120", *keys)
        return self.since

    def wait_focus(self, condition, seconds=8):
        return wait_event(lambda: (lambda n: n if n is not None and condition(n) else None)(
            focused(self.app)), seconds)

    def tab_to(self, condition, limit=40):
        """Tabs to the first showing control that satisfies condition; waits for Orca to say
        its name."""
        since = len(self.orca.lines())
        for _ in range(limit):
            node = self.wait_focus(lambda n: True, 2)
            if node is not None and showing(node) and condition(node):
                self.orca.spoken(lambda line: node.name in line, since, 5)
                return node
            self.key("Tab")
            self.wait_focus(lambda n: n != node, 2)  # the focus has moved on
        return None

    def is_tile(self, node, number=None):
        # a solved one is hidden
        return (node.getRole() == self.pyatspi.ROLE_PUSH_BUTTON and showing(node)
                and node.description.startswith("Tessera")
                and (number is None or node.description.split(",")[0] == f"Tessera {number}"))

    def opened(self, tile):
        return has_state(tile, self.pyatspi.STATE_SELECTED)

    def box(self):
        return by_name(self.exercise, "Risultato")

    # ---- the scenario's driver ----------------------------------------------------------------
    def press(self, name):
        if name.startswith("exerciseForm/tile_"):
            number = int(name.rsplit("_", 1)[1]) + 1
            tile = self.tab_to(lambda n: self.is_tile(n, number))
            if tile is None:
                raise scenario.Missed(f"Tab does not reach Tessera {number}")
            self.key("space")
            wait_event(lambda: self.opened(tile), 5)
        elif name == scenario.OK and not self.clicks_ok:
            self.key("Return")
        else:
            spoken = layout.SPOKEN[name]
            check(self.tab_to(lambda n: n.name == spoken) is not None, f"Tab reaches {spoken}")
            # Orca's left click on the focused control, for OK.
            self.key("KP_Divide" if name == scenario.OK else "space")

    def type(self, digits):
        self.key(*digits)
        box = self.box()
        if not wait_event(lambda: box.queryText().getText(0, -1) == digits, 5):
            raise scenario.Missed(f"typing {digits} leaves '{self.answer()}' in the answer box")

    def problem(self, tile):
        node = next((n for n in nodes(self.exercise) if self.is_tile(n, tile + 1)), None)
        return node and node.name.strip()

    def said(self):
        return [line[len("notification "):] if line.startswith("notification ") else line
                for line in self.orca.lines()]

    def pixels(self, rect):
        """On the window in front, wherever the window manager put it; none while no window is
        active yet (a loaded machine maps the first one late)."""
        try:
            window = self.screen.xdo("getactivewindow").strip()
        except subprocess.CalledProcessError:
            return []
        return self.screen.shot(os.path.join(os.path.dirname(self.orca.log), "look.png")).pixels(
            self.screen.origin(window), rect)

    def answer(self):
        box = self.exercise and self.box()
        return box.queryText().getText(0, -1) if box is not None else None

    def sound(self):
        return self.recording.heard()

    def printout(self):
        return None

    def ended(self):
        status = wait_exit(self.game, 10)
        return "" if status == 0 else f"(status {status})"

    def reached(self, step, tile=None):
        spoken = self.orca.spoken
        if step == "exercise":
            since = self.since
            self.exercise = exercise_window(self.app)
            check(self.exercise is not None and showing(self.exercise),
                  "Space on Addizione opens the exercise window", fatal=True)
            spoken(lambda line: line.startswith(EXERCISE_TITLE), since)
            # Orca+KP_Enter reads the title; asked in the answer box, where a key Qt gets before
            # Orca (a busy machine) does nothing.
            check(self.tab_to(lambda n: n.name == "Risultato") is not None,
                  "Tab reaches the answer box")
            spoken(lambda line: line.strip(" .") == EXERCISE_TITLE, self.key("Insert+KP_Enter"))
        elif step == "dealt":
            since = self.since
            first = self.wait_focus(self.is_tile)
            check(first is not None and first.description == "Tessera 1",
                  "the level deals; tile 1 has the focus")
            spoken(lambda line: line == "Tessera 1.", since)
            # Arrows across the grid as it looks.
            for arrow, place, where in (("Right", 2, "to the right"), ("Down", 6, "below"),
                                        ("Left", 5, "to the left"), ("Up", 1, "above")):
                since = self.key(arrow)
                check(self.wait_focus(lambda n: n.description == f"Tessera {place}") is not None,
                      f"{arrow}: the tile {where}")
                spoken(lambda line: line == f"Tessera {place}.", since)
        elif step == "opened":
            # The typing hint is spoken. Right and back: the tile is read as open.
            since = self.since
            tile = self.wait_focus(lambda n: self.is_tile(n, 1))
            check(tile is not None and self.opened(tile) and tile.description == "Tessera 1, aperta",
                  "the open tile is selected, and its description says it is open")
            spoken(lambda line: TYPE_HINT in line, since)
            since = self.key("Right")
            self.wait_focus(lambda n: n.description == "Tessera 2")
            spoken(lambda line: line == "Tessera 2.", since)
            since = self.key("Left")
            self.wait_focus(lambda n: n.description == "Tessera 1, aperta")
            spoken(lambda line: line == "Tessera 1, aperta.", since)
        elif step == "wrong":
            self.clicks_ok = True
        elif step == "solved" and tile == 0:
            self.clicks_ok = False
            check(self.wait_focus(lambda n: self.is_tile(n, 2), 15) is not None,
                  "after the right answer on OK the focus is on the next tile, not nowhere")
        elif step == "printed":
            # Escape closes the printer's message.
            spoken(lambda line: line == f"{EXERCISE_TITLE} frame.", self.key("Escape"))
        elif step == "left":
            spoken(lambda line: line == "Vortani Puzzle frame.", self.since)


def judge(orca):
    lines = orca.lines()
    print("What Orca said:\n     " + "\n     ".join(lines))
    check(bool(lines) and lines[0] == "Screen reader on.", "Orca ran and spoke from the start")
    # Orca names a window that comes forward as a frame, or, when it hears of the window only
    # with its focused control, as that control's ancestor: by its name alone.
    chosen = next((i for i, line in enumerate(lines) if line == "Addizione push button."), 0)
    opened = next((i for i, line in enumerate(lines)
                   if i > chosen and line.startswith(EXERCISE_TITLE)), len(lines))
    check(opened < len(lines), "the exercise window tells its operation as it opens")
    printed = next((i for i, line in enumerate(lines) if NO_PRINTER in line), len(lines))
    check(f"{EXERCISE_TITLE} frame." in lines[printed:], "the exercise window comes forward as a frame")
    check("Vortani Puzzle frame." in lines[printed:], "the start window comes forward as a frame")
    # The praises and the finish, once and last, the scenario judged from the same lines.
    for text in (LEVEL_HINT, TILE_HINT, TYPE_HINT, WRONG):
        check(len(orca.with_text(text)) == 1, f"spoken once: {text} ({len(orca.with_text(text))})")
    level_hint = next((i for i, line in enumerate(lines) if LEVEL_HINT in line), -1)
    check(level_hint > opened, "the level hint follows the window's name")
    check(any(line.strip(" .") == EXERCISE_TITLE for line in lines[opened + 1:printed]),
          "the window's title is read on request")
    check(len(orca.with_text("Tessera 1, aperta")) == 1 and not orca.with_text("Tessera 2, aperta"),
          "the open tile is read as open, the other not")
    check(len(orca.with_text(NO_PRINTER)) == 1, "the printer message is spoken once")


def settings(work):
    """Orca's own settings: no key echo and no braille, so that its log holds what the program
    said."""
    folder = os.path.join(work, "orca")
    with open(os.path.join(folder, "user-settings.conf"), "w") as f:
        json.dump({"general": {"enableKeyEcho": False, "enableBraille": False,
                               "enableSpeech": True,
                               "speechServerFactory": "speechdispatcherfactory"},
                   "profiles": {"default": {"profile": ["Default", "default"]}},
                   "pronunciations": {}, "keybindings": {}}, f)
    return folder


def listened_to():
    """The events the accessibility registry's listeners have asked for."""
    from gi.repository import Gio, GLib
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    address = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                                GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, -1, None)[0]
    bus = Gio.DBusConnection.new_for_address_sync(
        address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
        | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
    events = bus.call_sync("org.a11y.atspi.Registry", "/org/a11y/atspi/registry",
                           "org.a11y.atspi.Registry", "GetRegisteredEvents", None, None,
                           Gio.DBusCallFlags.NONE, -1, None)[0]
    return {name for _, name in events}


def play(program, work, env, game_env, orca):
    """The program under Orca, the whole puzzle played; its clips recorded from game_env's
    server."""
    pyatspi = atspi(env)
    recording = Recording(os.path.join(work, "game.raw"), game_env, sink="game")
    with open(os.path.join(work, "vortani.log"), "w") as program_log:
        game = subprocess.Popen([program], stdout=program_log, stderr=subprocess.STDOUT,
                                env=game_env)
    try:
        app = find_app()
        check(app is not None, "the program shows up on the accessibility bus", fatal=True)
        start = wait_event(lambda: windows_of(app) and windows_of(app)[0])
        check(start.getRole() == pyatspi.ROLE_FRAME and start.name == "Vortani Puzzle",
              "the start window is a frame titled Vortani Puzzle")
        scenario.play(OrcaDriver(Screen(env), orca, pyatspi, app, game, recording))
    finally:
        stop(game)
        recording.stop()


def run(program, work):
    log = os.path.join(work, "orca.log")
    # Orca refuses to start beside another of the same user (another run's): as root it gets a
    # process namespace of its own.
    alone = []
    if os.geteuid() == 0 and subprocess.run(["unshare", "--pid", "--fork", "--mount-proc", "true"],
                                            capture_output=True).returncode == 0:
        alone = ["unshare", "--pid", "--fork", "--mount-proc", "--kill-child"]
    home = os.path.join(work, "home")
    env = environment(HOME=home, XDG_RUNTIME_DIR=os.path.join(work, "run"),
                      XDG_CONFIG_HOME=os.path.join(home, ".config"),
                      XDG_CACHE_HOME=os.path.join(home, ".cache"), LANG="C.UTF-8", LANGUAGE="C",
                      QT_LINUX_ACCESSIBILITY_ALWAYS_ON=None, PULSE_SERVER=None,
                      # Printing goes nowhere, so that the program says why.
                      CUPS_SERVER="/nonexistent/vortani-no-cups.sock")
    with display("1024x768x24", env) as env, session_bus(env) as env:
        openbox = subprocess.Popen(["openbox", "--sm-disable"], stdin=subprocess.DEVNULL,
                                   stdout=open(os.path.join(work, "openbox.log"), "w"),
                                   stderr=subprocess.STDOUT, env=env)
        # speech-dispatcher speaks through it; with no sound server at all Orca stalls. The
        # program has a server of its own, so that its clips are heard apart from the speech.
        env = start_sound_server(os.path.join(work, "run"), sink="speech", env=env)
        game_sound = os.path.join(work, "game-sound")
        try:
            with accessibility_bus(env) as env:
                need(modules=("pyatspi",))
                game_env = start_sound_server(game_sound, sink="game", env=env)
                # Orca writes its log through a buffer; given a terminal, it writes each line.
                with line_log(log) as terminal:
                    orca = subprocess.Popen(alone + ["orca", "--user-prefs", settings(work),
                                                     "--debug-file", terminal],
                                            stdin=subprocess.DEVNULL,
                                            stdout=open(os.path.join(work, "orca.out"), "w"),
                                            stderr=subprocess.STDOUT, env=env)
                    try:
                        atspi(env)
                        # Ready once it listens for windows coming forward and notifications.
                        ready = wait_event(lambda: orca.poll() is not None or {
                            "Window:Activate:", "Object:StateChanged:Showing"} <= listened_to(), 60)
                        if orca.poll() is not None:
                            with open(os.path.join(work, "orca.out")) as f:
                                print(f.read())
                        check(ready and orca.poll() is None, "Orca listens to the accessibility bus",
                              fatal=True)
                        check(Orca(log).spoken(lambda line: True, 0, 30), "Orca speaks",
                              fatal=True)
                        play(program, work, env, game_env, Orca(log))
                    finally:
                        orca.kill()  # Orca ignores SIGTERM
                        orca.wait()
        finally:
            for pidfile in glob.glob(os.path.join(work, "run", "speech-dispatcher", "pid", "*.pid")):
                stop_recorded(pidfile, None)
            stop_sound_server(game_sound)
            stop_sound_server(os.path.join(work, "run"))
            stop(openbox)
    judge(Orca(log))


def main(argv):
    program = os.path.realpath(argv[0])
    need("orca", "speech-dispatcher", "espeak-ng", "openbox", "pulseaudio", "pactl", "parec",
         "dbus-daemon", "Xvfb", "xdotool", "import", "convert", "/usr/libexec/at-spi-bus-launcher",
         "/usr/lib/speech-dispatcher-modules/sd_espeak-ng", modules=("gi",))
    work = tempfile.mkdtemp(prefix="vortani-orca.")
    for folder in ("home", "run", "orca"):
        os.makedirs(os.path.join(work, folder), mode=0o700)
    try:
        run(program, work)
    finally:
        if os.environ.get("VORTANI_KEEP"):
            print(f"kept: {work}")
        else:
            shutil.rmtree(work, ignore_errors=True)
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
