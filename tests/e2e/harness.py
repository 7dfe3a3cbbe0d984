"""Drives Tastolink.exe under Wine the way a user does, with the virtual phone as its COM port.

Each test gets a scratch working directory with its own settings files, the virtual phone
linked as a COM port of the Wine prefix (logging every line it receives), and the program
started in that directory. Input goes through X (xdotool), so every key and click takes
the whole road a user's would: X server, Wine, the message loop, the window procedures.

Needs DISPLAY and WINEPREFIX (scripts/test sets both), xdotool and ImageMagick's import.
Paths come from TASTOLINK_WINDOWS_BUILD_DIR and TASTOLINK_VIRTUAL_PHONE, or from the usual
build trees under build/.
"""

import os
import re
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
                                    ROOT / "build" / "host" / "tools" / "virtual-phone" / "virtual-phone"))
PROGRAM = WINDOWS_BUILD_DIR / "Tastolink.exe"
ARTIFACTS = Path(os.environ.get("TASTOLINK_E2E_ARTIFACTS", ROOT / "build" / "e2e-artifacts"))
WINE = shutil.which("wine") or "wine"

# Exit status that CTest counts as skipped (SKIP_RETURN_CODE in tests/e2e/tests.cmake).
SKIPPED = 77

TITLE = "Tastolink"
CLIENT_SIZE = (441, 680)  # at 96 dpi, which is what a fresh Wine prefix has

# Places in the main window, in client coordinates.
FOCUS_FIELD = (256 + 88, 312 + 10)
KEYPAD_ORIGIN = (256, 8)
KEYPAD_BUTTON_SIZE = 30
CHOOSE_PORT_BUTTON = (256 + 8 + 80, 448 + 48 + 12)  # "Выбрать"

# Key names of the catalogue file, in the order the program lists them.
KEY_NAMES = ([f"F{n}" for n in range(1, 13)] + [f"Num{n}" for n in range(10)]
             + ["Shift", "Ctrl", "Alt", "Enter", "Esc", "Space", "Left", "Up", "Right", "Down"]
             + [chr(c) for c in range(ord("A"), ord("Z") + 1)])

COMBO_BOX_COUNT = 53
PORT_SELECTOR = 45  # ComboBox45 holds the port name in the binding files


def keypad_button(left, top):
    """Client coordinates of the middle of the keypad button at (left, top) of the keypad panel."""
    return (KEYPAD_ORIGIN[0] + left + KEYPAD_BUTTON_SIZE // 2, KEYPAD_ORIGIN[1] + top + KEYPAD_BUTTON_SIZE // 2)


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


@dataclass
class Settings:
    """The settings files a test starts with. `combo_boxes` maps ComboBox<n> to its text."""
    combo_boxes: dict = field(default_factory=dict)
    port: str = "COM1"
    interval_ms: int = 100

    def binding_lines(self):
        texts = dict(self.combo_boxes)
        texts.setdefault(PORT_SELECTOR, self.port)
        return ["Tastolink end-to-end test"] + [texts.get(n, "") for n in range(1, COMBO_BOX_COUNT + 1)]

    def write(self, directory):
        write_lines(directory / "Items.itm", KEY_NAMES)
        write_lines(directory / "itemindex.itm", self.binding_lines())
        write_lines(directory / "default.itm", self.binding_lines())
        write_lines(directory / "interval.int", [str(self.interval_ms)])


@dataclass
class PhoneLine:
    monotonic_ms: int  # CLOCK_MONOTONIC, the clock of time.monotonic()
    data: bytes
    row: int | None    # 1 to 26, or None for a line that is not a keypad command


class VirtualPhone:
    """The virtual phone behind COM<n> of the prefix; its log holds every line it received."""

    def __init__(self, directory, port="COM1"):
        self.port = port
        self.log = directory / "phone.log"
        self.output = directory / "phone.out"
        ready = directory / "phone.ready"
        link = Path(os.environ["WINEPREFIX"]) / "dosdevices" / port.lower()
        with open(self.output, "wb") as output:
            self.process = subprocess.Popen(
                [str(VIRTUAL_PHONE), "--link", str(link), "--log", str(self.log), "--ready-file", str(ready)],
                stdout=output, stderr=subprocess.STDOUT)
        wait_until(lambda: ready.exists() or self.process.poll() is not None, 10, "the virtual phone")
        if not ready.exists():
            raise AssertionError("the virtual phone did not start:\n" + self.output.read_text(errors="replace"))

    def lines(self):
        lines = []
        if self.log.exists():
            for text in self.log.read_text().splitlines():
                ms, data, row = text.split(" ")
                lines.append(PhoneLine(int(ms), bytes.fromhex(data), None if row == "-" else int(row)))
        return lines

    def wait_for_lines(self, count, timeout=10):
        """The log once it holds at least `count` lines."""
        def enough():
            lines = self.lines()
            return lines if len(lines) >= count else None
        return wait_until(enough, timeout, f"{count} lines at the phone")

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class Program:
    """Tastolink.exe running under Wine in a working directory, and its main window."""

    def __init__(self, directory):
        self.directory = directory
        self.console = open(directory / "wine.out", "wb")
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

    def click(self, point):
        """A left click at client coordinates of the main window."""
        x, y = self.origin[0] + point[0], self.origin[1] + point[1]
        # No --sync: it waits for ever when the pointer is already there.
        run("xdotool", "mousemove", str(x), str(y))
        run("xdotool", "click", "1")

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
        self.console.close()


def screenshot(path):
    path.parent.mkdir(parents=True, exist_ok=True)
    run("import", "-window", "root", str(path), check=False)


def missing_requirements():
    """Why the end-to-end tests can't run here, or None."""
    if not PROGRAM.exists():
        return f"{PROGRAM} has not been built"
    if not VIRTUAL_PHONE.exists():
        return f"{VIRTUAL_PHONE} has not been built"
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
        self.program = Program(self.directory)
        self.addCleanup(self.program.kill)
        self.addCleanup(self._keep_evidence)
        self.program.focus()

    def _keep_evidence(self):
        # A screenshot of how each test ended, and on failure the whole scratch directory.
        name = self.id().split(".", 1)[-1]
        screenshot(ARTIFACTS / f"{name}.png")
        if self._failed():
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


def main():
    reason = missing_requirements()
    if reason:
        print(f"skipped: {reason}")
        sys.exit(SKIPPED)
    unittest.main(verbosity=2)
