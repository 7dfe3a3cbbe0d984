#!/usr/bin/env python3
"""A phone on a pseudo-terminal for testing Tastolink under Wine.

Answers each keypad command (AT+CKPD="k", or the long press AT+CKPD="k",20) as --answer
says and any other line with ERROR; shows each press with its time and a running count.
--log: one line per received line, "<monotonic ms> <hex of the bytes> <row 1-26 or ->".
--link: a symbolic link (such as $WINEPREFIX/dosdevices/com1) to the port, kept in place.
--ready-file: written with the port's path once the port is ready.
The hostile modes (--flood, --endless, --noise, --late, --echo-other, --stall SECONDS) are what
broken and busy devices send; they combine, and a flood or an endless line starts when a stall ends.
--away SECONDS: after its first key the phone is unplugged for that long, its port gone, then
plugged in again under the same name, as a phone that reboots.
Ends on SIGTERM or SIGINT, removing its link and ready file.
"""

import argparse
import heapq
import math
import os
import random
import select
import signal
import termios
import time

# The phone's own key table: the code between the quotes and the name its owner knows.
KEYS = [
    ("1", "1"), ("2", "2"), ("3", "3"), ("4", "4"), ("5", "5"), ("6", "6"), ("7", "7"), ("8", "8"),
    ("9", "9"), ("0", "0"), ("*", "*"), ("#", "#"), (":L", "Влево"), (":R", "Вправо"),
    (":X", "Вверх"), (":C", "Вниз"), (":0", "Центр"), ("[", "Soft-Левая"), ("]", "Soft-Правая"),
    ("E", "Красная"), ("S", "Зелёная"), ("M", "Меню"), ("U", "Звук выше"), ("D", "Звук ниже"),
    (":1", "Камера"), (":T", "Smart-кнопка"),
]
assert len(KEYS) == 26

# Bytes kept waiting for a line end before they are taken as one (bad) line anyway.
LONGEST_LINE = 1024
LONG_PRESS = b",20"

# What --flood sends over and over: lines of its own (one with text in code page 1251 and a
# zero byte inside) and binary, line ends included, as a phone in a debug mode or a wrong baud
# rate gives.
_binary = random.Random(27007)
FLOOD = b"".join([b"\r\nRING\r\n", b'\r\n+CLIP: "+79991234567",145,,,"\xc8\xe2\xe0\xed\x00",0\r\n',
                  bytes(_binary.randrange(256) for _ in range(1500)), b"\r\n+CIEV: 2,5\r\n"] * 2)
ENDLESS_PIECE = b"0123456789ABCDEF" * 256  # printable, and never a line end


def press_of_line(line):
    """(row 0-25, long press) of a keypad command line, or (None, False)."""
    body = line[:-2] if line.endswith(b"\r\n") else line[:-1] if line.endswith(b"\n") else None
    if body is None:
        return None, False
    long_press = body.endswith(LONG_PRESS)
    body = body[:-len(LONG_PRESS)] if long_press else body
    if not (body.startswith(b'AT+CKPD="') and body.endswith(b'"')) or len(body) < 11:
        return None, False
    code = body[9:-1]
    return next((row for row, (key, _) in enumerate(KEYS) if key.encode() == code), None), long_press


def printable(data):
    """Printable ASCII as it is, quotes and backslashes escaped, CR and LF as \\r and \\n, others \\xHH."""
    escapes = {0x0D: "\\r", 0x0A: "\\n", 0x22: '\\"', 0x5C: "\\\\"}
    return "".join(escapes.get(b, chr(b) if 0x20 <= b < 0x7F else f"\\x{b:02x}") for b in data)


def say(text):
    now = time.time()
    print(time.strftime("%H:%M:%S", time.localtime(now)) + f".{int(now * 1000) % 1000:03d}  {text}", flush=True)


def open_raw_terminal():
    master, slave = os.openpty()  # the slave stays open, so a peer that reopens never hangs us up
    mode = termios.tcgetattr(slave)
    # cfmakeraw: a cooked terminal would turn CR LF into CR CR LF, echo and stop on XOFF.
    mode[0] &= ~(termios.IGNBRK | termios.BRKINT | termios.PARMRK | termios.ISTRIP | termios.INLCR
                 | termios.IGNCR | termios.ICRNL | termios.IXON)
    mode[1] &= ~termios.OPOST
    mode[3] &= ~(termios.ECHO | termios.ECHONL | termios.ICANON | termios.ISIG | termios.IEXTEN)
    mode[2] = (mode[2] & ~(termios.CSIZE | termios.PARENB)) | termios.CS8
    mode[6][termios.VMIN], mode[6][termios.VTIME] = 1, 0
    termios.tcsetattr(slave, termios.TCSANOW, mode)
    os.set_blocking(master, False)  # a phone without flow control never waits: what does not fit is lost
    return master, slave, os.ttyname(slave)


def make_link(path, target):
    # Made beside the old link and renamed over it, so the name never dangles in between.
    temporary = f"{path}.virtual-phone.{os.getpid()}"
    if os.path.lexists(temporary):
        os.unlink(temporary)
    os.symlink(target, temporary)
    os.replace(temporary, path)


def points_at(path, target):
    try:
        return os.readlink(path) == target
    except OSError:
        return False


class Vanished(Exception):
    pass


class Phone:
    def __init__(self, options, master):
        self.options, self.master = options, master
        self.log = open(options.log, "w") if options.log else None
        self.pending, self.presses, self.drop_noted = b"", 0, False
        self.stall_ends = time.monotonic() + options.stall
        self.due = []  # (time, order, bytes) of late answers, soonest first
        self.endless_left = int(options.endless * 1024 * 1024)

    def stalled(self):
        return time.monotonic() < self.stall_ends

    def streams(self):
        """Whether a flood or an endless line is to be sent now."""
        return not self.stalled() and (self.options.flood or self.endless_left > 0)

    def stream(self):
        """One piece of the flood or of the endless line, as much as the port takes."""
        if self.endless_left > 0:
            self.endless_left -= self.write(ENDLESS_PIECE[:self.endless_left], quiet=True)
            if self.endless_left <= 0:
                say(f"sent a line of {self.options.endless} MiB without a line end")
        else:
            self.write(FLOOD, quiet=True)

    def send_due(self):
        while self.due and self.due[0][0] <= time.monotonic():
            self.write(heapq.heappop(self.due)[2])

    def next_due(self):
        return self.due[0][0] - time.monotonic() if self.due else math.inf

    def feed(self, data):
        for byte in data:
            self.pending += bytes([byte])
            if byte == 0x0A or len(self.pending) >= LONGEST_LINE:
                line, self.pending = self.pending, b""
                self.answer(line)

    def answer(self, line):
        row, long_press = press_of_line(line)
        if self.log:
            print(f"{time.monotonic_ns() // 1_000_000} {line.hex()} {'-' if row is None else row + 1}",
                  file=self.log, flush=True)
        if row is None:
            say(f'not a keypad command: "{printable(line)}"')
        else:
            self.presses += 1
            say(f"#{self.presses}  {KEYS[row][1]}" + ("  (long press)" if long_press else ""))
        if self.options.echo:
            self.write(line)
        if self.options.echo_other:
            self.write(f'AT+CKPD="{KEYS[((row or 0) + 1) % len(KEYS)][0]}"\r'.encode())
        answer = self.options.answer
        if answer == "silent":
            return
        result = "ERROR" if row is None or answer == "error" else "OK" if answer == "ok" else \
            "+CME ERROR: " + answer[4:]
        data = f"\r\n{result}\r\n".encode()
        if self.options.noise:
            data = data[:3] + b"\x00" + data[3:-2] + b"\xff\x80\r\n"  # inside the answer's line
        if self.options.late:
            heapq.heappush(self.due, (time.monotonic() + self.options.late, self.presses, data))
            return
        self.write_answer(data)

    def write_answer(self, data):
        if not (self.options.split or self.options.vanish):
            return self.write(data)
        half = len(data) // 2
        self.write(data[:half])
        if self.options.vanish:
            say("vanished halfway through an answer")
            raise Vanished
        time.sleep(0.05)
        self.write(data[half:])

    def write(self, data, quiet=False):
        try:
            written = os.write(self.master, data)
        except BlockingIOError:
            written = 0
        # Nobody may read the answers (the program opens the port write-only): they are dropped.
        if written < len(data) and not self.drop_noted and not quiet:
            self.drop_noted = True
            say("(answers are being dropped: nobody reads them)")
        return written


def parse_options():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--link")
    parser.add_argument("--log")
    parser.add_argument("--ready-file")
    parser.add_argument("--answer", default="ok", help="ok (default), error, cme:N or silent (never answers)")
    parser.add_argument("--echo", action="store_true", help="send each line back first, as ATE1 does")
    parser.add_argument("--split", action="store_true", help="write each answer in two parts, 50 ms apart")
    parser.add_argument("--ring", type=float, metavar="SECONDS", help="send RING this often")
    parser.add_argument("--stall", type=float, nargs="?", const=math.inf, default=0, metavar="SECONDS",
                        help="read nothing, for ever or for SECONDS: the port's buffer fills up")
    parser.add_argument("--vanish", action="store_true", help="end halfway through the first answer")
    parser.add_argument("--flood", action="store_true", help="send lines and binary at full speed, for ever")
    parser.add_argument("--endless", type=float, default=0, metavar="MIB",
                        help="send a line of MIB mebibytes without a line end, at full speed")
    parser.add_argument("--noise", action="store_true", help="a zero byte and high bytes inside each answer")
    parser.add_argument("--late", type=float, default=0, metavar="SECONDS", help="answer each key SECONDS late")
    parser.add_argument("--echo-other", action="store_true", help="echo another key's command than the one sent")
    parser.add_argument("--away", type=float, default=0, metavar="SECONDS",
                        help="after the first key, unplugged for SECONDS, then back under the same name")
    options = parser.parse_args()
    if options.answer not in ("ok", "error", "silent") and not (
            options.answer.startswith("cme:") and options.answer[4:].isdigit()):
        parser.error("--answer takes ok, error, cme:N or silent")
    return options


def unplug_for(options, master, slave, path, stop):
    """The port goes away for options.away seconds and comes back, a new terminal under the same
    link: (master, slave, path) of the new one, or Nones when the phone is told to end meanwhile."""
    if options.link and points_at(options.link, path):
        os.unlink(options.link)
    os.close(slave)
    os.close(master)
    say(f"unplugged for {options.away} s")
    if select.select([stop], [], [], options.away)[0]:
        return None, None, None
    master, slave, path = open_raw_terminal()
    if options.link:
        make_link(options.link, path)
    say(f"plugged in again as {path}")
    return master, slave, path


def run(options):
    stop = os.pipe()
    for number in (signal.SIGTERM, signal.SIGINT):
        signal.signal(number, lambda *_: os.write(stop[1], b"x"))
    master, slave, path = open_raw_terminal()
    phone = Phone(options, master)
    try:
        if options.link:
            make_link(options.link, path)
        if options.ready_file:
            with open(options.ready_file + ".tmp", "w") as ready:
                ready.write(path + "\n")
            os.replace(options.ready_file + ".tmp", options.ready_file)
        print(f"ready {path}" + (f" linked as {options.link}" if options.link else ""), flush=True)
        next_ring = time.monotonic() + options.ring if options.ring else None
        unplugged = False
        while True:
            readers = [stop[0]] if phone.stalled() else [stop[0], master]
            writers = [master] if phone.streams() else []
            ready, writable, _ = select.select(readers, writers, [], min(0.1, max(0, phone.next_due())))
            if stop[0] in ready:
                break
            if master in ready:
                try:
                    phone.feed(os.read(master, 4096))
                except Vanished:
                    break
            if options.away and phone.presses and not unplugged:
                unplugged = True
                master, slave, path = unplug_for(options, master, slave, path, stop[0])
                if master is None:
                    break
                phone.master = master
            phone.send_due()
            if writable:
                phone.stream()
            if next_ring and time.monotonic() >= next_ring:
                next_ring += options.ring
                phone.write(b"\r\nRING\r\n")
            # Wine re-creates its comN links when a prefix's server starts: put ours back.
            if options.link and not points_at(options.link, path):
                make_link(options.link, path)
                say(f"{options.link} had been replaced; linked it again")
    finally:
        if options.link and path and points_at(options.link, path):
            os.unlink(options.link)
        if options.ready_file and os.path.exists(options.ready_file):
            os.unlink(options.ready_file)
        if master is not None:
            os.close(slave)
            os.close(master)
    print("stopped", flush=True)


if __name__ == "__main__":
    run(parse_options())
