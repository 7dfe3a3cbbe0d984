"""How often a held key repeats: once per period of the repeat timer, which "Get" shows and
"Set" changes; a period of 0 stops the repeats."""

import statistics
import time

import harness
from harness import ROW, Settings

BARRIER_ROW = 12
HOLD_S = 2.0


class RepeatRate(harness.TastolinkTestCase):
    settings = Settings(combo_boxes={5: "A"}, interval_ms=100)

    def setUp(self):
        super().setUp()
        self.program.choose_port()

    def hold_a(self, seconds):
        """Holds A for `seconds`; returns the lines of row 5 it sent and how long it was held, in ms.
        The time held is what is measured here, so this is a timed hold."""
        start = self.line_count()
        self.program.key_down("a")
        held_from = time.monotonic()
        time.sleep(seconds)
        self.program.key_up("a")
        held_ms = (time.monotonic() - held_from) * 1000
        end = self.press_and_wait(BARRIER_ROW)
        lines = self.phone.lines()[start:end - 1]
        self.assertEqual({line.row for line in lines} - {5}, set(), "lines of other rows")
        return lines, held_ms

    def assert_rate(self, period_ms):
        lines, held_ms = self.hold_a(HOLD_S)
        expected = held_ms / period_ms
        context = f"{len(lines)} lines in {held_ms:.0f} ms at {period_ms} ms"
        # Never more than one press per tick; a busy machine may merge a few ticks.
        self.assertLessEqual(len(lines), expected + 2, context)
        self.assertGreaterEqual(len(lines), expected * 0.6, context)
        gaps = [b.monotonic_ms - a.monotonic_ms for a, b in zip(lines, lines[1:])]
        self.assertTrue(0.7 * period_ms <= statistics.median(gaps) <= 1.5 * period_ms, f"{context}, gaps {gaps}")

    def test_a_held_key_repeats_once_per_period_and_not_at_all_at_zero(self):
        self.assertEqual(self.program.shown_period(), "100")
        self.assert_rate(100)

        self.program.set_period("50")
        self.assertEqual(self.program.shown_period(), "50")
        self.assert_rate(50)

        # A text that is no number is refused and changes nothing.
        self.program.set_period("abc")
        self.assertEqual(self.program.message_box_text(), "'abc' is not a valid integer value.")
        self.program.dismiss_message_box(self.program.wait_for_message_box())
        self.program.click(harness.FOCUS_FIELD)
        self.assertEqual(self.program.shown_period(), "50")

        self.program.set_period("0")
        self.assertEqual(self.program.shown_period(), "0")
        lines, _ = self.hold_a(10 * 100 / 1000)  # ten ticks of the first period
        self.assertEqual(lines, [])
        # The keypad still works without the timer.
        self.press_and_wait(5)
        self.assertEqual(self.phone.lines()[-1].data, ROW[5].command)


if __name__ == "__main__":
    harness.main()
