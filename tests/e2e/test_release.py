"""The release zip that scripts/package wrote, unpacked into an empty folder, is the whole
program: it starts there with no box, and a click reaches the phone on COM1."""

import zipfile

import pytest

from tastolink_driver import BUILD_DIR, PROGRAM


@pytest.fixture
def folder(tmp_path):
    version = (PROGRAM.parent / "version.txt").read_text().strip()
    with zipfile.ZipFile(BUILD_DIR / "dist" / f"Tastolink-{version}-win64.zip") as release:
        release.extractall(tmp_path / "release")
    return tmp_path / "release"


@pytest.fixture
def exe(folder):
    return folder / "Tastolink.exe"


def test_the_unpacked_release_starts_without_a_box_and_sends_a_key(user):
    user.program.choose_port()
    user.click_row(5)
    assert user.barrier() == [5]
    assert user.program.boxes() == []
