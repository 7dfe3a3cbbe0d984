"""The phone's own events (Настройки → События телефона): off, nothing of them is sent or shown; on,
the status bar shows what the phone took, the keys pressed on it, its battery, signal and display,
and a recording takes the keys pressed on the phone, to be played back. A phone that takes only a
narrower form is asked the forms in turn; one that tells the program's keys back (keyp 2) has each
recorded once."""

import pytest

from tastolink_driver import wait_until
from tastolink_driver.program import STATUS_BAR_ID

EVENTS = ["--events", "--ciev-every", "1"]


@pytest.fixture
def profile():
    """A profile of phones.ini, chosen in phone.ini: (name, its events line); None for none."""
    return None


@pytest.fixture
def folder(folder, profile):
    if profile:
        (folder / "phones.ini").write_text(f"[{profile[0]}]\r\nevents = {profile[1]}\r\n", encoding="utf-8")
        (folder / "phone.ini").write_text(f"{profile[0]}\r\n", encoding="utf-8")
    return folder


def parts(report):
    return report.control_text(STATUS_BAR_ID).split("\t") if STATUS_BAR_ID in report.places() else []


def wait_for_parts(program, *texts):
    program.wait_for_report(lambda report: set(texts) <= set(parts(report)), f"the status bar to show {texts}")


def shows_latest(log, index, name):
    """Whether a report shows the value the phone reported last of its indicator `index` (from 1)."""
    def shown(report):
        values = [event.data.split(b",")[1].strip() for event in log.events()
                  if event.data.strip().startswith(b"+CIEV: %d," % index)]
        return values and f"{name}: {values[-1].decode()} из 5" in parts(report)
    return shown


def event_lines(log):
    return [line.data for line in log.lines() if line.data.startswith((b"AT+CMER", b"AT+CIND"))]


def recorded_until(folder, key):
    """The lines of keys.txt, [pause, keys], once its last line presses `key`."""
    def lines():
        text = (folder / "keys.txt").read_text() if (folder / "keys.txt").exists() else ""
        lines = [line.split(" ") for line in text.splitlines()]
        return lines if lines and lines[-1][1].split(",")[0] == key else None
    return wait_until(lines, 10, f"a recorded line of {key}")


@pytest.mark.parametrize("phone_options", [EVENTS])
def test_the_phones_keys_indicators_and_display_show_and_its_keys_are_recorded(user, folder):
    program, phone, log = user.program, user.phone, user.phone.log
    program.choose_port()
    user.barrier()
    assert event_lines(log) == [] and parts(program.probe()) == []

    user.display.tap("F10", "Right", *["Down"] * 4, "Return")  # Настройки → События телефона
    wait_for_parts(program, "События: клавиши, экран и индикаторы")
    assert event_lines(log) == [b"AT+CMER=3,1,1,1\r\n", b"AT+CIND=?\r\n", b"AT+CIND?\r\n"]
    program.wait_for_report(shows_latest(log, 1, "Батарея"), "the battery the phone reported last")
    program.wait_for_report(shows_latest(log, 2, "Сеть"), "the signal the phone reported last")
    phone.press("5")
    wait_for_parts(program, "На телефоне: 5", "«#5»")  # "#" was the barrier's
    phone.press("^")
    wait_for_parts(program, "На телефоне: Вверх")

    user.file_menu(0, "keys.txt")  # "Записать нажатия…"
    user.click_row(12)  # the keypad's "#", once the recording runs
    recorded_until(folder, "#")
    phone.press("5m!2")
    keys = recorded_until(folder, "2")
    user.display.tap("F10", "Down", "Return")  # "Остановить запись"
    assert [key for _, key in keys[:3]] == ["#", "5", "M"] and 15 <= int(keys[3][1][2:]) <= 25, keys
    start = len(log)
    user.file_menu(1, "keys.txt")  # "Воспроизвести…"
    log.wait_for_row(start, 2)
    assert [line.data for line in log.lines()[start:]] == [
        b'AT+CKPD="#"\r\n', b'AT+CKPD="5"\r\n', b'AT+CKPD="M"\r\n', f'AT+CKPD="2",{keys[3][1][2:]}\r\n'.encode()]


@pytest.mark.parametrize("events", ["on"])
@pytest.mark.parametrize("profile", [("Keys back", "AT+CMER=3,2,0,0")])
@pytest.mark.parametrize("phone_options", [["--events", "--ckev", "numeric"]])
def test_the_programs_own_keys_told_back_by_the_phone_are_recorded_once(user, folder, events, profile):
    log = user.phone.log
    user.program.choose_port()
    wait_for_parts(user.program, "События: клавиши")
    assert event_lines(log) == [b"AT+CMER=3,2,0,0\r\n"]
    user.file_menu(0, "keys.txt")
    start = len(log.events())
    user.click_row(5)
    log.wait_for_event(start, b"+CKEV: 53,0")
    user.phone.press("1")
    assert [key for _, key in recorded_until(folder, "1")] == ["5", "1"]


@pytest.mark.parametrize("events", ["on"])
@pytest.mark.parametrize("phone_options", [["--events", "--refuse-cmer"]])
def test_a_phone_that_refuses_the_display_and_indicators_is_asked_the_narrower_forms(user, events):
    user.program.choose_port()
    wait_for_parts(user.program, "События: клавиши")
    assert event_lines(user.phone.log) == [b"AT+CMER=3,1,1,1\r\n", b"AT+CMER=3,1,0,1\r\n", b"AT+CMER=3,1,0,0\r\n"]
    user.phone.press("#")
    wait_for_parts(user.program, "На телефоне: #")
