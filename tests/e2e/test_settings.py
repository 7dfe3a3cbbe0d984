"""Settings made in the window are saved when it closes and are there at the next start;
"Настройки" → "По умолчанию" puts the bindings of "default.itm" in place."""

import harness
from harness import PORT_SELECTOR, PORT_SELECTOR_FIELD, Program, Settings, VirtualPhone, selector_field

BARRIER_ROW = 12


def lines_of(path):
    return path.read_bytes().decode("cp1251").split("\r\n")


class SavedSettings(harness.TastolinkTestCase):
    settings = Settings(combo_boxes={5: "A"}, port="COM1", interval_ms=100,
                        defaults={1: "A", 5: "B", 43: "Num0"})

    def held_rows(self, phone, x_key, row):
        """Holds a key until its row has come twice; the rows that came, up to a barrier."""
        start = len(phone.lines())
        self.program.key_down(x_key)
        try:
            phone.wait_for_rows(start, row, 2)
        finally:
            self.program.key_up(x_key)
        self.program.click(harness.ROW[BARRIER_ROW].button_centre)
        rows = phone.wait_for_rows(start, BARRIER_ROW, 1)
        return set(rows[:rows.index(BARRIER_ROW)])

    def test_bindings_port_and_period_changed_in_the_window_are_there_after_a_restart(self):
        # Row 23's alternative selector passes no keys on, so typing there presses nothing.
        self.program.replace_text(selector_field(47), "Q")
        self.program.replace_text(PORT_SELECTOR_FIELD, "COM2")
        self.program.set_period("250")
        self.assertEqual(self.program.exit_by_menu(), 0)  # "Файл" → "Выход"

        saved = lines_of(self.directory / "itemindex.itm")
        self.assertEqual((saved[0], saved[5], saved[47], saved[PORT_SELECTOR]),
                         ("Tastolink end-to-end test", "A", "Q", "COM2"))
        self.assertEqual((self.directory / "interval.int").read_bytes(), b"250\r\n")

        phone = VirtualPhone(self.directory, "COM2", name="phone-com2")
        self.addCleanup(phone.stop)
        self.program = self.start_program()
        report = self.program.probe()
        self.assertEqual((report.selector_text(5), report.selector_text(47), report.selector_text(PORT_SELECTOR)),
                         ("A", "Q", "COM2"))
        self.assertEqual(self.program.shown_period(), "250")

        phone.wait_until_linked()
        self.program.choose_port()  # the saved name, COM2
        self.assertEqual(self.held_rows(phone, "q", 23), {23})
        self.assertEqual(self.held_rows(phone, "a", 5), {5})
        self.assertEqual(self.program.close(), 0)  # Alt+F4
        self.assertEqual(lines_of(self.directory / "itemindex.itm")[47], "Q")

    def test_defaults_replace_every_binding_and_are_saved_as_the_users(self):
        defaults_before = (self.directory / "default.itm").read_bytes()
        self.program.choose_port()
        self.assertEqual(self.held_rows(self.phone, "a", 5), {5})

        self.program.menu(1)  # "Настройки" → "По умолчанию"
        report = self.program.wait_for_probe(lambda report: report.selector_text(1) == "A", "the defaults")
        self.assertEqual((report.selector_text(5), report.selector_text(43)), ("B", "Num0"))
        self.program.click(harness.FOCUS_FIELD)
        self.assertEqual(self.held_rows(self.phone, "a", 1), {1})
        self.assertEqual(self.held_rows(self.phone, "b", 5), {5})

        self.assertEqual(self.program.close(), 0)
        saved = lines_of(self.directory / "itemindex.itm")
        self.assertEqual((saved[0], saved[1], saved[5], saved[43]), ("Tastolink defaults", "A", "B", "Num0"))
        self.assertEqual((self.directory / "default.itm").read_bytes(), defaults_before)


if __name__ == "__main__":
    harness.main()
