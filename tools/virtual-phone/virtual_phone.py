#!/usr/bin/env python3
"""A phone on a pseudo-terminal for testing Tastolink under Wine.

It answers each line as its model does (--model, phone_models.py): the default phone takes the
program's own codes (:L :R :X :C :0 :1 :T) and the standard's characters; "standard" takes only the
standard's characters (0-9 * # < > ^ V [ ] E S M U D and the others of 3GPP TS 27.007 §8.7: C
clear, Y delete, P power, Q mute, ...) and answers a colon code with +CME ERROR: 25; "needs-access"
answers +CME ERROR: 3 to every AT+CKPD until AT+CMEC=2 (or 1); "latin1" takes [ and ] as C, the
clear key, until AT+CSCS="8859-1"; "no-keypad" is a modem port that answers AT+CKPD and AT+CKPD=?
with ERROR. Their identities:

    model          AT+CGMI          AT+CGMM            AT+CGMR
    default        Virtual Phones   VP-100 Classic     R1A
    standard       Virtual Phones   VP-270 Standard    R2B
    needs-access   Virtual Phones   VP-300 Access      R3C   (as +CGMI: "Virtual Phones", ...)
    latin1         Virtual Phones   VP-885 Latin       R4D
    no-keypad      Virtual Modems   VM-56 Modem Port   R5E

An AT+CKPD string may hold several keys ("5555"), colon codes and alpha entries (";Hello;", a
semicolon inside doubled), then the standard's <time> and <pause> in tenths of a second: the keys of
one command are pressed at the time its line arrived, each (<time> + <pause>) after the one before.
--answer error, cme:N or silent changes the answer to a keypad command the phone took.

The screen. With --layout russian or latin the phone is a text editor that decodes multi-tap:
    russian  2 абвг  3 деёжз  4 ийкл  5 мноп  6 рсту  7 фхцч  8 шщъы  9 ьэюя
    latin    2 abc   3 def    4 ghi   5 jkl   6 mno   7 pqrs  8 tuv   9 wxyz   (ITU-T E.161)
    both     1 .,?!-'"()@/:; (the punctuation)   0 a space
each key's own digit ending its cycle (--letters DIGIT=LETTERS replaces a key's letters). A press
of the same key closer than --multitap-wait ms to the last one's release moves on through its
cycle; a press of another key, the wait passing or the --next-key CODE ends the letter. A digit key
held 1 s or more writes its digit. The clear and delete keys take the last character back; the
other keys do nothing to the text. The phone writes its layout's letters in lower case (--case
upper: in upper case; --case sentence: a capital at the start and after ". ", "! " or "? "). Without a layout the digits, star and hash are dialled as they are and the
red key clears them. Alpha entries are written in either mode, in the character set of --charset
(IRA, GSM, 8859-1, UTF-8 or UCS2 as hex, as AT+CSCS changes it). --text-file is rewritten with the
screen's text (UTF-8) after each change, and the terminal shows it.

--events: the phone's own events (phone_events.py). --events-script PATH: keys pressed on the phone
itself are read from PATH, a FIFO it makes there (or a file already there).

--log: one line per line received and per line the phone sent on its own, times CLOCK_MONOTONIC:
    <ms> <hex of the bytes received> <row> [<presses>]
    <ms> event <hex of the bytes sent>
<row> is the keypad row 1-26 that a line pressing one key pressed, as this phone understood it
(a "^" at "standard" is row 15, Вверх), else "-" (no keypad command, refused, or another kind of
press); <presses> lists what a keypad command the phone took pressed, comma-separated: rows 1-26,
the names of the standard's other keys (clear, delete, power, mute, ...; a "[" that "latin1" takes
as C is "clear") and "alpha" for an alpha entry.
--link: a symbolic link (such as $WINEPREFIX/dosdevices/com1) to the port, kept in place.
--ready-file: written with the port's path once the port is ready.
The hostile modes (--flood, --flood-events, --endless, --noise, --late, --echo-other, --stall
SECONDS) are what broken and busy devices send; they combine, and a flood or an endless line starts
when a stall ends.
--away SECONDS: after its first key the phone is unplugged for that long, its port gone, then
plugged in again under the same name, as a phone that reboots.
Ends on SIGTERM or SIGINT, removing its link, ready file and the FIFO it made.
"""

import argparse
import heapq
import itertools
import math
import os
import random
import select
import signal
import termios
import time
import tty

from phone_events import EVENT_FLOOD, Events, open_script
from phone_keypad import CHARSETS, LAYOUTS, Screen, layout_cycles
from phone_models import MODELS, ROWS, Modem

# Bytes kept waiting for a line end before they are taken as one (bad) line anyway.
LONGEST_LINE = 1024

# What --flood sends over and over: lines of its own (one with text in code page 1251 and a
# zero byte inside) and binary, line ends included, as a phone in a debug mode or a wrong baud
# rate gives.
_binary = random.Random(27007)
FLOOD = b"".join([b"\r\nRING\r\n", b'\r\n+CLIP: "+79991234567",145,,,"\xc8\xe2\xe0\xed\x00",0\r\n',
                  bytes(_binary.randrange(256) for _ in range(1500)), b"\r\n+CIEV: 2,5\r\n"] * 2)
ENDLESS_PIECE = b"0123456789ABCDEF" * 256  # printable, and never a line end


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


def replace_file(path, data):
    with open(path + ".tmp", "wb") as temporary:
        temporary.write(data)
    os.replace(path + ".tmp", path)


def name_of(code, key):
    return ROWS[key - 1][1] if isinstance(key, int) else f'"{code}" as {key}'


class Vanished(Exception):
    pass


class Phone:
    def __init__(self, options, master):
        self.options, self.master = options, master
        self.log = open(options.log, "w") if options.log else None
        self.pending, self.presses, self.drop_noted = b"", 0, False
        self.stall_ends = time.monotonic() + options.stall
        self.due, self.order = [], itertools.count()  # (time, order, action) of what comes later, soonest first
        self.endless_left = int(options.endless * 1024 * 1024)
        self.flood = (FLOOD if options.flood else b"") + (EVENT_FLOOD if options.flood_events else b"")
        self.flood_at = 0  # where in the flood the port's last write ended
        cycles = layout_cycles(options.layout, options.letters, options.case) if options.layout else None
        self.screen = Screen(cycles, options.multitap_wait / 1000, options.next_key, options.case == "sentence")
        self.events = Events(self, options)
        self.modem = Modem(MODELS[options.model], options.charset, self.events if options.events else None,
                           alpha=not options.no_alpha)
        self.modem.echo = options.echo
        self.say = say
        if options.text_file:
            replace_file(options.text_file, b"")

    def stalled(self):
        return time.monotonic() < self.stall_ends

    def streams(self):
        """Whether a flood or an endless line is to be sent now."""
        return not self.stalled() and (self.flood or self.endless_left > 0)

    def stream(self):
        """One piece of the flood or of the endless line, as much as the port takes."""
        if self.endless_left > 0:
            self.endless_left -= self.write(ENDLESS_PIECE[:self.endless_left], quiet=True)
            if self.endless_left <= 0:
                say(f"sent a line of {self.options.endless} MiB without a line end")
        else:
            written = self.write(self.flood[self.flood_at:] + self.flood[:self.flood_at], quiet=True)
            self.flood_at = (self.flood_at + written) % len(self.flood)

    def at(self, delay, action):
        heapq.heappush(self.due, (time.monotonic() + delay, next(self.order), action))

    def run_due(self):
        while self.due and self.due[0][0] <= time.monotonic():
            heapq.heappop(self.due)[2]()

    def next_due(self):
        return self.due[0][0] - time.monotonic() if self.due else math.inf

    def feed(self, data, at):
        """Bytes read at `at` (monotonic seconds): each line they end is answered."""
        for byte in data:
            self.pending += bytes([byte])
            if byte == 0x0A or len(self.pending) >= LONGEST_LINE:
                line, self.pending = self.pending, b""
                self.answer(line, at)

    def answer(self, line, at):
        echo = self.modem.echo
        result = self.modem.answer(line.rstrip(b"\r\n")) if line.endswith(b"\n") else self.modem.answer(b"")
        keys = [press[2] for press in result.presses if press[0] == "key"]
        row = keys[0] if len(result.presses) == 1 and keys and isinstance(keys[0], int) else None
        if self.log:
            presses = ",".join(str(press[2]) if press[0] == "key" else "alpha" for press in result.presses)
            print(f"{time.monotonic_ns() // 1_000_000} {line.hex()} {row or '-'}" + (f" {presses}" * bool(presses)),
                  file=self.log, flush=True)
        if result.presses:
            self.press_all(result, at)
        else:
            answer = [text if isinstance(text, str) else printable(text) for text in result.lines]
            say(f'"{printable(line)}" → ' + " / ".join(answer + [self.modem.final_text(result.final)]))
        if echo:
            self.write(line)
        if self.options.echo_other:
            self.write(f'AT+CKPD="{ROWS[(row or 0) % len(ROWS)][0]}"\r'.encode())
        answer = self.options.answer
        if answer == "silent":
            return
        final = self.modem.final_text(result.final)
        if result.presses and answer != "ok":
            final = "ERROR" if answer == "error" else "+CME ERROR: " + answer[4:]
        data = b"".join(b"\r\n" + (text if isinstance(text, bytes) else text.encode("latin-1")) + b"\r\n"
                        for text in result.lines + [final])
        if self.options.noise:
            data = data[:3] + b"\x00" + data[3:-2] + b"\xff\x80\r\n"  # inside the answer's line
        if self.options.late:
            self.at(self.options.late, lambda: self.write(data))
            return
        self.write_answer(data)

    def press_all(self, result, at):
        """The presses of a keypad command the phone took, from `at` on."""
        self.presses += 1
        names = [f'alpha entry "{press[1]}"' if press[0] == "alpha" else name_of(press[1], press[2])
                 for press in result.presses]
        say(f"#{self.presses}  {' '.join(names)}" + (f"  (held {result.time / 10:g} s)" if result.time else ""))
        step, changed = (result.time + result.pause) / 10, False
        for number, press in enumerate(result.presses):
            if press[0] == "key":
                changed |= self.press(press[1], press[2], result.time, by_program=True, at=at + number * step)
            else:
                changed |= self.screen.alpha(press[1])
        if changed:  # once a line: a journey waits for whole texts, and the file costs a rename
            self.text_changed()

    def press(self, code, key, hold_tenths, by_program, at=None):
        """One key pressed, by the program through AT+CKPD (at `at`) or on the phone itself (now).
        Returns whether the screen's text changed; for a key on the phone, it is shown at once."""
        self.events.key(code, True, by_program)
        changed = self.screen.press(code, key, time.monotonic() if at is None else at, hold_tenths)
        self.events.shown()
        if by_program:
            self.events.key(code, False, True)
            return changed
        say(f"on the phone: {name_of(code, key)}" + ("  (held)" if hold_tenths >= 15 else ""))
        if changed:
            self.text_changed()
        return changed

    def text_changed(self):
        if self.options.text_file:
            replace_file(self.options.text_file, self.screen.text.encode("utf-8"))
        if self.options.layout:
            say(f'text: "{self.screen.text}"')

    def unsolicited(self, text):
        """A line the phone sends on its own."""
        data = b"\r\n" + text + b"\r\n"
        if self.log:
            print(f"{time.monotonic_ns() // 1_000_000} event {data.hex()}", file=self.log, flush=True)
        say(f"→ {printable(text)}")
        self.write(data)

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


def parse_options(arguments=None):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--link")
    parser.add_argument("--log")
    parser.add_argument("--ready-file")
    parser.add_argument("--model", choices=MODELS, default="default")
    parser.add_argument("--no-alpha", action="store_true", help="refuse alpha entries (+CME ERROR: 4)")
    parser.add_argument("--layout", choices=LAYOUTS, help="decode multi-tap presses with this layout")
    parser.add_argument("--letters", action="append", default=[], metavar="DIGIT=LETTERS",
                        help="the letters of one digit key, in order (may repeat)")
    parser.add_argument("--multitap-wait", type=int, default=1000, metavar="MS")
    parser.add_argument("--next-key", metavar="CODE", help="the key that ends a letter at once, as AT+CKPD writes it")
    parser.add_argument("--case", choices=("lower", "upper", "sentence"), default="lower")
    parser.add_argument("--charset", choices=CHARSETS, default="GSM", help="the character set at the start")
    parser.add_argument("--text-file", help="rewritten with the screen's text after each change")
    parser.add_argument("--events", action="store_true", help="AT+CMER, AT+CIND, AT+CDIS and their reports")
    parser.add_argument("--refuse-cmer", action="store_true", help="refuse AT+CMER with display or indicator reports")
    parser.add_argument("--ckev", choices=("numeric", "quoted"), default="quoted")
    parser.add_argument("--ciev-every", type=float, default=3, metavar="SECONDS", help="0: never")
    parser.add_argument("--events-script", metavar="PATH", help="keys pressed on the phone itself (a FIFO it makes)")
    parser.add_argument("--answer", default="ok", help="ok (default), error, cme:N or silent (never answers)")
    parser.add_argument("--echo", action="store_true", help="send each line back first, as ATE1 does")
    parser.add_argument("--split", action="store_true", help="write each answer in two parts, 50 ms apart")
    parser.add_argument("--ring", type=float, metavar="SECONDS", help="send RING this often")
    parser.add_argument("--stall", type=float, nargs="?", const=math.inf, default=0, metavar="SECONDS",
                        help="read nothing, for ever or for SECONDS: the port's buffer fills up")
    parser.add_argument("--vanish", action="store_true", help="end halfway through the first answer")
    parser.add_argument("--flood", action="store_true", help="send lines and binary at full speed, for ever")
    parser.add_argument("--flood-events", action="store_true", help="send event lines, right and wrong, likewise")
    parser.add_argument("--endless", type=float, default=0, metavar="MIB",
                        help="send a line of MIB mebibytes without a line end, at full speed")
    parser.add_argument("--noise", action="store_true", help="a zero byte and high bytes inside each answer")
    parser.add_argument("--late", type=float, default=0, metavar="SECONDS", help="answer each key SECONDS late")
    parser.add_argument("--echo-other", action="store_true", help="echo another key's command than the one sent")
    parser.add_argument("--away", type=float, default=0, metavar="SECONDS",
                        help="after the first key, unplugged for SECONDS, then back under the same name")
    options = parser.parse_args(arguments)
    if options.answer not in ("ok", "error", "silent") and not (
            options.answer.startswith("cme:") and options.answer[4:].isdigit()):
        parser.error("--answer takes ok, error, cme:N or silent")
    letters = [entry.partition("=") for entry in options.letters]
    if any(not (len(digit) == 1 and digit.isdigit() and sign and text) for digit, sign, text in letters):
        parser.error("--letters takes DIGIT=LETTERS, such as 2=абвгabc")
    options.letters = [(digit, text) for digit, _, text in letters]
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


def own_keypad(options):
    """The file descriptors that keys pressed on the phone come from: its terminal, where it runs
    in the foreground with --events, and --events-script's FIFO. Returns them and a function that
    undoes what opening them changed."""
    sources, undo = [], []
    if options.events and os.isatty(0) and os.tcgetpgrp(0) == os.getpgrp():
        mode = termios.tcgetattr(0)
        tty.setcbreak(0)  # a key at a time, not echoed
        sources.append(0)
        undo.append(lambda: termios.tcsetattr(0, termios.TCSADRAIN, mode))
    if options.events_script:
        reader, made = open_script(options.events_script)
        sources.append(reader)
        if made:
            undo.append(lambda: os.unlink(options.events_script))
    return sources, lambda: [step() for step in undo]


def run(options):
    stop = os.pipe()
    for number in (signal.SIGTERM, signal.SIGINT):
        signal.signal(number, lambda *_: os.write(stop[1], b"x"))
    master, slave, path = open_raw_terminal()
    phone = Phone(options, master)
    keypad, restore = own_keypad(options)
    try:
        if options.link:
            make_link(options.link, path)
        if options.ready_file:
            replace_file(options.ready_file, (path + "\n").encode())
        print(f"ready {path}" + (f" linked as {options.link}" if options.link else ""), flush=True)
        next_ring = time.monotonic() + options.ring if options.ring else None
        unplugged = False
        while True:
            readers = [stop[0], *keypad] + ([] if phone.stalled() else [master])
            writers = [master] if phone.streams() else []
            ready, writable, _ = select.select(readers, writers, [], min(0.1, max(0, phone.next_due())))
            if stop[0] in ready:
                break
            for source in set(ready) & set(keypad):
                typed = os.read(source, 4096)
                if not typed:
                    keypad.remove(source)  # a script file read to its end, or the terminal gone
                phone.events.typed(typed.decode("utf-8", errors="replace"), time.monotonic())
            if master in ready:
                try:
                    phone.feed(os.read(master, 4096), time.monotonic())
                except Vanished:
                    break
            if options.away and phone.presses and not unplugged:
                unplugged = True
                master, slave, path = unplug_for(options, master, slave, path, stop[0])
                if master is None:
                    break
                phone.master = master
            phone.run_due()
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
        restore()
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
