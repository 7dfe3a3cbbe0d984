"""The phone's answers, switched on through the menu: the switch is stored on its own, the status
bar shows the answer to a click, and both are back after a restart, where a key held at 10 ms
has every one of its presses answered. With the switch off (the default) test_keypad shows the
bytes and the window's client area as they always were."""

import pytest

from tastolink_driver.program import STATUS_BAR_ID


@pytest.fixture
def settings():
    return dict(bindings={5: "A"}, period_ms=10)


def click_5_and_read_the_answer(user):
    user.program.choose_port()
    start = len(user.phone.log)
    user.click_row(5)
    assert user.phone.log.wait_for_row(start, 5) == [5]
    user.program.wait_for_report(lambda report: report.control_text(STATUS_BAR_ID).split("\t")[1:2] == ["5 → OK"],
                                 'the status bar to show "5 → OK"')


def test_the_switched_on_answers_show_in_the_status_bar_and_stay_on_after_a_restart(user, folder):
    user.display.tap("F10", "Right", "Down", "Down", "Return")  # Настройки → Ответы телефона
    click_5_and_read_the_answer(user)
    assert (folder / "answers.ini").read_bytes() == b"1\r\n"  # saved when it was checked
    assert user.program.close() == 0
    user.start()
    before = len(user.phone.log)
    click_5_and_read_the_answer(user)
    # A phone that answers every 10 ms never pauses: its answers must still come as they are sent.
    user.hold("a", 5, count=300)
    sent = len(user.phone.log) - before
    user.program.wait_for_report(lambda report: report.control_text(STATUS_BAR_ID).split("\t")[3:4] ==
                                 [f"Отправлено: {sent}, OK: {sent}"], f"{sent} keys sent and answered OK")
