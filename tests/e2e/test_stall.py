"""A phone that stops reading: once the port's buffer is full a write times out, one failure box
shows, the window keeps answering, and after a new choice of port the key sends again."""

import pytest

from tastolink_driver import Phone
from tastolink_driver.program import PORT_SELECTOR_FIELD

ROWS = set(range(1, 11))  # A on the main selectors of rows 1 to 10: ten lines a tick fill the buffer soon


@pytest.fixture
def settings():
    return dict(bindings={row: "A" for row in ROWS}, period_ms=10)


@pytest.fixture
def phone_options():
    return ("--stall",)


def test_a_stalled_phone_gives_one_box_and_the_window_keeps_answering(user, tmp_path):
    program, display = user.program, user.display
    program.choose_port()
    display.key("a", True)
    try:
        box = program.wait_for_box(timeout=120)
        assert user.most_boxes(seconds=1) == 1
        assert program.probe().box_texts() == ["Невозможно отправить COM1"]
    finally:
        display.key("a", False)
    program.dismiss(box)
    # window-probe reads the selector through a message that the window's own thread answers.
    assert program.probe().selector_text(1) == "A"

    phone = Phone(tmp_path, "COM2")
    try:
        program.replace_text(PORT_SELECTOR_FIELD, "COM2")
        program.choose_port()
        assert set(user.hold("a", 5, phone=phone)) == ROWS
        assert program.boxes() == []
    finally:
        phone.stop()
