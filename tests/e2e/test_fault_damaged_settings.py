"""Damaged and oversized settings files: the program starts, says what it should about them,
answers the keypad and the keyboard, and at close writes back nothing it should not have
changed.

What the program keeps of a file it loaded is the text before the first zero byte, with
every line break made CR LF (faults.buffered_text); a file it rewrites at close is that text
with its own lines replaced, and the lines it does not own are carried through byte for byte.
"""

import random

import faults
import harness
from harness import PORT_SELECTOR, ROW, Settings

ROW_OF_A = 5
BARRIER_ROW = 12
SETTINGS = Settings(combo_boxes={ROW[ROW_OF_A].main_selector: "A"}, interval_ms=50)
CATALOGUE_BYTES = 10 * 1024 * 1024
CATALOGUE_LINE = 128  # about 82 000 entries in each of the 52 selectors


class DamagedSettingsCase(faults.FaultTestCase):
    settings = SETTINGS
    damaged = {}  # file name -> bytes written over the file of `settings`

    def prepare(self):
        self.settings.write(self.directory)
        for name, data in self.damaged.items():
            (self.directory / name).write_bytes(data)
        self.written = {name: (self.directory / name).read_bytes() for name in faults.SETTINGS_FILES}

    def start_program(self):
        program = super().start_program()
        print(f"\n{type(self).__name__}: window shown {program.start_seconds:.1f} s after the start", flush=True)
        return program

    def assert_responsive(self):
        """A keypad click reaches the phone, and a held key repeats."""
        self.program.choose_port()
        self.press_and_wait(BARRIER_ROW)
        self.hold_until("a", ROW_OF_A, 2)
        self.press_and_wait(BARRIER_ROW)
        self.assertEqual(self.program.message_boxes(), [])

    def assert_closes_and_writes(self, itemindex, interval):
        self.assertEqual(self.program.close(), 0)
        self.assertEqual((self.directory / "itemindex.itm").read_bytes(), itemindex)
        self.assertEqual((self.directory / "interval.int").read_bytes(), interval)
        for name in ("Items.itm", "default.itm"):
            self.assertEqual((self.directory / name).read_bytes(), self.written[name], f"{name} was written")
        self.assertEqual([line.data for line in self.phone.lines() if line.data not in
                          (ROW[ROW_OF_A].command, ROW[BARRIER_ROW].command)], [])


class LargeCatalogue(DamagedSettingsCase):
    """10 MB of entries: every selector offers about 82 000 of them, and the bindings work."""

    start_timeout = 300

    def prepare(self):
        rng = random.Random(10)
        names = "".join(name + "\r\n" for name in harness.KEY_NAMES).encode()
        line = bytes(rng.choice(b"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") for _ in range(CATALOGUE_LINE - 2)) + b"\r\n"
        self.damaged = {"Items.itm": (names + line * (CATALOGUE_BYTES // len(line)))[:CATALOGUE_BYTES]}
        super().prepare()

    def test_a_10_mb_catalogue_loads_and_the_program_answers(self):
        self.assertEqual(self.program.start_messages, [])
        rss, _ = faults.figures(faults.program_pid(self.program))
        print(f"VmRSS with the catalogue loaded: {rss // 1024} MB", flush=True)
        self.assert_responsive()
        self.assert_closes_and_writes(self.written["itemindex.itm"], self.written["interval.int"])


class DamagedCatalogue(DamagedSettingsCase):
    damaged = {"Items.itm": faults.damaged_bytes(seed=1, line_count=80)}

    def test_random_bytes_as_the_catalogue(self):
        self.assertEqual(self.program.start_messages, [])
        self.assert_responsive()
        self.assert_closes_and_writes(self.written["itemindex.itm"], self.written["interval.int"])


class DamagedBindings(DamagedSettingsCase):
    damaged = {"itemindex.itm": faults.damaged_bytes(seed=2, line_count=60)}

    def test_random_bytes_as_the_bindings_are_shown_and_written_back(self):
        self.assertEqual(self.program.start_messages, [])
        lines = faults.buffered_lines(self.written["itemindex.itm"])
        code_page = faults.ansi_code_page()
        report = self.program.probe()
        for number in range(1, harness.COMBO_BOX_COUNT + 1):
            self.assertEqual(report.selector_text(number), faults.ansi_to_text(lines[number], code_page),
                             f"ComboBox{number}")

        # The port selector shows a damaged line too: name the port to use it.
        self.program.replace_text(harness.PORT_SELECTOR_FIELD, "COM1")
        self.program.choose_port()
        self.press_and_wait(BARRIER_ROW)
        self.assert_closes_and_writes(faults.with_lines(self.written["itemindex.itm"], {PORT_SELECTOR: b"COM1"}),
                                      self.written["interval.int"])


class DamagedDefaults(DamagedSettingsCase):
    damaged = {"default.itm": faults.damaged_bytes(seed=3, line_count=60)}

    def test_random_bytes_as_the_defaults_are_applied_and_saved_as_bindings(self):
        self.assertEqual(self.program.start_messages, [])
        self.program.choose_port()
        self.program.menu(1)  # "Настройки" → "По умолчанию"
        lines = faults.buffered_lines(self.written["default.itm"])
        code_page = faults.ansi_code_page()
        report = self.program.wait_for_probe(
            lambda report: report.selector_text(1) == faults.ansi_to_text(lines[1], code_page), "the defaults")
        for number in range(1, harness.COMBO_BOX_COUNT + 1):
            self.assertEqual(report.selector_text(number), faults.ansi_to_text(lines[number], code_page),
                             f"ComboBox{number}")
        self.assertEqual(self.program.message_boxes(), [])

        # The port chosen before stays open whatever the port selector shows now.
        self.program.click(harness.FOCUS_FIELD)
        self.press_and_wait(BARRIER_ROW)
        self.assert_closes_and_writes(faults.buffered_text(self.written["default.itm"]), self.written["interval.int"])


class DamagedPeriod(DamagedSettingsCase):
    damaged = {"interval.int": b"1O0" + faults.damaged_bytes(seed=4, line_count=5)}

    def test_random_bytes_as_the_period_are_refused_and_the_rest_written_back(self):
        line = faults.buffered_lines(self.written["interval.int"])[0]
        text = faults.ansi_to_text(line, faults.ansi_code_page())
        self.assertEqual(self.program.start_messages, [f"'{text}' is not a valid integer value."])
        self.assertEqual(self.program.shown_period(), "100")
        self.assert_responsive()
        self.assert_closes_and_writes(self.written["itemindex.itm"],
                                      faults.with_lines(self.written["interval.int"], {0: b"100"}))


class LongFirstLine(DamagedSettingsCase):
    """A line 0 of 1 MB in itemindex.itm, and lines after the 53 bindings: both carried through."""

    def prepare(self):
        rng = random.Random(5)
        first = bytes(rng.choice(range(0x20, 0x100)) for _ in range(1024 * 1024))
        lines = [first] + [line.encode("cp1251") for line in self.settings.binding_lines()[1:]]
        self.damaged = {"itemindex.itm": b"\r\n".join(lines + [b"after the bindings", b"the end, no break"])}
        super().prepare()

    def test_a_1_mb_first_line_is_kept_byte_for_byte(self):
        self.assertEqual(self.program.start_messages, [])
        self.assert_responsive()
        self.assert_closes_and_writes(self.written["itemindex.itm"], self.written["interval.int"])


if __name__ == "__main__":
    harness.main()
