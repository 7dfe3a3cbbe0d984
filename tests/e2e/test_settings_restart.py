"""A binding, the port and the period changed in the window are saved at the close and in
force after a restart."""

from tastolink_driver import Phone
from tastolink_driver.program import GET_BUTTON, INTERVAL_FIELD, PORT_SELECTOR, SET_BUTTON, selector


def test_a_binding_the_port_and_the_period_survive_a_restart(user, folder, tmp_path):
    program = user.program
    program.replace_text(selector(47), "Q")  # row 23 ("U"), the alternative
    program.replace_text(selector(PORT_SELECTOR), "COM2")
    program.replace_text(INTERVAL_FIELD, "250")
    program.click(SET_BUTTON)
    assert program.close() == 0
    saved = (folder / "itemindex.itm").read_bytes().split(b"\r\n")
    assert (saved[0], saved[5], saved[45], saved[47]) == (b"Tastolink test", b"A", b"COM2", b"Q")
    assert (folder / "interval.int").read_bytes() == b"250\r\n"

    with Phone(tmp_path, "COM2") as phone:
        user.start()
        user.program.click(GET_BUTTON)
        report = user.program.wait_for_report(lambda report: report.control_text(INTERVAL_FIELD) == "250",
                                              '"Get" to show 250')
        assert (report.selector_text(45), report.selector_text(47)) == ("COM2", "Q")
        user.program.choose_port()  # the saved name
        assert set(user.hold("q", 23, phone=phone)) == {23}
