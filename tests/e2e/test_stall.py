"""A phone that stops reading: once the port's buffer is full a write times out, one failure box
shows, the window keeps answering, and after a new choice of port the key sends again, the stalled
port (with the answers on, its reader too) leaving nothing behind; or the program is closed while
the port is stalled, and ends as always."""

import pytest

from tastolink_driver import Phone
from tastolink_driver.program import PORT_SELECTOR, selector

pytestmark = pytest.mark.parametrize("answers", ["off", "on"])
ROWS = set(range(1, 11))  # A on the main selectors of rows 1 to 10: ten lines a tick fill the buffer soon


@pytest.fixture
def settings():
    return dict(bindings={row: "A" for row in ROWS}, period_ms=10)


@pytest.fixture
def phone_options():
    return ("--stall",)


def stall_the_port(user):
    """Holds A until the first write times out; the box is dismissed once A is let go."""
    user.program.choose_port()
    with user.held("a"):
        box = user.failure_box(timeout=120)
    user.program.dismiss(box)


def test_a_stalled_phone_gives_one_box_and_the_window_keeps_answering(user, tmp_path):
    stall_the_port(user)
    with_one_port = user.resources()  # the stalled one, still chosen
    # window-probe reads the selector through a message that the window's own thread answers.
    assert user.program.probe().selector_text(1) == "A"
    with Phone(tmp_path, "COM2") as phone:
        user.program.replace_text(selector(PORT_SELECTOR), "COM2")
        user.sends_again(phone, ROWS)
        assert user.resources() == with_one_port


def test_a_program_closed_while_its_port_is_stalled_ends_and_saves(user, folder):
    stall_the_port(user)
    user.program.replace_text(selector(PORT_SELECTOR), "COM5")
    assert user.program.close() == 0
    assert (folder / "itemindex.itm").read_bytes().split(b"\r\n")[45] == b"COM5"
