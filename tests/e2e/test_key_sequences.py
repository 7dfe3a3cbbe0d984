"""Key sequences: three presses of the keypad recorded from the menu into a file, which plays them
back to the phone in their order and with their pauses; and the same file played unattended from
the command line, whose exit code tells whether every command was written."""

import subprocess
import time

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


def test_an_unattended_run_plays_the_file_and_ends_with_its_exit_code(prefix, phone, folder, exe):
    (folder / "keys.txt").write_bytes(b"# rows 5, 13 and 26\r\n0 5\r\n100 :L\r\n\r\n100 :T\r\n")
    (folder / "bad.txt").write_bytes(b"0 5\r\n100 5 5\r\n")

    def run(*arguments):
        return subprocess.run([WINE, str(exe), *arguments], cwd=folder, capture_output=True, timeout=60)

    finished = run("--port", "COM1", "--play", "keys.txt", "--exit")
    assert finished.returncode == 0, finished.stderr
    assert [line.data for line in phone.log.lines()] == LINES
    refused = run("--port", "COM1", "--play", "bad.txt", "--exit")
    assert (refused.returncode, refused.stderr.decode().strip()) == (
        2, "Невозможно воспроизвести «bad.txt»: строка 2: «5 5» — не клавиши для AT+CKPD: "
           "пробел, запятая или не латинский знак вне «;…;».")
    assert run("--port", "COM9", "--play", "keys.txt", "--exit").returncode == 1
    assert run("--play", "keys.txt").returncode == 2
    assert len(phone.log.lines()) == 3
