# SPDX-License-Identifier: GPL-3.0-or-later
"""What the end-to-end harnesses share; the ctest fixtures use its command line (main)."""
import collections
import contextlib
import glob
import os
import pwd
import random
import re
import select
import shutil
import signal
import subprocess
import sys
import time

import layout

CI = os.environ.get("CI") == "true"
TITLE = layout.TITLE

# ---- Checks -----------------------------------------------------------------------------------
passed = []
failed = []


def check(condition, what, fatal=False):
    """Records and prints one check; fatal ends the harness when it fails."""
    holds = bool(condition)
    print(("ok   " if holds else "FAIL ") + what, flush=True)
    (passed if holds else failed).append(what)
    if fatal and not holds:
        sys.exit(finish())
    return holds


def finish():
    """Prints the tally; the harness's exit status."""
    print(f"{len(passed)} passed, {len(failed)} failed", flush=True)
    return 1 if failed else 0


def not_ready(reason):
    print(("FAIL: " if CI else "SKIP: ") + reason, flush=True)
    sys.exit(1 if CI else 77)


def ran(what, *command, fatal=False, **options):
    run = subprocess.run(command, capture_output=True, text=True, stdin=subprocess.DEVNULL,
                         **options)
    if run.returncode != 0:
        print(run.stdout + run.stderr, flush=True)
    return check(run.returncode == 0, f"{what} (status {run.returncode})", fatal)


def need(*tools, modules=()):
    for tool in tools:
        if not (shutil.which(tool) or os.access(tool, os.X_OK)):
            not_ready(f"{tool} is not installed (scripts/install-deps.sh test)")
    for module in modules:
        try:
            __import__(module)
        except ImportError:
            not_ready(f"the Python module {module} is not installed (scripts/install-deps.sh test)")


# ---- Waiting ----------------------------------------------------------------------------------
def wait_for(condition, timeout=10.0, interval=0.05, idle=None, until=True):
    """condition's last answer, once true (until=False: once false) or when the time is up."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if bool(result) == until or time.monotonic() >= deadline:
            return result
        (idle or time.sleep)(interval)


@contextlib.contextmanager
def line_log(path):
    """A terminal whose lines reach path at once: a buffered log flushes each line to a tty."""
    import pty
    import threading
    import tty
    main, terminal = pty.openpty()
    tty.setraw(terminal)  # lines as they were written, without carriage returns

    def copy():
        with open(path, "ab", buffering=0) as out, contextlib.suppress(OSError):  # writer gone
            while chunk := os.read(main, 65536):
                out.write(chunk)
    copier = threading.Thread(target=copy, daemon=True)
    copier.start()
    try:
        yield os.ttyname(terminal)
    finally:
        os.close(terminal)
        copier.join(5)
        os.close(main)


def wait_exit(process, timeout=10.0):
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        return None


def alive(pid):
    """Running, not a zombie."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except (OSError, IndexError):
        return False


def stop_pid(pid, name=None):
    """TERM, then KILL; only while pid still is the program name (numbers get reused)."""
    with contextlib.suppress(OSError):
        with open(f"/proc/{pid}/comm") as f:
            if not alive(pid) or (name and f.read().strip() != name[:15]):
                return
        for sig in (signal.SIGTERM, signal.SIGKILL):
            os.kill(pid, sig)
            if wait_for(lambda: not alive(pid), 5):
                return


def stop(process):
    """Ends a Popen that may still run, and reaps it."""
    if process.poll() is None:
        process.terminate()
        if wait_exit(process, 5) is None:
            process.kill()
            process.wait()


def environment(base=None, **values):
    """A copy of base (this process's environment) with values set; None removes a name."""
    env = dict(os.environ if base is None else base)
    for name, value in values.items():
        env.pop(name, None) if value is None else env.__setitem__(name, value)
    return env


# ---- A virtual display ------------------------------------------------------------------------
def start_display(size="1024x768x24", log=None, detach=False):
    """(":N", process) of an Xvfb on a display it picks, once it accepts clients; detach: it
    outlives this process (a fixture)."""
    read_end, write_end = os.pipe()
    with open(log or os.devnull, "w") as out:
        # -noreset: a program started after the last one left must not meet the server resetting.
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", size,
                                 "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,),
                                stdin=subprocess.DEVNULL, stdout=out, stderr=out,
                                start_new_session=detach)
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + 30
    while not number.endswith(b"\n") and select.select([read_end], [], [],
                                                       max(0, deadline - time.monotonic()))[0]:
        if not (chunk := os.read(read_end, 16)):
            break
        number += chunk
    os.close(read_end)
    if not number.strip().isdigit():
        stop(xvfb)
        raise RuntimeError(f"Xvfb did not start{f' (see {log})' if log else ''}")
    return ":" + number.decode().strip(), xvfb


@contextlib.contextmanager
def display(size="1024x768x24", env=None):
    """env with a private Xvfb of its own as the display, for the block."""
    name, xvfb = start_display(size)
    try:
        yield environment(env, DISPLAY=name, WAYLAND_DISPLAY=None, QT_QPA_PLATFORM=None,
                          QT_SCALE_FACTOR=None)
    finally:
        stop(xvfb)


# ---- Session and accessibility buses ----------------------------------------------------------
@contextlib.contextmanager
def session_bus(env=None):
    """env with a private session bus, for the block."""
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                            "--print-address=1"], stdout=subprocess.PIPE,
                           stdin=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           start_new_session=True, env=env)
    address = bus.stdout.readline().decode().strip()
    try:
        if not address:
            raise RuntimeError("dbus-daemon did not start")
        yield environment(env, DBUS_SESSION_BUS_ADDRESS=address, SESSION_MANAGER=None)
    finally:
        with contextlib.suppress(ProcessLookupError):
            os.killpg(bus.pid, signal.SIGTERM)
        bus.wait()


@contextlib.contextmanager
def accessibility_bus(env):
    """env (with a session_bus()) with the AT-SPI bus started and programs asked to use it."""
    launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, env=env)
    # NameHasOwner asks without starting the bus.
    owned = ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
             "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"]
    try:
        if not wait_for(lambda: "boolean true" in subprocess.run(
                owned, capture_output=True, text=True, env=env).stdout, 30, 0.1):
            raise RuntimeError("the accessibility bus did not start")
        yield environment(env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", NO_AT_BRIDGE="0")
    finally:
        stop(launcher)


# ---- The game's windows on an X display --------------------------------------------------------
class Screen:
    """An X display as a child sees it: its windows titled as the game, the pointer and keys
    (xdotool), the clipboard (xclip) and screenshots (ImageMagick). Every tool runs with env."""

    def __init__(self, env):
        self.env = env

    def xdo(self, *args):
        return subprocess.run(["xdotool", *map(str, args)], check=True, capture_output=True,
                              text=True, env=self.env).stdout

    def window_ids(self):
        """The visible windows titled as the game."""
        return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{TITLE}$"],
                              capture_output=True, text=True, env=self.env).stdout.split()

    def wait_windows(self, count, timeout=20.0):
        """The window ids once exactly count show, else None."""
        return wait_for(lambda: (lambda ids: len(ids) == count and ids)(self.window_ids()),
                        timeout, 0.1) or None

    def origin(self, window):
        """Where the window's inside lies on the screen. xwininfo's, as xdotool counts a window
        manager's frame twice."""
        info = subprocess.run(["xwininfo", "-id", str(window)], check=True, capture_output=True,
                              text=True, env=self.env).stdout
        return tuple(int(re.search(rf"Absolute upper-left {axis}:\s*(-?\d+)", info)[1])
                     for axis in "XY")

    def press(self, origin, *names, pause=None):
        """Clicks the middle of each named control (layout.py) of the form inside at origin,
        pause seconds apart."""
        steps = [["mousemove", origin[0] + layout.centre(name)[0],
                  origin[1] + layout.centre(name)[1], "click", 1] for name in names]
        gap = ["sleep", str(pause)] if pause else []
        self.xdo(*[arg for step in steps for arg in gap + step][len(gap):])

    def copied(self, timeout=3.0):
        """What the focused control copies on Ctrl+A, Ctrl+C. An xclip of ours holds the
        clipboard until the copy takes it; nothing to copy shows only as the time running out."""
        holder = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard", "-i"],
                                  stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL, env=self.env)
        holder.stdin.write(b"\x01 nothing copied")
        holder.stdin.close()
        try:
            wait_for(lambda: self.clipboard() == "\x01 nothing copied", 5)
            self.xdo("key", "ctrl+a", "ctrl+c")
            return "" if wait_exit(holder, timeout) is None else self.clipboard()
        finally:
            stop(holder)

    def clipboard(self):
        try:
            return subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                                  text=True, timeout=5, env=self.env).stdout
        except subprocess.TimeoutExpired:
            return ""

    def shot(self, path):
        return Shot(path, self.env)

    def shot_until(self, path, holds, timeout=20.0):
        """The first screenshot that holds(shot), else the last one."""
        deadline = time.monotonic() + timeout
        while not holds(shot := self.shot(path)) and time.monotonic() < deadline:
            time.sleep(0.1)
        return shot

    def settled(self, path, at, rect, timeout=10.0):
        """The pixels of rect once two screenshots in a row agree."""
        last, now, deadline = None, self.shot(path).pixels(at, rect), time.monotonic() + timeout
        while now != last and time.monotonic() < deadline:
            last, now = now, self.shot(path).pixels(at, rect)
        return now


class Shot:
    """A screenshot of the whole display, read as a PPM."""

    def __init__(self, path, env):
        subprocess.run(["import", "-window", "root", path], check=True, env=env)
        ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                             capture_output=True).stdout
        m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm)
        self.width, self.data = int(m.group(1)), ppm[m.end():]

    def pixels(self, at, rect):
        """The pixels of rect (x, y, w, h) relative to at, row by row."""
        x0, y0, w, h = rect[0] + at[0], rect[1] + at[1], rect[2], rect[3]
        return [tuple(self.data[i:i + 3]) for y in range(y0, y0 + h)
                for i in range((y * self.width + x0) * 3, (y * self.width + x0 + w) * 3, 3)]


def differing(a, b):
    return sum(1 for p, q in zip(a, b) if p != q)


def commonest(pixels):
    """The commonest colour; None where nothing was seen."""
    most = collections.Counter(pixels).most_common(1)
    return most[0][0] if most else None


# ---- Controls on the accessibility bus --------------------------------------------------------
def atspi(env):
    """pyatspi, connected to env's accessibility bus. The library reads the session bus and the
    display from this process's own environment, when first imported: they are set here."""
    for name in ("DBUS_SESSION_BUS_ADDRESS", "DISPLAY"):
        os.environ.pop(name, None) if name not in env else os.environ.__setitem__(name, env[name])
    return _pyatspi()


def _pyatspi():
    """pyatspi once atspi() has connected it."""
    import pyatspi
    return pyatspi


def pump(seconds):
    """Waits with the accessibility events delivered."""
    from gi.repository import GLib
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while True:
        while context.iteration(False):
            pass
        if time.monotonic() >= end:
            return
        time.sleep(min(0.02, end - time.monotonic()))


def wait_event(condition, timeout=10.0):
    return wait_for(condition, timeout, 0.05, idle=pump)


def nodes(root):
    """root and every object below it; those gone meanwhile are skipped."""
    stack = [root]
    while stack:
        if (node := stack.pop()) is not None:
            yield node
            with contextlib.suppress(Exception):
                stack.extend(node[i] for i in range(node.childCount))


def by_name(root, name, role=None):
    for node in nodes(root):
        with contextlib.suppress(Exception):
            if node.name == name and (role is None or node.getRole() == role):
                return node


def has_state(node, state):
    try:
        return node is not None and node.getState().contains(state)
    except Exception:
        return False


def showing(node):
    return has_state(node, _pyatspi().STATE_SHOWING)


def find_app(timeout=10.0):
    return wait_event(lambda: next((a for a in _pyatspi().Registry.getDesktop(0)
                                    if a is not None and a.name in ("vortani", TITLE)), None),
                      timeout)


def windows_of(app):
    return [w for w in app if w is not None]


def exercise_window(app, wait=wait_event):
    return wait(lambda: next((w for w in windows_of(app) if showing(by_name(w, "Somma ="))), None))


def focused(app):
    return next((n for w in windows_of(app) for n in nodes(w)
                 if has_state(n, _pyatspi().STATE_FOCUSED)), None)


def press(node):
    """Presses a control through its accessible action, as an assistive tool does."""
    action = node.queryAction()
    action.doAction([action.getName(i) for i in range(action.nActions)].index("Press"))


def centre_of(node):
    ext = node.queryComponent().getExtents(_pyatspi().DESKTOP_COORDS)
    return ext.x + ext.width // 2, ext.y + ext.height // 2


# ---- The tests' sound server ------------------------------------------------------------------
def start_sound_server(runtime, sink="test", env=None):
    """A private PulseAudio, a null sink its default, on runtime/pulse/native: env with
    XDG_RUNTIME_DIR and PULSE_SERVER naming it (and a HOME the daemon can write to)."""
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    os.chmod(runtime, 0o700)
    runtime = os.path.abspath(runtime)
    socket = os.path.join(runtime, "pulse", "native")
    if len(socket) > 100:  # sun_path holds 108 bytes with the terminator
        raise RuntimeError(f"socket path too long for a unix socket: {socket}")
    stop_sound_server(runtime)
    env = environment(env, XDG_RUNTIME_DIR=runtime, PULSE_SERVER="unix:" + socket,
                      PULSE_SINK=None, PULSE_SOURCE=None)
    # The daemon keeps its state under HOME.
    if not os.access(env.get("HOME", "/nonexistent"), os.W_OK):
        env["HOME"] = os.path.join(runtime, "home")
        os.makedirs(env["HOME"], exist_ok=True)
    log = os.path.join(runtime, "daemon.log")
    with contextlib.suppress(FileNotFoundError):
        os.remove(log)
    # -n: only the modules named here. Anonymous access is safe: the folder is ours alone (700).
    # Off the session bus, whose one name for a sound server a second server could not take.
    started = subprocess.run(["pulseaudio", "-n", "--daemonize=yes", "--exit-idle-time=-1",
                              f"--log-target=newfile:{log}", f"--load=module-null-sink sink_name={sink}",
                              f"--load=module-native-protocol-unix auth-anonymous=1 socket={socket}"],
                             stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                             env=environment(env, DBUS_SESSION_BUS_ADDRESS=None, DISPLAY=None))
    if started.returncode != 0 or not wait_for(lambda: subprocess.run(
            ["pactl", "info"], capture_output=True, env=env).returncode == 0, 10, 0.1):
        raise RuntimeError(f"the sound server did not start (see {log})")
    subprocess.run(["pactl", "set-default-sink", sink], check=True, env=env)
    default = subprocess.run(["pactl", "get-default-sink"], capture_output=True, text=True,
                             env=env).stdout
    if default.strip() != sink:
        raise RuntimeError(f"the sound server has no null sink {sink} (see {log})")
    return env


def stop_recorded(pidfile, name, *leftovers):
    """Stops the process whose id pidfile holds, if it still is name; removes both files."""
    with contextlib.suppress(OSError, ValueError):
        with open(pidfile) as f:
            stop_pid(int(f.read()), name)
    for path in (pidfile, *leftovers):
        with contextlib.suppress(FileNotFoundError):
            os.remove(path)


def stop_sound_server(runtime):
    stop_recorded(os.path.join(runtime, "pulse", "pid"), "pulseaudio",
                  os.path.join(runtime, "pulse", "native"))


class Recording:
    """Everything a sound server's null sink plays, recorded from its monitor from now on."""
    RATE = 11025

    def __init__(self, path, env, sink="test"):
        self.path = path
        self.process = subprocess.Popen(
            ["parec", f"--device={sink}.monitor", "--format=u8", "--channels=1",
             f"--rate={self.RATE}", "--latency-msec=100", "--raw", path], env=env)

    def heard(self):
        """Seconds of sound so far."""
        with contextlib.suppress(FileNotFoundError), open(self.path, "rb") as f:
            return sum(1 for s in f.read() if abs(s - 128) > 8) / self.RATE
        return 0.0

    def stop(self):
        stop(self.process)


# ---- The tests' print server ------------------------------------------------------------------
PRINT_QUEUE = "VortaniPDF"
PDF_DRIVER = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"


def _lpstat(env, *args):
    # Its messages in English, as read here.
    return subprocess.run(["lpstat", *args], capture_output=True, text=True,
                          env=environment(env, LC_ALL="C")).stdout


def print_unready(env):
    """What keeps env's print server from taking a job on its default queue; "" when nothing."""
    if "scheduler is running" not in _lpstat(env, "-r"):
        return f"CUPS_SERVER {env.get('CUPS_SERVER')} unreachable: no scheduler answers there"
    if not _lpstat(env, "-d").strip().endswith(f": {PRINT_QUEUE}"):
        return f"no default printer: {PRINT_QUEUE} is not the default destination"
    if f"{PRINT_QUEUE} accepting requests" not in _lpstat(env, "-a", PRINT_QUEUE):
        return f"queue {PRINT_QUEUE} not accepting jobs"
    if "enabled" not in _lpstat(env, "-p", PRINT_QUEUE):
        return f"queue {PRINT_QUEUE} not enabled"
    return ""


def start_print_server(state):
    """A cupsd with everything under state, a PDF queue its default, once that queue takes jobs:
    the environment whose CUPS_SERVER names it. The PDF files land where the system's cups-pdf
    says (~/PDF)."""
    if os.geteuid() != 0:
        not_ready("the print server needs root: the PDF backend runs as root")
    if not os.path.exists(PDF_DRIVER):
        not_ready("the PDF printer driver is missing (package printer-driver-cups-pdf)")
    state = os.path.abspath(state)
    stop_print_server(state)
    shutil.rmtree(state, ignore_errors=True)
    socket = os.path.join(state, "cups.sock")
    if len(socket) > 100:
        raise RuntimeError(f"socket path too long for a unix socket: {socket}")
    for folder in ("conf", "spool", "cache", "state", "log", "tmp"):
        os.makedirs(os.path.join(state, folder))
    # Filters run as lp and write their temporary files here.
    shutil.chown(os.path.join(state, "tmp"), group="lp")
    os.chmod(os.path.join(state, "tmp"), 0o1770)
    with open(os.path.join(state, "conf", "cupsd.conf"), "w") as f:
        f.write(f"Listen {socket}\nLogLevel info\nWebInterface No\nBrowsing No\n"
                "BrowseLocalProtocols none\nDefaultAuthType None\n"
                "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
    with open(os.path.join(state, "conf", "cups-files.conf"), "w") as f:
        f.write("".join(f"{key} {state}/{value}\n" for key, value in (
            ("ServerRoot", "conf"), ("RequestRoot", "spool"), ("CacheDir", "cache"),
            ("StateDir", "state"), ("TempDir", "tmp"), ("AccessLog", "log/access_log"),
            ("ErrorLog", "log/error_log"), ("PageLog", "log/page_log"),
            ("Printcap", "printcap"))))
    # Each server numbers its jobs from a start of its own: the PDF files of two runs meet in
    # one folder, named after the job's title and number.
    with open(os.path.join(state, "cache", "job.cache"), "w") as f:
        f.write(f"NextJobId {random.randrange(1000, 2_000_000_000)}\n")
    with open(os.path.join(state, "log", "cupsd.out"), "w") as out:
        cupsd = subprocess.Popen(["cupsd", "-f", "-c", f"{state}/conf/cupsd.conf",
                                  "-s", f"{state}/conf/cups-files.conf"],
                                 stdin=subprocess.DEVNULL, stdout=out, stderr=out,
                                 start_new_session=True)
    with open(os.path.join(state, "cupsd.pid"), "w") as f:
        f.write(str(cupsd.pid))
    env = environment(CUPS_SERVER=socket)
    if not wait_for(lambda: "scheduler is running" in _lpstat(env, "-r"), 20, 0.1):
        raise RuntimeError(f"cupsd did not start (see {state}/log)")
    for command in (["lpadmin", "-p", PRINT_QUEUE, "-v", "cups-pdf:/", "-E", "-P", PDF_DRIVER],
                    ["lpadmin", "-d", PRINT_QUEUE], ["cupsenable", PRINT_QUEUE],
                    ["cupsaccept", PRINT_QUEUE]):
        subprocess.run(command, check=True, stderr=subprocess.DEVNULL, env=env)
    # Up is not ready: the tests need the default queue taking jobs.
    if why := wait_for(lambda: print_unready(env), 30, 0.2, until=False):
        raise RuntimeError(f"{why} (see {state}/log)")
    return env


def stop_print_server(state):
    stop_recorded(os.path.join(state, "cupsd.pid"), "cupsd")


def printed_pdf(job_ids, timeout=60.0):
    """The complete PDF of one of these jobs, in the job owner's ~/PDF."""
    folder = os.path.join(pwd.getpwuid(os.getuid()).pw_dir, "PDF")
    endings = tuple(f"-job_{n}.pdf" for n in job_ids)
    return wait_for(lambda: next((p for p in glob.glob(os.path.join(folder, "*"))
                                  if p.endswith(endings) and subprocess.run(
                                      ["pdfinfo", p], capture_output=True).returncode == 0),
                                 None), timeout, 0.25)


def print_jobs(env):
    out = _lpstat(env, "-W", "all", "-o", PRINT_QUEUE)
    return {int(m) for m in re.findall(rf"^{PRINT_QUEUE}-(\d+)", out, re.M)}


# ---- Wine -------------------------------------------------------------------------------------
def wine_environment(state, env=None):
    """env with the wine fixture's prefix and display in state."""
    with open(os.path.join(state, "display")) as f:
        display_name = f.read().strip()
    env = environment(env)
    return environment(env, WINEPREFIX=os.path.join(state, "prefix"), WINEDEBUG="-all",
                       DISPLAY=display_name,
                       # No Mono or Gecko: nothing here needs them, and their installers would ask.
                       WINEDLLOVERRIDES=env.get("WINEDLLOVERRIDES", "mscoree,mshtml="))


def _quiet(env, *command):
    subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, env=env)


def start_wine(state, env=None):
    """A fresh Wine prefix, with none of the forms' fonts (the game brings look-alikes), on a
    display of its own (named in state/display), both outliving this process: env for them."""
    need("wine", "wineboot", "wineserver", "Xvfb")
    stop_wine(state)
    os.makedirs(state, exist_ok=True)
    state = os.path.abspath(state)
    display_name, xvfb = start_display("1280x1024x24", os.path.join(state, "xvfb.log"),
                                       detach=True)
    with open(os.path.join(state, "xvfb.pid"), "w") as f:
        f.write(str(xvfb.pid))
    with open(os.path.join(state, "display"), "w") as f:
        f.write(display_name + "\n")
    env = wine_environment(state, env)
    prefix = env["WINEPREFIX"]
    # A prefix made by an earlier run is reused; one from an interrupted run is made anew.
    if not os.path.exists(os.path.join(prefix, ".ready")):
        shutil.rmtree(prefix, ignore_errors=True)
        with open(os.path.join(state, "wineboot.log"), "w") as log:
            subprocess.run(["wineboot", "-i"], stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                           env=env)
        subprocess.run(["wineserver", "-w"], env=env)
        open(os.path.join(prefix, ".ready"), "w").close()
    # The server and Wine's background programs started here, away from the tests' output, which
    # ctest would otherwise hold until they end; -p120: it ends on its own if the run is cut short.
    _quiet(env, "wineserver", "-p120")
    _quiet(env, "wine", "cmd", "/c", "exit")
    return env


def stop_wine(state):
    """Ends Wine's server, then the display; the prefix stays for the next run."""
    prefix = os.path.join(state, "prefix")
    if os.path.isdir(prefix) and shutil.which("wineserver"):
        env = environment(WINEPREFIX=prefix)
        _quiet(env, "wineserver", "-k")
        _quiet(env, "wineserver", "-w")
    stop_recorded(os.path.join(state, "xvfb.pid"), "Xvfb", os.path.join(state, "display"))


@contextlib.contextmanager
def private_wine(state):
    """The environment of a fresh prefix and display for the block, kept from the desktop's
    menus and home, and from DLLs other than a program's own."""
    shutil.rmtree(state, ignore_errors=True)
    os.makedirs(os.path.join(state, "home"))
    env = environment(HOME=os.path.join(state, "home"), WINEPATH=None, WINEQT_QPA_PLATFORM=None,
                      WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
    try:
        yield start_wine(state, env)
    finally:
        stop_wine(state)
        shutil.rmtree(os.path.join(state, "prefix"), ignore_errors=True)


def window_of(command, log, cwd, env):
    """Starts command under Wine; (process, "" once its window shows, else why not)."""
    with open(log, "w") as out:
        process = subprocess.Popen(["wine", command], cwd=cwd, stdin=subprocess.DEVNULL,
                                   stdout=out, stderr=out, env=env)
    screen = Screen(env)
    if wait_for(lambda: screen.window_ids() or process.poll() is not None, 60, 0.1) \
            and screen.window_ids():
        return process, ""
    with open(log, errors="replace") as f:
        tail = "".join(f.readlines()[-5:])
    return process, (f"the program ended without its window: {tail}" if process.poll() is not None
                     else f"no window '{TITLE}' within 60 s: {tail}")


# ---- Command line, for ctest's fixtures and the benchmark ------------------------------------
def main(argv):
    command, args = argv[0], argv[1:]
    commands = {
        "sound-start": lambda d: need("pulseaudio", "pactl") or print(
            f"sound server on {start_sound_server(d)['PULSE_SERVER']}"),
        "sound-stop": stop_sound_server,
        "print-start": lambda d: need("cupsd", "lpadmin", "lpstat") or print(
            f"print server on {start_print_server(d)['CUPS_SERVER']}, default queue "
            f"{PRINT_QUEUE} accepting jobs"),
        "print-stop": stop_print_server,
        "wine-start": lambda d: print(f"wine: display {start_wine(d)['DISPLAY']}"),
        "wine-stop": stop_wine,
        # wine-run DIR PROGRAM ARG...: under Wine in DIR's prefix, on DIR's display.
        "wine-run": lambda d, *cmd: os.execvpe("wine", ["wine", *cmd], wine_environment(d)),
    }
    if command == "display":  # display COMMAND...: on a private display and session bus
        with display() as env, session_bus(env) as env:
            return subprocess.run(args, env=env).returncode
    try:
        commands[command](*args)
    except RuntimeError as error:
        return f"{command}: {error}"
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
