"""The virtual phone's own events: AT+CMER, AT+CIND and AT+CDIS, the keys pressed on the phone
itself and the unsolicited lines that report them.

Keys are pressed on the phone through its terminal (with --events, when it runs in the
foreground) and through --events-script, one character a key:

    0-9 * #    the digit keys, star and hash     ^ v < >   the arrows up, down, left, right
    o          the centre                        [ ]       the soft keys, left and right
    s e        the green and the red key         m         the menu
    + -        the volume up and down            k t       the camera and the smart key
    c          the clear key                     !         before a key: hold it 2 s
    blanks and line ends are nothing; letters count in either case.

A key is held 0.1 s and the next follows 0.05 s after its release. Where AT+CMER has switched
reports on (mode 1 to 3), each press and release is reported as +CKEV: <key>,1 and +CKEV: <key>,0
(<keyp> 1: only the keys pressed on the phone; 2: those pressed through AT+CKPD too), in the
numeric form (+CKEV: 49,1, the character's code; a colon code stays quoted) or the quoted one
(+CKEV: "1",1, in the phone's character set: "0031" in UCS2); the key is the code the phone takes
it by, so the default phone reports its arrows as ":L" ... and the standard ones as "<" ...; each
key press, on the phone or through AT+CKPD, is followed by +CDEV: 1,"<display>" (<disp> 1 or 2;
the display shows the last 40 characters of the screen's text, as AT+CDIS? answers); and every
--ciev-every seconds an indicator changes, reported as +CIEV: <index>,<value> (<ind> 1 or 2).
AT+CIND=? names the indicators battchg, signal (both 0-5), service, message, call and roam (0-1).

With --refuse-cmer the phone reports keys only: it answers +CME ERROR: 3 to any AT+CMER that asks
for display or indicator reports (3,1,1,1 and 3,1,0,1) and takes 3,1,0,0, 2,1,0,0 or 3,2,0,0.
"""

import os

from phone_keypad import encode_text
from phone_models import INCORRECT_PARAMETERS, NOT_ALLOWED, NOT_SUPPORTED, Answer

INDICATORS = [("battchg", 5), ("signal", 5), ("service", 1), ("message", 1), ("call", 1), ("roam", 1)]
FIRST_VALUES = [4, 3, 1, 0, 0, 0]
# The indicator changes that come one after the other (index from 1, value), then again.
CHANGES = [(2, 4), (1, 3), (2, 5), (2, 2), (4, 1), (1, 2), (2, 3), (4, 0), (1, 4)]

OWN_KEYS = {**{str(digit): digit for digit in range(1, 10)}, "0": 10, "*": 11, "#": 12, "<": 13, ">": 14, "^": 15,
            "v": 16, "o": 17, "[": 18, "]": 19, "e": 20, "s": 21, "m": 22, "+": 23, "-": 24, "k": 25, "t": 26,
            "c": "clear"}
SHORT_HOLD, LONG_HOLD, BETWEEN_KEYS = 0.1, 2.0, 0.05
# The characters the display shows, the last of the screen's text: even in UCS2 its line stays
# within the 256 characters of an answer line.
DISPLAY_WIDTH = 40

# What --flood-events sends over and over: event lines right and wrong, as a phone in a hurry or a
# broken one writes them. Text in code page 1251 among them, a zero byte, an overlong line, a line
# end inside quotes and numbers beyond any range.
EVENT_FLOOD = b"".join(b"\r\n" + line + b"\r\n" for line in [
    b"+CKEV: 49,1", b"+CKEV: 49,0", b'+CKEV: "M",1', b'+CKEV: ":X",0', b'+CKEV: "003A0058",1', b"+CIEV: 2,3",
    b"+CIEV: 1,5", b'+CDEV: 1,"\xc2\xf5\xee\xe4"', b'+CDEV: 1,"041F0440"', b"+CDEV: 1," + b"A" * 300,
    b'+CDEV: 1,"unfinished', b'+CIND: ("battchg",(0-5)),("signal",(0-5))', b"+CIND: 5,5",
    b"+CKEV: ,1", b"+CKEV: 4294967296,1", b"+CKEV: 49,7", b"+CIEV: 99999999999,1", b'+CIND: (("(',
    b'+CDEV: 1,"a\r\nb"', b"+CIEV: 2,\x005", b"+CIND: " + b"1," * 150 + b"1",
]) * 4


class Events:
    """Reports and the phone's own keys, for `phone`: it presses keys (press), writes lines of its
    own (unsolicited), runs things later (at) and has a modem and a screen."""

    def __init__(self, phone, options):
        self.phone, self.options = phone, options
        self.mode = self.keyp = self.disp = self.ind = self.bfr = 0
        self.values = list(FIRST_VALUES)
        self.changes = 0
        self.free_at = 0.0  # when the phone's own keypad is free for the next key
        if options.events and options.ciev_every:
            phone.at(options.ciev_every, self.change_indicator)

    # The commands.

    def answer(self, name, query, arguments):
        if name == "+CMER":
            if query == "test":
                reports = "(0),(0)" if self.options.refuse_cmer else "(0-2),(0-2)"
                return Answer([f"+CMER: (0-3),(0-2),{reports},(0-1)"])
            if query == "read":
                return Answer([f"+CMER: {self.mode},{self.keyp},{self.disp},{self.ind},{self.bfr}"])
            values = self.cmer_values(arguments)
            if values is None:
                return Answer([], INCORRECT_PARAMETERS)
            if self.options.refuse_cmer and (values[2] or values[3]):
                return Answer([], NOT_ALLOWED)
            self.mode, self.keyp, self.disp, self.ind, self.bfr = values
            return Answer([])
        if name == "+CIND" and query == "test":
            return Answer(["+CIND: " + ",".join(f'("{name}",(0-{top}))' for name, top in INDICATORS)])
        if name == "+CIND" and query == "read":
            return Answer(["+CIND: " + ",".join(map(str, self.values))])
        if name == "+CDIS" and query == "read":
            return Answer([b'+CDIS: "' + self.display() + b'"'])
        return Answer([], NOT_SUPPORTED)

    def cmer_values(self, arguments):
        """The five values an AT+CMER=... leaves, those left out kept; None when one is wrong."""
        given = (arguments or "").split(",")
        current = [self.mode, self.keyp, self.disp, self.ind, self.bfr]
        if len(given) > 5 or not all(value.strip().isdigit() or not value.strip() for value in given):
            return None
        values = [int(value) if value.strip() else old for value, old in zip(given + [""] * 5, current)]
        return values if all(value <= top for value, top in zip(values, (3, 2, 2, 2, 1))) else None

    # The reports.

    def key(self, code, pressed, by_program):
        if self.mode and (self.keyp == 2 or (self.keyp == 1 and not by_program)):
            if self.options.ckev == "numeric" and len(code) == 1:
                self.phone.unsolicited(f"+CKEV: {ord(code)},{int(pressed)}".encode())
            else:
                quoted = encode_text(code, self.phone.modem.charset)
                self.phone.unsolicited(b'+CKEV: "' + quoted + b'",' + str(int(pressed)).encode())

    def shown(self):
        if self.mode and self.disp:
            self.phone.unsolicited(b'+CDEV: 1,"' + self.display() + b'"')

    def display(self):
        """What the display shows: the end of the screen's text, as much as fits."""
        return encode_text(self.phone.screen.text[-DISPLAY_WIDTH:], self.phone.modem.charset)

    def change_indicator(self):
        index, value = CHANGES[self.changes % len(CHANGES)]
        self.changes += 1
        self.values[index - 1] = value
        if self.mode and self.ind:
            self.phone.unsolicited(f"+CIEV: {index},{value}".encode())
        self.phone.at(self.options.ciev_every, self.change_indicator)

    # The phone's own keys.

    def typed(self, text, now):
        """Keys typed on the phone (the map above), pressed one after the other from `now` on."""
        hold = SHORT_HOLD
        for char in text:
            if char == "!":
                hold = LONG_HOLD
                continue
            key = OWN_KEYS.get(char.lower())
            if key is None:
                if not char.isspace():
                    self.phone.say(f"the phone has no key {char!r}")
                continue
            pressed = max(now, self.free_at)
            code = self.phone.modem.code_of(key)
            self.phone.at(pressed - now, lambda key=key, code=code, hold=hold: self.own_press(key, code, hold))
            self.phone.at(pressed + hold - now, lambda code=code: self.key(code, False, False))
            self.free_at, hold = pressed + hold + BETWEEN_KEYS, SHORT_HOLD

    def own_press(self, key, code, hold):
        self.phone.press(code, key, round(hold * 10), by_program=False)


def open_script(path):
    """The file descriptor --events-script reads: a FIFO made at `path` if nothing is there (a
    journey writes keys into it), the FIFO or the file already there; and whether it was made."""
    made = not os.path.exists(path)
    if made:
        os.mkfifo(path)
    reader = os.open(path, os.O_RDONLY | os.O_NONBLOCK)
    if made or not os.path.isfile(path):
        os.open(path, os.O_WRONLY)  # kept open, so that a writer closing it is no end of the keys
    return reader, made
