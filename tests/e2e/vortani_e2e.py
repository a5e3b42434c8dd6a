# SPDX-License-Identifier: GPL-3.0-or-later
"""What the end-to-end tests share: the tally of checks, waiting on conditions, a private virtual
display, session and accessibility buses, the tests' sound and print servers, Wine prefixes, and
finding the game's windows and controls. Every harness imports it; the ctest fixtures and the
shell scripts use it through its command line (see main() at the end).

Everything a run starts is private to that run: displays are picked by Xvfb itself
(-displayfd), servers listen on sockets in the caller's folders, and each is stopped by the
process id it was started with."""
import contextlib
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
    """Records one check and says it; with fatal, a failure ends the harness at once (the steps
    after it would only report its consequences). Returns whether it held."""
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
    """Something the test needs is missing: skipped (77) on a developer's machine, failed in CI."""
    print(("FAIL: " if CI else "SKIP: ") + reason, flush=True)
    sys.exit(1 if CI else 77)


def ran(what, *command, fatal=False, **options):
    """Runs command and checks that it succeeds; its output is shown when it does not."""
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
def wait_for(condition, timeout=10.0, interval=0.05, idle=None):
    """Asks condition until it gives something true or the time is up; returns its last answer.
    idle(interval) is called between two questions (default: sleep)."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result or time.monotonic() >= deadline:
            return result
        (idle or time.sleep)(interval)


@contextlib.contextmanager
def line_log(path):
    """A terminal to give a program as its log file, for the block: a program that writes its
    log through a buffer writes to a terminal line by line, so path holds each line as soon as it
    is written."""
    import pty
    import threading
    import tty
    main, terminal = pty.openpty()
    tty.setraw(terminal)  # lines as they were written, without carriage returns

    def copy():
        with open(path, "ab", buffering=0) as out:
            while True:
                try:
                    chunk = os.read(main, 65536)
                except OSError:  # the last writer has gone
                    return
                if not chunk:
                    return
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
    """The exit status of a Popen, or None if it still runs when the time is up."""
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        return None


def alive(pid):
    """Running, and not a zombie waiting to be reaped."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except (OSError, IndexError):
        return False


def stop_pid(pid, name=None, timeout=5.0):
    """Ends the process pid (when it still is the program name): TERM, then KILL."""
    if not pid or not alive(pid):
        return
    if name:
        try:
            with open(f"/proc/{pid}/comm") as f:
                if f.read().strip() != name[:15]:
                    return  # the number went to another process meanwhile
        except OSError:
            return
    with contextlib.suppress(ProcessLookupError):
        os.kill(pid, signal.SIGTERM)
    if not wait_for(lambda: not alive(pid), timeout):
        with contextlib.suppress(ProcessLookupError):
            os.kill(pid, signal.SIGKILL)
        wait_for(lambda: not alive(pid), timeout)


def stop(process, timeout=5.0):
    """Ends a Popen that may still run, and reaps it."""
    if process is None or process.poll() is not None:
        return
    process.terminate()
    if wait_exit(process, timeout) is None:
        process.kill()
        process.wait()


@contextlib.contextmanager
def environment(**values):
    """Sets (or, with None, removes) environment variables for the block."""
    saved = {name: os.environ.get(name) for name in values}
    for name, value in values.items():
        if value is None:
            os.environ.pop(name, None)
        else:
            os.environ[name] = value
    try:
        yield
    finally:
        for name, value in saved.items():
            if value is None:
                os.environ.pop(name, None)
            else:
                os.environ[name] = value


# ---- A virtual display ------------------------------------------------------------------------
def start_display(size="1024x768x24", log=None, detach=False):
    """Starts Xvfb on a display it picks itself and returns (":N", process) once it accepts
    clients. detach: it outlives this process (a ctest fixture), in a session of its own."""
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
    while not number.endswith(b"\n") and time.monotonic() < deadline:
        ready, _, _ = select.select([read_end], [], [], deadline - time.monotonic())
        chunk = os.read(read_end, 16) if ready else b""
        if not chunk:
            break
        number += chunk
    os.close(read_end)
    if not number.strip().isdigit():
        stop(xvfb)
        raise RuntimeError(f"Xvfb did not start{f' (see {log})' if log else ''}")
    return ":" + number.decode().strip(), xvfb


@contextlib.contextmanager
def display(size="1024x768x24"):
    """A private virtual display for the block, as DISPLAY; no Wayland."""
    name, xvfb = start_display(size)
    try:
        with environment(DISPLAY=name, WAYLAND_DISPLAY=None):
            yield name
    finally:
        stop(xvfb)


# ---- Session and accessibility buses ----------------------------------------------------------
@contextlib.contextmanager
def session_bus():
    """A private D-Bus session bus for the block; services it starts end with it."""
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


def _bus_has(name):
    """Whether name is owned on the session bus (asked without starting it)."""
    out = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                          "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
                          "string:" + name], capture_output=True, text=True).stdout
    return "boolean true" in out


@contextlib.contextmanager
def accessibility_bus():
    """The AT-SPI bus inside a session_bus(), with programs asked to use it."""
    launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
    try:
        if not wait_for(lambda: _bus_has("org.a11y.Bus"), 30, 0.1):
            raise RuntimeError("the accessibility bus did not start")
        with environment(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", NO_AT_BRIDGE="0"):
            yield
    finally:
        stop(launcher)


# ---- The game's windows on an X display --------------------------------------------------------
def xdo(*args):
    return subprocess.run(["xdotool", *map(str, args)], check=True, capture_output=True,
                          text=True).stdout


def window_ids(title=TITLE):
    """The visible windows with exactly that title, as xdotool lists them."""
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{re.escape(title)}$"],
                         capture_output=True, text=True).stdout
    return out.split()


def wait_windows(count, timeout=20.0, title=TITLE):
    """The window ids once exactly count windows show, else None."""
    found = wait_for(lambda: len(window_ids(title)) == count and window_ids(title), timeout, 0.1)
    return found or None


def origin(window):
    """The top-left corner of a window's content on the screen."""
    geometry = dict(line.split("=", 1) for line in
                    xdo("getwindowgeometry", "--shell", window).split())
    return int(geometry["X"]), int(geometry["Y"])


def screen_size():
    width, height = xdo("getdisplaygeometry").split()
    return int(width), int(height)


def click(x, y, button=1):
    xdo("mousemove", x, y, "click", button)


def copied(keys=("ctrl+a", "ctrl+c"), timeout=3.0):
    """What the focused control copies to the clipboard on keys. The clipboard is first taken by
    an xclip of ours; the program's copy takes it away. A control with nothing to copy leaves it
    with xclip: then it held nothing, which only the time running out can tell."""
    holder = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard", "-i"],
                              stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    holder.stdin.write(b"\x01 nothing copied")
    holder.stdin.close()
    try:
        wait_for(lambda: clipboard() == "\x01 nothing copied", 5)
        xdo("key", *keys)
        if wait_exit(holder, timeout) is None:
            return ""
        return clipboard()
    finally:
        stop(holder)


def clipboard():
    """The clipboard's text; "" while its owner does not answer."""
    try:
        return subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                              text=True, timeout=5).stdout
    except subprocess.TimeoutExpired:
        return ""


class Shot:
    """One screenshot of the whole display, pixels read straight from a PPM."""

    def __init__(self, path):
        subprocess.run(["import", "-window", "root", path], check=True)
        ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                             capture_output=True).stdout
        m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm)
        self.path = path
        self.width = int(m.group(1))
        self.data = ppm[m.end():]

    def pixels(self, at, rect):
        """The pixels of rect (x, y, w, h), relative to the point at, row by row."""
        x0, y0, w, h = rect[0] + at[0], rect[1] + at[1], rect[2], rect[3]
        out = []
        for y in range(y0, y0 + h):
            row = (y * self.width + x0) * 3
            line = self.data[row:row + 3 * w]
            out.extend(tuple(line[i:i + 3]) for i in range(0, len(line), 3))
        return out

    def region(self, at, rect):
        return bytes(b for p in self.pixels(at, rect) for b in p)

    @classmethod
    def until(cls, path, holds, timeout=20.0):
        """Screenshots until holds(shot) (what was awaited has come to the screen); the last."""
        last = [None]

        def taken():
            last[0] = cls(path)
            return holds(last[0])
        wait_for(taken, timeout, 0.1)
        return last[0]

    @classmethod
    def settled(cls, path, at, rect, timeout=10.0):
        """The pixels of rect once two screenshots in a row agree."""
        last = [None]

        def same():
            now = cls(path).pixels(at, rect)
            agree, last[0] = now == last[0], now
            return agree
        wait_for(same, timeout, 0)
        return last[0]


def differing(a, b):
    """How many pixels differ between two lists of pixels of the same rectangle."""
    return sum(1 for p, q in zip(a, b) if p != q)


def commonest(pixels):
    counts = {}
    for p in pixels:
        counts[p] = counts.get(p, 0) + 1
    return max(counts, key=counts.get)


# ---- Controls on the accessibility bus --------------------------------------------------------
def atspi():
    """pyatspi, imported once the accessibility bus runs (it connects at import)."""
    import pyatspi
    return pyatspi


def pump(seconds):
    """Lets the accessibility events arrive while waiting."""
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
    """wait_for, with the accessibility events delivered meanwhile."""
    return wait_for(condition, timeout, 0.05, idle=pump)


def nodes(root):
    """Every object below root, root included; objects that go away meanwhile are skipped."""
    stack = [root]
    while stack:
        node = stack.pop()
        if node is None:
            continue
        yield node
        try:
            stack.extend(node[i] for i in range(node.childCount))
        except Exception:
            pass


def by_name(root, name, role=None):
    """The first control below root with that accessible name (and role, if given)."""
    for node in nodes(root):
        try:
            if node.name == name and (role is None or node.getRole() == role):
                return node
        except Exception:
            pass
    return None


def has_state(node, state):
    try:
        return node is not None and node.getState().contains(state)
    except Exception:
        return False


def showing(node):
    return has_state(node, atspi().STATE_SHOWING)


def find_app(timeout=10.0):
    """The running game on the accessibility bus."""
    def app():
        for candidate in atspi().Registry.getDesktop(0):
            if candidate is not None and candidate.name in ("vortani", TITLE):
                return candidate
        return None
    return wait_event(app, timeout)


def windows_of(app):
    return [w for w in app if w is not None]


def focused(app):
    """The control that has the keyboard focus, in any of the app's windows."""
    for window in windows_of(app):
        for node in nodes(window):
            if has_state(node, atspi().STATE_FOCUSED):
                return node
    return None


def press(node):
    """Presses a control through its accessible action, as an assistive tool does."""
    action = node.queryAction()
    action.doAction([action.getName(i) for i in range(action.nActions)].index("Press"))


def centre_of(node):
    ext = node.queryComponent().getExtents(atspi().DESKTOP_COORDS)
    return ext.x + ext.width // 2, ext.y + ext.height // 2


# ---- The tests' sound server ------------------------------------------------------------------
def start_sound_server(runtime, sink="test"):
    """A private PulseAudio whose default output is a null sink, reachable only through
    runtime/pulse/native; sets XDG_RUNTIME_DIR and PULSE_SERVER for this process."""
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    os.chmod(runtime, 0o700)
    runtime = os.path.abspath(runtime)
    socket = os.path.join(runtime, "pulse", "native")
    if len(socket) > 100:  # sun_path holds 108 bytes with the terminator
        raise RuntimeError(f"socket path too long for a unix socket: {socket}")
    stop_sound_server(runtime)
    os.environ.update(XDG_RUNTIME_DIR=runtime, PULSE_SERVER="unix:" + socket)
    for name in ("PULSE_SINK", "PULSE_SOURCE"):
        os.environ.pop(name, None)
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

    def answers():
        return subprocess.run(["pactl", "info"], capture_output=True).returncode == 0
    if started.returncode != 0 or not wait_for(answers, 10, 0.1):
        raise RuntimeError(f"the sound server did not start (see {log})")
    subprocess.run(["pactl", "set-default-sink", sink], check=True)
    default = subprocess.run(["pactl", "get-default-sink"], capture_output=True, text=True).stdout
    if default.strip() != sink:
        raise RuntimeError(f"the sound server has no null sink {sink} (see {log})")
    with open(os.path.join(runtime, "pulse", "pid")) as f:
        return int(f.read())


def stop_sound_server(runtime):
    try:
        with open(os.path.join(runtime, "pulse", "pid")) as f:
            pid = int(f.read())
    except (OSError, ValueError):
        return
    stop_pid(pid, "pulseaudio")
    for name in ("pid", "native"):
        with contextlib.suppress(FileNotFoundError):
            os.remove(os.path.join(runtime, "pulse", name))


# ---- The tests' print server ------------------------------------------------------------------
PRINT_QUEUE = "VortaniPDF"
PDF_DRIVER = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"


def start_print_server(state):
    """A cupsd of our own: configuration, spool, logs and socket under state, nothing else
    listening; a PDF queue as its default. Clients reach it with CUPS_SERVER (set here for this
    process). The PDF files land where the system's cups-pdf configuration says (~/PDF)."""
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

    def running():
        out = subprocess.run(["lpstat", "-r"], capture_output=True, text=True).stdout
        return "is running" in out and "not running" not in out
    if not wait_for(running, 20, 0.1):
        raise RuntimeError(f"cupsd did not start (see {state}/log)")
    for command in (["lpadmin", "-p", PRINT_QUEUE, "-v", "cups-pdf:/", "-E", "-P", PDF_DRIVER],
                    ["lpadmin", "-d", PRINT_QUEUE], ["cupsenable", PRINT_QUEUE],
                    ["cupsaccept", PRINT_QUEUE]):
        subprocess.run(command, check=True, stderr=subprocess.DEVNULL)
    return socket


def stop_print_server(state):
    try:
        with open(os.path.join(state, "cupsd.pid")) as f:
            pid = int(f.read())
    except (OSError, ValueError):
        return
    stop_pid(pid, "cupsd")
    os.remove(os.path.join(state, "cupsd.pid"))


def printed_pdf(job_ids, timeout=60.0):
    """The PDF that the PDF queue wrote for one of these jobs, once it is complete: in the PDF
    folder of the job owner's home."""
    folder = os.path.join(pwd.getpwuid(os.getuid()).pw_dir, "PDF")
    endings = tuple(f"-job_{n}.pdf" for n in job_ids)

    def written():
        if not os.path.isdir(folder):
            return None
        for name in os.listdir(folder):
            path = os.path.join(folder, name)
            if name.endswith(endings) and subprocess.run(["pdfinfo", path],
                                                         capture_output=True).returncode == 0:
                return path
        return None
    return wait_for(written, timeout, 0.25)


def print_jobs():
    """The numbers of every job the print server (CUPS_SERVER) has had."""
    out = subprocess.run(["lpstat", "-W", "all", "-o", PRINT_QUEUE], capture_output=True,
                         text=True).stdout
    return {int(m) for m in re.findall(rf"^{PRINT_QUEUE}-(\d+)", out, re.M)}


# ---- Wine -------------------------------------------------------------------------------------
def wine_environment(state):
    """What a Windows program needs to run in the prefix and on the display of state."""
    with open(os.path.join(state, "display")) as f:
        display_name = f.read().strip()
    return dict(WINEPREFIX=os.path.join(state, "prefix"), WINEDEBUG="-all", DISPLAY=display_name,
                # No Mono or Gecko: nothing here needs them, and their installers would ask.
                WINEDLLOVERRIDES=os.environ.get("WINEDLLOVERRIDES", "mscoree,mshtml="))


def _quiet(*command):
    subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)


def start_wine(state):
    """A Wine prefix with the forms' fonts, on a virtual display of its own, that outlive this
    process; the display's name is written to state/display for the programs started later."""
    need("wine", "wineboot", "wineserver", "Xvfb", "fc-match")
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
        # Windows has Arial and Comic Sans MS; Wine has neither. The forms ask for them by name,
        # so give those names the fonts fontconfig picks for them (Liberation Sans, Comic Neue).
        fonts = os.path.join(prefix, "drive_c", "windows", "Fonts")

        def match(pattern, family):
            return subprocess.run(["fc-match", "-f", pattern, family], capture_output=True,
                                  text=True, check=True).stdout
        for family in ("Arial", "Arial:bold", "Comic Sans MS", "Comic Sans MS:bold"):
            shutil.copy(match("%{file}", family), fonts)
        reg = os.path.join(state, "fonts.reg")
        with open(reg, "w", newline="") as f:
            f.write("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n")
            for family in ("Arial", "Comic Sans MS"):
                f.write(f'"{family}"="{match("%{family[0]}", family)}"\r\n')
        _quiet("wine", "regedit", reg)
        subprocess.run(["wineserver", "-w"])
        open(os.path.join(prefix, ".ready"), "w").close()
    # One server and Wine's own background programs for the whole run, started here, away from
    # the tests' output: a test's program would otherwise start them, and ctest would wait for
    # them, holding that program's output, until the last of them ended. The server outlives
    # each program by two minutes, and ends on its own if the run is cut short.
    _quiet("wineserver", "-p120")
    _quiet("wine", "cmd", "/c", "exit")
    return display_name


def stop_wine(state):
    """Ends what start_wine started for state: Wine's server, then the display. The prefix
    stays for the next run."""
    prefix = os.path.join(state, "prefix")
    if os.path.isdir(prefix) and shutil.which("wineserver"):
        with environment(WINEPREFIX=prefix):
            _quiet("wineserver", "-k")
            _quiet("wineserver", "-w")
    try:
        with open(os.path.join(state, "xvfb.pid")) as f:
            stop_pid(int(f.read()), "Xvfb")
    except (OSError, ValueError):
        pass
    for name in ("xvfb.pid", "display"):
        with contextlib.suppress(FileNotFoundError):
            os.remove(os.path.join(state, name))


@contextlib.contextmanager
def private_wine(state):
    """A fresh prefix on a display of its own for the block, both gone after it; nothing reaches
    the Linux desktop's menus or home, and only a program's own folder gives it DLLs."""
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


def window_of(process, log, timeout=60.0, title=TITLE):
    """Waits until a window with title shows: "" then, else why not, with the end of the
    program's log."""
    wait_for(lambda: window_ids(title) or process.poll() is not None, timeout, 0.1)
    if window_ids(title):
        return ""
    with open(log, errors="replace") as f:
        tail = "".join(f.readlines()[-5:])
    if process.poll() is not None:
        return f"the program ended without its window: {tail}"
    return f"no window '{title}' within {timeout:.0f} s: {tail}"


# ---- Command line, for ctest's fixtures and the shell scripts ----------------------------------
USAGE = """usage: vortani_e2e.py COMMAND ...
  sound-start DIR | sound-stop DIR     the tests' sound server, its socket under DIR
  print-start DIR | print-stop DIR     the tests' print server, its socket DIR/cups.sock
  wine-start DIR  | wine-stop DIR      a Wine prefix and a display for the Windows tests
  wine-run DIR PROGRAM [ARG...]        PROGRAM under Wine in DIR's prefix, on DIR's display
  display [--size WxHxD] -- COMMAND    COMMAND on a private virtual display and session bus"""


def main(argv):
    if len(argv) < 2:
        sys.exit(USAGE)
    command, args = argv[1], argv[2:]
    try:
        if command == "sound-start":
            need("pulseaudio", "pactl")
            pid = start_sound_server(args[0])
            print(f"sound server {pid} on {os.environ['PULSE_SERVER']}, default sink 'test'")
        elif command == "sound-stop":
            stop_sound_server(args[0])
        elif command == "print-start":
            need("cupsd", "lpadmin", "lpstat")
            print(f"print server on {start_print_server(args[0])}, default queue {PRINT_QUEUE}")
        elif command == "print-stop":
            stop_print_server(args[0])
        elif command == "wine-start":
            display_name = start_wine(args[0])
            print(f"wine: prefix {os.environ['WINEPREFIX']} on display {display_name}")
        elif command == "wine-stop":
            stop_wine(args[0])
        elif command == "wine-run":
            env = dict(os.environ, **wine_environment(args[0]))
            os.execvpe("wine", ["wine", *args[1:]], env)
        elif command == "display":
            size = "1024x768x24"
            if args[:1] == ["--size"]:
                size, args = args[1], args[2:]
            if args[:1] == ["--"]:
                args = args[1:]
            with display(size), session_bus():
                sys.exit(subprocess.run(args).returncode)
        else:
            sys.exit(USAGE)
    except RuntimeError as error:
        sys.exit(f"{command}: {error}")


if __name__ == "__main__":
    main(sys.argv)
