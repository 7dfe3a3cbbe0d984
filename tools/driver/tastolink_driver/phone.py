"""The virtual phone behind a COM port of the Wine prefix, its log, its screen's text and its own
keypad.

The log has one line per line the phone received, `<monotonic ms> <hex of the bytes> <row>
[<presses>]`: the row 1 to 26 that a line pressing one key pressed, as the phone itself understood
it, or "-"; then what a keypad command the phone took pressed (rows, names of other keys such as
"clear", and "alpha" for an alpha entry). Lines the phone sent on its own (its events) are
`<monotonic ms> event <hex of the bytes>`. tools/virtual-phone/virtual_phone.py tells the rest.
"""

import os
import subprocess
from dataclasses import dataclass
from pathlib import Path

from . import PHONE_COMMAND, wait_until


@dataclass(frozen=True)
class Line:
    ms: int          # CLOCK_MONOTONIC, the clock of time.monotonic()
    data: bytes
    row: int | None
    presses: tuple = ()  # "5", "15", "clear", "alpha", ...


@dataclass(frozen=True)
class Event:
    ms: int
    data: bytes      # as sent, line ends included


class PhoneLog:
    """Reads the log as it grows, each part once."""

    def __init__(self, path):
        self.path = Path(path)
        self._offset = 0
        self._lines = []
        self._events = []

    def lines(self):
        if self.path.exists():
            with open(self.path, "rb") as log:
                log.seek(self._offset)
                chunk = log.read()
            complete = chunk[:chunk.rfind(b"\n") + 1]
            self._offset += len(complete)
            for text in complete.decode("ascii").splitlines():
                ms, data, *rest = text.split(" ")
                if data == "event":
                    self._events.append(Event(int(ms), bytes.fromhex(rest[0])))
                    continue
                presses = tuple(rest[1].split(",")) if len(rest) > 1 else ()
                self._lines.append(Line(int(ms), bytes.fromhex(data), None if rest[0] == "-" else int(rest[0]), presses))
        return self._lines

    def events(self, start=0):
        """The lines the phone sent on its own, from the `start`-th on."""
        self.lines()
        return self._events[start:]

    def wait_for_event(self, start, prefix, timeout=10):
        """The first event from the `start`-th on whose line starts with `prefix` (bytes, such as
        b"+CKEV: "), line ends left out."""
        def found():
            return next((event for event in self.events(start) if event.data.strip().startswith(prefix)), None)
        return wait_until(found, timeout, f"an event {prefix!r} from the phone", interval=0.005)

    def __len__(self):
        return len(self.lines())

    def rows(self, start=0):
        return [line.row for line in self.lines()[start:]]

    def wait_for_row(self, start, row, count=1, timeout=10):
        """The rows from line `start` on, up to and with the `count`-th line of `row`."""
        def enough():
            rows = self.rows(start)
            if rows.count(row) < count:
                return None
            ends = [i for i, r in enumerate(rows) if r == row]
            return rows[:ends[count - 1] + 1]
        return wait_until(enough, timeout, f"{count} lines of row {row} at the phone")

    def wait_for_count(self, count, timeout=10):
        return wait_until(lambda: len(self) >= count, timeout, f"{count} lines at the phone", interval=0.005)


class Phone:
    """The phone linked as `port` (COM1, ...) of the prefix, or at the path `link` (for the
    command line, which opens it as it is), started with the phone's own `options` (--model
    standard, --layout russian, --events, --stall, ...). Its files go to `folder`: the log, the
    output, the screen's text and the FIFO of its own keypad."""

    def __init__(self, folder, port="COM1", options=(), name=None, link=None):
        name = name or port.lower()
        folder = Path(folder)
        self.port = port
        self.log = PhoneLog(folder / f"{name}.log")
        self.output = folder / f"{name}.out"
        self.text_file = folder / f"{name}.text"
        self.keypad = folder / f"{name}.keys"
        self.link = Path(link or Path(os.environ["WINEPREFIX"]) / "dosdevices" / port.lower())
        ready = folder / f"{name}.ready"
        ready.unlink(missing_ok=True)
        with open(self.output, "wb") as output:
            self.process = subprocess.Popen(
                PHONE_COMMAND + ["--link", str(self.link), "--log", str(self.log.path), "--ready-file", str(ready),
                                 "--text-file", str(self.text_file), "--events-script", str(self.keypad), *options],
                stdout=output, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        wait_until(lambda: ready.exists() or self.process.poll() is not None, 10, "the virtual phone")
        if not ready.exists():
            raise RuntimeError("the virtual phone did not start:\n" + self.output.read_text(errors="replace"))
        self.terminal = ready.read_text().strip()
        # Wine's services re-create the COM links when they start; the phone puts its own back.
        wait_until(lambda: os.path.realpath(self.link) == self.terminal, 10, f"{port} to lead to the phone")

    def text(self):
        """The text on the phone's screen: with --layout, what multi-tap and alpha entries wrote."""
        return self.text_file.read_text(encoding="utf-8") if self.text_file.exists() else ""

    def wait_for_text(self, text, timeout=10):
        return wait_until(lambda: self.text() == text, timeout, f"the phone's screen to say {text!r}")

    def press(self, keys):
        """Presses keys on the phone itself, one character a key ("5", "m" the menu, "!5" a long 5;
        tools/virtual-phone/phone_events.py has the map)."""
        keypad = os.open(self.keypad, os.O_WRONLY | os.O_NONBLOCK)
        try:
            os.write(keypad, keys.encode())
        finally:
            os.close(keypad)

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.stop()

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.kill()

    def kill(self):
        """Ends the phone at once, as a cable pulled out: the port goes away under the program."""
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
