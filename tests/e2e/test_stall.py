"""A phone that stops reading: once the port's buffer is full a write times out, one failure box
shows, the window keeps answering, and after a new choice of port the key sends again."""

import pytest

from tastolink_driver import Phone
from tastolink_driver.program import PORT_SELECTOR, selector

ROWS = set(range(1, 11))  # A on the main selectors of rows 1 to 10: ten lines a tick fill the buffer soon


@pytest.fixture
def settings():
    return dict(bindings={row: "A" for row in ROWS}, period_ms=10)


@pytest.fixture
def phone_options():
    return ("--stall",)


def test_a_stalled_phone_gives_one_box_and_the_window_keeps_answering(user, tmp_path):
    user.program.choose_port()
    with user.held("a"):
        box = user.failure_box(timeout=120)
    user.program.dismiss(box)
    # window-probe reads the selector through a message that the window's own thread answers.
    assert user.program.probe().selector_text(1) == "A"
    with Phone(tmp_path, "COM2") as phone:
        user.program.replace_text(selector(PORT_SELECTOR), "COM2")
        user.sends_again(phone, ROWS)
