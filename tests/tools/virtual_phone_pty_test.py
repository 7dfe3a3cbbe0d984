"""The virtual-phone program on a real pseudo-terminal: what a port user sees and what it logs.

    python3 virtual_phone_pty_test.py PATH-TO-virtual-phone
"""

import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

PHONE = None  # set from the command line


def wait_until(condition, timeout, what):
    deadline = time.monotonic() + timeout
    while not (value := condition()):
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.01)
    return value


class Port:
    """The end a COM port user (Wine) opens, through the link."""

    def __init__(self, path):
        self.fd = os.open(path, os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)

    def write_all(self, data, timeout=10):
        deadline = time.monotonic() + timeout
        while data:
            if not select.select([], [self.fd], [], max(0, deadline - time.monotonic()))[1]:
                raise AssertionError("the phone stopped taking bytes")
            data = data[os.write(self.fd, data):]

    def read_until(self, wanted, timeout=10):
        received = b""
        deadline = time.monotonic() + timeout
        while not received.endswith(wanted):
            if not select.select([self.fd], [], [], max(0, deadline - time.monotonic()))[0]:
                raise AssertionError(f"no {wanted!r} in reply, only {received[:200]!r}")
            received += os.read(self.fd, 4096)
        return received

    def close(self):
        os.close(self.fd)


class VirtualPhoneOnAPty(unittest.TestCase):
    def setUp(self):
        self.directory = Path(tempfile.mkdtemp(prefix="virtual-phone-test-"))
        self.addCleanup(shutil.rmtree, self.directory, True)
        self.link = self.directory / "com1"
        self.log = self.directory / "phone.log"
        self.ready = self.directory / "ready"
        self.link.symlink_to("/dev/null")  # an earlier link, as Wine leaves one for COM1
        self.output = open(self.directory / "phone.out", "w+b")
        self.phone = subprocess.Popen([PHONE, "--link", str(self.link), "--log", str(self.log),
                                       "--ready-file", str(self.ready)], stdout=self.output)
        self.addCleanup(self.stop)
        wait_until(self.ready.exists, 10, "the ready file")

    def stop(self):
        if self.phone.poll() is None:
            self.phone.kill()
            self.phone.wait()
        self.output.close()

    def logged(self):
        return [line.split(" ") for line in self.log.read_text().splitlines()]

    def shown(self):
        self.output.seek(0)
        return self.output.read().decode("utf-8")

    def test_answers_logs_and_shows_each_line_across_reopened_ports(self):
        self.assertEqual(os.readlink(self.link), self.ready.read_text().strip())

        port = Port(self.link)
        port.write_all(b'AT+CKPD="5"\r\n')
        self.assertEqual(port.read_until(b"OK\r\n"), b"OK\r\n")
        port.write_all(b'AT+CKPD="Q"\r\n')
        self.assertEqual(port.read_until(b"ERROR\r\n"), b"ERROR\r\n")
        port.close()
        port = Port(self.link)  # Tastolink reopens the port each time the user chooses it
        port.write_all(b'AT+CKPD=":T"\n')
        self.assertEqual(port.read_until(b"OK\r\n"), b"OK\r\n")
        port.close()

        logged = wait_until(lambda: len(self.logged()) == 3 and self.logged(), 10, "three log lines")
        self.assertEqual([(data, row) for _, data, row in logged], [
            (b'AT+CKPD="5"\r\n'.hex(), "5"),
            (b'AT+CKPD="Q"\r\n'.hex(), "-"),
            (b'AT+CKPD=":T"\n'.hex(), "26"),
        ])
        times = [int(ms) for ms, _, _ in logged]
        self.assertEqual(times, sorted(times))
        self.assertLessEqual(abs(times[-1] - time.monotonic() * 1000), 60_000, "not the monotonic clock")
        shown = wait_until(lambda: "Smart-кнопка" in self.shown() and self.shown(), 10, "the third press shown")
        self.assertIn("#1  5\n", shown)
        self.assertIn('not a keypad command: "AT+CKPD=\\"Q\\"\\r\\n"', shown)
        self.assertIn("#2  Smart-кнопка\n", shown)

    def test_keeps_reading_when_nobody_reads_its_replies(self):
        port = Port(self.link)
        lines = 3000  # far more replies than the terminal's buffer holds
        port.write_all(b'AT+CKPD="#"\r\n' * lines, timeout=30)
        wait_until(lambda: len(self.logged()) == lines, 30, f"{lines} log lines")
        port.close()

    def test_takes_its_link_back_and_removes_it_on_sigterm(self):
        pty = self.ready.read_text().strip()
        replacement = self.directory / "replacement"
        replacement.symlink_to("/dev/ttyS0")
        os.replace(replacement, self.link)  # what Wine does to comN links when its server starts
        wait_until(lambda: os.readlink(self.link) == pty, 10, "the link to point at the phone again")

        self.phone.send_signal(signal.SIGTERM)
        self.assertEqual(self.phone.wait(10), 0)
        self.assertFalse(os.path.lexists(self.link))
        self.assertFalse(self.ready.exists())


if __name__ == "__main__":
    PHONE = sys.argv.pop(1)
    unittest.main(verbosity=2)
