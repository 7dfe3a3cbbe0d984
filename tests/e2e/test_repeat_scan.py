"""What one tick of the repeat timer presses when several bound keys are held: rows in row
order, one press per row and held key, whichever selectors name them."""

import harness
from harness import Settings

# Z is the last key of the scan and row 26 its last row, so with Z held each tick ends
# with a line of row 26: the log can be cut into ticks.
TICK_END = 26
BARRIER_ROW = 12


def ticks(rows):
    """The rows of each tick, without the closing row 26; rows after the last tick are dropped."""
    groups, current = [], []
    for row in rows:
        if row == TICK_END:
            groups.append(tuple(current))
            current = []
        else:
            current.append(row)
    return groups


class RepeatScan(harness.TastolinkTestCase):
    settings = Settings(combo_boxes={
        1: "B",            # row 1, main
        2: "A",            # row 2, main
        15: "A",           # row 5, alternative: A is in two rows
        3: "D", 13: "D",   # row 3: the same key in both selectors
        4: "E", 14: "F",   # row 4: one key in each selector
        6: "a", 7: "A ",   # not key names: they bind nothing
        52: "Z",           # row 26: the tick's end
    })

    def setUp(self):
        super().setUp()
        self.program.choose_port()

    def hold(self, *keys):
        for key in keys:
            self.program.key_down(key)

    def release(self, *keys):
        for key in keys:
            self.program.key_up(key)

    def wait_for_ticks(self, start, group, count):
        harness.wait_until(lambda: ticks(self.phone.rows(start)).count(group) >= count, 10,
                           f"{count} ticks pressing rows {group}")

    def ticks_since(self, start):
        """The ticks from `start` on, after a barrier has shown every release handled."""
        end = self.press_and_wait(BARRIER_ROW)
        rows = self.phone.rows(start)[:end - start - 1]
        self.assertEqual(rows[-1:], [TICK_END], "a line came after the last tick")
        return ticks(rows)

    def test_each_tick_presses_the_rows_in_row_order_and_each_row_of_a_key(self):
        start = self.line_count()
        try:
            self.hold("z")
            self.wait_for_ticks(start, (), 1)
            self.hold("a")
            self.wait_for_ticks(start, (2, 5), 2)
            self.hold("b")
            self.wait_for_ticks(start, (1, 2, 5), 5)
        finally:
            self.release("b", "a", "z")
        found = self.ticks_since(start)

        # B binds row 1 and comes after A among the keys, yet row 1 goes first.
        self.assertLessEqual(set(found), {(), (2, 5), (1, 2, 5)}, found)

    def test_a_row_presses_once_per_held_key_not_once_per_selector(self):
        start = self.line_count()
        try:
            self.hold("z")
            self.wait_for_ticks(start, (), 1)
            self.hold("d")
            self.wait_for_ticks(start, (3,), 3)
            self.release("d")
            self.hold("e", "f")
            self.wait_for_ticks(start, (4, 4), 3)
        finally:
            self.release("d", "f", "e", "z")
        found = self.ticks_since(start)

        # D in both selectors of row 3: once. E and F, one in each selector of row 4: twice.
        self.assertLessEqual(set(found), {(), (3,), (4,), (4, 4)}, found)


if __name__ == "__main__":
    harness.main()
