"""What the virtual phone makes of AT+CKPD: the keys and alpha entries of its string, the texts of
its character sets, and the text that multi-tap presses and alpha entries write on its screen."""

import re

# The keys of 3GPP TS 27.007 §8.7 that are none of the 26 keypad rows, by the names the log gives
# them. Letters are taken in either case.
OTHER_KEYS = {"C": "clear", "Y": "delete", "P": "power", "Q": "mute", "R": "recall", "T": "store",
              "L": "lock", "F": "function", "A": "channel-a", "B": "channel-b", "X": "aux", "W": "pause",
              "@": "alpha-mode", "%": "percent"}
# The standard's characters of the 26 rows (1-26).
STANDARD_ROWS = {**{str(digit): digit for digit in range(1, 10)}, "0": 10, "*": 11, "#": 12, "<": 13, ">": 14,
                 "^": 15, "V": 16, "[": 18, "]": 19, "E": 20, "S": 21, "M": 22, "U": 23, "D": 24}
ERASING_KEYS = {"clear", "delete"}

PUNCTUATION = ".,?!-'\"()@/:;"
LAYOUTS = {
    "russian": {"2": "абвг", "3": "деёжз", "4": "ийкл", "5": "мноп", "6": "рсту", "7": "фхцч", "8": "шщъы",
                "9": "ьэюя"},
    "latin": {"2": "abc", "3": "def", "4": "ghi", "5": "jkl", "6": "mno", "7": "pqrs", "8": "tuv", "9": "wxyz"},
}
CHARSETS = ("IRA", "GSM", "8859-1", "UTF-8", "UCS2")
CODECS = {"IRA": "ascii", "8859-1": "latin-1", "UTF-8": "utf-8"}  # the sets Python knows by other names

# GSM 03.38's default alphabet, code 0 to 127, and the characters of its extension after 0x1B.
GSM = ("@£$¥èéùìòÇ\nØø\rÅåΔ_ΦΓΛΩΠΨΣΘΞ\x1bÆæßÉ !\"#¤%&'()*+,-./0123456789:;<=>?"
       "¡ABCDEFGHIJKLMNOPQRSTUVWXYZÄÖÑÜ§¿abcdefghijklmnopqrstuvwxyzäöñüà")
GSM_EXTENSION = {0x0A: "\f", 0x14: "^", 0x28: "{", 0x29: "}", 0x2F: "\\", 0x3C: "[", 0x3D: "~", 0x3E: "]",
                 0x40: "|", 0x65: "€"}
assert len(GSM) == 128

# The longest text the screen keeps: a phone's editor is bounded too.
LONGEST_TEXT = 4096
# A digit key held this long (tenths of a second) writes its digit, as phones do in text mode.
DIGIT_HOLD_TENTHS = 10


class Refused(Exception):
    """A command the phone will not carry out, with the answer it gives instead."""

    def __init__(self, answer):
        super().__init__(answer)
        self.answer = answer


INVALID_CHARACTERS = 25  # +CME ERROR: 25, invalid characters in text string


def parse_keypad_string(arguments):
    """The items of AT+CKPD=<arguments>, each ("key", code) or ("alpha", bytes), with <time> and
    <pause> in tenths (None where left out). Raises Refused."""
    match = re.fullmatch(rb'"([^"]*)"(?:,(\d{0,3})(?:,(\d{0,3}))?)?', arguments)
    if not match:
        raise Refused("ERROR")
    keys, time, pause = match.group(1), match.group(2), match.group(3)
    time, pause = (int(value) if value else None for value in (time, pause))
    if (time or 0) > 255 or (pause or 0) > 255:
        raise Refused("ERROR")
    items, at = [], 0
    while at < len(keys):
        char = keys[at:at + 1]
        if char == b";":
            text, at = bytearray(), at + 1
            while keys[at:at + 2] == b";;" or (at < len(keys) and keys[at:at + 1] != b";"):
                text += keys[at:at + 1]
                at += 2 if keys[at:at + 2] == b";;" else 1
            if at >= len(keys):
                raise Refused(INVALID_CHARACTERS)  # an alpha entry that never ends
            items.append(("alpha", bytes(text)))
            at += 1
        elif char == b":":
            if at + 1 >= len(keys):
                raise Refused(INVALID_CHARACTERS)
            items.append(("key", keys[at:at + 2].decode("latin-1")))
            at += 2
        else:
            items.append(("key", char.decode("latin-1")))
            at += 1
    return items, time, pause


def decode_text(data, charset):
    """The text of an alpha entry written in `charset`; raises Refused where it is not."""
    try:
        if charset == "GSM":
            return decode_gsm(data)
        if charset == "UCS2":
            if len(data) % 4:
                raise ValueError("UCS2 takes four hex digits a character")
            return bytes.fromhex(data.decode("ascii")).decode("utf-16-be")
        return data.decode(CODECS[charset])
    except (ValueError, KeyError, IndexError):
        raise Refused(INVALID_CHARACTERS) from None


def decode_gsm(data):
    text, escaped = "", False
    for byte in data:
        if escaped:
            text += GSM_EXTENSION[byte]
        elif byte != 0x1B:
            text += GSM[byte]
        escaped = byte == 0x1B and not escaped
    return text


def encode_text(text, charset):
    """`text` as the phone writes it in `charset`; what the set lacks becomes "?"."""
    if charset == "UCS2":
        return text.encode("utf-16-be").hex().upper().encode("ascii")
    if charset == "GSM":
        return bytes(GSM.index(c) if c in GSM and c != "\x1b" else 0x3F for c in text)
    return text.encode(CODECS[charset], errors="replace")


def layout_cycles(name, replaced=(), case="lower"):
    """Each digit key's cycle of characters: its letters, then its own digit, which ends it."""
    letters = {**LAYOUTS[name], "1": PUNCTUATION, "0": " ", **dict(replaced)}
    letters = {digit: text.upper() if case == "upper" else text for digit, text in letters.items()}
    return {digit: text if digit in text else text + digit for digit, text in letters.items()}


class Screen:
    """What the phone's screen holds. With a layout it is a text editor: digit keys write by
    multi-tap, a press of the same key within `wait` s of the last one's release moving on through
    its cycle; another key, the wait passing or the next key ends a letter. Without a layout the
    digits, star and hash are dialled as they are and the red key clears them. Alpha entries are
    written as they are; the clear and delete keys take the last character back."""

    def __init__(self, cycles=None, wait=1.0, next_key=None, sentence=False):
        self.cycles, self.wait, self.next_key, self.sentence = cycles, wait, next_key, sentence
        self.text = ""
        self.cycle = None  # (key, position in its cycle, time of the release) of the letter being written

    def press(self, code, name, at, hold_tenths=0):
        """A key pressed at `at` (monotonic seconds) and held `hold_tenths`: code as sent, name as
        the phone understood it (a row 1-26 or a key name). Returns whether the text changed."""
        before = self.text
        last, self.cycle = self.cycle, None
        released = at + hold_tenths / 10
        if name in ERASING_KEYS:
            self.text = self.text[:-1]
        elif self.cycles is None:
            if code in "0123456789*#":
                self.write(code)
            elif name == 20:
                self.text = ""
        elif code in self.cycles and code != self.next_key:
            cycle = self.cycles[code]
            if hold_tenths >= DIGIT_HOLD_TENTHS:
                self.write(code)
            elif last and last[0] == code and at - last[2] < self.wait:
                position = (last[1] + 1) % len(cycle)
                self.text = self.text[:-1]
                self.write(cycle[position])
                self.cycle = (code, position, released)
            else:
                self.write(cycle[0])
                self.cycle = (code, 0, released)
        return self.text != before

    def write(self, text):
        # In sentence case a letter that starts the text, or a sentence after ". ", "! " or "? ",
        # is a capital, as phones write by default.
        if self.sentence and text.isalpha() and (not self.text.rstrip() or self.text.rstrip()[-1] in ".!?"):
            text = text.upper()
        self.text = (self.text + text)[-LONGEST_TEXT:]

    def alpha(self, text):
        """An alpha entry: written as it is, ending the letter. Returns whether the text changed."""
        self.cycle = None
        before = self.text
        self.text = (self.text + text)[-LONGEST_TEXT:]
        return self.text != before
