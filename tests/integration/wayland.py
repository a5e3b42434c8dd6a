# SPDX-License-Identifier: GPL-3.0-or-later
"""wayland.py BUILD_DIR: the installed package's program in a headless Weston; screenshots kept
as BUILD_DIR/wayland-*.png."""
import glob
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from layout import FORM as SIZE  # noqa: E402
from vortani_e2e import (accessibility_bus, atspi, check, environment, exercise_window,  # noqa: E402
                         find_app, finish, need, nodes, not_ready, press, session_bus, stop,
                         wait_for)


def toplevels(pid, env):
    """The program's top-level views, front first: rect on screen, content (opaque part) if known."""
    out = subprocess.run(["weston-debug", "scene-graph"], capture_output=True, text=True,
                         timeout=10, env=env).stdout
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


def screenshot(work, name, build, env):
    before = set(glob.glob(os.path.join(work, "wayland-screenshot-*.png")))
    subprocess.run(["weston-screenshooter"], cwd=work, check=True, timeout=20, env=env)
    taken = set(glob.glob(os.path.join(work, "wayland-screenshot-*.png"))) - before
    path = os.path.join(build, name)
    os.replace(taken.pop(), path)
    print(f"     screenshot: {path}")
    return path


def differing_pixels(shot_a, rect_a, shot_b, rect_b):
    def crop(shot, r):
        return f"{shot}[{r[2]}x{r[3]}+{r[0]}+{r[1]}]"
    out = subprocess.run(["compare", "-metric", "AE", "-fuzz", "5%", crop(shot_a, rect_a),
                          crop(shot_b, rect_b), "null:"], capture_output=True, text=True)
    return int(float(out.stderr.split()[0]))


def own_output(errors):
    # WAYLAND_DEBUG's lines start with a time stamp.
    with open(errors, errors="replace") as f:
        return [line for line in f.read().splitlines() if not line.startswith("[")]


def repeated(lines):
    return {line for line in lines if lines.count(line) > 2}


def size(view):
    return view["content"][2:] if view and view["content"] else None


def drive(program, build, work, env):
    pyatspi = atspi(env)
    errors = os.path.join(work, "vortani.err")
    with open(errors, "w") as err:
        game = subprocess.Popen([program], cwd=work, stdout=subprocess.DEVNULL, stderr=err,
                                env=environment(env, QT_QPA_PLATFORM="wayland",
                                                WAYLAND_DEBUG="client"))
    try:
        app = find_app(15)
        if app is None:
            with open(errors) as f:
                print(f.read()[-3000:])
        check(app is not None, "the program runs on Wayland and shows up on the accessibility bus",
              fatal=True)

        shown = wait_for(lambda: toplevels(game.pid, env))
        check(len(shown) == 1, f"the compositor shows one window at start ({len(shown)})")
        start = shown[0] if shown else None
        check(size(start) == SIZE, f"the start form shows at {SIZE[0]} x {SIZE[1]} ({size(start)})")
        start_shot = screenshot(work, "wayland-start.png", build, env)

        button = next((n for n in nodes(app) if n.name == "Addizione"
                       and n.getRole() == pyatspi.ROLE_PUSH_BUTTON), None)
        check(button is not None, "start: the Addizione button is there")
        if button is not None:
            press(button)
        check(exercise_window(app, wait_for) is not None, "choosing Addizione shows the exercise form")
        shown = wait_for(lambda: len(toplevels(game.pid, env)) == 2 and toplevels(game.pid, env))
        check(shown and len(shown) == 2, f"the compositor shows two windows ({len(shown or [])})")
        front = shown[0] if shown else None
        check(size(front) == SIZE, f"the window in front shows at {SIZE[0]} x {SIZE[1]} ({size(front)})")
        exercise_shot = screenshot(work, "wayland-exercise.png", build, env)
        # The start form, had it come back up in front, would look there as it did alone.
        if front and start and front["rect"][2:] == start["rect"][2:]:
            changed = differing_pixels(start_shot, start["rect"], exercise_shot, front["rect"])
            check(changed > SIZE[0] * SIZE[1] // 10,
                  f"the window in front is not the start form ({changed} pixels differ)")
        else:
            check(False, "the window in front is not the start form: its size differs "
                  f"({front and front['rect']}, {start and start['rect']})")
        # A warning loop shows as lines repeated while the program runs: watched for a second.
        wait_for(lambda: repeated(own_output(errors)), 1.0, 0.1)
    finally:
        stop(game)

    with open(errors, errors="replace") as f:
        protocol = [line for line in f.read().splitlines() if line.startswith("[")]
    own = own_output(errors)
    for size_request in (f"set_min_size({SIZE[0]}, {SIZE[1]})", f"set_max_size({SIZE[0]}, {SIZE[1]})"):
        count = sum(size_request in line for line in protocol)
        check(count >= 2, f"each form asks the compositor for {size_request} ({count})")
    print("     stderr: " + ("\n     stderr: ".join(own) if own else "(nothing)"))
    check(not [line for line in own if re.search(r"wayland|qt\.qpa", line, re.I)],
          "no warning from Qt's Wayland plugin")
    check(not repeated(own), f"no message repeated ({len(own)} lines of output)")


def installed(build):
    """The program the package_install fixture installed."""
    marker = os.path.join(build, "package-under-test")
    check(os.path.isfile(marker), f"package_install left {marker}", fatal=True)
    with open(marker) as f:
        root = re.search(r"^root=(.*)$", f.read(), re.M)[1]
    program = root + "/usr/games/vortani"
    check(os.access(program, os.X_OK), f"{program} is there", fatal=True)
    return program


def main(argv):
    build = os.path.abspath(argv[0])
    need("weston", "weston-screenshooter", "weston-debug", "dbus-daemon", "compare",
         "/usr/libexec/at-spi-bus-launcher", modules=("gi",))
    if "ok installed" not in subprocess.run(["dpkg-query", "-W", "-f=${Status}", "qt6-wayland"],
                                            capture_output=True, text=True).stdout:
        not_ready("qt6-wayland, which the package recommends, is not installed")
    program = installed(build)
    with tempfile.TemporaryDirectory() as runtime:
        os.chmod(runtime, 0o700)
        socket = "vortani-test"  # inside the private runtime folder
        env = environment(XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY=socket, DISPLAY=None)
        with open(os.path.join(runtime, "weston.log"), "w") as weston_log:
            # pixman draws into memory, for screenshots; --debug lets clients take them.
            weston = subprocess.Popen(["weston", "--backend=headless-backend.so", "--use-pixman",
                                       "--width=1024", "--height=768", f"--socket={socket}",
                                       "--idle-time=0", "--debug"], stdin=subprocess.DEVNULL,
                                      stdout=weston_log, stderr=subprocess.STDOUT, env=env)
        try:
            ready = wait_for(lambda: weston.poll() is not None or (
                os.path.exists(os.path.join(runtime, socket)) and subprocess.run(
                    ["weston-debug", "-l"], capture_output=True, env=env).returncode == 0), 10, 0.1)
            if not ready or weston.poll() is not None:
                with open(os.path.join(runtime, "weston.log")) as f:
                    print(f.read())
            check(ready and weston.poll() is None, "weston starts", fatal=True)
            with session_bus(env) as env, accessibility_bus(env) as env:
                drive(program, build, runtime, env)
        finally:
            stop(weston)
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
