"""The phone goes away while a key is held, as a cable pulled out: one failure box, never a pile
of them, no crash; after a new choice of the port the key sends again."""

import pytest

from tastolink_driver import Phone


@pytest.fixture
def settings():
    return dict(bindings={5: "A"}, period_ms=50)


def test_a_lost_phone_gives_one_box_and_sending_resumes_after_a_new_choice(user, tmp_path):
    program, display = user.program, user.display
    program.choose_port()
    start = len(user.phone.log)
    display.key("a", True)
    try:
        user.phone.log.wait_for_row(start, 5, count=3)
        user.phone.kill()
        box = program.wait_for_box()
        assert user.most_boxes(seconds=1) == 1  # 20 ticks
        assert program.probe().box_texts() == ["Невозможно отправить COM1"]
    finally:
        display.key("a", False)
    program.dismiss(box)
    assert user.most_boxes(seconds=1) == 0

    phone = Phone(tmp_path, "COM1", name="com1-again")
    try:
        program.choose_port()
        assert set(user.hold("a", 5, phone=phone)) == {5}
        assert program.boxes() == []
        assert program.close() == 0
    finally:
        phone.stop()
