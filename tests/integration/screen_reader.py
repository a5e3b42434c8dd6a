# SPDX-License-Identifier: GPL-3.0-or-later
"""screen_reader.py PROGRAM: Orca while the keyboard alone plays a puzzle; VORTANI_KEEP=1 keeps
Orca's log."""
import glob
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from vortani_e2e import (accessibility_bus, atspi, by_name, check, display, environment,
                         exercise_window, find_app, finish, focused, has_state, line_log, need, session_bus, showing,
                         start_sound_server, stop, stop_recorded, stop_sound_server, wait_event,
                         windows_of, xdo)

program = os.path.realpath(sys.argv[1])
need("orca", "speech-dispatcher", "espeak-ng", "openbox", "pulseaudio", "pactl", "dbus-daemon",
     "Xvfb", "xdotool", "/usr/libexec/at-spi-bus-launcher",
     "/usr/lib/speech-dispatcher-modules/sd_espeak-ng", modules=("gi",))

PRAISE = ["Bravissimo.", "Molto bravo.", "Dai che vai forte.", "Molto bene.", "Continua così.",
          "Sei proprio bravo.", "Uaoo!"]
LEVEL_HINT = "Scegli il livello."
TILE_HINT = "Scegli l'operazione cliccando su una tessera del puzzle."
TYPE_HINT = "Scrivi il risultato utilizzando il tastierino numerico. Conferma premendo il tasto OK."
WRONG = "Ops! hai sbagliato. Riprova."
FINISHED = "Hai finito. Guarda che bel disegno"
NO_PRINTER = "Non c'è nessuna stampante pronta: la pagina non è stata stampata."
EXERCISE = "Vortani Puzzle, Addizione"

work = tempfile.mkdtemp(prefix="vortani-orca.")
log = os.path.join(work, "orca.log")
for folder in ("home", "run", "orca"):
    os.makedirs(os.path.join(work, folder), mode=0o700)
# Orca's own settings: no key echo and no braille, so that its log holds what the program said.
with open(os.path.join(work, "orca", "user-settings.conf"), "w") as f:
    json.dump({"general": {"enableKeyEcho": False, "enableBraille": False, "enableSpeech": True,
                           "speechServerFactory": "speechdispatcherfactory"},
               "profiles": {"default": {"profile": ["Default", "default"]}},
               "pronunciations": {}, "keybindings": {}}, f)


def listened_to():
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


def spoken_lines():
    with open(log, "a+", encoding="utf-8", errors="replace") as f:
        f.seek(0)
        return re.findall(r"SPEECH OUTPUT: '(.*)'(?: voice=\w+)?\{", f.read())


def speech_with(text):
    return [line for line in spoken_lines() if text in line]


def spoken(said, since, seconds=10):
    """Waits for Orca to say a line said() accepts after line since: it drops the unsaid on a key."""
    return wait_event(lambda: any(said(line) for line in spoken_lines()[since:]), seconds)


def play(pyatspi):
    def key(*keys):
        """Presses keys; how many lines Orca had said before."""
        since = len(spoken_lines())
        xdo("key", "--delay", "120", *keys)
        return since

    def wait_focus(condition, seconds=8):
        return wait_event(lambda: (lambda n: n if n is not None and condition(n) else None)(
            focused(app)), seconds)

    def tab_to(condition, backwards=False, limit=40):
        """Tabs to the first control that satisfies condition; waits for Orca to say its name."""
        since = len(spoken_lines())
        for _ in range(limit):
            node = wait_focus(lambda n: True, 2)
            if node is not None and condition(node):
                spoken(lambda line: node.name in line, since, 5)
                return node
            key("shift+Tab" if backwards else "Tab")
            wait_focus(lambda n: n != node, 2)  # the focus has moved on
        return None

    def is_tile(node):
        # a solved one is hidden
        return (node.getRole() == pyatspi.ROLE_PUSH_BUTTON and node.description.startswith("Tessera")
                and showing(node))

    def answer(tile):
        a, sign, b = tile.name.split()
        return {"+": int(a) + int(b), "-": int(a) - int(b), "x": int(a) * int(b),
                ":": int(a) // int(b)}[sign]

    def typed(number):
        key(*str(number))
        box = by_name(exercise, "Risultato")
        return wait_event(lambda: box.queryText().getText(0, -1) == str(number), 5)

    def opened(tile):
        return has_state(tile, pyatspi.STATE_SELECTED)

    def verdict(line):
        return any(v in line for v in PRAISE + [FINISHED])

    program_log = open(os.path.join(work, "vortani.log"), "w")
    game = subprocess.Popen([program], stdout=program_log, stderr=subprocess.STDOUT)
    try:
        app = find_app()
        check(app is not None, "the program shows up on the accessibility bus", fatal=True)
        start = wait_event(lambda: windows_of(app) and windows_of(app)[0])
        check(start.getRole() == pyatspi.ROLE_FRAME and start.name == "Vortani Puzzle",
              "the start window is a frame titled Vortani Puzzle")

        # The operation, from the keyboard.
        check(tab_to(lambda n: n.name == "Addizione") is not None, "Tab reaches Addizione")
        since = key("space")
        exercise = exercise_window(app)
        check(exercise is not None and showing(exercise),
              "Space on Addizione opens the exercise window", fatal=True)
        spoken(lambda line: line.startswith(EXERCISE), since)
        spoken(lambda line: LEVEL_HINT in line, since)

        # Orca+KP_Enter reads the title; asked in the answer box, where a key Qt gets before Orca
        # (a busy machine) does nothing.
        check(tab_to(lambda n: n.name == "Risultato") is not None, "Tab reaches the answer box")
        spoken(lambda line: line.strip(" .") == EXERCISE, key("Insert+KP_Enter"))

        # The level: the first option Shift+Tab reaches.
        level = tab_to(lambda n: n.getRole() == pyatspi.ROLE_RADIO_BUTTON, backwards=True)
        check(level is not None, "Shift+Tab reaches a level")
        since = key("space")
        first = wait_focus(is_tile)
        check(first is not None and first.description == "Tessera 1",
              "the level deals; tile 1 has the focus")
        spoken(lambda line: line == "Tessera 1.", since)

        # Arrows across the grid as it looks.
        tile = first
        for arrow, place, where in (("Right", 2, "to the right"), ("Down", 6, "below"),
                                    ("Left", 5, "to the left"), ("Up", 1, "above")):
            since = key(arrow)
            tile = wait_focus(lambda n: n.description == f"Tessera {place}")
            check(tile is not None, f"{arrow}: the tile {where}")
            spoken(lambda line: line == f"Tessera {place}.", since)

        # The tile opens: the typing hint is spoken. Right and back: the tile is read as open.
        since = key("space")
        wait_event(lambda: opened(tile), 5)
        check(opened(tile) and tile.description == "Tessera 1, aperta",
              "the open tile is selected, and its description says it is open")
        spoken(lambda line: TYPE_HINT in line, since)
        since = key("Right")
        wait_focus(lambda n: n.description == "Tessera 2")
        spoken(lambda line: line == "Tessera 2.", since)
        since = key("Left")
        wait_focus(lambda n: n.description == "Tessera 1, aperta")
        spoken(lambda line: line == "Tessera 1, aperta.", since)

        # A wrong answer typed and confirmed with Enter.
        typed(answer(tile) + 1)
        spoken(lambda line: WRONG in line, key("Return"))

        # The right answer, OK clicked by Orca (KP_Divide: a left click on the focused control).
        typed(answer(tile))
        check(tab_to(lambda n: n.name == "OK") is not None, "Tab reaches OK")
        since = key("KP_Divide")
        after = wait_focus(lambda n: is_tile(n) and n.description == "Tessera 2", 15)
        check(after is not None,
              "after the right answer on OK the focus is on the next tile, not nowhere")
        spoken(verdict, since)
        solved = 1

        # The other eleven: Space on the focused tile, the answer, Enter; Tab to the next tile.
        while solved < 12:
            tile = wait_focus(is_tile)
            if tile is None:
                break
            key("space")
            wait_event(lambda: opened(tile), 5)
            typed(answer(tile))
            since = key("Return")
            if not wait_event(lambda: not showing(tile), 5):
                break
            solved += 1
            spoken(verdict, since)
            if solved < 12:
                key("Tab")
        check(solved == 12, f"twelve tiles solved from the keyboard ({solved})")

        # Printing with no printer: the message says why. Escape closes it.
        check(tab_to(lambda n: n.name == "Stampa") is not None, "Tab reaches Stampa")
        spoken(lambda line: NO_PRINTER in line, key("space"))
        spoken(lambda line: line == f"{EXERCISE} frame.", key("Escape"))

        # Back to the start screen, which comes forward again.
        check(tab_to(lambda n: n.name == "Esci") is not None, "Tab reaches Esci")
        spoken(lambda line: line == "Vortani Puzzle frame.", key("space"))
    finally:
        stop(game)


def judge():
    lines = spoken_lines()
    print("What Orca said:\n     " + "\n     ".join(lines))
    check(bool(lines) and lines[0] == "Screen reader on.", "Orca ran and spoke from the start")
    # Orca names a window that comes forward as a frame, or, when it hears of the window only
    # with its focused control, as that control's ancestor: by its name alone.
    chosen = next((i for i, line in enumerate(lines) if line == "Addizione push button."), 0)
    opened = next((i for i, line in enumerate(lines) if i > chosen and line.startswith(EXERCISE)),
                  len(lines))
    check(opened < len(lines), "the exercise window tells its operation as it opens")
    printed = next((i for i, line in enumerate(lines) if NO_PRINTER in line), len(lines))
    check(f"{EXERCISE} frame." in lines[printed:], "the exercise window comes forward as a frame")
    check("Vortani Puzzle frame." in lines[printed:], "the start window comes forward as a frame")
    for text in (LEVEL_HINT, TILE_HINT, TYPE_HINT, WRONG, FINISHED):
        check(len(speech_with(text)) == 1, f"spoken once: {text} ({len(speech_with(text))})")
    level_hint = next((i for i, line in enumerate(lines) if LEVEL_HINT in line), -1)
    check(level_hint > opened, "the level hint follows the window's name")
    praised = sum(1 for line in lines if any(p in line for p in PRAISE))
    # The twelfth praise is replaced at once by the finish; Orca may drop the first of the two.
    check(11 <= praised <= 12, f"a praise spoken for each right answer ({praised})")
    verdicts = [line for line in lines if any(v in line for v in PRAISE + [WRONG, FINISHED])]
    check(bool(verdicts) and FINISHED in verdicts[-1], "the finish is the last verdict")
    check(any(line.strip(" .") == EXERCISE for line in lines[opened + 1:printed]),
          "the window's title is read on request")
    check(len(speech_with("Tessera 1, aperta")) == 1 and not speech_with("Tessera 2, aperta"),
          "the open tile is read as open, the other not")
    check(len(speech_with(NO_PRINTER)) == 1, "the printer message is spoken once")


# Orca refuses to start beside another of the same user (another run's): as root it gets a
# process namespace of its own.
alone = []
if os.geteuid() == 0 and subprocess.run(["unshare", "--pid", "--fork", "--mount-proc", "true"],
                                        capture_output=True).returncode == 0:
    alone = ["unshare", "--pid", "--fork", "--mount-proc", "--kill-child"]
home = os.path.join(work, "home")
try:
    with environment(HOME=home, XDG_RUNTIME_DIR=os.path.join(work, "run"),
                     XDG_CONFIG_HOME=os.path.join(home, ".config"),
                     XDG_CACHE_HOME=os.path.join(home, ".cache"), LANG="C.UTF-8", LANGUAGE="C",
                     QT_LINUX_ACCESSIBILITY_ALWAYS_ON=None, PULSE_SERVER=None,
                     # Printing goes nowhere, so that the program says why.
                     CUPS_SERVER="/nonexistent/vortani-no-cups.sock"), \
            display("1024x768x24"), session_bus():
        openbox = subprocess.Popen(["openbox", "--sm-disable"], stdin=subprocess.DEVNULL,
                                   stdout=open(os.path.join(work, "openbox.log"), "w"),
                                   stderr=subprocess.STDOUT)
        # speech-dispatcher speaks through it; with no sound server at all Orca stalls.
        start_sound_server(os.path.join(work, "run"), sink="speech")
        try:
            with accessibility_bus():
                need(modules=("pyatspi",))
                pyatspi = atspi()
                # Orca writes its log through a buffer; given a terminal, it writes each line.
                with line_log(log) as terminal:
                    orca = subprocess.Popen(alone + ["orca", "--user-prefs",
                                                     os.path.join(work, "orca"),
                                                     "--debug-file", terminal],
                                            stdin=subprocess.DEVNULL,
                                            stdout=open(os.path.join(work, "orca.out"), "w"),
                                            stderr=subprocess.STDOUT)
                    try:
                        # Ready once it listens for windows coming forward and notifications.
                        ready = wait_event(lambda: orca.poll() is not None or {
                            "Window:Activate:", "Object:StateChanged:Showing"} <= listened_to(), 60)
                        if orca.poll() is not None:
                            with open(os.path.join(work, "orca.out")) as f:
                                print(f.read())
                        check(ready and orca.poll() is None, "Orca listens to the accessibility bus",
                              fatal=True)
                        check(spoken(lambda line: True, 0, 30), "Orca speaks", fatal=True)
                        play(pyatspi)
                    finally:
                        orca.kill()  # Orca ignores SIGTERM
                        orca.wait()
        finally:
            for pidfile in glob.glob(os.path.join(work, "run", "speech-dispatcher", "pid", "*.pid")):
                stop_recorded(pidfile, None)
            stop_sound_server(os.path.join(work, "run"))
            stop(openbox)
    judge()
finally:
    if os.environ.get("VORTANI_KEEP"):
        print(f"kept: {work}")
    else:
        shutil.rmtree(work, ignore_errors=True)
finish()
