"""Typing text into the phone, which decodes the presses into the text on its screen (its letters
in the case its case mode says: sentence case for the dialog's text, else lower case): "Привет, мир" typed in the dialog of "Файл → Набрать
текст…", with a recording made meanwhile that replays it; Esc in the dialog and a text the profile
refuses send nothing. From the command line, --type does the same under the profile --profile
names, by multi-tap in both layouts and by alpha entry, and ends with its exit code."""

import subprocess

import pytest

from tastolink_driver import WINE, Phone

# Profiles beside "Обычный", which types Cyrillic by multi-tap.
PHONES_INI = """[Latin]
layout = latin
[Alpha]
text = alpha
alpha_charset = UTF-8
prepare = AT+CSCS="UTF-8"
"""
REFUSED = "Не набрать «H» (знак 1): его нет ни на одной клавише раскладки профиля."


@pytest.fixture
def phone_options():
    return ("--layout", "russian")


def typing_dialog(user, text, key):
    """"Набрать текст…", `text` typed over what the field holds, then `key`; the dialog."""
    dialog = user.new_window(lambda: user.file_menu(2), "the dialog")
    user.display.type(text)
    user.display.tap(key)
    return dialog


@pytest.mark.parametrize("phone_options", [("--layout", "russian", "--case", "sentence")], ids=["sentence-case"])
def test_a_text_typed_in_the_dialog_comes_out_on_the_phone_and_its_recording_replays_it(user):
    program, phone = user.program, user.phone
    program.choose_port()
    user.file_menu(0, "keys.txt")  # "Записать нажатия…"
    user.wait_gone(typing_dialog(user, "Привет, мир", "Return"))
    phone.wait_for_text("Привет, мир", timeout=30)  # the phone's own case mode makes the capital
    user.file_menu(0)  # "Остановить запись"
    user.file_menu(1, "keys.txt")  # "Воспроизвести…"
    phone.wait_for_text("Привет, мирпривет, мир", timeout=30)

    # A Latin letter is on no key of the Russian layout: the box names it, and the dialog stays.
    start = len(phone.log)
    dialog = typing_dialog(user, "Hi", "Return")
    box = program.wait_for_box()
    assert REFUSED in program.probe().box_texts()
    program.dismiss(box)
    user.display.focus(dialog)
    user.display.tap("Escape")
    user.wait_gone(dialog)
    assert user.barrier(start) == []


def test_type_from_the_command_line_types_under_its_profile_and_ends_with_its_exit_code(prefix, phone, folder, exe,
                                                                                         tmp_path):
    (folder / "phones.ini").write_text(PHONES_INI, encoding="utf-8")

    def run(*arguments):
        return subprocess.run([WINE, str(exe), *arguments, "--exit"], cwd=folder, capture_output=True, timeout=120)

    refused = run("--port", "COM1", "--type", "Hi")
    assert (refused.returncode, refused.stderr.decode().strip()) == (2, REFUSED)
    assert len(phone.log) == 0
    assert run("--port", "COM1", "--type", "Ввод 42.").returncode == 0
    phone.wait_for_text("ввод 42.")
    start = len(phone.log)
    assert run("--port", "COM1", "--type", "Да;нет;;", "--profile", "Alpha").returncode == 0
    phone.wait_for_text("ввод 42.Да;нет;;")
    assert [line.data for line in phone.log.lines()[start:]] == [
        b'AT+CSCS="UTF-8"\r\n', 'AT+CKPD=";Да;;нет;;;;;"\r\n'.encode()]
    with Phone(tmp_path, "COM2", ["--layout", "latin"]) as latin:
        assert run("--port", "COM2", "--type", "Need 2 go?", "--profile", "Latin").returncode == 0
        latin.wait_for_text("need 2 go?")
    assert run("--port", "COM9", "--type", "да").returncode == 1
    unknown = run("--port", "COM1", "--type", "да", "--profile", "Nokia")
    assert (unknown.returncode, unknown.stderr.decode().strip()) == (
        2, "Нет профиля «Nokia» ни среди встроенных, ни в phones.ini.")
    assert run("--type", "да").returncode == 2
