"""The virtual phone behind a COM port of the Wine prefix, and its log.

The log has one line per line the phone received: `<monotonic ms> <hex of the bytes> <row>`,
the row 1 to 26 as the phone itself decoded it, or "-" for a line that is no keypad command.
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


class PhoneLog:
    """Reads the log as it grows, each part once."""

    def __init__(self, path):
        self.path = Path(path)
        self._offset = 0
        self._lines = []

    def lines(self):
        if self.path.exists():
            with open(self.path, "rb") as log:
                log.seek(self._offset)
                chunk = log.read()
            complete = chunk[:chunk.rfind(b"\n") + 1]
            self._offset += len(complete)
            for text in complete.decode("ascii").splitlines():
                ms, data, row = text.split(" ")
                self._lines.append(Line(int(ms), bytes.fromhex(data), None if row == "-" else int(row)))
        return self._lines

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
    """The phone linked as `port` (COM1, ...) of the prefix, started with the phone's own
    `options` (--stall, --answer error, ...). Its files go to `folder`."""

    def __init__(self, folder, port="COM1", options=(), name=None):
        name = name or port.lower()
        folder = Path(folder)
        self.port = port
        self.log = PhoneLog(folder / f"{name}.log")
        self.output = folder / f"{name}.out"
        self.link = Path(os.environ["WINEPREFIX"]) / "dosdevices" / port.lower()
        ready = folder / f"{name}.ready"
        ready.unlink(missing_ok=True)
        with open(self.output, "wb") as output:
            self.process = subprocess.Popen(
                PHONE_COMMAND + ["--link", str(self.link), "--log", str(self.log.path), "--ready-file", str(ready),
                                 *options], stdout=output, stderr=subprocess.STDOUT)
        wait_until(lambda: ready.exists() or self.process.poll() is not None, 10, "the virtual phone")
        if not ready.exists():
            raise RuntimeError("the virtual phone did not start:\n" + self.output.read_text(errors="replace"))
        self.terminal = ready.read_text().strip()
        # Wine's services re-create the COM links when they start; the phone puts its own back.
        wait_until(lambda: os.path.realpath(self.link) == self.terminal, 10, f"{port} to lead to the phone")

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
