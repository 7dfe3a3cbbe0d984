"""Choosing the port, and what happens when there is no usable one: the message names the
port, only one failure box is open at a time, and the program carries on and works again
once a port is chosen that is there."""

import time

import harness
from harness import CANNOT_CHOOSE, CANNOT_SEND, ROW, Settings

PERIOD_MS = 100
BARRIER_ROW = 12
CLOCK_ROW = 3  # "C"


class PortTestCase(harness.TastolinkTestCase):
    def most_boxes_while_ticking(self, ticks=10):
        """The most failure boxes seen on screen at once during `ticks` periods."""
        most = 0
        deadline = time.monotonic() + ticks * PERIOD_MS / 1000
        while time.monotonic() < deadline:
            most = max(most, len(self.program.message_boxes()))
            time.sleep(PERIOD_MS / 1000 / 4)
        return most

    def dismiss(self):
        self.program.dismiss_message_box(self.program.wait_for_message_box())

    def assert_port_works_and_no_key_is_held(self, phone):
        """Holds C until its row arrives at `phone`; nothing but its lines may come."""
        start = len(phone.lines())
        self.program.key_down("c")
        try:
            phone.wait_for_rows(start, CLOCK_ROW, 3)
        except AssertionError:
            boxes = self.program.probe().message_box_texts()
            if boxes:
                self.fail(f"a failure box is open, so presses still fail: {boxes}")
            raise
        finally:
            self.program.key_up("c")
        self.program.click(ROW[BARRIER_ROW].button_centre)
        rows = phone.wait_for_rows(start, BARRIER_ROW, 1)
        self.assertEqual(set(rows[:rows.index(BARRIER_ROW)]), {CLOCK_ROW})
        self.assertEqual(self.program.message_boxes(), [])


class NoPortChosen(PortTestCase):
    # The selector shows COM1 from the file, but nothing opens it until "Выбрать".
    settings = Settings(combo_boxes={5: "A", 3: "C"}, port="COM1", interval_ms=PERIOD_MS)

    def test_presses_fail_with_no_port_named_one_box_at_a_time_until_a_port_is_chosen(self):
        self.program.click(ROW[5].button_centre)
        self.assertEqual(self.program.message_box_text(), CANNOT_SEND)
        self.dismiss()

        self.program.click(harness.FOCUS_FIELD)
        self.program.key_down("a")
        try:
            self.program.wait_for_message_box()
            # Ticks go on while the box is open; their failures must not stack further boxes.
            self.assertEqual(self.most_boxes_while_ticking(), 1)
        finally:
            self.program.key_up("a")  # the box has the focus: the window sees no release
        self.dismiss()
        self.assertEqual(self.phone.lines(), [])

        self.program.choose_port()
        self.assert_port_works_and_no_key_is_held(self.phone)


class MissingPort(PortTestCase):
    # The phone stays on COM1; nothing is linked as COM9 in the prefix.
    settings = Settings(combo_boxes={5: "A", 3: "C"}, port="COM9", interval_ms=PERIOD_MS)

    def test_a_port_that_is_not_there_is_named_in_each_failure(self):
        self.program.click(harness.CHOOSE_PORT_BUTTON)
        self.assertEqual(self.program.message_box_text(), CANNOT_CHOOSE + "COM9")
        self.dismiss()

        self.program.click(ROW[5].button_centre)
        self.assertEqual(self.program.message_box_text(), CANNOT_SEND + "COM9")
        self.dismiss()
        self.assertEqual(self.phone.lines(), [])

        self.program.replace_text(harness.PORT_SELECTOR_FIELD, "COM1")
        self.program.choose_port()
        self.assert_port_works_and_no_key_is_held(self.phone)


if __name__ == "__main__":
    harness.main()
