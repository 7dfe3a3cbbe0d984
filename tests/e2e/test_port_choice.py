"""Choosing a port that isn't there, and pressing keys with no usable port."""

import time

import harness
from harness import CHOOSE_PORT_BUTTON, FOCUS_FIELD, Settings, keypad_button

PERIOD_MS = 100
FIVE_BUTTON = keypad_button(72, 184)


class MissingPort(harness.TastolinkTestCase):
    # The phone stays on COM1; nothing is linked as COM9 in the prefix.
    settings = Settings(combo_boxes={5: "A"}, port="COM9", interval_ms=PERIOD_MS)

    def test_failed_choice_shows_a_box_and_the_window_works_again_after_it(self):
        self.program.click(CHOOSE_PORT_BUTTON)
        self.program.dismiss_message_box(self.program.wait_for_message_box())

        # Each press onto the failed port shows its own box, one at a time.
        self.program.click(FIVE_BUTTON)
        self.program.dismiss_message_box(self.program.wait_for_message_box())
        self.assertEqual(self.phone.lines(), [])

    def test_held_key_with_no_port_keeps_a_single_failure_box_on_screen(self):
        self.program.click(FOCUS_FIELD)
        self.program.key_down("a")
        self.program.wait_for_message_box()
        self.program.key_up("a")  # goes to the box: the key stays held and ticks keep failing

        # Ticks go on inside the box; their failures must not stack further boxes.
        most = 0
        deadline = time.monotonic() + 10 * PERIOD_MS / 1000
        while time.monotonic() < deadline:
            most = max(most, len(self.program.message_boxes()))
            time.sleep(PERIOD_MS / 1000 / 4)
        self.assertEqual(most, 1)
        self.assertEqual(self.phone.lines(), [])


if __name__ == "__main__":
    harness.main()
