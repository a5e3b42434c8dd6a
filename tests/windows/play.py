# SPDX-License-Identifier: GPL-3.0-or-later
"""The real Vortani.exe under Wine, played as a child plays it, judged by what the screen shows
and the loudspeaker plays.

    play.py <Vortani.exe> <wininfo.exe> <folder for screenshots>

Wine's prefix, display and sound server come from the environment (ctest's fixtures). Windows
reports the windows (wininfo.exe: z-order, topmost band, client size and place); xdotool moves
and clicks a real pointer; screenshots of the display tell what the child sees; the sound
server's null sink is recorded throughout.
"""
import os
import re
import subprocess
import sys
import time

program, wininfo, shots = sys.argv[1:4]
os.makedirs(shots, exist_ok=True)
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


def tile_rect(i):
    # inside the tile, clear of its edges and of the highlight's dotted mark
    return (128 + 88 * (i % 4) + 8, 76 + 88 * (i // 4) + 8, 73, 73)


passed = 0


def check(what, holds):
    global passed
    if not holds:
        print(f'FAIL: {what}', file=sys.stderr)
        sys.exit(1)
    passed += 1
    print(f'ok: {what}')


def windows():
    """The visible windows titled as the game's, front to back."""
    # Into a file, not a pipe: a Wine background program started meanwhile would hold a pipe
    # open long after wininfo has ended.
    listing = os.path.join(shots, 'windows.txt')
    with open(listing, 'w') as f:
        subprocess.run(['wine', wininfo], stdout=f, stderr=subprocess.DEVNULL,
                       stdin=subprocess.DEVNULL, timeout=60)
    with open(listing) as f:
        out = f.read()
    found = []
    for line in out.splitlines():
        m = re.match(r'(\S+) topmost=(\d) client=(\d+)x(\d+) at=(-?\d+),(-?\d+) title=(.*)$',
                     line)
        if m and m.group(7) == 'Vortani Puzzle':
            found.append({'handle': m.group(1), 'topmost': m.group(2) == '1',
                          'client': (int(m.group(3)), int(m.group(4))),
                          'at': (int(m.group(5)), int(m.group(6)))})
    return found


def wait_windows(count, seconds=60):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = windows()
        if len(found) == count:
            return found
        time.sleep(0.3)
    check(f'{count} game window(s) shown', False)


def xdo(*args):
    subprocess.run(['xdotool', *map(str, args)], check=True)


def click(origin, at, pause=0.5):
    xdo('mousemove', origin[0] + at[0], origin[1] + at[1])
    time.sleep(0.15)
    xdo('click', 1)
    time.sleep(pause)


def press_keys(origin, digits):
    """Quick presses on the keypad, a double-click's pace apart when a digit repeats."""
    for d in digits:
        xdo('mousemove', origin[0] + KEYS[d][0], origin[1] + KEYS[d][1])
        time.sleep(0.08)
        xdo('click', 1)
        time.sleep(0.08)


class Shot:
    """One screenshot of the whole display, pixels read straight from a PPM."""

    def __init__(self, name):
        path = os.path.join(shots, name + '.png')
        subprocess.run(['import', '-window', 'root', path], check=True)
        ppm = subprocess.run(['convert', path, '-depth', '8', 'ppm:-'], check=True,
                             capture_output=True).stdout
        m = re.match(rb'P6\s+(\d+)\s+(\d+)\s+255\s', ppm)
        self.width = int(m.group(1))
        self.data = ppm[m.end():]

    def pixels(self, origin, rect):
        x0, y0, w, h = rect
        x0 += origin[0]
        y0 += origin[1]
        out = []
        for y in range(y0, y0 + h):
            row = (y * self.width + x0) * 3
            line = self.data[row:row + 3 * w]
            out.extend(tuple(line[i:i + 3]) for i in range(0, len(line), 3))
        return out

    def region(self, origin, rect):
        return bytes(b for p in self.pixels(origin, rect) for b in p)


def commonest(pixels):
    counts = {}
    for p in pixels:
        counts[p] = counts.get(p, 0) + 1
    return max(counts, key=counts.get)


def ink(pixels, ground):
    """Pixels clearly apart from the ground colour: the strokes of a caption."""
    return sum(1 for p in pixels if sum(abs(a - b) for a, b in zip(p, ground)) > 120)


def answer_box():
    """What the answer box holds, copied out of it through Windows' clipboard. An empty box
    copies nothing, so the clipboard is emptied first."""
    subprocess.run(['xclip', '-selection', 'clipboard', '-i'], input=b'', check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(0.2)
    xdo('key', 'ctrl+a', 'ctrl+c')
    time.sleep(0.3)
    return subprocess.run(['xclip', '-o', '-selection', 'clipboard'], capture_output=True,
                          text=True, timeout=5).stdout


def differs(a, b):
    return sum(1 for p, q in zip(a, b) if p != q)


# Everything the game plays reaches the null sink; its monitor is recorded from the start.
recording = os.path.join(shots, 'sound.raw')
recorder = subprocess.Popen(['parec', '--device=test.monitor', '--format=u8', '--channels=1',
                             '--rate=11025', '--raw', recording])
game = subprocess.Popen(['wine', program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
try:
    start = wait_windows(1)[0]
    check('the start window has a client area of 632 x 453', start['client'] == CLIENT)
    check('the start window is in the topmost band', start['topmost'])
    screen = tuple(int(v) for v in re.search(
        r'dimensions:\s+(\d+)x(\d+)', subprocess.run(['xdpyinfo'], capture_output=True,
                                                      text=True).stdout).groups())
    centre = [start['at'][i] + CLIENT[i] // 2 - screen[i] // 2 for i in (0, 1)]
    check(f'the start window is centred (off by {centre})', max(map(abs, centre)) <= 40)
    origin = start['at']
    time.sleep(1.0)
    shot = Shot('1-start')
    check('the start window shows its teal background',
          commonest(shot.pixels(origin, (0, 0, 632, 60))) == TEAL)

    click(origin, ADDIZIONE, 1.0)
    both = wait_windows(2)
    front = both[0]
    check('Addizione opens a second window in front of the start window',
          front['handle'] != start['handle'] and both[1]['handle'] == start['handle'])
    check('the exercise window is topmost, 632 x 453, over the start window',
          front['topmost'] and front['client'] == CLIENT and front['at'] == start['at'])
    before = Shot('2-exercise')

    click(origin, BASSO, 1.0)
    dealt = Shot('3-level-chosen')
    tiles = [dealt.pixels(origin, tile_rect(i)) for i in range(12)]
    # The desktop's button face, whatever its theme makes it: the tiles' ground before a choice.
    face = commonest(tiles[11])
    check(f'a level shows twelve tiles in the button face {face}, each with its problem on it',
          face not in (TEAL, PALE_YELLOW) and
          all(commonest(t) == face and ink(t, face) > 20 for t in tiles))
    check('the twelve problems are all different',
          len({bytes(b for p in t for b in p) for t in tiles}) == 12)
    neutral = dealt.region(origin, FACE)


    click(origin, (172, 120), 0.8)  # the first tile
    chosen = Shot('4-tile-chosen')
    check('the chosen tile turns pale yellow',
          commonest(chosen.pixels(origin, tile_rect(0))) == PALE_YELLOW)
    check('the keypad opens with an empty answer box', answer_box() == '')

    press_keys(origin, '99')
    time.sleep(0.5)
    Shot('5-typed-99')
    check(f'two quick presses of 9 write "99" in the answer box (it holds "{answer_box()}")',
          answer_box() == '99')
    click(origin, OK, 1.0)
    wrong = Shot('6-wrong')
    sad = wrong.region(origin, FACE)
    check('a wrong answer changes the face', differs(sad, neutral) > 0)
    check('a wrong answer empties the answer box', answer_box() == '')
    check('a wrong answer writes another message in place of the hint',
          ink(wrong.pixels(origin, MESSAGE), TEAL) > 100 and
          differs(wrong.region(origin, MESSAGE), chosen.region(origin, MESSAGE)) > 100)
    check('a wrong answer leaves the tile chosen',
          commonest(wrong.pixels(origin, tile_rect(0))) == PALE_YELLOW)

    # The child tries the sums of a low level in turn until the tile goes.
    solved = None
    for answer in range(2, 20):
        press_keys(origin, str(answer))
        click(origin, OK, 0.8)
        after = Shot('7-try')
        if commonest(after.pixels(origin, tile_rect(0))) not in (PALE_YELLOW, face):
            solved = after
            os.replace(os.path.join(shots, '7-try.png'), os.path.join(shots, '7-right.png'))
            break
    check('a right answer takes the tile away and shows the picture beneath', solved)
    smile = solved.region(origin, FACE)
    check('a right answer shows another face than the wrong one and the neutral one',
          differs(smile, sad) > 0 and differs(smile, neutral) > 0)
    check('the other tiles stay', all(
        commonest(solved.pixels(origin, tile_rect(i))) == face for i in range(1, 12)))

    # The printer button prints the screen on Windows' default printer: the tests' PDF queue,
    # which Wine reaches through its PostScript driver. Printed, the game says nothing.
    pdfs = os.path.expanduser('~/PDF')
    before_print = set(os.listdir(pdfs)) if os.path.isdir(pdfs) else set()
    click(origin, PRINTER, 0.5)
    printed = None
    for _ in range(120):
        new = set(os.listdir(pdfs)) - before_print if os.path.isdir(pdfs) else set()
        if new:
            printed = os.path.join(pdfs, sorted(new)[0])
            break
        time.sleep(0.25)
    page = None
    for _ in range(60):  # until the PDF printer has written the file to its end
        if printed and subprocess.run(['pdfinfo', printed], capture_output=True).returncode == 0:
            page = subprocess.run(['pdftoppm', '-r', '20', '-singlefile', printed],
                                  capture_output=True).stdout
            break
        time.sleep(0.5)
    m = re.match(rb'P6\s+(\d+)\s+(\d+)\s+255\s', page or b'')
    teal = 0
    if m:
        body = page[m.end():]
        teal = sum(1 for i in range(0, len(body) - 2, 3)
                   if abs(body[i] - TEAL[0]) + abs(body[i + 1] - TEAL[1]) +
                   abs(body[i + 2] - TEAL[2]) < 60) / (len(body) // 3)
    check(f'the printer button prints the screen on Windows\' default printer, across a '
          f'landscape page ({teal:.0%} of it the form\'s teal)',
          m and int(m.group(1)) > int(m.group(2)) and teal > 0.3)
    check('printing raises no message', len(windows()) == 2)

    click(origin, EXERCISE_EXIT, 1.0)
    left = wait_windows(1)
    check('the exercise window\'s exit leaves the start window', left[0]['handle'] ==
          start['handle'])
    click(origin, START_EXIT, 0.5)
    try:
        status = game.wait(timeout=30)
    except subprocess.TimeoutExpired:
        status = None
    check(f'the start window\'s exit ends the program with status 0 (got {status})', status == 0)
finally:
    if game.poll() is None:
        game.kill()
    recorder.terminate()
    recorder.wait()

# Clicks, blips, the wrong answer's and the right answer's clips: together well over half a second
# of sound in the recording of the null sink.
with open(recording, 'rb') as f:
    samples = f.read()
loud = sum(1 for s in samples if abs(s - 128) > 8) / 11025
check(f'the clips reach the sound server through winmm ({loud:.2f} s of sound heard)',
      loud > 0.5)
print(f'{passed} passed, 0 failed')
