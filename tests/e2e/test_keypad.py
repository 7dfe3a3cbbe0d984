"""The on-screen keypad: each button sends its own row's line, once per click, and never
takes the keyboard focus away from the focus field."""

import harness
from harness import FOCUS_FIELD_ID, PHONE_ROWS, ROW, Settings


class Keypad(harness.TastolinkTestCase):
    # "A" binds row 5, so key capture can be seen working after the clicks.
    settings = Settings(combo_boxes={5: "A"}, port="COM1")

    def setUp(self):
        super().setUp()
        self.program.choose_port()

    def test_each_button_sends_exactly_its_rows_line_and_leaves_the_focus_in_the_focus_field(self):
        for row in PHONE_ROWS:
            with self.subTest(row=row.row, code=row.code):
                start = self.line_count()
                self.program.click(row.button_centre)
                lines = self.phone.wait_for_lines(start + 1)[start:]
                self.assertEqual([line.data for line in lines], [row.command])

        # 13 bytes for a one-character code, 14 for a colon code, nothing else in between.
        self.assertEqual([line.data for line in self.phone.lines()], [row.command for row in PHONE_ROWS])
        self.assertEqual(self.program.probe().focus_id, FOCUS_FIELD_ID)
        # Key capture goes on: a bound key held now repeats its row.
        self.hold_until("a", 5, 2)
        self.assertEqual(self.program.message_boxes(), [])

    def test_a_press_counts_once_per_release_over_the_button(self):
        start = self.line_count()
        self.program.move_to(ROW[1].button_centre)
        harness.run("xdotool", "click", "--repeat", "2", "--delay", "80", "1")
        self.phone.wait_for_lines(start + 2)

        # Pressed on "3", let go over "2": no click, so nothing is sent.
        self.program.move_to(ROW[3].button_centre)
        harness.run("xdotool", "mousedown", "1")
        self.program.move_to(ROW[2].button_centre)
        harness.run("xdotool", "mouseup", "1")
        self.press_and_wait(12)

        self.assertEqual(self.phone.rows(start), [1, 1, 12])


if __name__ == "__main__":
    harness.main()
