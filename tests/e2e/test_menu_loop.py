"""A bound key let go while the window's menu loop runs (entered by F10 or by a click on the
menu bar) never shows its key-up to the window: it must still send nothing once the loop ends."""

import pytest

from tastolink_driver.program import MENU_BAR_FILE

GUI_INMENUMODE = 0x4


@pytest.mark.parametrize("entered_by", ["F10", "a click on the menu bar"])
def test_a_key_let_go_in_the_menu_loop_sends_nothing_after_it(user, entered_by):
    program, display, log = user.program, user.display, user.phone.log
    program.choose_port()
    start = len(log)
    display.key("a", True)
    log.wait_for_row(start, 5, count=2)
    if entered_by == "F10":
        display.tap("F10")
    else:
        program.click(MENU_BAR_FILE)
    program.wait_for_report(lambda report: report.raw.get("flags", 0) & GUI_INMENUMODE, "the menu loop")
    display.key("a", False)
    display.tap("Escape", "Escape")  # the second one leaves the menu bar that a closed menu leaves selected
    program.wait_for_report(lambda report: not report.raw.get("flags", 0) & GUI_INMENUMODE, "the menu loop to end")
    user.barrier()
    assert 5 not in user.hold("c", 3, count=3)
