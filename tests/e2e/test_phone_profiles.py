"""Phone profiles with virtual phones of three dialects, each on a port of its own: "standard" takes
only the standard's characters, "needs-access" no key before AT+CMEC=2, "latin1" the soft keys for
"C" before AT+CSCS="8859-1". The right key arrives through the profile that fits, its preparation
first, once at each opening: in the window's dialog, and on the command line."""

import subprocess

import pytest

from tastolink_driver import WINE, Phone
from tastolink_driver.program import PORT_SELECTOR, keypad_button, selector

PHONES_INI = """; the journeys' phones
[VP-300]
base = 3GPP TS 27.007
match = virtual phones; vp-300
prepare = AT+CMEC=2

[VP-885]
base = 3GPP TS 27.007
match = VP-885
prepare = AT+CSCS="8859-1"

[Broken]
key.nose = 5
long = 999
"""
UP, SOFT_LEFT, FIVE = 2, 1, 12  # SpeedButton<n>


@pytest.fixture
def folder(folder):
    (folder / "phones.ini").write_text(PHONES_INI, encoding="utf-8")
    return folder


@pytest.fixture
def phone_options():
    return ("--model", "standard")


def in_dialog(user, *keys):
    """Opens "Настройки → Телефон…" (its fifth item) and types `keys` into it; the dialog."""
    dialog = user.new_window(lambda: user.menu("Настройки", 4), "the phone dialog")
    user.display.tap(*keys)
    return dialog


def identified(user, port):
    """Chooses `port` and presses "Определить" in the dialog; the dialog and all it says once it has an answer."""
    user.program.replace_text(selector(PORT_SELECTOR), port)
    user.program.choose_port()
    dialog = in_dialog(user, "Tab", "space")
    found = user.program.wait_for_report(lambda report: "Профиль: " in "".join(report.box_texts()[:1]), "the identity")
    return dialog, found.box_texts()[0]


def after_closing(user, dialog, button, phone, row, start):
    """Once the dialog is gone, clicks SpeedButton<button>; the phone's lines from its `start`-th to `row`'s."""
    user.wait_gone(dialog)
    user.program.click(keypad_button(button))
    phone.log.wait_for_row(start, row)
    return [line.data for line in phone.log.lines()[start:]]


def test_each_phone_gets_its_keys_through_the_profile_chosen_or_found_in_the_dialog(user, folder, tmp_path):
    program = user.program
    box = program.wait_for_box()
    assert program.probe().box_texts() == [
        "В phones.ini есть ошибки; профили с ними пропущены.\nСтрока 13: неизвестный параметр «key.nose»\n"
        "Строка 14: «999» — не целое число в пределах 1–255."]
    program.dismiss(box)

    # A newcomer with a phone of the standard's kind chooses its profile by name.
    program.choose_port()
    start = len(user.phone.log)
    dialog = in_dialog(user, "Down", "Return")
    assert after_closing(user, dialog, UP, user.phone, 15, start) == [b'AT+CKPD="^"\r\n']
    assert (folder / "phone.ini").read_bytes() == "3GPP TS 27.007\r\n".encode()

    # "Определить" finds the others' profiles; OK opens the port again, which sends the preparation.
    for port, model, revision, profile, button, row, preparation, key in [
            ("COM2", "VP-300 Access", "R3C", "VP-300", FIVE, 5, b"AT+CMEC=2\r\n", b'AT+CKPD="5"\r\n'),
            ("COM3", "VP-885 Latin", "R4D", "VP-885", SOFT_LEFT, 18, b'AT+CSCS="8859-1"\r\n', b'AT+CKPD="["\r\n')]:
        with Phone(tmp_path, port, ("--model", {"COM2": "needs-access", "COM3": "latin1"}[port])) as phone:
            dialog, said = identified(user, port)
            assert said == (f"Профиль:Производитель: Virtual Phones\r\nМодель: {model}\r\nВерсия: {revision}\r\n"
                            f"Управление клавиатурой: есть\r\nПрофиль: {profile}\r\nКоды кнопок:")
            start = len(phone.log)
            with user.held("Shift_L"):
                user.display.tap("Tab")  # back to the list, where Enter is OK
            user.display.tap("Return")
            assert after_closing(user, dialog, button, phone, row, start) == [preparation, key]
            start = len(phone.log)
            program.choose_port()  # once at each opening, before any key
            assert after_closing(user, dialog, button, phone, row, start) == [preparation, key]
    # A modem port says plainly that it has no keypad control; Esc leaves the choice as it was.
    with Phone(tmp_path, "COM4", ("--model", "no-keypad")):
        dialog, said = identified(user, "COM4")
        assert said.endswith("Профиль: не найден\r\n\r\nТелефон не поддерживает управление клавиатурой (AT+CKPD)"
                             "Коды кнопок:")
        user.display.tap("Escape")
        user.wait_gone(dialog)
    assert (folder / "phone.ini").read_bytes() == b"VP-885\r\n"
    assert program.close() == 0


@pytest.mark.parametrize("phone_options", [("--model", "needs-access")], ids=["needs-access"])
def test_the_command_line_identifies_the_phone_and_plays_with_its_profile(prefix, phone, folder, exe, tmp_path):
    def run(*arguments):
        done = subprocess.run([WINE, str(exe), *arguments], cwd=folder, capture_output=True, timeout=60)
        return done.returncode, done.stdout.decode(), done.stderr.decode().splitlines()[-1:]  # after phones.ini's

    assert run("--port", "COM1", "--identify")[:2] == (
        0, "manufacturer: Virtual Phones\r\nmodel: VP-300 Access\r\nrevision: R3C\r\nkeypad: yes\r\nprofile: VP-300\r\n")
    (folder / "keys.txt").write_bytes(b"0 5\r\n")
    start = len(phone.log)
    assert run("--port", "COM1", "--play", "keys.txt", "--profile", "VP-300", "--exit")[0] == 0
    assert [(line.data, line.row) for line in phone.log.lines()[start:]] == [
        (b"AT+CMEC=2\r\n", None), (b'AT+CKPD="5"\r\n', 5)]
    assert run("--port", "COM9", "--identify") == (1, "", ["Невозможно выбрать COM9: нет такого порта"])
    with Phone(tmp_path, "COM2", ("--stall",)):
        assert run("--port", "COM2", "--identify") == (1, "", ["Телефон на COM2 не отвечает"])
    assert len(phone.log) == start + 2
