# SPDX-License-Identifier: GPL-3.0-or-later
"""read_aloud.py PROGRAM: with --voce=sì the game is heard through speech-dispatcher on the
tests' own sound server, in Italian; without it no speech engine is ever started."""
import glob
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from vortani_e2e import (Recording, Screen, check, display, environment, finish, need,  # noqa: E402
                         start_sound_server, stop, stop_recorded, stop_sound_server, wait_for)

# The clips off, so that all that is heard is the voice.
CLASS = ["--operazioni=moltiplicazione", "--livelli=1", "--suoni=mai"]


def speech_servers(run):
    return glob.glob(os.path.join(run, "speech-dispatcher", "pid", "*.pid"))


def visit(program, arguments, env, log):
    """Starts the game, opens Moltiplicazione and deals Basso; returns the running game."""
    screen = Screen(env)
    game = subprocess.Popen([program, *arguments], env=env, stdout=log, stderr=log)
    start = screen.wait_windows(1)
    check(start, "the start screen shows", fatal=True)
    at = screen.origin(start[0])
    screen.press(at, "startForm/operationButton_2")
    check(screen.wait_windows(2), "Moltiplicazione opens the exercise screen", fatal=True)
    screen.press(at, "exerciseForm/levelButton_0")
    return game


def main(argv):
    program = os.path.realpath(argv[0])
    need("Xvfb", "xdotool", "xwininfo", "pulseaudio", "pactl", "parec", "speech-dispatcher",
         "/usr/lib/speech-dispatcher-modules/sd_espeak-ng")
    with tempfile.TemporaryDirectory(prefix="vortani-voice-") as work:
        run = os.path.join(work, "run")
        home = os.path.join(work, "home")
        os.makedirs(home)
        env = environment(HOME=home, XDG_RUNTIME_DIR=run, XDG_CONFIG_HOME=os.path.join(home, "c"),
                          XDG_CACHE_HOME=os.path.join(home, "k"), LANG="C.UTF-8")
        env = start_sound_server(run, sink="speech", env=env)
        log_path = os.path.join(work, "game.log")
        try:
            with display("1024x768x24", env) as env, open(log_path, "w") as log:
                game = visit(program, CLASS, env, log)
                stop(game)
                check(not speech_servers(run), "without voce no speech engine is started")

                recording = Recording(os.path.join(work, "speech.raw"), env, sink="speech")
                game = visit(program, CLASS + ["--voce=sì"], env, log)
                try:
                    check(wait_for(lambda: recording.heard() > 1.0, 30, 0.2),
                          f"with voce=sì the hints are heard ({recording.heard():.1f} s)")
                    check(speech_servers(run), "through speech-dispatcher")
                finally:
                    stop(game)
                    recording.stop()
        finally:
            for pidfile in speech_servers(run):
                stop_recorded(pidfile, None)
            stop_sound_server(run)
            with open(log_path) as f:
                said = f.read()
        check("cannot read aloud" not in said and "no Italian voice" not in said,
              f"an Italian voice answers ({said.strip()[-300:]!r})")
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
