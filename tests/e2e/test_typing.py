"""Typing text into the phone, which decodes the presses into the text on its screen (its letters
in lower case, as its case mode says): "Привет, мир" typed in the dialog of "Файл → Набрать
текст…", with a recording made meanwhile that replays it; Esc in the dialog and a text the profile
refuses send nothing. From the command line, --type does the same under the profile --profile
names, by multi-tap in both layouts and by alpha entry, and ends with its exit code."""

import subprocess

import pytest

from tastolink_driver import WINE, Phone, wait_until

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


def new_window(user, action, what):
    """The program's window that `action` brings up, once it has the focus."""
    display, pid = user.display, user.program.process.pid
    before = {window.id for window in display.windows_of(pid)}
    action()
    window = wait_until(lambda: [w for w in display.windows_of(pid) if w.id not in before], 10, what)[0]
    display.focus(window)
    return window


def wait_gone(user, window):
    wait_until(lambda: window.id not in {w.id for w in user.display.windows_of(user.program.process.pid)}, 10,
               "the window to close")


def from_file_menu(user, item, file_name=None):
    """Item `item` (from 0) of "Файл" by the keyboard; in the file dialog it opens, `file_name`."""
    if file_name is None:
        return user.display.tap("F10", *["Down"] * (item + 1), "Return")
    dialog = new_window(user, lambda: user.display.tap("F10", *["Down"] * (item + 1), "Return"), "the file dialog")
    user.display.type(file_name)
    user.display.tap("Return")
    wait_gone(user, dialog)


def typing_dialog(user, text, key):
    """"Набрать текст…", `text` typed over what the field holds, then `key`; the dialog."""
    dialog = new_window(user, lambda: user.display.tap("F10", "Down", "Down", "Down", "Return"), "the dialog")
    user.display.type(text)
    user.display.tap(key)
    return dialog


def test_a_text_typed_in_the_dialog_comes_out_on_the_phone_and_its_recording_replays_it(user):
    program, phone = user.program, user.phone
    program.choose_port()
    start = len(phone.log)
    wait_gone(user, typing_dialog(user, "мир", "Escape"))
    assert user.barrier(start) == []

    from_file_menu(user, 0, "keys.txt")  # "Записать нажатия…"
    wait_gone(user, typing_dialog(user, "Привет, мир", "Return"))
    phone.wait_for_text("привет, мир", timeout=30)
    from_file_menu(user, 0)  # "Остановить запись"
    from_file_menu(user, 1, "keys.txt")  # "Воспроизвести…"
    phone.wait_for_text("привет, мирпривет, мир", timeout=30)

    # A Latin letter is on no key of the Russian layout: the box names it, and the dialog stays.
    start = len(phone.log)
    dialog = typing_dialog(user, "Hi", "Return")
    box = program.wait_for_box()
    assert REFUSED in program.probe().box_texts()
    program.dismiss(box)
    user.display.focus(dialog)
    user.display.tap("Escape")
    wait_gone(user, dialog)
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
