"""Faults for the end-to-end tests: a port that goes away, a disk that fills, settings files
that are read-only, held open by another program or damaged, and the figures of a process.

Builds on harness.py: the same virtual phone, program and window probe, with a few more
ways to prepare the working directory and to look at the running program from outside.
"""

import codecs
import os
import random
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

import harness
from harness import wait_until

SETTINGS_FILES = ("Items.itm", "itemindex.itm", "default.itm", "interval.int")


# ---------------------------------------------------------------------------------------------
# What the program shows

def windows_path(path):
    """The path as the program sees it under Wine (Z:\\tmp\\...)."""
    return harness.run("winepath", "-w", str(path)).stdout.strip()


def system_text_of(box_text, directory, name):
    """The system's part of the error box `Cannot create file "<full path of name>". <system's text>.`,
    or None if the box says anything else."""
    prefix = f'Cannot create file "{windows_path(directory)}\\{name}". '
    if not box_text.startswith(prefix) or not box_text.endswith("."):
        return None
    return box_text[len(prefix):-1]


def ansi_code_page():
    """The ANSI code page of the prefix, in which the program reads and writes its files."""
    output = harness.run(harness.WINE, "reg", "query", r"HKLM\System\CurrentControlSet\Control\Nls\CodePage",
                         "/v", "ACP", check=False).stdout
    for line in output.splitlines():
        fields = line.split()
        if fields and fields[0] == "ACP":
            return int(fields[-1])
    return 1252


def _undefined_as_same_code_point(error):
    # Windows maps the bytes a single-byte code page leaves undefined to the code point of
    # the same number (0x81 to U+0081); Python's codecs refuse them.
    return "".join(chr(byte) for byte in error.object[error.start:error.end]), error.end


codecs.register_error("tastolink-ansi", _undefined_as_same_code_point)


def ansi_to_text(data, code_page):
    return data.decode(f"cp{code_page}", errors="tastolink-ansi")


# ---------------------------------------------------------------------------------------------
# Settings file content

def buffered_text(data):
    """What the program keeps of a loaded settings file and writes back when nothing changed:
    the bytes before the first zero byte, every line break (CR LF, lone CR, lone LF) as CR LF."""
    return b"\r\n".join(buffered_lines(data))


def buffered_lines(data):
    """The lines of a loaded file, numbered from 0; the part after the last break is a line."""
    data = data.split(b"\0", 1)[0]
    lines, start, i = [], 0, 0
    while i < len(data):
        if data[i] in b"\r\n":
            lines.append(data[start:i])
            if data[i:i + 2] == b"\r\n":
                i += 1
            start = i + 1
        i += 1
    lines.append(data[start:])
    return lines


def with_lines(data, replacements):
    """The buffered text of `data` with some of its lines replaced (line number -> bytes)."""
    lines = buffered_lines(data)
    for number, text in replacements.items():
        if number < len(lines):
            lines[number] = text
    return b"\r\n".join(lines)


def damaged_bytes(seed, line_count, line_length=40, tail=1024):
    """Random bytes cut into `line_count` lines by every kind of break, lone CRs most of all,
    then a zero byte and a tail of random bytes with further zero bytes and breaks.

    The lines hold no zero byte, so every one of them reaches the program; the tail does not."""
    rng = random.Random(seed)
    breaks = [b"\r", b"\r", b"\r", b"\n", b"\r\n", b"\n\r"]
    parts = []
    for _ in range(line_count):
        length = rng.randrange(1, line_length + 1)
        parts.append(bytes(rng.choice(range(1, 256)) for _ in range(length)).replace(b"\r", b"").replace(b"\n", b""))
        parts.append(rng.choice(breaks))
    parts.append(b"\0")
    parts.append(bytes(rng.randrange(256) for _ in range(tail)))
    return b"".join(parts)


# ---------------------------------------------------------------------------------------------
# The running program from outside

def figures(pid):
    """Resident memory (kB) and open descriptors of a process, from /proc.

    Under Wine every open file, pipe and socket of the program is a descriptor of its Linux
    process, so a leak of handles to files or devices shows up here."""
    with open(f"/proc/{pid}/status") as status:
        rss = next(int(line.split()[1]) for line in status if line.startswith("VmRSS:"))
    return rss, len(os.listdir(f"/proc/{pid}/fd"))


def program_pid(program):
    """The Linux process of Tastolink.exe: wine turns into it, so it is the one that was started."""
    pid = program.process.pid
    with open(f"/proc/{pid}/cmdline", "rb") as cmdline:
        if b"Tastolink.exe" not in cmdline.read():
            raise AssertionError(f"process {pid} is not Tastolink.exe")
    return pid


class Program(harness.Program):
    """harness.Program that also starts when the settings are slow to load or raise a box.

    A box raised while the window is being created comes before the window is shown: its text
    is kept in `start_messages` and it is dismissed, as a user would, so that the window shows.
    `start_seconds` is the time from the start of the process to the window on screen."""

    def __init__(self, directory, start_timeout=30):
        self.start_timeout = start_timeout
        self.start_messages = []
        self.started = False
        began = time.monotonic()
        try:
            super().__init__(directory)
        except BaseException:
            # No test owns the program yet: end it here, or it would outlive the test.
            if getattr(self, "process", None):
                self.kill()
            raise
        self.start_seconds = time.monotonic() - began
        self.started = True

    def _main_window(self):
        if self.started:
            return super()._main_window()
        return wait_until(self._shown_or_box_dismissed, self.start_timeout, "the main window to show",
                          interval=0.2)

    def _shown_or_box_dismissed(self):
        window = super()._main_window()
        if window:
            return window
        # The main window shows once the create sequence has ended, so a box now is one of its.
        texts = [text for text in self.probe().message_box_texts() if text]
        if texts:
            self.start_messages.extend(texts)
            for box in self.windows():
                _, _, width, height = self._geometry(box)
                if width < harness.CLIENT_SIZE[0] or height < harness.CLIENT_SIZE[1]:
                    harness.run("xdotool", "windowfocus", "--sync", str(box), timeout=10)
                    harness.run("xdotool", "key", "Return")
                    wait_until(lambda: box not in self.windows(), 10, "the box to close")
        return None

    def is_open(self):
        return self.process.poll() is None and self.window in self.windows()

    def close_expecting_box(self):
        """Alt+F4 on the main window; returns the text of the box that the close raised."""
        self.focus()
        harness.run("xdotool", "key", "alt+F4")
        return self.message_box_text()

    def most_boxes_while(self, condition):
        """Counts the program's message boxes again and again while `condition()` holds; the
        largest count seen."""
        most = 0
        while condition():
            most = max(most, len(self.message_boxes()))
        return most


class PhoneLog:
    """Reads the virtual phone's log as it grows, without parsing it all again each time."""

    def __init__(self, phone):
        self.path = phone.log
        self.offset = 0
        self.lines = 0
        self.rows = {}
        self.bad = []  # lines that are not exactly the command of their row

    def update(self):
        if not self.path.exists():
            return self.lines
        with open(self.path, "rb") as log:
            log.seek(self.offset)
            chunk = log.read()
        complete = chunk[:chunk.rfind(b"\n") + 1]
        self.offset += len(complete)
        for text in complete.decode().splitlines():
            _, data, row = text.split(" ")
            data = bytes.fromhex(data)
            row = None if row == "-" else int(row)
            self.lines += 1
            self.rows[row] = self.rows.get(row, 0) + 1
            if row is None or data != harness.ROW[row].command:
                self.bad.append(data)
        return self.lines


# ---------------------------------------------------------------------------------------------
# Files held by another program

def processes_holding(path):
    """Pids of the Linux processes with `path` open. Under Wine that is the wineserver, which
    keeps the descriptor of every handle any Wine process has open."""
    target = os.path.realpath(path)
    holders = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            for fd in os.listdir(f"/proc/{pid}/fd"):
                try:
                    if os.readlink(f"/proc/{pid}/fd/{fd}") == target:
                        holders.append(int(pid))
                        break
                except OSError:
                    pass
        except OSError:
            pass
    return holders


class HeldOpen:
    """Another Windows program holds a file open for writing: cmd.exe, whose "set /p" waits
    for a line on its input while its output is redirected to the file (appending, so that
    nothing is written). A Linux process opening the file would lock nothing: Wine enforces
    sharing only among its own processes. Ends when its input is closed."""

    def __init__(self, directory, name):
        self.path = Path(directory) / name
        self.content = self.path.read_bytes()
        self.process = subprocess.Popen([harness.WINE, "cmd.exe", "/c", f"set /p unused=>>{name}"], cwd=directory,
                                        stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        wait_until(lambda: processes_holding(self.path), 30, f"cmd.exe to hold {name} open", interval=0.1)

    def release(self):
        if self.process.stdin.closed:
            return
        self.process.stdin.close()
        self.process.wait(30)
        wait_until(lambda: not processes_holding(self.path), 30, f"{self.path.name} to be let go", interval=0.1)
        if self.path.read_bytes() != self.content:
            raise AssertionError(f"cmd.exe changed {self.path.name} while holding it")


# ---------------------------------------------------------------------------------------------
# A disk that fills

def mount_denied():
    """Why a tmpfs can't be mounted here, or None."""
    if os.geteuid() != 0:
        return "mounting a small tmpfs needs root"
    if not shutil.which("mount") or not shutil.which("umount"):
        return "mount and umount are not installed"
    probe = Path(tempfile.mkdtemp(prefix="tastolink-mount-probe-"))
    try:
        mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", str(probe)],
                                 capture_output=True, text=True)
        if mounted.returncode != 0:
            return f"mount -t tmpfs is not permitted here: {mounted.stderr.strip()}"
        subprocess.run(["umount", str(probe)], check=False)
        return None
    finally:
        probe.rmdir()


class SmallDisk:
    """A 64 kB tmpfs: a working directory whose disk can be filled to the last byte."""

    def __init__(self, directory, size="64k"):
        self.directory = Path(directory)
        self.directory.mkdir(parents=True, exist_ok=True)
        harness.run("mount", "-t", "tmpfs", "-o", f"size={size}", "tmpfs", str(self.directory))
        self.filler = self.directory / "filler"

    def fill(self):
        """Writes a file until the disk refuses more; afterwards not one byte fits."""
        with open(self.filler, "wb", buffering=0) as filler:
            for size in (4096, 1):
                try:
                    while True:
                        filler.write(b"\xff" * size)
                except OSError as error:
                    if error.errno != 28:  # ENOSPC
                        raise
        probe = self.directory / "probe"
        try:
            with open(probe, "wb", buffering=0) as file:
                file.write(b"x")
            raise AssertionError("the disk still takes a byte after filling")
        except OSError as error:
            if error.errno != 28:
                raise
        finally:
            probe.unlink(missing_ok=True)

    def free(self):
        self.filler.unlink(missing_ok=True)

    def remove(self):
        if subprocess.run(["umount", str(self.directory)], capture_output=True).returncode != 0:
            subprocess.run(["umount", "-l", str(self.directory)], capture_output=True)


# ---------------------------------------------------------------------------------------------
# Test cases

class FaultTestCase(harness.TastolinkTestCase):
    """A test of its own working directory, `self.directory`, which holds only what the program
    keeps there (the phone's files are beside it, in `self.base`). `prepare` fills it before
    the phone and the program start."""

    start_timeout = 30

    def setUp(self):
        self.base = Path(tempfile.mkdtemp(prefix="tastolink-fault-"))
        self.addCleanup(shutil.rmtree, self.base, True)
        self.directory = self.base / "work"
        self.directory.mkdir()
        self.prepare()
        self.phone = harness.VirtualPhone(self.base, "COM1")
        self.addCleanup(self.phone.stop)
        self.program = self.start_program()
        self.phone.wait_until_linked()

    def prepare(self):
        self.settings.write(self.directory)

    def start_program(self):
        program = Program(self.directory, self.start_timeout)
        self.addCleanup(program.kill)
        self.addCleanup(self._keep_evidence)
        program.focus()
        return program

    def snapshot(self, *names):
        """Content and inode of settings files: a file replaced by identical bytes is a new inode."""
        return {name: ((self.directory / name).read_bytes(), (self.directory / name).stat().st_ino)
                for name in names}

    def assert_unchanged(self, snapshot):
        for name, (content, inode) in snapshot.items():
            path = self.directory / name
            self.assertEqual(path.read_bytes(), content, f"{name} changed")
            self.assertEqual(path.stat().st_ino, inode, f"{name} was replaced")

    def assert_no_stray_files(self, expected):
        """Nothing but the files that belong there: no temporary file of a failed save."""
        self.assertEqual(sorted(os.listdir(self.directory)), sorted(expected))
