"""Drives Tastolink.exe under Wine the way a user does, with the virtual phone as its COM port.

Each test gets a scratch working directory with its own settings files, the virtual phone
linked as a COM port of the Wine prefix (logging every line it receives), and the program
started in that directory. Input goes through X (xdotool), so every key and click takes
the whole road a user's would: X server, Wine, the message loop, the window procedures.
What the window shows (message box texts, selector texts, which control has the focus) is
read with window-probe.exe, which only looks.

Timing: nothing waits a fixed time where something can be waited for. The phone's log is
the clock: a line of a held key proves that a tick has run, and a click on a keypad button
is a barrier, since its line can only come after every key event sent before the click has
been handled.

Needs DISPLAY and WINEPREFIX (scripts/test sets both), xdotool and ImageMagick's import.
Paths come from TASTOLINK_WINDOWS_BUILD_DIR, TASTOLINK_VIRTUAL_PHONE and
TASTOLINK_WINDOW_PROBE, or from the usual build trees under build/.
"""

import ctypes
import ctypes.util
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from dataclasses import dataclass, field
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
WINDOWS_BUILD_DIR = Path(os.environ.get("TASTOLINK_WINDOWS_BUILD_DIR", ROOT / "build" / "windows"))
VIRTUAL_PHONE = Path(os.environ.get("TASTOLINK_VIRTUAL_PHONE",
                                    ROOT / "tools" / "virtual-phone" / "virtual_phone.py"))
WINDOW_PROBE = Path(os.environ.get("TASTOLINK_WINDOW_PROBE", ROOT / "build" / "host" / "tests" / "window-probe.exe"))
PROGRAM = WINDOWS_BUILD_DIR / "Tastolink.exe"
ARTIFACTS = Path(os.environ.get("TASTOLINK_E2E_ARTIFACTS", ROOT / "build" / "e2e-artifacts"))
WINE = shutil.which("wine") or "wine"

# Exit status when something the tests need is missing; CTest counts it as a failure.
SKIPPED = 77

TITLE = "Tastolink"
CLIENT_SIZE = (441, 680)  # at 96 dpi, which is what a fresh Wine prefix has

# Places in the main window, in client coordinates.
SETTINGS_ORIGIN = (8, 8)
KEYPAD_ORIGIN = (256, 8)
KEYPAD_BUTTON_SIZE = 30
FOCUS_FIELD = (256 + 88, 312 + 10)
INTERVAL_FIELD = (256 + 8 + 80, 344 + 32 + 10)  # Edit2
GET_BUTTON = (256 + 8 + 36, 344 + 64 + 12)
SET_BUTTON = (256 + 96 + 36, 344 + 64 + 12)
PORT_SELECTOR_FIELD = (256 + 8 + 70, 448 + 16 + 10)  # the edit part, clear of the drop-down arrow
CHOOSE_PORT_BUTTON = (256 + 8 + 80, 448 + 48 + 12)  # "Выбрать"

# Control ids, as window-probe reports them.
FOCUS_FIELD_ID = 1301
INTERVAL_FIELD_ID = 1302


def combo_box_id(number):
    return 1100 + number


# Key names of the catalogue file, in the order the program lists them (the PcKey order).
KEY_NAMES = ([f"F{n}" for n in range(1, 13)] + [f"Num{n}" for n in range(10)]
             + ["Shift", "Ctrl", "Alt", "Enter", "Esc", "Space", "Left", "Up", "Right", "Down"]
             + [chr(c) for c in range(ord("A"), ord("Z") + 1)])

# The X key that a user presses for each key name.
X_KEYS = dict(
    [(f"F{n}", f"F{n}") for n in range(1, 13)] + [(f"Num{n}", f"KP_{n}") for n in range(10)]
    + [("Shift", "Shift_L"), ("Ctrl", "Control_L"), ("Alt", "Alt_L"), ("Enter", "Return"), ("Esc", "Escape"),
       ("Space", "space"), ("Left", "Left"), ("Up", "Up"), ("Right", "Right"), ("Down", "Down")]
    + [(chr(c), chr(c).lower()) for c in range(ord("A"), ord("Z") + 1)])

# Keys whose release puts the menu bar into keyboard mode; Escape leaves it.
MENU_KEYS = {"Alt", "F10"}


@dataclass(frozen=True)
class PhoneRow:
    row: int            # 1 to 26, the order of the settings rows and of the scan
    code: str           # between the quotes of AT+CKPD
    button: tuple       # left, top of its keypad button inside the keypad panel
    main_selector: int  # ComboBox number
    alt_selector: int

    @property
    def command(self):
        return f'AT+CKPD="{self.code}"\r\n'.encode("ascii")

    @property
    def button_centre(self):
        return keypad_button(*self.button)


PHONE_ROWS = [PhoneRow(*fields) for fields in [
    (1, "1", (40, 152), 1, 11), (2, "2", (72, 152), 2, 12), (3, "3", (104, 152), 3, 13),
    (4, "4", (40, 184), 4, 14), (5, "5", (72, 184), 5, 15), (6, "6", (104, 184), 6, 16),
    (7, "7", (40, 216), 7, 17), (8, "8", (72, 216), 8, 18), (9, "9", (104, 216), 9, 19),
    (10, "0", (72, 247), 10, 20), (11, "*", (40, 247), 21, 31), (12, "#", (104, 247), 22, 32),
    (13, ":L", (40, 88), 23, 33), (14, ":R", (104, 88), 24, 34), (15, ":X", (72, 56), 25, 35),
    (16, ":C", (72, 120), 26, 36), (17, ":0", (72, 88), 27, 37), (18, "[", (40, 24), 28, 38),
    (19, "]", (104, 24), 29, 39), (20, "E", (104, 56), 30, 40), (21, "S", (40, 56), 41, 42),
    (22, "M", (72, 24), 43, 44), (23, "U", (8, 24), 46, 47), (24, "D", (8, 56), 48, 49),
    (25, ":1", (136, 56), 50, 51), (26, ":T", (136, 24), 52, 53),
]]
ROW = {row.row: row for row in PHONE_ROWS}

COMBO_BOX_COUNT = 53
PORT_SELECTOR = 45  # ComboBox45 holds the port name in the binding files

CANNOT_SEND = "Невозможно отправить "
CANNOT_CHOOSE = "Невозможно выбрать "


def keypad_button(left, top):
    """Client coordinates of the middle of the keypad button at (left, top) of the keypad panel."""
    return (KEYPAD_ORIGIN[0] + left + KEYPAD_BUTTON_SIZE // 2, KEYPAD_ORIGIN[1] + top + KEYPAD_BUTTON_SIZE // 2)


def selector_field(number):
    """Client coordinates inside the edit part of binding selector ComboBox<number>."""
    row = next(row for row in PHONE_ROWS if number in (row.main_selector, row.alt_selector))
    left = 80 if number == row.main_selector else 160
    return (SETTINGS_ORIGIN[0] + left + 30, SETTINGS_ORIGIN[1] + 32 + 24 * (row.row - 1) + 10)


def wait_until(condition, timeout, what, interval=0.02):
    """Polls `condition` until it returns something true and returns that; fails after `timeout` s."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def run(*command, timeout=30, check=True):
    return subprocess.run(command, capture_output=True, text=True, timeout=timeout, check=check)


def write_lines(path, lines):
    """A settings file: ANSI text (cp1251, as the program reads it), every line ended by CR LF."""
    path.write_bytes("".join(line + "\r\n" for line in lines).encode("cp1251"))


def binding_lines(combo_boxes, port, first_line="Tastolink end-to-end test"):
    """The lines of a binding file: line 0, then the text of ComboBox1 to ComboBox53."""
    texts = dict(combo_boxes)
    texts.setdefault(PORT_SELECTOR, port)
    return [first_line] + [texts.get(n, "") for n in range(1, COMBO_BOX_COUNT + 1)]


@dataclass
class Settings:
    """The settings files a test starts with. `combo_boxes` maps ComboBox<n> to its text;
    `defaults`, when given, does the same for "default.itm" (else it equals "itemindex.itm")."""
    combo_boxes: dict = field(default_factory=dict)
    port: str = "COM1"
    interval_ms: int = 100
    defaults: dict | None = None

    def binding_lines(self):
        return binding_lines(self.combo_boxes, self.port)

    def write(self, directory):
        write_lines(directory / "Items.itm", KEY_NAMES)
        write_lines(directory / "itemindex.itm", self.binding_lines())
        defaults = self.combo_boxes if self.defaults is None else self.defaults
        write_lines(directory / "default.itm", binding_lines(defaults, self.port, "Tastolink defaults"))
        write_lines(directory / "interval.int", [str(self.interval_ms)])


@dataclass
class PhoneLine:
    monotonic_ms: int  # CLOCK_MONOTONIC, the clock of time.monotonic()
    data: bytes
    row: int | None    # 1 to 26, or None for a line that is not a keypad command


class VirtualPhone:
    """The virtual phone behind COM<n> of the prefix; its log holds every line it received."""

    def __init__(self, directory, port="COM1", name="phone"):
        self.port = port
        self.log = directory / f"{name}.log"
        self.output = directory / f"{name}.out"
        ready = directory / f"{name}.ready"
        self.link = Path(os.environ["WINEPREFIX"]) / "dosdevices" / port.lower()
        with open(self.output, "wb") as output:
            self.process = subprocess.Popen(
                [str(VIRTUAL_PHONE), "--link", str(self.link), "--log", str(self.log), "--ready-file", str(ready)],
                stdout=output, stderr=subprocess.STDOUT)
        wait_until(lambda: ready.exists() or self.process.poll() is not None, 10, "the virtual phone")
        if not ready.exists():
            raise AssertionError("the virtual phone did not start:\n" + self.output.read_text(errors="replace"))
        self.terminal = ready.read_text().strip()

    def wait_until_linked(self):
        """Wine re-creates its COM links when its services start; the phone puts its own back."""
        wait_until(lambda: os.path.realpath(self.link) == self.terminal, 10, f"{self.port} to lead to the phone")

    def lines(self):
        lines = []
        if self.log.exists():
            for text in self.log.read_text().splitlines():
                ms, data, row = text.split(" ")
                lines.append(PhoneLine(int(ms), bytes.fromhex(data), None if row == "-" else int(row)))
        return lines

    def rows(self, start=0):
        return [line.row for line in self.lines()[start:]]

    def wait_for_lines(self, count, timeout=10):
        """The log once it holds at least `count` lines."""
        def enough():
            lines = self.lines()
            return lines if len(lines) >= count else None
        return wait_until(enough, timeout, f"{count} lines at the phone")

    def wait_for_rows(self, start, row, count, timeout=10):
        """The rows logged from line `start` on, once `count` lines of `row` are among them."""
        def enough():
            rows = self.rows(start)
            return rows if rows.count(row) >= count else None
        return wait_until(enough, timeout, f"{count} lines of row {row} at the phone")

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def kill(self):
        """Ends the phone at once, as a cable pulled out: its port goes away under the program."""
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


@dataclass
class WindowReport:
    """What window-probe saw: the main window, the focus and the program's visible windows."""
    raw: dict

    @property
    def focus_id(self):
        focus = self.raw["focus"]
        return focus and focus["id"]

    def main_window(self):
        return next(window for window in self.raw["windows"] if window["hwnd"] == self.raw["main"])

    def control_text(self, control_id):
        return next(control["text"] for control in self.main_window()["controls"] if control["id"] == control_id)

    def selector_text(self, number):
        return self.control_text(combo_box_id(number))

    def message_box_texts(self):
        """The text of each other window of the program (message boxes), from its static controls."""
        return ["".join(control["text"] for control in window["controls"] if control["class"].lower() == "static")
                for window in self.raw["windows"] if window["hwnd"] != self.raw["main"]]


class Program:
    """Tastolink.exe running under Wine in a working directory, and its main window."""

    def __init__(self, directory):
        self.directory = directory
        self.prober = None
        self.console = open(directory / "wine.out", "ab")
        self.process = subprocess.Popen([WINE, str(PROGRAM)], cwd=directory,
                                        stdout=self.console, stderr=subprocess.STDOUT)
        self.window = wait_until(self._main_window, 30, "the main window to show")
        self.origin = self._client_origin()

    def windows(self):
        """The program's visible top-level windows titled like the program, message boxes included."""
        if self.process.poll() is not None:
            raise AssertionError(f"the program ended with status {self.process.returncode}")
        found = run("xdotool", "search", "--all", "--onlyvisible", "--pid", str(self.process.pid),
                    "--name", f"^{TITLE}$", check=False)
        return [int(line) for line in found.stdout.split()]

    def message_boxes(self):
        """The program's message boxes on screen (they carry the program's title too)."""
        return [window for window in self.windows() if window != self.window]

    def wait_for_message_box(self, timeout=10):
        return wait_until(lambda: (boxes := self.message_boxes()) and boxes[0], timeout, "a message box")

    def dismiss_message_box(self, box):
        """Presses Enter in the box (its OK button is the default) and waits until it has gone."""
        run("xdotool", "windowfocus", "--sync", str(box), timeout=10)
        run("xdotool", "key", "Return")
        wait_until(lambda: box not in self.message_boxes(), 10, "the message box to close")

    def probe(self):
        """What the program shows right now, read through window-probe."""
        if self.process.poll() is not None:
            raise AssertionError(f"the program ended with status {self.process.returncode}")
        if self.prober is None:
            self.prober = subprocess.Popen([WINE, str(WINDOW_PROBE)], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                           stderr=self.console, text=True, encoding="utf-8")
        self.prober.stdin.write("report\n")
        self.prober.stdin.flush()
        line = self.prober.stdout.readline()
        if not line:
            raise AssertionError(f"window-probe ended with status {self.prober.wait()}")
        return WindowReport(json.loads(line))

    def wait_for_probe(self, condition, what, timeout=10):
        """The first report that satisfies `condition`."""
        return wait_until(lambda: (report := self.probe()) and condition(report) and report, timeout, what,
                          interval=0.1)

    def message_box_text(self):
        """The text of the one message box on screen, once it is there."""
        self.wait_for_message_box()
        report = self.wait_for_probe(lambda report: report.message_box_texts(), "the text of the message box")
        texts = report.message_box_texts()
        if len(texts) != 1:
            raise AssertionError(f"expected one message box, found {texts}")
        return texts[0]

    def _geometry(self, window):
        shell = run("xdotool", "getwindowgeometry", "--shell", str(window)).stdout
        values = dict(line.split("=", 1) for line in shell.split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def _main_window(self):
        # A message box has the same title; the main window is the one that holds the client area.
        for window in self.windows():
            _, _, width, height = self._geometry(window)
            if width >= CLIENT_SIZE[0] and height >= CLIENT_SIZE[1]:
                return window
        return None

    def _client_origin(self):
        # Without a window manager Wine's X window is the client area plus what Wine draws
        # itself: the menu bar above it and, for a framed window, equal borders around it.
        x, y, width, height = self._geometry(self.window)
        border = (width - CLIENT_SIZE[0]) // 2
        return x + border, y + height - CLIENT_SIZE[1] - border

    def focus(self):
        run("xdotool", "windowfocus", "--sync", str(self.window), timeout=10)

    def key_down(self, key):
        """Presses an X key (keysym such as "a", "F1", "Left") on the focused window."""
        run("xdotool", "keydown", key)

    def key_up(self, key):
        run("xdotool", "keyup", key)

    def keys(self, *keys):
        """Presses and releases each key in turn."""
        run("xdotool", "key", *keys)

    def type_text(self, text):
        run("xdotool", "type", "--delay", "20", text)

    def click(self, point):
        """A left click at client coordinates of the main window."""
        run("xdotool", "mousemove", *self._screen(point), "click", "1")

    def move_to(self, point):
        run("xdotool", "mousemove", *self._screen(point))

    def _screen(self, point):
        # No --sync for mousemove: it waits for ever when the pointer is already there.
        return str(self.origin[0] + point[0]), str(self.origin[1] + point[1])

    def replace_text(self, point, text):
        """Clicks into the edit field at `point` and types `text` over what it holds."""
        self.click(point)
        self.keys("End", "shift+Home", "BackSpace")
        if text:
            self.type_text(text)

    def choose_port(self):
        """Clicks "Выбрать", then puts the cursor back into the focus field, as a user must."""
        self.click(CHOOSE_PORT_BUTTON)
        self.click(FOCUS_FIELD)

    def set_period(self, text):
        """Types `text` into the interval field, clicks "Set" and goes back to the focus field."""
        self.replace_text(INTERVAL_FIELD, text)
        self.click(SET_BUTTON)
        self.click(FOCUS_FIELD)

    def shown_period(self):
        """Clicks "Get" and returns what the interval field then shows."""
        self.click(GET_BUTTON)
        report = self.wait_for_probe(lambda report: report.control_text(INTERVAL_FIELD_ID).isdigit(),
                                     "the period in the interval field")
        self.click(FOCUS_FIELD)
        return report.control_text(INTERVAL_FIELD_ID)

    def menu(self, menu_index, item_index=0):
        """Chooses an item of the menu bar by keyboard: F10, Right to the menu, Down into it."""
        self.focus()
        self.keys("F10", *["Right"] * menu_index, "Down", *["Down"] * item_index, "Return")

    def exit_by_menu(self, timeout=15):
        """"Файл" → "Выход", then waits for the program to end."""
        self.menu(0)
        self.process.wait(timeout)
        return self.process.returncode

    def close(self, timeout=15):
        """Closes the main window as a user does (Alt+F4) and waits for the program to end."""
        if self.process.poll() is None:
            self.focus()
            run("xdotool", "key", "alt+F4")
            self.process.wait(timeout)
        return self.process.returncode

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        if self.prober is not None:
            self.prober.stdin.close()
            self.prober.stdout.close()
            try:
                self.prober.wait(10)
            except subprocess.TimeoutExpired:
                self.prober.kill()
                self.prober.wait()
            self.prober = None
        self.console.close()


class XKeyboard:
    """The X server's keyboard, seen through Xlib: key codes, the Num Lock state, and keysyms
    that the keymap lacks.

    xdotool presses a keypad key by pressing Num_Lock with it, which toggles the lock each
    time, so that Wine sees every other release as that of another key. With the lock on
    beforehand and the key sent by its key code, nothing else is pressed.

    Xvfb's keymap has no F13 (its key code 191 is XF86Tools), and xdotool's stand-in, a key
    code borrowed for one call, reaches Wine before Wine has read the new mapping. So the
    code is mapped here, before the program starts. Xvfb forgets such changes when its last
    client leaves, so this connection stays open until `close`.
    """

    def __init__(self):
        x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XStringToKeysym.restype = ctypes.c_ulong
        x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x11.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
        x11.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int,
                                            ctypes.POINTER(ctypes.c_int)]
        x11.XChangeKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                               ctypes.POINTER(ctypes.c_ulong), ctypes.c_int]
        x11.XkbGetState.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_void_p]
        x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x11.XFree.argtypes = [ctypes.c_void_p]
        x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.x11 = x11
        self.display = x11.XOpenDisplay(None)
        if not self.display:
            raise AssertionError("cannot open the X display")
        self.restore = []

    def keycode(self, keysym_name):
        return self.x11.XKeysymToKeycode(self.display, self.x11.XStringToKeysym(keysym_name.encode()))

    def num_lock(self):
        state = (ctypes.c_ubyte * 32)()  # XkbStateRec; locked_mods is its tenth byte
        self.x11.XkbGetState(self.display, 0x100, state)  # XkbUseCoreKbd
        return bool(state[9] & 0x10)  # Mod2, where Num Lock sits

    def set_num_lock(self, on):
        if self.num_lock() != on:
            run("xdotool", "key", "Num_Lock")
            wait_until(lambda: self.num_lock() == on, 10, f"Num Lock {'on' if on else 'off'}")

    def ensure_keysym(self, keysym_name, keycode):
        """Puts `keysym_name` on `keycode` unless some key already has it."""
        if self.keycode(keysym_name):
            return
        keysym = self.x11.XStringToKeysym(keysym_name.encode())
        saved = self._mapping(keycode)
        self._set(keycode, [keysym, 0, keysym] + [0] * (len(saved) - 3))
        self.restore.append((keycode, saved))

    def _mapping(self, keycode):
        width = ctypes.c_int()
        symbols = self.x11.XGetKeyboardMapping(self.display, keycode, 1, ctypes.byref(width))
        mapping = [symbols[i] for i in range(width.value)]
        self.x11.XFree(symbols)
        return mapping

    def _set(self, keycode, symbols):
        array = (ctypes.c_ulong * len(symbols))(*symbols)
        self.x11.XChangeKeyboardMapping(self.display, keycode, len(symbols), array, 1)
        self.x11.XSync(self.display, 0)

    def close(self):
        if self.display:
            for keycode, symbols in reversed(self.restore):
                self._set(keycode, symbols)
            self.x11.XCloseDisplay(self.display)
            self.display = None


def screenshot(path):
    path.parent.mkdir(parents=True, exist_ok=True)
    run("import", "-window", "root", str(path), check=False)


def missing_requirements():
    """Why the end-to-end tests can't run here, or None."""
    for path in (PROGRAM, VIRTUAL_PHONE, WINDOW_PROBE):
        if not path.exists():
            return f"{path} has not been built"
    for variable in ("DISPLAY", "WINEPREFIX"):
        if not os.environ.get(variable):
            return f"{variable} is not set (run the tests through scripts/test)"
    for tool in ("xdotool", "import"):
        if not shutil.which(tool):
            return f"{tool} is not installed"
    return None


class TastolinkTestCase(unittest.TestCase):
    """Starts the phone and the program for each test; override `settings` to change the files."""

    settings = Settings()

    def setUp(self):
        self.directory = Path(tempfile.mkdtemp(prefix="tastolink-e2e-"))
        self.addCleanup(shutil.rmtree, self.directory, True)
        self.settings.write(self.directory)
        self.phone = VirtualPhone(self.directory, "COM1")
        self.addCleanup(self.phone.stop)
        self.program = self.start_program()
        self.phone.wait_until_linked()

    def start_program(self):
        program = Program(self.directory)
        self.addCleanup(program.kill)
        self.addCleanup(self._keep_evidence)
        program.focus()
        return program

    def _keep_evidence(self):
        # On failure, a screenshot of how the test ended and the whole scratch directory.
        if not self._failed():
            return
        name = self.id().split(".", 1)[-1]
        screenshot(ARTIFACTS / f"{name}.png")
        target = ARTIFACTS / name
        shutil.rmtree(target, ignore_errors=True)
        shutil.copytree(self.directory, target)
        print(f"\n{name}: screenshot and files kept in {ARTIFACTS}", file=sys.stderr)

    def _failed(self):
        outcome = getattr(self, "_outcome", None)
        result = getattr(outcome, "result", None)
        return result is not None and any(test is self for test, _ in result.failures + result.errors)

    def lines_since(self, start):
        return self.phone.lines()[start:]

    def line_count(self):
        return len(self.phone.lines())

    def press_and_wait(self, row):
        """Clicks the keypad button of `row` and waits for its line; returns the log's length then.

        A barrier: X delivers the click after every key event sent before it, and the program
        handles them in that order, so whatever those events changed is in force by the time
        the click's line arrives."""
        start = self.line_count()
        self.program.click(ROW[row].button_centre)
        self.phone.wait_for_rows(start, row, 1)
        return start + self.phone.rows(start).index(row) + 1

    def hold_until(self, x_key, row, count):
        """Holds `x_key` until `count` lines of `row` have arrived, then lets it go."""
        start = self.line_count()
        self.program.key_down(x_key)
        try:
            self.phone.wait_for_rows(start, row, count)
        finally:
            self.program.key_up(x_key)


def prepare_wine():
    """A Wine server that stays up between programs, with the prefix's services running:
    each start is then quick, and the services have made their COM links before a phone
    puts its own in place."""
    # Not through pipes: a server started here lives on and would hold them open.
    quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["wineserver", "-p"], timeout=30, check=False, **quiet)
    subprocess.run([WINE, "cmd.exe", "/c", "exit"], timeout=120, check=False, **quiet)


def main():
    reason = missing_requirements()
    if reason:
        print(f"skipped: {reason}")
        sys.exit(SKIPPED)
    prepare_wine()
    unittest.main(verbosity=2)
