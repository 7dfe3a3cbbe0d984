"""The on-screen keypad: a click sends exactly its button's line, once, and the keyboard focus
stays in the focus field. All 26 lines are a golden table of the host tests; here one button
of each kind takes the whole road. The phone's answers are off, as by default: nothing of them
shows, and the client area is the one always described."""

from tastolink_driver.program import FOCUS_FIELD

SENT = [(1, b'AT+CKPD="1"\r\n'), (5, b'AT+CKPD="5"\r\n'), (11, b'AT+CKPD="*"\r\n'), (13, b'AT+CKPD=":L"\r\n'),
        (26, b'AT+CKPD=":T"\r\n')]


def test_a_click_sends_exactly_its_buttons_line_and_leaves_the_focus(user, folder):
    user.program.choose_port()
    for row, _ in SENT:
        user.click_row(row)
    user.barrier()
    assert [line.data for line in user.phone.log.lines()] == [data for _, data in SENT] + [b'AT+CKPD="#"\r\n']
    report = user.program.probe()
    assert (report.focus_id, report.raw["client"][2:]) == (FOCUS_FIELD, [441, 680])
    assert not (folder / "answers.ini").exists()
