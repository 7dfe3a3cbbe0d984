"""The phone goes away while a key is held (its cable pulled out): one failure box, never a
pile of them, no crash; once the phone is back and the port chosen again, the held key
sends again."""

import time

import faults
import harness
from harness import CANNOT_SEND, ROW, Settings

PERIOD_MS = 50
ROW_OF_A = 5
# Ticks to watch for further boxes: a failure per tick would show up many times over.
WATCHED_TICKS = 20


class PortVanishes(faults.FaultTestCase):
    settings = Settings(combo_boxes={ROW[ROW_OF_A].main_selector: "A"}, interval_ms=PERIOD_MS)

    def ticks_pass(self, count):
        """A condition that holds until `count` periods of the repeat timer have gone by."""
        deadline = time.monotonic() + count * PERIOD_MS / 1000
        return lambda: time.monotonic() < deadline

    def test_a_held_key_reports_the_lost_port_once_and_sends_again_after_a_new_choice(self):
        self.program.choose_port()
        start = self.line_count()
        self.program.key_down("a")
        self.phone.wait_for_rows(start, ROW_OF_A, 3)

        self.phone.kill()
        box = self.program.wait_for_message_box()
        # Ticks go on inside the box; the key was let go when the box took the activation.
        self.assertEqual(self.program.most_boxes_while(self.ticks_pass(WATCHED_TICKS)), 1)
        self.assertEqual(self.program.message_box_text(), CANNOT_SEND + "COM1")
        self.program.key_up("a")
        self.program.dismiss_message_box(box)

        # The key is no longer marked held, so the dead port raises nothing more.
        self.assertEqual(self.program.most_boxes_while(self.ticks_pass(WATCHED_TICKS)), 0)
        self.assertTrue(self.program.is_open())

        # The phone comes back behind COM1; choosing the port again opens the new one.
        self.phone = harness.VirtualPhone(self.base, "COM1", name="phone-again")
        self.addCleanup(self.phone.stop)
        self.phone.wait_until_linked()
        self.program.choose_port()
        self.assertEqual(self.program.message_boxes(), [])
        self.hold_until("a", ROW_OF_A, 3)
        self.press_and_wait(12)
        self.assertEqual({line.data for line in self.phone.lines()}, {ROW[ROW_OF_A].command, ROW[12].command})
        self.assertEqual(self.program.message_boxes(), [])
        self.assertEqual(self.program.close(), 0)


if __name__ == "__main__":
    harness.main()
