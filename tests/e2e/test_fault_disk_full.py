"""The disk of the working directory fills up while the program runs: closing reports the
failed save, keeps the window open and leaves the stored settings as they were; once there
is room again, closing saves and ends."""

import faults
import harness
from harness import Settings

KEPT = ("Items.itm", "itemindex.itm", "default.itm", "interval.int", "wine.out")


class DiskFull(faults.FaultTestCase):
    settings = Settings(combo_boxes={5: "A"}, interval_ms=100)

    def setUp(self):
        reason = faults.mount_denied()
        if reason:
            self.skipTest(reason)
        super().setUp()

    def prepare(self):
        self.disk = faults.SmallDisk(self.directory)
        self.addCleanup(self.disk.remove)
        self.directory = self.disk.directory
        self.settings.write(self.directory)

    def test_a_save_that_runs_out_of_room_keeps_the_window_and_the_stored_files(self):
        # Changes that a save would write: a new period and a new port text.
        self.program.set_period("250")
        self.program.replace_text(harness.PORT_SELECTOR_FIELD, "COM7")
        self.program.click(harness.FOCUS_FIELD)
        stored = self.snapshot("itemindex.itm", "interval.int")

        self.disk.fill()
        self.assertEqual(self.program.close_expecting_box(), "Stream write error.")
        self.program.dismiss_message_box(self.program.wait_for_message_box())
        self.assertTrue(self.program.is_open(), "the main window went away")
        self.assert_unchanged(stored)
        self.assert_no_stray_files(KEPT + ("filler",))

        # With room again the same close saves both files and ends the program.
        self.disk.free()
        self.assertEqual(self.program.close(), 0)
        itemindex = stored["itemindex.itm"][0]
        self.assertEqual((self.directory / "itemindex.itm").read_bytes(),
                         faults.with_lines(itemindex, {harness.PORT_SELECTOR: b"COM7"}))
        self.assertEqual((self.directory / "interval.int").read_bytes(), b"250\r\n")
        self.assert_no_stray_files(KEPT)


if __name__ == "__main__":
    harness.main()
