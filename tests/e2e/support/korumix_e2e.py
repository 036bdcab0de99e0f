"""Driver for the end-to-end tests: the real korumix.scr under Wine in Xvfb.

Standard library only (Debian's /usr/bin/python3). The environment, set by
korumix_add_e2e_test (tests/e2e/support/support.cmake) and by
korumix_add_test, names everything:
    KORUMIX_SCR            korumix.scr of the build under test
    KORUMIX_WINE           the Wine loader (wine64 on the windows64 build)
    WINEPREFIX             the run's one prefix; WINEDEBUG, DISPLAY as usual
    KORUMIX_E2E_LAUNCHER   e2e_launcher.exe   (see the top of each .cpp)
    KORUMIX_E2E_PARENT     e2e_parent.exe
    KORUMIX_E2E_WINDOW     e2e_window.exe
    KORUMIX_E2E_ARTIFACTS  where screenshots and measurements are kept for people

Processes (everything started is killed by cleanup(), which E2ETestCase runs
after every test; kill by id only):
    p = start_saver("/s")            korumix.scr "<path>" /s through the launcher
    p = start_saver(command_line=s)  s exactly, as the child's GetCommandLine
    p = launch(s)                    any Windows command line
    p.pid                            the child's Windows process id
    p.wait(timeout) -> int           full 32-bit exit code (-1 reads 4294967295)
    p.exit_code                      the code once ended, else None
    p.kill()                         ends it (TerminateProcess) and waits
    parent = PreviewParent(x, y, w, h, colour=0x204080)
                                     a visible top-level window whose client
                                     area starts at x, y on the screen, w by h
                                     (or Wine's minimum): parent.client is the
                                     client rectangle it got, in screen
                                     coordinates, filled with colour (RGB)
    parent.hwnd, parent.events (lines it reported: "contextmenu W L",
    "child created H", "key VK", ...), parent.wait_event(prefix, timeout),
    parent.give_focus(hwnd) -> the focus window after SetFocus(hwnd) on the
        parent's thread (a preview child shares its input state),
    parent.close(timeout) -> True when it reported "closed"

Windows (one e2e_window.exe serves all queries; see its top comment):
    tool = windows()
    tool.find(cls, title, parent=None) -> hwnd (0: none); None for either
        matches any; with a parent among its direct children (a preview)
    tool.wait_window(cls, title, timeout, parent=None) -> hwnd or 0
    tool.wait_gone(hwnd, timeout) -> milliseconds it took, or None
    tool.time_until_gone(hwnd, action, timeout) -> ms from the start of
        action() (say, an xdotool call) until hwnd was gone, or None
    tool.info(hwnd) -> Window or None (fields: hwnd pid tid parent owner
        visible style exstyle rect client cls title; rect and client are
        (left, top, right, bottom) in screen coordinates)
    tool.top_level(pid=None) -> [Window], tool.children(hwnd) -> [Window]
    tool.post(hwnd, msg, wparam=0, lparam=0) -> bool (False for messages
        whose lParam is a pointer, such as WM_HELP: they cannot be posted)
    tool.send(hwnd, msg, wparam=0, lparam=0) -> int, None on timeout
    tool.register_message(name) -> id
    tool.item(dialog, id), tool.text(hwnd), tool.combo_text(hwnd, index)
    tool.focus(hwnd) -> {"active", "focus", "capture"} of its thread
    tool.foreground(), tool.cursor() -> (x, y), tool.screen() -> (x, y, w, h)
    tool.watch(); ...; tool.created() -> [Window] top-level windows made
        since watch() by other processes, as they were when made
    tool.command(*fields) -> {key: value} for anything else

X input and pixels (the Xvfb screen is the virtual screen):
    mouse_move(x, y), mouse_move_relative(dx, dy) (both wait until the
    pointer is there), click(button=1), key(*names) (xdotool key names: "a",
    "Escape", "shift"), mouse_location(), xdotool(*args) for anything else
    wait_ready_for_input(title, timeout, keyboard=False): Wine maps a window
        on X a little after it becomes visible; input sent before goes astray
    x_window(title), x_focus(): X window ids
    shot = screenshot()              whole screen as an Image
    shot.pixel(x, y) -> (r, g, b), shot.crop((l, t, r, b)) -> Image,
    shot.colours() -> Counter of (r, g, b), shot.black_fraction(),
    shot.save_png(path)

Settings file (KORUMIX.ini in the prefix's Windows directory):
    write_settings({"Number": 1, "Color": "255"}) or write_settings(text),
    remove_settings() (the saver then runs with its defaults)

Waiting: wait_until(predicate, timeout, what) polls every few milliseconds
and returns the predicate's first true value, or fails the test. Never sleep
a fixed time instead.

Message and style numbers a test may need are below (WM_CLOSE, ...).
"""

import collections
import os
import select
import shutil
import struct
import subprocess
import time
import unittest
import zlib

WM_CLOSE = 0x0010
WM_KEYDOWN = 0x0100
WM_KEYUP = 0x0101
WM_SYSKEYDOWN = 0x0104
WM_SYSCOMMAND = 0x0112
WM_MOUSEMOVE = 0x0200
WM_LBUTTONDOWN = 0x0201
WM_RBUTTONDOWN = 0x0204
WM_MBUTTONDOWN = 0x0207
WM_ACTIVATEAPP = 0x001C
WM_POWERBROADCAST = 0x0218
WM_HELP = 0x0053
WM_CONTEXTMENU = 0x007B
WM_APP = 0x8000
SC_SCREENSAVE = 0xF140
SC_MONITORPOWER = 0xF170
WS_CHILD = 0x40000000
WS_POPUP = 0x80000000
WS_VISIBLE = 0x10000000
WS_EX_TOPMOST = 0x00000008

SAVER_CLASS = "WindowsScreenSaverClass"
FULL_SCREEN_TITLE = "Screen Saver"
PREVIEW_TITLE = "Preview"
EXIT_REFUSED = 4294967295  # -1 as the launcher reads it

STARTUP_TIMEOUT = 15.0  # the first Wine process of a run may take a while


def _env(name):
    value = os.environ.get(name)
    if not value:
        raise unittest.SkipTest(f"{name} is not set: run this through ctest")
    return value


def windows_path(path):
    """The Windows name of a Unix path, through Wine's drive Z: (the root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def windows_directory():
    return os.path.join(_env("WINEPREFIX"), "drive_c", "windows")


def settings_path():
    return os.path.join(windows_directory(), "KORUMIX.ini")


def write_settings(settings):
    """Writes KORUMIX.ini: a dict of keys of section "Screen Saver.Korumix",
    or the whole text of the file."""
    if isinstance(settings, dict):
        lines = ["[Screen Saver.Korumix]"]
        lines += [f"{key}={value}" for key, value in settings.items()]
        settings = "\r\n".join(lines) + "\r\n"
    with open(settings_path(), "wb") as f:
        f.write(settings.encode("latin-1") if isinstance(settings, str) else settings)


def remove_settings():
    try:
        os.remove(settings_path())
    except FileNotFoundError:
        pass


def wait_until(predicate, timeout, what="a condition", interval=0.005):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise AssertionError(f"timed out after {timeout:.1f} s waiting for {what}")
        time.sleep(interval)


class _Lines:
    """Reads the lines a child writes to a pipe, with deadlines."""

    def __init__(self, stream):
        self._fd = stream.fileno()
        self._pending = b""
        self._ended = False
        self._taken = 0  # lines handed out by read_line
        self.lines = []

    def _fill(self, timeout):
        if self._ended:
            return False
        ready, _, _ = select.select([self._fd], [], [], max(0.0, timeout))
        if not ready:
            return False
        chunk = os.read(self._fd, 65536)
        if not chunk:
            self._ended = True
            return False
        self._pending += chunk
        *complete, self._pending = self._pending.split(b"\n")
        self.lines += [line.rstrip(b"\r").decode("utf-8", "replace") for line in complete]
        return True

    def read_line(self, timeout):
        """The next line not yet taken, or None when none came in time."""
        deadline = time.monotonic() + timeout
        while self._taken >= len(self.lines):
            left = deadline - time.monotonic()
            if left <= 0 or (not self._fill(left) and self._ended):
                return None
        self._taken += 1
        return self.lines[self._taken - 1]

    def wait_for(self, prefix, timeout, after=0):
        """The first line from number `after` on, read so far or later, that
        starts with prefix."""
        deadline = time.monotonic() + timeout
        while True:
            for line in self.lines[after:]:
                if line.startswith(prefix):
                    return line
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            if not self._fill(left) and self._ended:
                return None

    def drain(self):
        while self._fill(0):
            pass


_started = []  # everything cleanup() must end, newest last


def _wine_command(exe, *args):
    return [_env("KORUMIX_WINE"), exe, *args]


def _popen(command):
    # stderr goes nowhere: a Wine service started by this process would hold
    # any pipe given here open for as long as the prefix lives.
    return subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, env=os.environ.copy())


class Launched:
    """A Windows process started through e2e_launcher.exe."""

    def __init__(self, command_line):
        self.command_line = command_line
        self.exit_code = None
        self._popen = _popen(_wine_command(_env("KORUMIX_E2E_LAUNCHER"), "-k", command_line))
        self._out = _Lines(self._popen.stdout)
        _started.append(self)
        line = self._out.read_line(STARTUP_TIMEOUT)
        if not line or not line.startswith("pid "):
            self.kill()
            raise AssertionError(f"could not start {command_line!r}: launcher said {line!r}")
        self.pid = int(line.split()[1])

    def poll(self):
        if self.exit_code is None:
            line = self._out.wait_for("exit ", 0)
            if line:
                self.exit_code = int(line.split()[1])
        return self.exit_code

    def wait(self, timeout):
        """The full 32-bit exit code; fails the test when it has not ended."""
        if self.exit_code is None:
            line = self._out.wait_for("exit ", timeout)
            if not line:
                raise AssertionError(
                    f"{self.command_line!r} still runs after {timeout:.1f} s")
            self.exit_code = int(line.split()[1])
        return self.exit_code

    def kill(self):
        if self._popen.poll() is None:
            try:
                self._popen.stdin.close()  # the launcher terminates the child
            except OSError:
                pass
            line = self._out.wait_for("exit ", 10)
            if line and self.exit_code is None:
                self.exit_code = int(line.split()[1])
            try:
                self._popen.wait(10)
            except subprocess.TimeoutExpired:
                self._popen.kill()  # the child's job dies with the launcher
                self._popen.wait()
        self._popen.stdout.close()
        if self in _started:
            _started.remove(self)


def launch(command_line):
    return Launched(command_line)


def scr_command_line(tail):
    return f'"{windows_path(_env("KORUMIX_SCR"))}" {tail}'


def start_saver(tail="", command_line=None):
    """korumix.scr with the given command-line tail (or the exact command line)."""
    return Launched(command_line if command_line is not None else scr_command_line(tail))


class PreviewParent:
    """e2e_parent.exe: a top-level window with its client area at x, y, w, h."""

    def __init__(self, x=100, y=100, width=320, height=240, colour=0x204080):
        self.colour = ((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF)
        self._popen = _popen(_wine_command(_env("KORUMIX_E2E_PARENT"), str(x), str(y),
                                           str(width), str(height), f"{colour:06x}"))
        self._out = _Lines(self._popen.stdout)
        _started.append(self)
        line = self._out.wait_for("hwnd ", STARTUP_TIMEOUT)
        if not line:
            self.close()
            raise AssertionError("the preview parent window did not come up")
        self.hwnd = int(line.split()[1])
        # Wine keeps a captioned window above a minimum size, so the client
        # area may be larger than asked for: what counts is what it got.
        self.client = windows().info(self.hwnd).client

    @property
    def events(self):
        self._out.drain()
        return [line for line in self._out.lines if not line.startswith("hwnd ")]

    def wait_event(self, prefix, timeout):
        return self._out.wait_for(prefix, timeout)

    def give_focus(self, hwnd):
        """SetFocus(hwnd) on the parent's thread; returns who has it then."""
        self._out.drain()
        mark = len(self._out.lines)
        self._popen.stdin.write(f"focus {hwnd}\n".encode())
        self._popen.stdin.flush()
        line = self._out.wait_for("focus ", 10, after=mark)
        return int(line.split()[1]) if line else None

    def close(self, timeout=10):
        """Destroys the window (stdin's end tells it) and waits for its exit."""
        closed = False
        if self._popen.poll() is None:
            try:
                self._popen.stdin.close()
            except OSError:
                pass
            closed = self._out.wait_for("closed", timeout) is not None
            try:
                self._popen.wait(timeout)
            except subprocess.TimeoutExpired:
                self._popen.kill()
                self._popen.wait()
        if self in _started:
            _started.remove(self)
        return closed

    kill = close


class Window:
    _rects = ("rect", "client")
    _numbers = ("hwnd", "pid", "tid", "parent", "owner", "visible")

    def __init__(self, fields):
        self.fields = fields
        for key, value in fields.items():
            if key in self._rects:
                value = tuple(int(v) for v in value.split(","))
            elif key in self._numbers:
                value = int(value)
            elif key in ("style", "exstyle"):
                value = int(value, 16)
            setattr(self, "cls" if key == "class" else key, value)

    @property
    def client_size(self):
        return (self.client[2] - self.client[0], self.client[3] - self.client[1])

    def __repr__(self):
        return (f"Window(hwnd={self.hwnd}, pid={self.pid}, class={self.cls!r}, "
                f"title={self.title!r}, rect={self.rect}, visible={self.visible})")


def _fields(line):
    out = {}
    for part in line.split("\t"):
        key, _, value = part.partition("=")
        out[key] = value
    return out


class WindowTool:
    """One e2e_window.exe serving queries over its stdin."""

    def __init__(self):
        self._popen = _popen(_wine_command(_env("KORUMIX_E2E_WINDOW")))
        self._out = _Lines(self._popen.stdout)

    def _ask(self, fields, timeout):
        line = "\t".join(str(f) for f in fields) + "\n"
        self._popen.stdin.write(line.encode("utf-8"))
        self._popen.stdin.flush()
        answer = self._out.read_line(timeout + STARTUP_TIMEOUT)
        if answer is None:
            raise AssertionError(f"e2e_window.exe gave no answer to {fields}")
        if answer.startswith("error="):
            raise AssertionError(f"e2e_window.exe: {answer} ({fields})")
        return answer

    def command(self, *fields, timeout=0.0):
        return _fields(self._ask(fields, timeout))

    def _windows(self, *fields):
        answer = self._ask(fields, 0)
        out = []
        while answer != "end":
            out.append(Window(_fields(answer)))
            answer = self._out.read_line(STARTUP_TIMEOUT)
            if answer is None:
                raise AssertionError(f"e2e_window.exe broke off its list for {fields}")
        return out

    def find(self, cls, title, parent=None):
        extra = [parent] if parent else []
        return int(self.command("find", cls or "", title or "", *extra)["hwnd"])

    def wait_window(self, cls, title, timeout, parent=None):
        extra = [parent] if parent else []
        ms = int(timeout * 1000)
        return int(self.command("wait", cls or "", title or "", ms, *extra,
                                timeout=timeout)["hwnd"])

    def wait_gone(self, hwnd, timeout):
        answer = self.command("gone", hwnd, int(timeout * 1000), timeout=timeout)
        return float(answer["ms"]) if answer["gone"] == "1" else None

    def time_until_gone(self, hwnd, action, timeout):
        """Starts watching hwnd, runs action() (the input that should close
        it) and returns the milliseconds from the start of action() until the
        window was seen gone, or None when it stayed for timeout seconds.
        An upper bound: it includes starting the xdotool that sends the input."""
        line = f"gone\t{hwnd}\t{int(timeout * 1000)}\n"
        self._popen.stdin.write(line.encode())
        self._popen.stdin.flush()
        start = time.monotonic()
        action()
        answer = self._out.read_line(timeout + STARTUP_TIMEOUT)
        seen = time.monotonic()
        if answer is None:
            raise AssertionError("e2e_window.exe gave no answer to gone")
        return (seen - start) * 1000 if _fields(answer)["gone"] == "1" else None

    def info(self, hwnd):
        fields = self.command("info", hwnd)
        return Window(fields) if fields.get("window") == "1" else None

    def top_level(self, pid=None):
        return self._windows("list", *([pid] if pid is not None else []))

    def children(self, hwnd):
        return self._windows("children", hwnd)

    def post(self, hwnd, message, wparam=0, lparam=0):
        return self.command("post", hwnd, message, wparam, lparam)["ok"] == "1"

    def send(self, hwnd, message, wparam=0, lparam=0):
        result = self.command("send", hwnd, message, wparam, lparam, timeout=5)["result"]
        return None if result == "timeout" else int(result)

    def register_message(self, name):
        return int(self.command("register", name)["message"])

    def item(self, dialog, control_id):
        return int(self.command("item", dialog, control_id)["hwnd"])

    def text(self, hwnd):
        return self.command("text", hwnd, timeout=5).get("text")

    def combo_text(self, hwnd, index):
        return self.command("cbtext", hwnd, index, timeout=5).get("text")

    def focus(self, hwnd):
        answer = self.command("focus", hwnd)
        return {k: int(v) for k, v in answer.items()} if "ok" not in answer else None

    def foreground(self):
        return int(self.command("foreground")["hwnd"])

    def cursor(self):
        answer = self.command("cursor")
        return (int(answer["x"]), int(answer["y"]))

    def screen(self):
        a = self.command("screen")
        return (int(a["x"]), int(a["y"]), int(a["width"]), int(a["height"]))

    def watch(self):
        if self.command("watch")["ok"] != "1":
            raise AssertionError("SetWinEventHook failed")

    def created(self):
        return self._windows("created")

    def close(self):
        if self._popen.poll() is None:
            try:
                self._popen.stdin.close()
            except OSError:
                pass
            try:
                self._popen.wait(10)
            except subprocess.TimeoutExpired:
                self._popen.kill()
                self._popen.wait()


_tool = None


def windows():
    global _tool
    if _tool is None:
        _tool = WindowTool()
    return _tool


# X input through xdotool, on the display of the run.

def xdotool(*args):
    return subprocess.run(["xdotool", *[str(a) for a in args]], check=True, timeout=10,
                          stdout=subprocess.PIPE, text=True).stdout


def mouse_move(x, y):
    # Not "--sync": it waits for ever when the pointer is already there.
    xdotool("mousemove", x, y)
    wait_until(lambda: mouse_location() == (x, y), 5, f"the pointer to reach {x}, {y}")


def mouse_move_relative(dx, dy):
    x, y = mouse_location()
    xdotool("mousemove_relative", "--", dx, dy)
    wait_until(lambda: mouse_location() == (x + dx, y + dy), 5,
               f"the pointer to reach {x + dx}, {y + dy}")


def click(button=1):
    xdotool("click", button)


def key(*names):
    xdotool("key", *names)


def x_window(title):
    """The X window id of a mapped (viewable) window with exactly this title,
    or 0. Wine maps a window's X window a little after WS_VISIBLE is set, and
    input sent before that goes to the root window instead."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                           timeout=10, stdout=subprocess.PIPE, text=True).stdout.split()
    return int(found[0]) if found else 0


def x_focus():
    """The X window that has the keyboard focus now (1: the pointer's)."""
    out = subprocess.run(["xdotool", "getwindowfocus", "-f"], timeout=10,
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True).stdout
    return int(out.split()[0]) if out.split() else 0


def wait_ready_for_input(title, timeout=10, keyboard=False):
    """Waits until the window titled so is mapped on the X screen (and, with
    keyboard, holds the X input focus); returns its X window id."""
    xid = wait_until(lambda: x_window(title), timeout, f"the X window of {title!r}")
    if keyboard:
        wait_until(lambda: x_focus() == xid, timeout, f"the X focus on {title!r}")
    return xid


def mouse_location():
    values = dict(line.split("=", 1) for line in xdotool("getmouselocation", "--shell").split())
    return (int(values["X"]), int(values["Y"]))


# Pixels.

class Image:
    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def crop(self, rect):
        left, top, right, bottom = (max(0, rect[0]), max(0, rect[1]),
                                    min(self.width, rect[2]), min(self.height, rect[3]))
        rows = [self.rgb[(y * self.width + left) * 3:(y * self.width + right) * 3]
                for y in range(top, bottom)]
        return Image(max(0, right - left), max(0, bottom - top), b"".join(rows))

    def colours(self):
        """How many pixels have each (r, g, b)."""
        data = self.rgb
        return collections.Counter(zip(data[0::3], data[1::3], data[2::3]))

    def black_fraction(self):
        n = self.width * self.height
        if n == 0:
            return 0.0
        data = self.rgb
        either = (int.from_bytes(data[0::3], "big") | int.from_bytes(data[1::3], "big")
                  | int.from_bytes(data[2::3], "big"))
        return either.to_bytes(n, "big").count(0) / n

    def save_png(self, path):
        raw = b"".join(b"\x00" + self.rgb[y * self.width * 3:(y + 1) * self.width * 3]
                       for y in range(self.height))

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body
                    + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                    + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


def _parse_ppm(data):
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise AssertionError("screenshot is not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    rgb = data[pos + 1:pos + 1 + width * height * 3]
    return Image(width, height, rgb)


def screenshot():
    """The whole X screen, as the X server holds it now."""
    ppm = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], check=True,
                         timeout=30, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout
    return _parse_ppm(ppm)


def keep_artifact(image, name):
    """Saves a screenshot beside the build for a person to look at."""
    folder = os.environ.get("KORUMIX_E2E_ARTIFACTS")
    if not folder:
        return None
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, name + ".png")
    image.save_png(path)
    return path


# Life cycle.

def cleanup():
    """Ends everything this process started, newest first."""
    while _started:
        _started[-1].kill()


def _warm_up():
    # The first Wine process of a prefix starts the wineserver and Wine's
    # services; they keep whatever stdio they get, so give them nothing.
    subprocess.run(_wine_command(_env("KORUMIX_E2E_WINDOW"), "screen"), check=True,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=120)


class E2ETestCase(unittest.TestCase):
    """Ends every process a test started, and parks the mouse off any saver."""

    @classmethod
    def setUpClass(cls):
        for tool in ("xdotool", "import"):
            if not shutil.which(tool):
                raise unittest.SkipTest(f"{tool} is missing: run tools/setup.sh")
        if not os.environ.get("DISPLAY"):
            raise unittest.SkipTest("no DISPLAY: run under xvfb-run")
        _warm_up()
        windows()

    def setUp(self):
        self.addCleanup(cleanup)

    def assertNoSaverWindows(self):
        self.assertEqual([w for w in windows().top_level() if w.cls == SAVER_CLASS], [])


def main():
    try:
        unittest.main(verbosity=2)
    finally:
        cleanup()
        if _tool is not None:
            _tool.close()
