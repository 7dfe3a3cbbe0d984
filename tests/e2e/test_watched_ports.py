"""With "Следить за портами" on: a port the system has, beside COM1 to COM5, is offered in the
port selector's list, and a phone that goes away and comes back under the same name is waited for
without a box and taken back without a new choice."""

import os
import subprocess

import pytest

from tastolink_driver import WINE, Phone, wait_until, write_settings
from tastolink_driver.program import PORT_SELECTOR, STATUS_BAR_ID, selector


@pytest.fixture
def folder(tmp_path, settings):
    write_settings(tmp_path / "work", **settings)
    (tmp_path / "work" / "ports.ini").write_bytes(b"1\r\n")
    return tmp_path / "work"


@pytest.fixture
def phone_options():
    return ("--away", "2")


def status(report):
    return report.control_text(STATUS_BAR_ID).split("\t")[0]


def test_a_phone_that_goes_away_is_waited_for_and_taken_back_by_its_name(user):
    program, log = user.program, user.phone.log
    program.choose_port()
    user.click_row(5)  # the phone takes it, then goes away
    log.wait_for_count(1)
    user.click_row(5)
    program.wait_for_report(lambda report: status(report) == "COM1 пропал — жду; не отправлено: 1", "the waiting")
    program.wait_for_report(lambda report: status(report) == "COM1 снова на связи", "the port back", timeout=20)
    user.barrier()
    assert program.boxes() == []


def test_a_port_the_system_has_is_offered_in_the_dropped_list(user, tmp_path):
    program = user.program
    with Phone(tmp_path, "COM9"):
        # Wine lists the ports of its dosdevices links in SERIALCOMM as its server starts.
        subprocess.run([WINE, "reg", "add", r"HKLM\HARDWARE\DEVICEMAP\SERIALCOMM", "/v", r"\Device\Serial8", "/d",
                        "COM9", "/f"], check=True, capture_output=True, env=os.environ)
        program.click_drop_button(selector(PORT_SELECTOR))  # read again as it drops
        wait_until(lambda: program.probe().dropped_list(), 10, "the dropped list")
        entries = [program.combo_message(selector(PORT_SELECTOR), "GETLBTEXT", n)[1] for n in range(6)]
        assert entries == ["COM1", "COM2", "COM3", "COM4", "COM5", "COM9"]
