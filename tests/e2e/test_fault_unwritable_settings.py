"""A settings file that can't be replaced at close, because it is read-only or because another
program holds it open for writing: the box names the file by its full path and gives the
system's reason, the window stays open, the save stops at that file, and nothing is lost."""

import os

import faults
import harness
from harness import Settings

KEPT = ("Items.itm", "itemindex.itm", "default.itm", "interval.int", "wine.out")
NEW_PERIOD = "250"
NEW_PORT = "COM7"


class UnwritableSettings(faults.FaultTestCase):
    settings = Settings(combo_boxes={5: "A"}, interval_ms=100)
    # Every case here is an access denied, which the system words one way: the first reason
    # given is the one that the later cases must give too.
    reason = None

    def change_settings(self):
        """A new period and a new port text: what a save at close would write."""
        self.program.set_period(NEW_PERIOD)
        self.program.replace_text(harness.PORT_SELECTOR_FIELD, NEW_PORT)
        self.program.click(harness.FOCUS_FIELD)

    def saved_bindings(self, loaded):
        return faults.with_lines(loaded, {harness.PORT_SELECTOR: NEW_PORT.encode()})

    def refuse(self, name, how):
        """Makes `name` impossible to replace; returns what undoes that."""
        path = self.directory / name
        if how == "read-only":
            os.chmod(path, 0o444)
            return lambda: os.chmod(path, 0o644)
        holder = faults.HeldOpen(self.directory, name)
        self.addCleanup(holder.release)
        return holder.release

    def close_refused(self, name):
        """Closes; the box must name `name` and give the system's reason, without a full stop
        of its own: the box's full stop is the only one."""
        text = self.program.close_expecting_box()
        reason = faults.system_text_of(text, self.directory, name)
        self.assertIsNotNone(reason, f"unexpected box: {text!r}")
        self.assertTrue(reason and reason == reason.rstrip(" ."), f"the system's reason is {reason!r}")
        if UnwritableSettings.reason is None:
            UnwritableSettings.reason = reason
            print(f"\nthe system's reason: {reason!r}")
        self.assertEqual(reason, UnwritableSettings.reason)
        self.program.dismiss_message_box(self.program.wait_for_message_box())
        self.assertTrue(self.program.is_open(), "the main window went away")

    def check_bindings_refused(self, how):
        """itemindex.itm can't be replaced: neither file is written."""
        self.change_settings()
        stored = self.snapshot("itemindex.itm", "interval.int")
        allow = self.refuse("itemindex.itm", how)

        self.close_refused("itemindex.itm")
        self.assert_unchanged(stored)
        self.assert_no_stray_files(KEPT)

        allow()
        self.assertEqual(self.program.close(), 0)
        self.assertEqual((self.directory / "itemindex.itm").read_bytes(),
                         self.saved_bindings(stored["itemindex.itm"][0]))
        self.assertEqual((self.directory / "interval.int").read_bytes(), NEW_PERIOD.encode() + b"\r\n")
        self.assert_no_stray_files(KEPT)

    def check_period_refused(self, how):
        """interval.int can't be replaced: itemindex.itm has been written all the same."""
        self.change_settings()
        stored = self.snapshot("itemindex.itm", "interval.int")
        allow = self.refuse("interval.int", how)

        self.close_refused("interval.int")
        self.assertEqual((self.directory / "itemindex.itm").read_bytes(),
                         self.saved_bindings(stored["itemindex.itm"][0]))
        self.assert_unchanged({"interval.int": stored["interval.int"]})
        self.assert_no_stray_files(KEPT)

        allow()
        self.assertEqual(self.program.close(), 0)
        self.assertEqual((self.directory / "interval.int").read_bytes(), NEW_PERIOD.encode() + b"\r\n")
        self.assert_no_stray_files(KEPT)

    def test_1_read_only_bindings(self):
        self.check_bindings_refused("read-only")

    def test_2_read_only_period(self):
        self.check_period_refused("read-only")

    def test_3_bindings_held_open_by_another_program(self):
        self.check_bindings_refused("held open")

    def test_4_period_held_open_by_another_program(self):
        self.check_period_refused("held open")


if __name__ == "__main__":
    harness.main()
