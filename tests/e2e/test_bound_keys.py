"""Every bindable computer key, held in the focus field, presses the phone key it is bound to
while it is down and stops when it is let go; keys that can't be bound press nothing."""

import harness
from harness import FOCUS_FIELD, KEY_NAMES, MENU_KEYS, ROW, X_KEYS, Settings, XKeyboard

PERIOD_MS = 50
BARRIER_ROW = 12  # "#": bound to no key, clicked between keys
KEY_ROWS = [row for row in range(1, 27) if row != BARRIER_ROW]

# Each key gets a row of its own within a batch, so a key that marked another key's flag
# would show up as a line of the wrong row. 58 keys, 25 rows: three batches, loaded one
# after the other through "Настройки" → "По умолчанию". The second batch uses the
# alternative selectors.
BATCHES = [KEY_NAMES[0:25], KEY_NAMES[25:50], KEY_NAMES[50:58]]
USES_ALT_SELECTOR = [False, True, False]

# Not bindable: the 1 above the letters (49), Tab (9) and F13 (124).
UNBOUND_X_KEYS = ["1", "Tab", "F13"]
F13_KEYCODE = 191  # where a PC keyboard's F13 sits in X's evdev key codes


def bindings(batch):
    keys = BATCHES[batch]
    selector = "alt_selector" if USES_ALT_SELECTOR[batch] else "main_selector"
    return {getattr(ROW[row], selector): key for key, row in zip(keys, KEY_ROWS)}


class BoundKeys(harness.TastolinkTestCase):
    settings = Settings(combo_boxes=bindings(0), defaults=bindings(1), interval_ms=PERIOD_MS)

    def setUp(self):
        # Before the program starts, so that Wine reads the keyboard as the test leaves it.
        self.keyboard = XKeyboard()
        self.addCleanup(self.keyboard.close)
        self.keyboard.ensure_keysym("F13", F13_KEYCODE)
        self.addCleanup(self.keyboard.set_num_lock, self.keyboard.num_lock())
        self.keyboard.set_num_lock(True)
        super().setUp()
        self.program.choose_port()

    def x_key(self, key):
        """What xdotool is given for `key`: keypad keys by key code, so that it adds no Num_Lock."""
        x_key = X_KEYS.get(key, key)
        return str(self.keyboard.keycode(x_key)) if x_key.startswith("KP_") else x_key

    def test_each_key_presses_its_row_while_held_and_unbound_keys_press_nothing(self):
        for batch in range(len(BATCHES)):
            if batch > 0:
                self.load_defaults(batch)
            rows = dict(zip(BATCHES[batch], KEY_ROWS))
            for key, row in rows.items():
                with self.subTest(key=key, row=row):
                    self.check_bound_key(key, row)
            clock_key = BATCHES[batch][0]
            for x_key in UNBOUND_X_KEYS:
                with self.subTest(unbound=x_key, batch=batch):
                    self.check_unbound_key(x_key, self.x_key(clock_key), rows[clock_key])

    def load_defaults(self, batch):
        harness.write_lines(self.directory / "default.itm", harness.binding_lines(bindings(batch), "COM1"))
        self.program.menu(1)  # "Настройки" → "По умолчанию"
        selector, key = next(iter(bindings(batch).items()))
        self.program.wait_for_probe(lambda report: report.selector_text(selector) == key,
                                    f"batch {batch} to be loaded")
        self.program.click(harness.FOCUS_FIELD)
        self.press_and_wait(BARRIER_ROW)

    def check_bound_key(self, key, row):
        start = self.line_count()
        self.program.key_down(self.x_key(key))
        try:
            self.phone.wait_for_rows(start, row, 1)
        finally:
            self.program.key_up(self.x_key(key))
        if key in MENU_KEYS:
            self.program.keys("Escape")  # the menu bar is in keyboard mode now
        end = self.press_and_wait(BARRIER_ROW)
        # Lines of this key only, and none of the key before it: that one was let go.
        rows = self.phone.rows(start)[:end - start - 1]
        self.assertEqual(set(rows), {row}, f"{key} held")

    def check_unbound_key(self, x_key, clock_x_key, clock_row):
        """Holds `x_key` beside a bound key, whose lines show that the ticks go on."""
        start = self.line_count()
        self.program.key_down(clock_x_key)
        try:
            self.phone.wait_for_rows(start, clock_row, 1)
            ticking = self.line_count()
            self.program.key_down(x_key)
            try:
                self.phone.wait_for_rows(ticking, clock_row, 3)
            finally:
                self.program.key_up(x_key)
            if x_key == "Tab":
                self.program.click(FOCUS_FIELD)  # Tab moved the focus to the first selector
        finally:
            self.program.key_up(clock_x_key)
        end = self.press_and_wait(BARRIER_ROW)
        self.assertEqual(set(self.phone.rows(start)[:end - start - 1]), {clock_row})


if __name__ == "__main__":
    harness.main()
