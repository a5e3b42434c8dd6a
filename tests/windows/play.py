# SPDX-License-Identifier: GPL-3.0-or-later
"""The real Vortani.exe under Wine, played as a child plays it, judged by what the screen shows,
the loudspeaker plays and a screen reader is told.

    play.py <Vortani.exe> <wininfo.exe> <folder for screenshots> <stand-in uiautomationcore.dll>

Wine's prefix and display come from the wine fixture's folder (VORTANI_WINE_STATE), the sound
and print servers from the environment (ctest's fixtures). Windows reports the windows (wininfo.exe: z-order, topmost band, client size and place); xdotool moves
and clicks a real pointer; screenshots of the display tell what the child sees; the sound
server's null sink is recorded throughout. What the game raises through UI Automation the
stand-in library logs: nothing until a screen reader asks a window for its root (wininfo.exe
wake), then every message, while a whole puzzle is played.
"""
import os
import re
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from vortani_e2e import (Shot, check, commonest, copied, differing, finish, print_jobs,
                         printed_pdf, stop, wait_exit, wait_for, wine_environment,
                         xdo)

program, wininfo, shots, stand_in = sys.argv[1:5]
os.makedirs(shots, exist_ok=True)
os.environ.update(wine_environment(os.environ["VORTANI_WINE_STATE"]))
# Qt loads the library from the system folder; only the game takes the stand-in there.
system_library = os.path.join(os.environ["WINEPREFIX"], "drive_c", "windows", "system32",
                              "uiautomationcore.dll")
uia_log = os.path.abspath(os.path.join(shots, 'uia.log'))
with open(uia_log, 'w'):
    pass
CLIENT = (632, 453)
PALE_YELLOW = (255, 255, 192)  # the chosen tile
TEAL = (0, 192, 192)  # the forms' background

# Places on the forms, relative to their client area.
ADDIZIONE, START_EXIT = (370, 170), (450, 314)
BASSO, EXERCISE_EXIT, PRINTER = (58, 158), (562, 358), (558, 78)
KEYS = {'7': (520, 140), '8': (560, 140), '9': (600, 140), '4': (520, 180), '5': (560, 180),
        '6': (600, 180), '1': (520, 220), '2': (560, 220), '3': (600, 220), '0': (520, 260)}
OK = (560, 300)
FACE = (36, 324, 52, 52)
MESSAGE = (12, 392, 609, 57)


def tile_rect(i):  # clear of the tile's edges and of the highlight's dotted mark
    return (128 + 88 * (i % 4) + 8, 76 + 88 * (i // 4) + 8, 73, 73)


ANSWER = (358, 358, 69, 25)  # inside the answer box's frame


def windows():
    """The game's visible windows, front to back."""
    # A file, not a pipe, which a Wine background program started meanwhile would hold open.
    listing = os.path.join(shots, 'windows.txt')
    with open(listing, 'w') as f:
        subprocess.run(['wine', wininfo], stdout=f, stderr=subprocess.DEVNULL,
                       stdin=subprocess.DEVNULL, timeout=60)
    with open(listing) as f:
        found = re.findall(r'^(\S+) topmost=(\d) client=(\d+)x(\d+) at=(-?\d+),(-?\d+) '
                           r'title=Vortani Puzzle\r?$', f.read(), re.M)
    return [{'handle': h, 'topmost': t == '1', 'client': (int(w), int(ht)), 'at': (int(x), int(y))}
            for h, t, w, ht, x, y in found]


def wait_windows(count, seconds=60):
    found = wait_for(lambda: (lambda w: len(w) == count and w)(windows()), seconds, 0.3)
    check(found, f'{count} game window(s) shown', fatal=True)
    return found


def click(origin, at):
    xdo('mousemove', origin[0] + at[0], origin[1] + at[1], 'click', 1)


def press_keys(origin, digits):
    # a double-click's pace apart when a digit repeats
    steps = [['mousemove', origin[0] + KEYS[d][0], origin[1] + KEYS[d][1], 'click', 1]
             for d in digits]
    xdo(*[arg for step in steps for arg in step + ['sleep', '0.16']][:-2])


def shot_until(name, holds):
    return Shot.until(os.path.join(shots, name + '.png'), holds)


def ink(pixels, ground):
    """Pixels clearly apart from the ground: a caption's strokes."""
    return sum(1 for p in pixels if sum(abs(a - b) for a, b in zip(p, ground)) > 120)


def typed(shot):
    return sum(1 for r, g, b in shot.pixels(origin, ANSWER) if r > 180 and g < 90 and b < 90) > 10


# Everything the game plays reaches the null sink; its monitor is recorded from the start.
recording = os.path.join(shots, 'sound.raw')
recorder = subprocess.Popen(['parec', '--device=test.monitor', '--format=u8', '--channels=1',
                             '--rate=11025', '--latency-msec=100', '--raw', recording])


def heard():
    with open(recording, 'rb') as f:
        return sum(1 for s in f.read() if abs(s - 128) > 8) / 11025



def told():
    """What the game has raised through UI Automation so far, one line each."""
    with open(uia_log, encoding='utf-8') as f:
        return f.read().splitlines()


def notifications():
    return [line[len('notification '):] for line in told() if line.startswith('notification ')]


def ordered(lines, wanted):
    """The first of each wanted text (a predicate) found in lines, in this order: their indexes."""
    found, at = [], 0
    for want in wanted:
        at = next((i for i in range(at, len(lines)) if want(lines[i])), None)
        if at is None:
            return found
        found.append(at)
        at += 1
    return found


original_library = system_library + '.vortani-original'
if not os.path.exists(original_library):
    shutil.copy(system_library, original_library)
shutil.copy(stand_in, system_library)
game = subprocess.Popen(['wine', program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                        env=dict(os.environ, VORTANI_UIA_LOG='Z:' + uia_log.replace('/', '\\'),
                                 WINEDLLOVERRIDES=os.environ['WINEDLLOVERRIDES'] +
                                 ';uiautomationcore=n'))
try:
    start = wait_windows(1)[0]
    check(start['client'] == CLIENT, 'the start window has a client area of 632 x 453')
    check(start['topmost'], 'the start window is in the topmost band')
    screen = [int(n) for n in xdo('getdisplaygeometry').split()]
    centre = [start['at'][i] + CLIENT[i] // 2 - screen[i] // 2 for i in (0, 1)]
    check(max(map(abs, centre)) <= 40, f'the start window is centred (off by {centre})')
    origin = start['at']
    shot = shot_until('1-start', lambda s: commonest(s.pixels(origin, (0, 0, 632, 60))) == TEAL)
    check(commonest(shot.pixels(origin, (0, 0, 632, 60))) == TEAL,
          'the start window shows its teal background')

    click(origin, ADDIZIONE)
    both = wait_windows(2)
    front = both[0]
    check(front['handle'] != start['handle'] and both[1]['handle'] == start['handle'],
          'Addizione opens a second window in front of the start window')
    check(front['topmost'] and front['client'] == CLIENT and front['at'] == start['at'],
          'the exercise window is topmost, 632 x 453, over the start window')
    Shot(os.path.join(shots, '2-exercise.png'))

    click(origin, BASSO)

    def dealt_tiles(shot):
        tiles = [shot.pixels(origin, tile_rect(i)) for i in range(12)]
        # The desktop's button face, whatever the theme: the tiles' ground before a choice.
        face = commonest(tiles[11])
        return tiles, face, (face not in (TEAL, PALE_YELLOW) and
                             all(commonest(t) == face and ink(t, face) > 20 for t in tiles))
    dealt = shot_until('3-level-chosen', lambda s: dealt_tiles(s)[2])
    tiles, face, shown = dealt_tiles(dealt)
    check(shown, f'a level shows twelve tiles in the button face {face}, each with its problem on it')
    check(len({bytes(b for p in t for b in p) for t in tiles}) == 12,
          'the twelve problems are all different')
    neutral = dealt.region(origin, FACE)

    click(origin, (172, 120))  # the first tile
    chosen = shot_until('4-tile-chosen',
                        lambda s: commonest(s.pixels(origin, tile_rect(0))) == PALE_YELLOW)
    check(commonest(chosen.pixels(origin, tile_rect(0))) == PALE_YELLOW,
          'the chosen tile turns pale yellow')
    check(copied() == '', 'the keypad opens with an empty answer box')

    press_keys(origin, '99')
    shot_until('5-typed-99', typed)
    got = wait_for(lambda: (lambda text: len(text) >= 2 and text)(copied()), 10) or copied()
    check(got == '99', f'two quick presses of 9 write "99" in the answer box (it holds "{got}")')
    click(origin, OK)
    wrong = shot_until('6-wrong', lambda s: differing(s.region(origin, FACE), neutral) > 0
                       and not typed(s))
    sad = wrong.region(origin, FACE)
    check(differing(sad, neutral) > 0, 'a wrong answer changes the face')
    check(copied() == '', 'a wrong answer empties the answer box')
    check(ink(wrong.pixels(origin, MESSAGE), TEAL) > 100 and
          differing(wrong.region(origin, MESSAGE), chosen.region(origin, MESSAGE)) > 100,
          'a wrong answer writes another message in place of the hint')
    check(commonest(wrong.pixels(origin, tile_rect(0))) == PALE_YELLOW,
          'a wrong answer leaves the tile chosen')

    # The child tries the sums of a low level in turn until the tile goes. A wrong try empties
    # the answer box; a right one takes the tile away.
    def gone(shot):
        return commonest(shot.pixels(origin, tile_rect(0))) not in (PALE_YELLOW, face)
    solved = None
    for answer in range(2, 20):
        press_keys(origin, str(answer))
        click(origin, OK)
        after = shot_until('7-try', lambda s: gone(s) or not typed(s))
        if gone(after):
            solved = after
            os.replace(os.path.join(shots, '7-try.png'), os.path.join(shots, '7-right.png'))
            break
    check(solved, 'a right answer takes the tile away and shows the picture beneath', fatal=True)
    smile = solved.region(origin, FACE)
    check(differing(smile, sad) > 0 and differing(smile, neutral) > 0,
          'a right answer shows another face than the wrong one and the neutral one')
    check(all(commonest(solved.pixels(origin, tile_rect(i))) == face for i in range(1, 12)),
          'the other tiles stay')
    # The right answer's fanfare heard out before the next click cuts it off.
    wait_for(lambda: heard() > 0.5, 10, 0.2)

    # Windows' default printer is the tests' PDF queue (through Wine's PostScript driver); the
    # job is known by its number, as other runs print into the same folder.
    jobs_before = print_jobs()
    click(origin, PRINTER)
    jobs = wait_for(lambda: print_jobs() - jobs_before, 60, 0.25)
    printed = printed_pdf(jobs) if jobs else None
    page = subprocess.run(['pdftoppm', '-r', '20', '-singlefile', printed],
                          capture_output=True).stdout if printed else b''
    m = re.match(rb'P6\s+(\d+)\s+(\d+)\s+255\s', page)
    teal = 0
    if m:
        body = page[m.end():]
        teal = sum(1 for i in range(0, len(body) - 2, 3)
                   if abs(body[i] - TEAL[0]) + abs(body[i + 1] - TEAL[1]) +
                   abs(body[i + 2] - TEAL[2]) < 60) / (len(body) // 3)
    check(m and int(m.group(1)) > int(m.group(2)) and teal > 0.3,
          f'the printer button prints the screen on Windows\' default printer, across a '
          f'landscape page ({teal:.0%} of it the form\'s teal; job {jobs}, {printed})')
    check(len(windows()) == 2, 'printing raises no message')

    click(origin, EXERCISE_EXIT)
    left = wait_windows(1)
    check(left[0]['handle'] == start['handle'], 'the exercise window\'s exit leaves the start window')
    check(told() == [], f'no screen reader has asked yet: nothing is raised through UI Automation '
          f'({told()[:3]})')

    # A screen reader starts: it asks the window for its root, and from then on hears every
    # message of a whole puzzle, played with the mouse.
    # Not through a pipe: see windows().
    asked = subprocess.run(['wine', wininfo, 'wake', start['handle']], stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    check(asked.returncode == 0, 'a screen reader asks the start window for its UI Automation root '
          f'(status {asked.returncode})')
    click(origin, ADDIZIONE)
    wait_windows(2)
    hint = wait_for(lambda: 'Scegli il livello.' in notifications(), 20, 0.1)
    check(hint, f'the opened exercise\'s level hint is raised as a notification ({told()})')
    click(origin, BASSO)
    wait_for(lambda: len(notifications()) >= 2, 20, 0.1)
    # Sums of a low level, likeliest first.
    guesses = sorted(range(2, 20), key=lambda n: abs(n - 11))
    for tile in range(12):
        x, y, w, h = tile_rect(tile)
        click(origin, (x + w // 2, y + h // 2))
        if tile == 0:
            wait_for(lambda: len(notifications()) >= 3, 20, 0.1)
            guesses_here = [99] + guesses  # a wrong answer first
        else:
            guesses_here = guesses
        right = False
        for answer in guesses_here:
            before = len(notifications())
            press_keys(origin, str(answer))
            click(origin, OK)
            said = wait_for(lambda: notifications()[before:], 20, 0.05)
            if not said:
                break
            if not said[0].startswith('Ops!'):
                right = True
                break
        check(right, f'tile {tile + 1} is solved ({notifications()[-1:]})', fatal=True)
    finished = wait_for(lambda: 'Hai finito. Guarda che bel disegno' in notifications(), 20, 0.1)
    heard_texts = notifications()
    check(finished, 'the finished puzzle is raised as a notification')
    praises = [t for t in heard_texts if not t.startswith(('Ops!', 'Scegli', 'Scrivi', 'Hai fin'))]
    # The last one's finish may replace its praise before the praise is read out.
    check(len(praises) >= 11, f'the right answers raise praises ({praises})')
    wanted = [lambda t: t == 'Scegli il livello.',
              lambda t: t == 'Scegli l\'operazione cliccando su una tessera del puzzle.',
              lambda t: t.startswith('Scrivi il risultato utilizzando il tastierino'),
              lambda t: t == 'Ops! hai sbagliato. Riprova.',
              lambda t: t in praises,
              lambda t: t == 'Hai finito. Guarda che bel disegno']
    check(len(ordered(heard_texts, wanted)) == len(wanted),
          'the level hint, the tile hints, an error, a praise and the finish are raised in the '
          'order they appeared')
    # UI Automation's event ids: 20016 a window opened, 20005 the focus moved.
    lines = told()
    first = lines.index('notification Scegli il livello.') if hint else 0
    opened = max((i for i in range(first) if lines[i] == 'event 20016'), default=first)
    check('event 20005' in lines[opened:first],
          'the exercise window\'s opening and its focus are told before its level hint')
    check(heard_texts[-1] == 'Hai finito. Guarda che bel disegno' and
          heard_texts.count('Hai finito. Guarda che bel disegno') == 1,
          'the finish is raised once, last')

    click(origin, EXERCISE_EXIT)
    left = wait_windows(1)
    click(origin, START_EXIT)
    status = wait_exit(game, 30)
    check(status == 0, f'the start window\'s exit ends the program with status 0 (got {status})')
finally:
    stop(game)
    shutil.copy(original_library, system_library)
    recorder.terminate()
    recorder.wait()

# Clicks, blips and both answers' clips: well over half a second of sound.
loud = heard()
check(loud > 0.5, f'the clips reach the sound server through winmm ({loud:.2f} s of sound heard)')
finish()
