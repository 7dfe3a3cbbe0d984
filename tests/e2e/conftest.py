"""Fixtures of the end-to-end journeys: the display, the Wine prefix, a virtual phone on COM1 and
Tastolink.exe in a folder of settings files, all started by tools/driver. The phone's log is the
clock: nothing waits a fixed time for what can be waited for. A click on a keypad button is a
barrier, since its line can only come after every event sent before it has been handled."""

import contextlib
import subprocess
import sys
import time
from pathlib import Path

import pytest

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "driver"))
from tastolink_driver import (PROGRAM, Display, Phone, Program, keep_desktop, prepare_prefix,  # noqa: E402
                              wait_until, write_settings)
from tastolink_driver.program import FOCUS_FIELD, keypad_button  # noqa: E402

# The menus of the menu bar, by a point of each in client coordinates.
MENU_BAR = {"Файл": (16, -10), "Настройки": (72, -10)}
GUI_INMENUMODE = 0x4  # the menu's loop runs

# The keypad buttons (SpeedButton<n>) of the rows the journeys click. "#" binds no key here.
BUTTONS = {1: 8, 5: 12, 11: 17, 12: 19, 13: 4, 26: 25}
BARRIER_ROW = 12


@pytest.fixture(scope="session")
def display():
    display = Display()
    yield display
    display.close()


@pytest.fixture(scope="session")
def prefix(display):
    """The prefix, its desktop kept for the session: by scripts/test's keeper for the whole run, or
    by one of the session's own when the journeys run alone."""
    prefix = prepare_prefix()
    keeper = keep_desktop()
    yield prefix
    if keeper:
        keeper.kill()
        keeper.wait()


@pytest.fixture
def settings():
    """The settings a journey starts with (overridden by a module): A on row 5, C on row 3."""
    return dict(bindings={5: "A", 3: "C"}, port="COM1", period_ms=100)


@pytest.fixture
def answers():
    """The switch of the phone's answers: "off" (the default) or "on". The fault journeys run with
    both, by `pytestmark = pytest.mark.parametrize("answers", ["off", "on"])`."""
    return "off"


@pytest.fixture
def events():
    """The switch of the phone's events: "off" (the default) or "on"."""
    return "off"


@pytest.fixture
def folder(tmp_path, settings, answers, events):
    write_settings(tmp_path / "work", **settings, answers=answers == "on", events=events == "on")
    return tmp_path / "work"


@pytest.fixture
def exe():
    return PROGRAM


@pytest.fixture
def phone_options():
    return ()


@pytest.fixture
def phone(prefix, tmp_path, phone_options):
    with Phone(tmp_path, "COM1", phone_options) as phone:
        yield phone


class User:
    """The program, the phone and the display, with what a user does to them."""

    def __init__(self, display, phone, folder, exe, console):
        self.display, self.phone, self.folder, self.exe, self.console = display, phone, folder, exe, console
        self.start()

    def start(self):
        self.program = Program(self.display, self.folder, self.exe, self.console)
        self.program.focus()

    def new_window(self, action, what):
        """The window of the program that `action` brings up (a dialog, a box), given the X focus."""
        pid = self.program.process.pid
        before = {window.id for window in self.display.windows_of(pid)}
        action()
        window = wait_until(lambda: [w for w in self.display.windows_of(pid) if w.id not in before], 10, what)[0]
        self.display.focus(window)
        return window

    def wait_gone(self, window):
        """Waits until `window` has gone and another window of the program has the keys and is
        active: until then, a click there may land on nothing."""
        pid = self.program.process.pid
        wait_until(lambda: window.id not in {w.id for w in self.display.windows_of(pid)}, 10, "the window to close")
        wait_until(lambda: any(self.display.has_focus(w) for w in self.display.windows_of(pid)), 10,
                   "a window of the program to have the keys again")
        # Wine activates that window a moment after X gave it the keys; a click on a button before
        # that is taken back as the activation moves the focus.
        self.program.wait_for_report(
            lambda report: report.raw["active"] in [window["hwnd"] for window in report.raw["windows"]],
            "a window of the program to be active again")

    def menu(self, name, item):
        """Item `item` (from 0) of the menu `name` of the menu bar. The menu is opened by the mouse:
        under Wine the first F10 after a dialog or a box closed by a key is now and then not taken
        (the key's key-up reaches the window with no target, after the dialog has gone)."""
        in_menu = lambda report: report.raw.get("flags", 0) & GUI_INMENUMODE  # noqa: E731
        # Right after a menu's loop ends Wine may still let go of the mouse and drop a click: one
        # that opens no menu is made again, twice at most.
        for attempt in range(3):
            self.program.click(MENU_BAR[name])
            try:
                self.program.wait_for_report(in_menu, f"the menu {name}", timeout=3 if attempt < 2 else 10)
                break
            except TimeoutError:
                if attempt == 2:
                    raise
        self.display.tap(*["Down"] * (item + 1), "Return")
        self.program.wait_for_report(lambda report: not report.raw.get("flags", 0) & GUI_INMENUMODE,
                                     f"the menu {name} to close")

    def file_menu(self, item, file_name=None):
        """Item `item` (from 0) of the menu "Файл"; then the file `file_name` of the working folder
        in the file dialog it opens, by its whole path: the dialog starts in the last folder the
        program used, which may be another journey's."""
        if file_name is None:
            return self.menu("Файл", item)
        dialog = self.new_window(lambda: self.menu("Файл", item), "the file dialog")
        self.display.type("Z:" + str((self.folder / file_name).resolve()).replace("/", "\\"))
        self.display.tap("Return")
        self.wait_gone(dialog)

    def click_row(self, row):
        self.program.click(keypad_button(BUTTONS[row]))

    def barrier(self, start=None, phone=None):
        """Clicks "#" and waits for its line; the phone's rows from line `start` (else from now) up to it."""
        phone = phone or self.phone
        start = len(phone.log) if start is None else start
        self.click_row(BARRIER_ROW)
        return phone.log.wait_for_row(start, BARRIER_ROW)[:-1]

    @contextlib.contextmanager
    def held(self, x_key):
        self.display.key(x_key, True)
        try:
            yield
        finally:
            self.display.key(x_key, False)

    def hold(self, x_key, row, count=3, phone=None):
        """Holds `x_key` in the focus field until `count` lines of `row` have come, lets it go;
        the rows that came from the press up to a barrier after the release."""
        phone = phone or self.phone
        start = len(phone.log)
        self.program.click(FOCUS_FIELD)
        with self.held(x_key):
            phone.log.wait_for_row(start, row, count)
        return self.barrier(start, phone)

    def most_boxes(self, seconds):
        """The most message boxes on screen at once, looked at again and again for `seconds`."""
        most, end = 0, time.monotonic() + seconds
        while time.monotonic() < end:
            most = max(most, len(self.program.boxes()))
        return most

    def failure_box(self, timeout=10):
        """The box of a failed send on COM1, once it has stayed the only one for a second of ticks."""
        box = self.program.wait_for_box(timeout)
        assert self.most_boxes(seconds=1) == 1
        assert self.program.probe().box_texts() == ["Невозможно отправить COM1"]
        return box

    def sends_again(self, phone, rows):
        """After a new choice of the port, a held A sends `rows` to `phone`, and no box shows."""
        self.program.choose_port()
        assert set(self.hold("a", 5, phone=phone)) == rows
        assert self.program.boxes() == []

    def resources(self):
        """The program's threads and open descriptors: with one port open, a port let go leaves none
        behind, nor (with the answers on) the thread that read it."""
        process = self.program.host_process()
        return process.num_threads(), process.num_fds()


@pytest.fixture
def user(request, display, phone, folder, exe, tmp_path):
    failed = request.session.testsfailed
    user = User(display, phone, folder, exe, tmp_path / "wine.out")
    yield user
    if request.session.testsfailed > failed:
        subprocess.run(["import", "-window", "root", str(tmp_path / "screen.png")], check=False)
        print(f"\nscreenshot, phone log and files kept in {tmp_path}")
    user.program.kill()
