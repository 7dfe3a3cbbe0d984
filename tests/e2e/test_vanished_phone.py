"""The phone goes away while a key is held, as a cable pulled out: one failure box, never a pile
of them, no crash; after a new choice of the port the key sends again, and the lost port (with the
answers on, its reader too) has left nothing behind."""

import pytest

from tastolink_driver import Phone
from tastolink_driver.program import STATUS_BAR_ID

pytestmark = pytest.mark.parametrize("answers", ["off", "on"])


@pytest.fixture
def settings():
    return dict(bindings={5: "A"}, period_ms=50)


def test_a_lost_phone_gives_one_box_and_sending_resumes_after_a_new_choice(user, tmp_path, answers):
    user.program.choose_port()
    start = len(user.phone.log)
    with user.held("a"):
        user.phone.log.wait_for_row(start, 5, count=3)
        with_one_port = user.resources()
        user.phone.kill()
        box = user.failure_box()  # through 20 ticks
    user.program.dismiss(box)
    assert user.most_boxes(seconds=1) == 0
    with Phone(tmp_path, "COM1", name="com1-again") as phone:
        user.sends_again(phone, {5})
        if answers == "on":  # the new port is read: the barrier "#" is answered
            user.program.wait_for_report(lambda report: report.control_text(STATUS_BAR_ID).startswith(
                "COM1 открыт\t# → OK"), "the new port's answer")
        assert user.resources() == with_one_port
        assert user.program.close() == 0
