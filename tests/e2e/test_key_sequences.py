"""Key sequences: three presses of the keypad recorded from the menu into a file, which plays them
back to the phone in their order and with their pauses; and files played unattended from the
command line, whose exit code tells whether every command was written."""

import subprocess
import time

import pytest

from tastolink_driver import WINE

ROWS = [5, 13, 26]  # "5", ":L", ":T"
PAUSE = 0.3  # s between two presses
LINES = [b'AT+CKPD="5"\r\n', b'AT+CKPD=":L"\r\n', b'AT+CKPD=":T"\r\n']


def test_presses_recorded_from_the_keypad_play_back_in_order_with_their_pauses(user, folder):
    user.program.choose_port()
    user.file_menu(0, "keys.txt")  # "Записать нажатия…"
    log = user.phone.log
    start = len(log)
    for row in ROWS:
        if row != ROWS[0]:
            time.sleep(PAUSE)
        user.click_row(row)
        log.wait_for_row(start, row)
    user.display.tap("F10", "Down", "Return")  # "Остановить запись"
    user.barrier()  # not recorded: the recording has stopped
    recorded = [line.split(" ") for line in (folder / "keys.txt").read_text().splitlines()]
    assert [key for _, key in recorded] == ["5", ":L", ":T"]
    assert recorded[0][0] == "0" and all(int(pause) >= PAUSE * 1000 for pause, _ in recorded[1:])

    start = len(log)
    user.file_menu(1, "keys.txt")  # "Воспроизвести…"
    log.wait_for_row(start, ROWS[-1])
    assert [line.data for line in log.lines()[start:]] == LINES


def run(folder, exe, *arguments):
    """Tastolink.exe with `arguments` in `folder`, as a test rig starts it."""
    return subprocess.run([WINE, str(exe), *arguments], cwd=folder, capture_output=True, timeout=60)


def test_an_unattended_run_plays_the_file_on_time_and_ends_with_its_exit_code(prefix, phone, folder, exe):
    (folder / "keys.txt").write_bytes(b"# rows 5, 13 and 26\r\n0 5\r\n400 :L\r\n\r\n800 :T\r\n")
    (folder / "bad.txt").write_bytes(b"0 5\r\n100 5 5\r\n")

    finished = run(folder, exe, "--port", "COM1", "--play", "keys.txt", "--exit")
    assert finished.returncode == 0, finished.stderr.decode()
    lines = phone.log.lines()
    assert [line.data for line in lines] == LINES
    # The phone's own stamps, counted from the first press as the program counts its schedule: each
    # press at least its pauses after it (10 ms for the phone's own wake-up), and at most 300 ms late.
    after_first = [line.ms - lines[0].ms for line in lines[1:]]
    assert 390 <= after_first[0] <= 700 and 1190 <= after_first[1] <= 1500, after_first
    refused = run(folder, exe, "--port", "COM1", "--play", "bad.txt", "--exit")
    assert (refused.returncode, refused.stderr.decode().strip()) == (
        2, "Невозможно воспроизвести «bad.txt»: строка 2: «5 5» — не клавиши для AT+CKPD: "
           "пробел, запятая или не латинский знак вне «;…;».")
    assert run(folder, exe, "--port", "COM9", "--play", "keys.txt", "--exit").returncode == 1
    assert run(folder, exe, "--play", "keys.txt").returncode == 2
    assert len(phone.log.lines()) == 3


@pytest.mark.parametrize("phone_options", [("--stall",), ("--vanish",)], ids=["stalled", "vanished"])
def test_an_unattended_run_whose_phone_fails_after_the_first_key_ends_with_1(prefix, phone, folder, exe):
    # One key, then two presses of 40 000 keys: the port of a phone that reads nothing takes the key
    # and is full before the second press is through; a phone that vanished as it answered the key
    # takes nothing more.
    (folder / "long.txt").write_bytes(b"0 5\r\n" + (b"0 " + b"5" * 40000 + b"\r\n") * 2)
    finished = run(folder, exe, "--port", "COM1", "--play", "long.txt", "--exit")
    assert finished.returncode == 1, finished.stderr.decode()
