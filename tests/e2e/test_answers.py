"""The phone's answers, switched on through the menu: the switch is stored on its own, the status
bar shows the answer to a click, and both are back after a restart. With the switch off (the
default) test_keypad shows the bytes and the window's client area as they always were."""

from tastolink_driver.program import STATUS_BAR_ID


def click_5_and_read_the_answer(user):
    user.program.choose_port()
    start = len(user.phone.log)
    user.click_row(5)
    assert user.phone.log.wait_for_row(start, 5) == [5]
    user.program.wait_for_report(lambda report: report.control_text(STATUS_BAR_ID).split("\t")[1] == "5 → OK",
                                 'the status bar to show "5 → OK"')


def test_the_switched_on_answers_show_in_the_status_bar_and_stay_on_after_a_restart(user, folder):
    user.display.tap("F10", "Right", "Down", "Down", "Return")  # Настройки → Ответы телефона
    click_5_and_read_the_answer(user)
    assert (folder / "answers.ini").read_bytes() == b"1\r\n"  # saved when it was checked
    assert user.program.close() == 0
    user.start()
    click_5_and_read_the_answer(user)
