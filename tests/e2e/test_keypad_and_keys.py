"""Keys held in the focus field and clicks on the keypad reach the phone as exact command lines."""

import time

import harness
from harness import CHOOSE_PORT_BUTTON, FOCUS_FIELD, Settings, keypad_button

PERIOD_MS = 100
ONE = b'AT+CKPD="1"\r\n'
FIVE = b'AT+CKPD="5"\r\n'
HASH = b'AT+CKPD="#"\r\n'
VOLUME_UP = b'AT+CKPD="U"\r\n'
UP = b'AT+CKPD=":X"\r\n'

HASH_BUTTON = keypad_button(104, 247)
VOLUME_UP_BUTTON = keypad_button(8, 24)
UP_BUTTON = keypad_button(72, 56)


class PhoneTestCase(harness.TastolinkTestCase):
    def choose_port(self):
        """Clicks "Выбрать", then puts the cursor back into the focus field, as a user must."""
        self.program.click(CHOOSE_PORT_BUTTON)
        self.program.click(FOCUS_FIELD)

    def press_and_wait(self, point, line):
        """Clicks a keypad button and waits until its line has arrived."""
        start = len(self.phone.lines())
        self.program.click(point)
        harness.wait_until(lambda: line in [new.data for new in self.lines_since(start)], 10, f"{line!r}")

    def hold_until_lines(self, key, count):
        """Holds a key in the focus field until `count` lines have arrived; returns how long, in ms."""
        start = len(self.phone.lines())
        self.program.key_down(key)
        held_at = time.monotonic()
        try:
            self.phone.wait_for_lines(start + count, timeout=15)
        finally:
            self.program.key_up(key)
        return (time.monotonic() - held_at) * 1000

    def lines_after_release(self):
        """The lines up to now, after making sure that the key-up has been handled: the key-up goes
        ahead of a click in the input queue, so once the click's "#" has come nothing of the held
        key may follow it. A few more periods are watched to see that none does."""
        self.press_and_wait(HASH_BUTTON, HASH)
        time.sleep(5 * PERIOD_MS / 1000)
        lines = [line.data for line in self.phone.lines()]
        self.assertEqual(lines[-1], HASH, "a line came after the key had been released")
        return lines[:-1]


class KeypadAndKeys(PhoneTestCase):
    settings = Settings(combo_boxes={5: "A"}, port="COM1", interval_ms=PERIOD_MS)

    def test_held_key_repeats_its_row_once_per_tick_until_released(self):
        self.choose_port()
        held_ms = self.hold_until_lines("a", 10)
        repeats = self.lines_after_release()

        self.assertEqual(set(repeats), {FIVE})
        # One press per tick: never more lines than ticks fit into the time the key was held,
        # give or take the tick in flight at each end.
        self.assertLessEqual(len(repeats), held_ms / PERIOD_MS + 2, f"held for {held_ms:.0f} ms")

    def test_keypad_click_sends_its_line_and_leaves_the_focus_in_the_focus_field(self):
        self.choose_port()
        self.press_and_wait(VOLUME_UP_BUTTON, VOLUME_UP)
        self.press_and_wait(UP_BUTTON, UP)
        self.assertEqual([line.data for line in self.phone.lines()], [VOLUME_UP, UP])

        # Key capture works only with the focus in the focus field: a held key still repeats.
        self.hold_until_lines("a", 2)
        self.assertEqual(set(self.lines_after_release()[2:]), {FIVE})
        self.assertEqual(self.program.message_boxes(), [])


class KeyBoundInTwoRows(PhoneTestCase):
    settings = Settings(combo_boxes={1: "A", 15: "A"}, port="COM1", interval_ms=PERIOD_MS)

    def test_each_tick_presses_the_rows_in_row_order(self):
        self.choose_port()
        self.hold_until_lines("a", 10)
        lines = self.lines_after_release()

        # Row 1 by its main selector, row 5 by its alternative one, every tick, never split.
        self.assertEqual(lines, [ONE, FIVE] * (len(lines) // 2))
        self.assertGreaterEqual(len(lines), 10)
        self.assertEqual(self.program.close(), 0)


if __name__ == "__main__":
    harness.main()
