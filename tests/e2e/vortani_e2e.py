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

CI = os.environ.get("CI") == "true"
TITLE = "Vortani Puzzle"

# ---- Checks -----------------------------------------------------------------------------------
passed = []
failed = []


def check(condition, what, fatal=False):
    """Records and prints one check; fatal ends the harness when it fails."""
    holds = bool(condition)
    print(("ok   " if holds else "FAIL ") + what, flush=True)
    (passed if holds else failed).append(what)
    if fatal and not holds:
        finish()
    return holds


def finish():
    print(f"{len(passed)} passed, {len(failed)} failed", flush=True)
    sys.exit(1 if failed else 0)


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


def _set(values):
    for name, value in values.items():
        os.environ.pop(name, None) if value is None else os.environ.__setitem__(name, value)


@contextlib.contextmanager
def environment(**values):
    """Sets (None: removes) environment variables for the block."""
    saved = {name: os.environ.get(name) for name in values}
    _set(values)
    try:
        yield
    finally:
        _set(saved)


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
def display(size="1024x768x24"):
    name, xvfb = start_display(size)
    try:
        with environment(DISPLAY=name, WAYLAND_DISPLAY=None, QT_QPA_PLATFORM=None,
                         QT_SCALE_FACTOR=None):
            yield name
    finally:
        stop(xvfb)


# ---- Session and accessibility buses ----------------------------------------------------------
@contextlib.contextmanager
def session_bus():
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                            "--print-address=1"], stdout=subprocess.PIPE,
                           stdin=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           start_new_session=True)
    address = bus.stdout.readline().decode().strip()
    try:
        if not address:
            raise RuntimeError("dbus-daemon did not start")
        with environment(DBUS_SESSION_BUS_ADDRESS=address, SESSION_MANAGER=None):
            yield address
    finally:
        with contextlib.suppress(ProcessLookupError):
            os.killpg(bus.pid, signal.SIGTERM)
        bus.wait()


@contextlib.contextmanager
def accessibility_bus():
    """The AT-SPI bus inside a session_bus(), with programs asked to use it."""
    launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
    # NameHasOwner asks without starting the bus.
    owned = ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
             "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"]
    try:
        if not wait_for(lambda: "boolean true" in subprocess.run(
                owned, capture_output=True, text=True).stdout, 30, 0.1):
            raise RuntimeError("the accessibility bus did not start")
        with environment(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", NO_AT_BRIDGE="0"):
            yield
    finally:
        stop(launcher)


# ---- The game's windows on an X display --------------------------------------------------------
def xdo(*args):
    return subprocess.run(["xdotool", *map(str, args)], check=True, capture_output=True,
                          text=True).stdout


def window_ids():
    """The visible windows titled as the game."""
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{TITLE}$"],
                          capture_output=True, text=True).stdout.split()


def wait_windows(count, timeout=20.0):
    """The window ids once exactly count show, else None."""
    return wait_for(lambda: (lambda ids: len(ids) == count and ids)(window_ids()), timeout,
                    0.1) or None


def origin(window):
    geometry = dict(line.split("=", 1) for line in
                    xdo("getwindowgeometry", "--shell", window).split())
    return int(geometry["X"]), int(geometry["Y"])


def click(x, y):
    xdo("mousemove", x, y, "click", 1)


def copied(timeout=3.0):
    """What the focused control copies on Ctrl+A, Ctrl+C. An xclip of ours holds the clipboard
    until the copy takes it; nothing to copy shows only as the time running out."""
    holder = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard", "-i"],
                              stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    holder.stdin.write(b"\x01 nothing copied")
    holder.stdin.close()
    try:
        wait_for(lambda: clipboard() == "\x01 nothing copied", 5)
        xdo("key", "ctrl+a", "ctrl+c")
        return "" if wait_exit(holder, timeout) is None else clipboard()
    finally:
        stop(holder)


def clipboard():
    try:
        return subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                              text=True, timeout=5).stdout
    except subprocess.TimeoutExpired:
        return ""


class Shot:
    """A screenshot of the whole display, read as a PPM."""

    def __init__(self, path):
        subprocess.run(["import", "-window", "root", path], check=True)
        ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                             capture_output=True).stdout
        m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm)
        self.width, self.data = int(m.group(1)), ppm[m.end():]

    def pixels(self, at, rect):
        """The pixels of rect (x, y, w, h) relative to at, row by row."""
        x0, y0, w, h = rect[0] + at[0], rect[1] + at[1], rect[2], rect[3]
        return [tuple(self.data[i:i + 3]) for y in range(y0, y0 + h)
                for i in range((y * self.width + x0) * 3, (y * self.width + x0 + w) * 3, 3)]

    def region(self, at, rect):
        return bytes(b for p in self.pixels(at, rect) for b in p)

    @classmethod
    def until(cls, path, holds, timeout=20.0):
        """The first screenshot that holds(shot), else the last one."""
        deadline = time.monotonic() + timeout
        while not holds(shot := cls(path)) and time.monotonic() < deadline:
            time.sleep(0.1)
        return shot

    @classmethod
    def settled(cls, path, at, rect, timeout=10.0):
        """The pixels of rect once two screenshots in a row agree."""
        last, now, deadline = None, cls(path).pixels(at, rect), time.monotonic() + timeout
        while now != last and time.monotonic() < deadline:
            last, now = now, cls(path).pixels(at, rect)
        return now


def differing(a, b):
    return sum(1 for p, q in zip(a, b) if p != q)


def commonest(pixels):
    return collections.Counter(pixels).most_common(1)[0][0]


# ---- Controls on the accessibility bus --------------------------------------------------------
def atspi():
    """pyatspi, imported once the accessibility bus runs (it connects at import)."""
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
    return has_state(node, atspi().STATE_SHOWING)


def find_app(timeout=10.0):
    return wait_event(lambda: next((a for a in atspi().Registry.getDesktop(0)
                                    if a is not None and a.name in ("vortani", TITLE)), None),
                      timeout)


def windows_of(app):
    return [w for w in app if w is not None]


def exercise_window(app, wait=wait_event):
    return wait(lambda: next((w for w in windows_of(app) if showing(by_name(w, "Somma ="))), None))


def focused(app):
    return next((n for w in windows_of(app) for n in nodes(w)
                 if has_state(n, atspi().STATE_FOCUSED)), None)


def press(node):
    """Presses a control through its accessible action, as an assistive tool does."""
    action = node.queryAction()
    action.doAction([action.getName(i) for i in range(action.nActions)].index("Press"))


def centre_of(node):
    ext = node.queryComponent().getExtents(atspi().DESKTOP_COORDS)
    return ext.x + ext.width // 2, ext.y + ext.height // 2


# ---- The tests' sound server ------------------------------------------------------------------
def start_sound_server(runtime, sink="test"):
    """A private PulseAudio, a null sink its default, on runtime/pulse/native; sets
    XDG_RUNTIME_DIR and PULSE_SERVER."""
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    os.chmod(runtime, 0o700)
    runtime = os.path.abspath(runtime)
    socket = os.path.join(runtime, "pulse", "native")
    if len(socket) > 100:  # sun_path holds 108 bytes with the terminator
        raise RuntimeError(f"socket path too long for a unix socket: {socket}")
    stop_sound_server(runtime)
    _set(dict(XDG_RUNTIME_DIR=runtime, PULSE_SERVER="unix:" + socket, PULSE_SINK=None,
              PULSE_SOURCE=None))
    # The daemon keeps its state under HOME; give it one it can write to.
    if not os.access(os.environ.get("HOME", "/nonexistent"), os.W_OK):
        os.environ["HOME"] = os.path.join(runtime, "home")
        os.makedirs(os.environ["HOME"], exist_ok=True)
    log = os.path.join(runtime, "daemon.log")
    with contextlib.suppress(FileNotFoundError):
        os.remove(log)
    # -n: only the modules named here. Anonymous access is safe: the folder is ours alone (700).
    started = subprocess.run(["pulseaudio", "-n", "--daemonize=yes", "--exit-idle-time=-1",
                              f"--log-target=newfile:{log}", f"--load=module-null-sink sink_name={sink}",
                              f"--load=module-native-protocol-unix auth-anonymous=1 socket={socket}"],
                             stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
    if started.returncode != 0 or not wait_for(
            lambda: subprocess.run(["pactl", "info"], capture_output=True).returncode == 0, 10, 0.1):
        raise RuntimeError(f"the sound server did not start (see {log})")
    subprocess.run(["pactl", "set-default-sink", sink], check=True)
    default = subprocess.run(["pactl", "get-default-sink"], capture_output=True, text=True).stdout
    if default.strip() != sink:
        raise RuntimeError(f"the sound server has no null sink {sink} (see {log})")
    with open(os.path.join(runtime, "pulse", "pid")) as f:
        return int(f.read())


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


# ---- The tests' print server ------------------------------------------------------------------
PRINT_QUEUE = "VortaniPDF"
PDF_DRIVER = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"


def _lpstat(*args):
    # Its messages in English, as read here.
    return subprocess.run(["lpstat", *args], capture_output=True, text=True,
                          env=dict(os.environ, LC_ALL="C")).stdout


def print_unready():
    """What keeps the print server from taking a job on its default queue; "" when nothing."""
    if "scheduler is running" not in _lpstat("-r"):
        return f"CUPS_SERVER {os.environ.get('CUPS_SERVER')} unreachable: no scheduler answers there"
    if not _lpstat("-d").strip().endswith(f": {PRINT_QUEUE}"):
        return f"no default printer: {PRINT_QUEUE} is not the default destination"
    if f"{PRINT_QUEUE} accepting requests" not in _lpstat("-a", PRINT_QUEUE):
        return f"queue {PRINT_QUEUE} not accepting jobs"
    if "enabled" not in _lpstat("-p", PRINT_QUEUE):
        return f"queue {PRINT_QUEUE} not enabled"
    return ""


def start_print_server(state):
    """A cupsd with everything under state, a PDF queue its default, once that queue takes jobs;
    sets CUPS_SERVER. The PDF files land where the system's cups-pdf says (~/PDF)."""
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
    os.environ["CUPS_SERVER"] = socket
    if not wait_for(lambda: "scheduler is running" in _lpstat("-r"), 20, 0.1):
        raise RuntimeError(f"cupsd did not start (see {state}/log)")
    for command in (["lpadmin", "-p", PRINT_QUEUE, "-v", "cups-pdf:/", "-E", "-P", PDF_DRIVER],
                    ["lpadmin", "-d", PRINT_QUEUE], ["cupsenable", PRINT_QUEUE],
                    ["cupsaccept", PRINT_QUEUE]):
        subprocess.run(command, check=True, stderr=subprocess.DEVNULL)
    # Up is not ready: the tests need the default queue taking jobs.
    if why := wait_for(print_unready, 30, 0.2, until=False):
        raise RuntimeError(f"{why} (see {state}/log)")
    return socket


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


def print_jobs():
    out = subprocess.run(["lpstat", "-W", "all", "-o", PRINT_QUEUE], capture_output=True,
                         text=True).stdout
    return {int(m) for m in re.findall(rf"^{PRINT_QUEUE}-(\d+)", out, re.M)}


# ---- Wine -------------------------------------------------------------------------------------
def wine_environment(state):
    with open(os.path.join(state, "display")) as f:
        display_name = f.read().strip()
    return dict(WINEPREFIX=os.path.join(state, "prefix"), WINEDEBUG="-all", DISPLAY=display_name,
                # No Mono or Gecko: nothing here needs them, and their installers would ask.
                WINEDLLOVERRIDES=os.environ.get("WINEDLLOVERRIDES", "mscoree,mshtml="))


def _quiet(*command):
    subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)


def start_wine(state):
    """A fresh Wine prefix, with none of the forms' fonts (the game brings look-alikes), on a
    display of its own (named in state/display), both outliving this process."""
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
    os.environ.update(wine_environment(state))
    prefix = os.environ["WINEPREFIX"]
    # A prefix made by an earlier run is reused; one from an interrupted run is made anew.
    if not os.path.exists(os.path.join(prefix, ".ready")):
        shutil.rmtree(prefix, ignore_errors=True)
        with open(os.path.join(state, "wineboot.log"), "w") as log:
            subprocess.run(["wineboot", "-i"], stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        subprocess.run(["wineserver", "-w"])
        open(os.path.join(prefix, ".ready"), "w").close()
    # The server and Wine's background programs started here, away from the tests' output, which
    # ctest would otherwise hold until they end; -p120: it ends on its own if the run is cut short.
    _quiet("wineserver", "-p120")
    _quiet("wine", "cmd", "/c", "exit")
    return display_name


def stop_wine(state):
    """Ends Wine's server, then the display; the prefix stays for the next run."""
    prefix = os.path.join(state, "prefix")
    if os.path.isdir(prefix) and shutil.which("wineserver"):
        with environment(WINEPREFIX=prefix):
            _quiet("wineserver", "-k")
            _quiet("wineserver", "-w")
    stop_recorded(os.path.join(state, "xvfb.pid"), "Xvfb", os.path.join(state, "display"))


@contextlib.contextmanager
def private_wine(state):
    """A fresh prefix and display for the block, kept from the desktop's menus and home, and
    from DLLs other than a program's own."""
    shutil.rmtree(state, ignore_errors=True)
    os.makedirs(os.path.join(state, "home"))
    with environment(HOME=os.path.join(state, "home"), WINEPATH=None, WINEQT_QPA_PLATFORM=None,
                     WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"):
        try:
            start_wine(state)
            yield os.environ["WINEPREFIX"]
        finally:
            stop_wine(state)
            shutil.rmtree(os.path.join(state, "prefix"), ignore_errors=True)


def window_of(command, log, cwd):
    """Starts command under Wine; (process, "" once its window shows, else why not)."""
    with open(log, "w") as out:
        process = subprocess.Popen(["wine", command], cwd=cwd, stdin=subprocess.DEVNULL,
                                   stdout=out, stderr=out)
    if wait_for(lambda: window_ids() or process.poll() is not None, 60, 0.1) and window_ids():
        return process, ""
    with open(log, errors="replace") as f:
        tail = "".join(f.readlines()[-5:])
    return process, (f"the program ended without its window: {tail}" if process.poll() is not None
                     else f"no window '{TITLE}' within 60 s: {tail}")


# ---- Command line, for ctest's fixtures and the benchmark ------------------------------------
def main(command, *args):
    commands = {
        "sound-start": lambda d: need("pulseaudio", "pactl") or print(
            f"sound server {start_sound_server(d)} on {os.environ['PULSE_SERVER']}"),
        "sound-stop": stop_sound_server,
        "print-start": lambda d: need("cupsd", "lpadmin", "lpstat") or print(
            f"print server on {start_print_server(d)}, default queue {PRINT_QUEUE} accepting jobs"),
        "print-stop": stop_print_server,
        "wine-start": lambda d: print(f"wine: display {start_wine(d)}"),
        "wine-stop": stop_wine,
        # wine-run DIR PROGRAM ARG...: under Wine in DIR's prefix, on DIR's display.
        "wine-run": lambda d, *cmd: os.execvpe("wine", ["wine", *cmd],
                                               dict(os.environ, **wine_environment(d))),
    }
    if command == "display":  # display COMMAND...: on a private display and session bus
        with display(), session_bus():
            sys.exit(subprocess.run(args).returncode)
    try:
        commands[command](*args)
    except RuntimeError as error:
        sys.exit(f"{command}: {error}")


if __name__ == "__main__":
    main(*sys.argv[1:])
