"""Tastolink.exe under Wine in a folder of settings files, and where things are in its window.

What the window shows (box texts, selector texts, the focus) is read by window-probe.exe, a
Windows program that only looks; input goes through X, the whole road of a user's.
"""

import json
import os
import shutil
import subprocess
from dataclasses import dataclass
from pathlib import Path

from . import DELIVERED_SETTINGS, PROGRAM, WINDOW_PROBE, wait_until
from .wine import WINE, wine_process

TITLE = "Tastolink"
# Wine's own errors (a window or a display it could not make, a crash) go to the program's console,
# which a failed journey keeps and the error of a program that ended names.
CONSOLE_WINEDEBUG = "-all,err+all"
CLIENT_SIZE = (441, 680)  # at the 96 dpi of a fresh prefix

# The controls of the main window by the ids the window gives them. window-probe reports where each
# one is on the screen, so that nothing here repeats the window's layout.
FOCUS_FIELD = 1301
INTERVAL_FIELD = 1302
GET_BUTTON = 1303
SET_BUTTON = 1304
CHOOSE_PORT_BUTTON = 1305
PORT_SELECTOR = 45
SELECTOR_COUNT = 53
MENU_BAR_FILE = (15, -10)  # "Файл", on the menu bar above the client area: no control of the window
STATUS_BAR_ID = 1451  # the status bar of the phone's answers; its parts come joined by tabs


def selector(number):
    """The id of ComboBox<number>: the binding selectors 1 to 53 but 45, the port selector."""
    return 1100 + number


def keypad_button(number):
    """The id of SpeedButton<number>."""
    return 1200 + number


def write_settings(folder, bindings=None, port="COM1", period_ms=100, answers=False, events=False):
    """The four settings files: the delivered catalogue, `bindings` ({ComboBox number: key name})
    and `port` as both the user's and the default bindings, and the repeat period; with
    `answers`, the switch of the phone's answers on, with `events` that of the phone's events."""
    folder = Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    shutil.copyfile(DELIVERED_SETTINGS / "Items.itm", folder / "Items.itm")
    texts = {PORT_SELECTOR: port, **(bindings or {})}
    lines = ["Tastolink test"] + [texts.get(n, "") for n in range(1, SELECTOR_COUNT + 1)]
    for name in ("itemindex.itm", "default.itm"):
        (folder / name).write_bytes("".join(line + "\r\n" for line in lines).encode("cp1251"))
    (folder / "interval.int").write_bytes(f"{period_ms}\r\n".encode())
    for name, on in (("answers.ini", answers), ("events.ini", events)):
        if on:
            (folder / name).write_bytes(b"1\r\n")


class WindowProbe:
    """window-probe.exe, kept running, since every start of a Wine program costs time: it reports
    what the program's windows show and where their controls are, and sends a combo box's messages
    as automation tools do."""

    def __init__(self, console=subprocess.DEVNULL):
        self.process = subprocess.Popen([WINE, str(WINDOW_PROBE)], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=console, text=True, encoding="utf-8")

    def _ask(self, request):
        self.process.stdin.write(request + "\n")
        self.process.stdin.flush()
        return json.loads(self.process.stdout.readline())

    def report(self):
        return Report(self._ask("report"))

    def combo_message(self, control, message, w_param=0, text=""):
        """(result, text) of the combo box's message CB_<message> sent to control `control`; the
        text is that of CB_GETLBTEXT."""
        answer = self._ask(f"combo {control} {message} {w_param} {text}")
        return answer["result"], answer["text"]

    def close(self):
        self.process.stdin.close()
        self.process.wait(10)


@dataclass
class Report:
    """What window-probe saw: the main window, the focus and each visible window of the program."""
    raw: dict

    @property
    def focus_id(self):
        return self.raw["focus"]

    def control_text(self, control_id):
        main = next(window for window in self.raw["windows"] if window["hwnd"] == self.raw["main"])
        return next(control["text"] for control in main["controls"] if control["id"] == control_id)

    def selector_text(self, number):
        return self.control_text(selector(number))

    def places(self):
        """Where each control of the main window is on the screen, by id: (left, top, right, bottom)."""
        main = next(window for window in self.raw["windows"] if window["hwnd"] == self.raw["main"])
        return {control["id"]: tuple(control["rect"]) for control in main["controls"]}

    def dropped_list(self):
        """The list box of a dropped list, with its place on the screen, or None."""
        return next((control for window in self.raw["windows"] for control in window["controls"]
                     if control["class"].lower() == "listbox"), None)

    def box_texts(self):
        return ["".join(control["text"] for control in window["controls"] if control["class"].lower() == "static")
                for window in self.raw["windows"] if window["hwnd"] != self.raw["main"]]


class Program:
    """`exe` started by Wine in `folder`, once its main window is on screen."""

    def __init__(self, display, folder, exe=PROGRAM, console=None, timeout=30):
        self.display = display
        self.prober = None
        self._host_process = None
        self.console = open(console or Path(folder) / "wine.out", "ab")
        self.process = subprocess.Popen([WINE, str(exe)], cwd=folder, stdout=self.console, stderr=subprocess.STDOUT,
                                        env=dict(os.environ, WINEDEBUG=CONSOLE_WINEDEBUG))
        try:
            self.window = wait_until(self._main_window, timeout, "the main window")
        except BaseException:
            self.kill()
            raise
        # The client area's corner on the screen, as the window itself places it: measured from
        # the bottom it would move with a status bar below the client area. The controls' places,
        # on the screen, as the window reports them.
        report = self.probe()
        self.origin = tuple(report.raw["client"][:2])
        self.places = report.places()

    def _main_window(self):
        # The boxes carry the program's title too; the main window is the one that holds the client area.
        for window in self.windows():
            geometry = self.display.geometry(window)
            if geometry and geometry[2] >= CLIENT_SIZE[0] and geometry[3] >= CLIENT_SIZE[1]:
                return window
        return None

    def _raise_if_ended(self):
        """Raises, with the end of the console (Wine's errors among it), once the program has ended."""
        if self.process.poll() is None:
            return
        with open(self.console.name, "rb") as console:
            console.seek(max(0, os.fstat(console.fileno()).st_size - 2000))
            said = console.read().decode(errors="replace").strip()
        raise RuntimeError(f"the program ended with status {self.process.returncode}"
                           + (f"; its console ends with:\n{said}" if said else ", its console empty"))

    def windows(self):
        self._raise_if_ended()
        return self.display.windows_of(self.process.pid, TITLE)

    def boxes(self):
        """The program's message boxes on screen."""
        return [window for window in self.windows() if window.id != self.window.id]

    def wait_for_list(self, timeout=10):
        """Until a selector's list has dropped: a window of the program with no title."""
        def dropped():
            titled = {window.id for window in self.windows()}
            return [w for w in self.display.windows_of(self.process.pid) if w.id not in titled]

        return wait_until(dropped, timeout, "a dropped list")

    def wait_for_box(self, timeout=10):
        return wait_until(lambda: (boxes := self.boxes()) and boxes[0], timeout, "a message box")

    def dismiss(self, box):
        """Enter on the box (OK is its default button), then waits until it has gone and the window
        under it has the keys again. Meanwhile they go nowhere: the window manager parks the focus
        when the box goes and then offers it to the window under it, which Wine takes a moment later."""
        self.display.focus(box)
        self.display.tap("Return")
        wait_until(lambda: box.id not in [window.id for window in self.boxes()], 10, "the box to close")
        wait_until(lambda: any(self.display.has_focus(window) for window in self.display.windows_of(self.process.pid)),
                   10, "a window of the program to have the keys again")

    # --- input, in client coordinates of the main window

    def focus(self):
        self.display.focus(self.window)

    def click(self, target):
        """A click in the middle of the control of id `target`, or at a point of the client area."""
        if isinstance(target, int):
            left, top, right, bottom = self.places[target]
            self.display.click((left + right) // 2, (top + bottom) // 2)
        else:
            self.display.click(self.origin[0] + target[0], self.origin[1] + target[1])

    def click_drop_button(self, control, press_only=False):
        """A click on the button at the right end of a selector; with `press_only` the mouse stays down."""
        left, top, right, bottom = self.places[control]
        self.display.move(right - 8, (top + bottom) // 2)
        self.display.button(True)
        if not press_only:
            self.display.button(False)

    def click_dropped_entry(self, row):
        """A click on the entry shown in row `row` (from 0) of the dropped list."""
        found = wait_until(lambda: self.probe().dropped_list(), 10, "a dropped list")
        left, top = found["rect"][:2]
        self.display.click(left + 10, top + found["entry"] * row + found["entry"] // 2)

    def replace_text(self, target, text):
        """Clicks into the edit field `target` and types `text` over what it holds."""
        self.click(target)
        self.display.tap("End")
        self.display.key("Shift_L", True)
        self.display.tap("Home")
        self.display.key("Shift_L", False)
        self.display.tap("BackSpace")
        self.display.type(text)

    def choose_port(self):
        """Clicks "Выбрать", then puts the cursor back into the focus field, as a user must."""
        self.click(CHOOSE_PORT_BUTTON)
        self.click(FOCUS_FIELD)

    def send_close(self):
        """Alt+F4 on the main window."""
        self.focus()
        self.display.key("Alt_L", True)
        self.display.tap("F4")
        self.display.key("Alt_L", False)

    def close(self, timeout=15):
        """Alt+F4; the exit status once the program has ended."""
        if self.process.poll() is None:
            self.send_close()
            self.process.wait(timeout)
        return self.process.returncode

    def host_process(self):
        """The Linux process (psutil) that runs the program: under Wine every thread of the program is one
        of its threads, and every file or device the program holds one of its descriptors."""
        if self._host_process is None:
            self._host_process = wine_process(self.process, "Tastolink.exe")
        return self._host_process

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        if self.prober:
            self.prober.close()
            self.prober = None
        self.console.close()

    # --- what the window shows

    def probe(self):
        self._raise_if_ended()
        if self.prober is None:
            self.prober = WindowProbe(self.console)
        return self.prober.report()

    def combo_message(self, control, message, w_param=0, text=""):
        """As window-probe, a second program, sends it: see WindowProbe.combo_message."""
        self.probe()  # the probe is running
        return self.prober.combo_message(control, message, w_param, text)

    def wait_for_report(self, condition, what, timeout=10):
        return wait_until(lambda: (report := self.probe()) and condition(report) and report, timeout, what, 0.1)
