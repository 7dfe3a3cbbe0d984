"""The disk of the working folder fills up before the close: the failed save is reported, the
window stays and the stored files are as they were; with room again the close saves.

Not a Wine test: filling a disk takes a small tmpfs mounted from outside (as root)."""

import os
import subprocess

import pytest

from tastolink_driver import write_settings
from tastolink_driver.program import FOCUS_FIELD, PORT_SELECTOR, selector

SETTINGS_FILES = ["Items.itm", "default.itm", "interval.int", "itemindex.itm"]


pytestmark = pytest.mark.parametrize("answers", ["off", "on"])


@pytest.fixture
def folder(tmp_path, settings, answers):
    work = tmp_path / "work"
    work.mkdir()
    if os.geteuid() or subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", str(work)]).returncode:
        pytest.skip("mounting a small tmpfs needs root")
    write_settings(work, **settings, answers=answers == "on")
    yield work
    subprocess.run(["umount", "-l", str(work)], check=False)


def stored(folder):
    return {name: ((folder / name).read_bytes(), (folder / name).stat().st_ino) for name in SETTINGS_FILES}


def test_a_save_that_runs_out_of_room_keeps_the_window_and_the_stored_files(user, folder):
    program = user.program
    program.replace_text(selector(PORT_SELECTOR), "COM7")
    program.click(FOCUS_FIELD)
    before, names = stored(folder), os.listdir(folder)
    # tmpfs hands out whole pages: a file that takes the last one leaves not a byte.
    assert subprocess.run("head -c 1M /dev/zero >filler", shell=True, cwd=folder, stderr=subprocess.DEVNULL).returncode
    program.send_close()
    box = program.wait_for_box()
    assert program.probe().box_texts() == ["Stream write error."]
    program.dismiss(box)
    assert program.windows(), "the main window went away"
    assert stored(folder) == before
    assert sorted(os.listdir(folder)) == sorted(names + ["filler"])

    (folder / "filler").unlink()
    assert program.close() == 0
    assert (folder / "itemindex.itm").read_bytes().split(b"\r\n")[45] == b"COM7"
