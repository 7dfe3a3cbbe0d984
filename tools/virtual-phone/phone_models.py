"""The virtual phone's models and the commands they answer, apart from the port and the events.

Every model answers identification (AT+CGMI, AT+CGMM, AT+CGMR, their V.250 forms AT+GMI ... and
ATI), AT+CKPD=?, AT+CMEC, AT+CMEE and AT+CSCS, and OK to the set-up lines (AT, ATZ, AT&F, ATE0,
ATE1, ATV1, ATQ0, AT&C, AT&D in any run). Errors are +CME ERROR: <n> as AT+CMEE=1 gives them (the
start), ERROR after AT+CMEE=0 and the words after AT+CMEE=2.
"""

import re
from dataclasses import dataclass

from phone_keypad import (CHARSETS, INVALID_CHARACTERS, OTHER_KEYS, STANDARD_ROWS, Refused, decode_text,
                          parse_keypad_string)

# The 26 keypad rows: the code the default phone takes and the name its owner knows.
ROWS = [
    ("1", "1"), ("2", "2"), ("3", "3"), ("4", "4"), ("5", "5"), ("6", "6"), ("7", "7"), ("8", "8"),
    ("9", "9"), ("0", "0"), ("*", "*"), ("#", "#"), (":L", "Влево"), (":R", "Вправо"),
    (":X", "Вверх"), (":C", "Вниз"), (":0", "Центр"), ("[", "Soft-Левая"), ("]", "Soft-Правая"),
    ("E", "Красная"), ("S", "Зелёная"), ("M", "Меню"), ("U", "Звук выше"), ("D", "Звук ниже"),
    (":1", "Камера"), (":T", "Smart-кнопка"),
]
assert len(ROWS) == 26
COLON_ROWS = {code: row for row, (code, _) in enumerate(ROWS, 1) if code.startswith(":")}
STANDARD_CODES = {row: code for code, row in STANDARD_ROWS.items()}

NOT_ALLOWED, NOT_SUPPORTED, INCORRECT_PARAMETERS = 3, 4, 50
ERROR_WORDS = {3: "operation not allowed", 4: "operation not supported", 25: "invalid characters in text string",
               50: "incorrect parameters"}


@dataclass(frozen=True)
class Model:
    manufacturer: str
    model: str
    revision: str
    colon_codes: bool = False         # takes the default phone's colon codes (and only those)
    keypad: bool = True               # offers AT+CKPD at all
    needs_access: bool = False        # +CME ERROR: 3 to AT+CKPD until AT+CMEC=1 or 2
    brackets_need_latin1: bool = False  # takes [ and ] as the clear key until AT+CSCS="8859-1"
    prefixed_identity: bool = False   # answers +CGMI: <text> where others answer <text>


MODELS = {
    "default": Model("Virtual Phones", "VP-100 Classic", "R1A", colon_codes=True),
    "standard": Model("Virtual Phones", "VP-270 Standard", "R2B"),
    "needs-access": Model("Virtual Phones", "VP-300 Access", "R3C", needs_access=True, prefixed_identity=True),
    "latin1": Model("Virtual Phones", "VP-885 Latin", "R4D", brackets_need_latin1=True),
    "no-keypad": Model("Virtual Modems", "VM-56 Modem Port", "R5E", keypad=False),
}
SETUP_LINE = re.compile(r"AT(?:E[01]?|V1?|Q0?|Z|&F|&C[01]?|&D[0-2]?)*")
EXTENDED = re.compile(r"(?i:AT)([+][A-Za-z]+)(=\?|\?|=(.*))?", re.S)


@dataclass
class Answer:
    """What a line gets back: information lines, then the final result."""
    lines: list
    final: object = "OK"  # "OK", "ERROR", or the number of a +CME ERROR
    presses: tuple = ()   # what a keypad command pressed: ("key", code, row or key name) or ("alpha", text)
    time: int = 0         # <time> and <pause> of the keypad command, in tenths
    pause: int = 0


class Modem:
    """One model's answers and the settings that lines change. `events` answers AT+CMER, AT+CIND
    and AT+CDIS where the phone has events (else they are ERROR)."""

    def __init__(self, model, charset, events=None, alpha=True):
        self.model, self.charset, self.events, self.alpha = model, charset, events, alpha
        self.echo, self.error_mode, self.keypad_access = False, 1, 0

    def understand(self, code):
        """The row (1-26) or the name of the key `code` presses at this phone, or None."""
        if code.startswith(":"):
            return COLON_ROWS.get(code) if self.model.colon_codes else None
        if self.model.brackets_need_latin1 and code in ("[", "]") and self.charset != "8859-1":
            return "clear"
        return STANDARD_ROWS.get(code.upper()) or OTHER_KEYS.get(code.upper())

    def code_of(self, key):
        """The code this phone reports `key` (a row 1-26 or "clear") by, for its own key presses;
        the keys the standard lacks by the default phone's colon codes."""
        if key == "clear":
            return "C"
        return ROWS[key - 1][0] if self.model.colon_codes else STANDARD_CODES.get(key, ROWS[key - 1][0])

    def final_text(self, final):
        if isinstance(final, str):
            return final
        return ("ERROR", f"+CME ERROR: {final}", f"+CME ERROR: {ERROR_WORDS.get(final, final)}")[self.error_mode]

    def answer(self, line):
        """The Answer to one command line, its CR and LF taken off."""
        text = line.decode("latin-1")
        if SETUP_LINE.fullmatch(text.upper()):
            echo = re.findall(r"E([01]?)", text.upper())
            self.echo = self.echo if not echo else echo[-1] == "1"
            return Answer([])
        if text.upper() == "ATI":
            return Answer([self.model.manufacturer, self.model.model, self.model.revision])
        match = EXTENDED.fullmatch(text)
        if not match:
            return Answer([], "ERROR")
        name, arguments = match.group(1).upper(), match.group(3)
        query = {"=?": "test", "?": "read", None: "run"}.get(match.group(2), "set")
        try:
            return self.extended(name, query, arguments)
        except Refused as refusal:
            return Answer([], refusal.answer)

    def extended(self, name, query, arguments):
        identity = {"+CGMI": "manufacturer", "+GMI": "manufacturer", "+CGMM": "model", "+GMM": "model",
                    "+CGMR": "revision", "+GMR": "revision"}
        if name in identity and query == "run":
            value = getattr(self.model, identity[name])
            return Answer([f'{name}: "{value}"' if self.model.prefixed_identity else value])
        if name == "+CKPD":
            return self.keypad(query, arguments)
        if name == "+CMEE":
            return self.error_reports(query, arguments)
        if name == "+CMEC":
            return self.access(query, arguments)
        if name == "+CSCS":
            return self.character_set(query, arguments)
        if name in ("+CMER", "+CIND", "+CDIS") and self.events:
            return self.events.answer(name, query, arguments)
        return Answer([], "ERROR")

    def error_reports(self, query, arguments):
        if query == "test":
            return Answer(["+CMEE: (0-2)"])
        if query == "read":
            return Answer([f"+CMEE: {self.error_mode}"])
        if query != "set" or arguments not in ("0", "1", "2"):
            return Answer([], "ERROR")
        self.error_mode = int(arguments)
        return Answer([])

    def access(self, query, arguments):
        if query == "test":
            return Answer(["+CMEC: (0-2),(0),(0)"])
        if query == "read":
            return Answer([f"+CMEC: {self.keypad_access},0,0"])
        keypad, *others = (arguments or "").split(",")
        if query != "set" or not keypad.isdigit() or int(keypad) > 2 or not all(o.isdigit() or not o for o in others):
            return Answer([], INCORRECT_PARAMETERS)
        self.keypad_access = int(keypad)
        return Answer([])

    def character_set(self, query, arguments):
        if query == "test":
            return Answer(["+CSCS: (" + ",".join(f'"{name}"' for name in CHARSETS) + ")"])
        if query == "read":
            return Answer([f'+CSCS: "{self.charset}"'])
        name = (arguments or "").strip('"').upper()
        if query != "set" or name not in CHARSETS:
            return Answer([], NOT_SUPPORTED)
        self.charset = name
        return Answer([])

    def keypad(self, query, arguments):
        if not self.model.keypad:
            return Answer([], "ERROR")
        if query == "test":
            keys = ["#", "%", "*", "0-9", ":" * self.model.colon_codes, ";" * self.alpha, "<", ">", "@", "A-F", "L",
                    "M", "P-Y", "[", "]", "^"]
            return Answer([f"+CKPD: ({','.join(filter(None, keys))}),(0-255),(0-255)"])
        if query != "set":
            return Answer([], "ERROR")
        if self.model.needs_access and self.keypad_access == 0:
            return Answer([], NOT_ALLOWED)
        items, time, pause = parse_keypad_string(arguments.encode("latin-1"))
        presses = []
        for kind, value in items:
            if kind == "alpha" and not self.alpha:
                raise Refused(NOT_SUPPORTED)
            if kind == "alpha":
                presses.append(("alpha", decode_text(value, self.charset)))
            elif (key := self.understand(value)) is None:
                raise Refused(INVALID_CHARACTERS)
            else:
                presses.append(("key", value, key))
        return Answer([], "OK", tuple(presses), time or 0, pause or 0)
