# SPDX-License-Identifier: GPL-3.0-or-later
"""Starts the installed program in the running Weston and checks it as the compositor sees it:
each form shows at 632 x 453, choosing an operation brings the exercise form up in front of the
start form, the compositor is told the forms cannot be resized, and nothing is warned in a loop
about what Wayland does not allow (placing a window, keeping it on top)."""
import glob
import os
import re
import subprocess
import sys
import time

import pyatspi
from tree_checks import check, finish, nodes

work = os.environ["VORTANI_WORK"]
shots = os.environ["VORTANI_SHOTS"]
SIZE = (632, 453)


def toplevels(pid):
    """The program's top-level views, front first, each with its rectangle on the screen and,
    when the compositor knows it, the rectangle of its content (the opaque part, inside the
    decoration)."""
    out = subprocess.run(["weston-debug", "scene-graph"], capture_output=True, text=True,
                         timeout=10).stdout
    views, view = [], None
    corners = r"\((-?\d+), (-?\d+)\) -> \((-?\d+), (-?\d+)\)"
    for line in out.splitlines():
        m = re.match(r"\s*View \d+ \(role ([^,]*), PID (\d+),", line)
        if m:
            mine = m[1] == "xdg_toplevel" and int(m[2]) == pid
            view = {"rect": None, "content": None} if mine else None
            if view:
                views.append(view)
            continue
        m = re.match(r"\s*(position: |\[opaque: )" + corners, line)
        if m and view is not None:
            x0, y0, x1, y1 = map(int, m.groups()[1:])
            view["rect" if m[1] == "position: " else "content"] = (x0, y0, x1 - x0, y1 - y0)
    return [v for v in views if v["rect"]]


def wait_for(condition, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        result = condition()
        if result:
            return result
        time.sleep(0.1)
    return condition()


def screenshot(name):
    before = set(glob.glob(os.path.join(work, "wayland-screenshot-*.png")))
    subprocess.run(["weston-screenshooter"], cwd=work, check=True, timeout=20)
    taken = set(glob.glob(os.path.join(work, "wayland-screenshot-*.png"))) - before
    path = os.path.join(shots, name)
    os.replace(taken.pop(), path)
    print(f"     screenshot: {path}")
    return path


def differing_pixels(shot_a, rect_a, shot_b, rect_b):
    def crop(shot, r):
        return f"{shot}[{r[2]}x{r[3]}+{r[0]}+{r[1]}]"
    out = subprocess.run(["compare", "-metric", "AE", "-fuzz", "5%", crop(shot_a, rect_a),
                          crop(shot_b, rect_b), "null:"], capture_output=True, text=True)
    return int(float(out.stderr.split()[0]))


def by_name(root, name):
    return next((n for n in nodes(root) if n.name == name), None)


def find_app():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name in ("vortani", "Vortani Puzzle"):
            return app
    return None


def exercise_shown(app):
    for window in app:
        label = by_name(window, "Somma =") if window is not None else None
        if label is not None and label.getState().contains(pyatspi.STATE_SHOWING):
            return window
    return None


errors = os.path.join(work, "vortani.err")
environment = dict(os.environ, QT_QPA_PLATFORM="wayland", WAYLAND_DEBUG="client")
with open(errors, "w") as err:
    game = subprocess.Popen([os.environ["VORTANI_PROGRAM"]], cwd=work, env=environment,
                            stdout=subprocess.DEVNULL, stderr=err)

app = wait_for(find_app, 15)
check(app is not None, "the program runs on Wayland and shows up on the accessibility bus")
if app is None:
    game.terminate()
    print(open(errors).read()[-3000:])
    sys.exit(1)

def size(view):
    return view["content"][2:] if view and view["content"] else None


shown = wait_for(lambda: toplevels(game.pid))
check(len(shown) == 1, f"the compositor shows one window at start ({len(shown)})")
start = shown[0] if shown else None
check(size(start) == SIZE, f"the start form shows at 632 x 453 ({size(start)})")
start_shot = screenshot("wayland-start.png")

button = next((n for n in nodes(app) if n.name == "Addizione"
               and n.getRole() == pyatspi.ROLE_PUSH_BUTTON), None)
check(button is not None, "start: the Addizione button is there")
if button is not None:
    action = button.queryAction()
    action.doAction([action.getName(i) for i in range(action.nActions)].index("Press"))
check(wait_for(lambda: exercise_shown(app)) is not None,
      "choosing Addizione shows the exercise form")
shown = wait_for(lambda: len(toplevels(game.pid)) == 2 and toplevels(game.pid))
check(shown and len(shown) == 2, f"the compositor shows two windows ({len(shown or [])})")
time.sleep(1)  # long enough for a warning loop to show
front = shown[0] if shown else None
check(size(front) == SIZE, f"the window in front shows at 632 x 453 ({size(front)})")
exercise_shot = screenshot("wayland-exercise.png")
# The start form, had it come back up in front, would look there as it did alone.
if front and start and front["rect"][2:] == start["rect"][2:]:
    changed = differing_pixels(start_shot, start["rect"], exercise_shot, front["rect"])
    check(changed > SIZE[0] * SIZE[1] // 10,
          f"the window in front is not the start form ({changed} pixels differ)")
else:
    check(False, "the window in front is not the start form: its size differs "
          f"({front and front['rect']}, {start and start['rect']})")

game.terminate()
game.wait(10)

# Protocol lines from WAYLAND_DEBUG start with a time stamp; the rest is the program's own.
lines = open(errors, errors="replace").read().splitlines()
protocol = [line for line in lines if line.startswith("[")]
own = [line for line in lines if not line.startswith("[")]
for size_request in ("set_min_size(632, 453)", "set_max_size(632, 453)"):
    count = sum(size_request in line for line in protocol)
    check(count >= 2, f"each form asks the compositor for {size_request} ({count})")
print("     stderr: " + ("\n     stderr: ".join(own) if own else "(nothing)"))
check(not [line for line in own if re.search(r"wayland|qt\.qpa", line, re.I)],
      "no warning from Qt's Wayland plugin")
repeated = {line for line in own if own.count(line) > 2}
check(not repeated, f"no message repeated ({len(own)} lines of output)")

finish()
