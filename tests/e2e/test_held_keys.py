"""A key counts as held only while it is down: let go anywhere in the window, or while another
window has the focus, it stops repeating; pressed where the window does not capture keys,
it presses nothing."""

import shutil
import subprocess

import harness
from harness import FOCUS_FIELD, GET_BUTTON, INTERVAL_FIELD, Settings, selector_field

BARRIER_ROW = 12
PROBE_ROW = 2   # F2: the key under test
CLOCK_ROW = 3   # F3: held in the focus field, its lines show that the ticks go on
OTHER_WINDOW = "Tastolink e2e other window"


class HeldKeys(harness.TastolinkTestCase):
    settings = Settings(combo_boxes={2: "F2", 3: "F3", 5: "A"})

    def setUp(self):
        super().setUp()
        self.program.choose_port()

    def assert_no_lines_of(self, row, start, hold_clock=True):
        """Holds the clock key in the focus field for a few ticks, then checks the log from
        `start` on: the ticks went on, and none pressed `row`."""
        if hold_clock:
            self.program.click(FOCUS_FIELD)
            self.hold_until("F3", CLOCK_ROW, 3)
        end = self.press_and_wait(BARRIER_ROW)
        rows = self.phone.rows(start)[:end - start - 1]
        self.assertNotIn(row, rows)
        self.assertIn(CLOCK_ROW, rows)

    def test_a_key_let_go_in_a_capturing_selector_stops_repeating(self):
        self.program.click(selector_field(1))  # ComboBox1: the main selector of row 1
        self.hold_until("F2", PROBE_ROW, 2)
        released = self.press_and_wait(BARRIER_ROW)
        self.assert_no_lines_of(PROBE_ROW, released)
        self.assertEqual(self.program.probe().selector_text(1), "")

    def test_a_key_pressed_where_keys_are_not_captured_marks_nothing(self):
        places = {"selector of row 22": selector_field(43), "interval field": INTERVAL_FIELD,
                  "port selector": harness.PORT_SELECTOR_FIELD, "Get button": GET_BUTTON}
        for place, point in places.items():
            with self.subTest(place=place):
                start = self.line_count()
                self.program.click(point)
                self.program.key_down("F2")
                try:
                    # Still down while the ticks run with the focus back where keys are captured.
                    self.program.click(FOCUS_FIELD)
                    self.hold_until("F3", CLOCK_ROW, 3)
                finally:
                    self.program.key_up("F2")
                self.assert_no_lines_of(PROBE_ROW, start, hold_clock=False)

    def test_switching_to_another_window_stops_the_repeats(self):
        if not shutil.which("xmessage"):
            self.skipTest("xmessage is not installed")
        other = subprocess.Popen(["xmessage", "-title", OTHER_WINDOW, "-geometry", "+0+0", "another program"],
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(other.wait)
        self.addCleanup(other.kill)
        other_window = harness.wait_until(
            lambda: harness.run("xdotool", "search", "--onlyvisible", "--name", f"^{OTHER_WINDOW}$",
                                check=False).stdout.split(), 10, "the other window")[0]

        self.program.key_down("a")
        try:
            self.phone.wait_for_rows(self.line_count(), 5, 2)
            harness.run("xdotool", "windowfocus", "--sync", other_window)
        finally:
            self.program.key_up("a")  # the other window gets the release
        self.program.focus()
        back = self.press_and_wait(BARRIER_ROW)
        self.assert_no_lines_of(5, back)
        self.assertEqual(self.program.probe().focus_id, harness.FOCUS_FIELD_ID)


if __name__ == "__main__":
    harness.main()
