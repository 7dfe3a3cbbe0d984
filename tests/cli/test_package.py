"""The Debian package of the command line that scripts/package wrote. It is read and unpacked with
dpkg-deb, not installed, so that the test needs no root and leaves the machine as it was."""

import os
import subprocess


def dpkg_deb(*arguments):
    return subprocess.run(["dpkg-deb", *arguments], capture_output=True, text=True, check=True).stdout


def test_the_package_declares_its_libraries_and_its_binary_runs(tmp_path):
    deb = os.environ["TASTOLINK_DEB"]
    fields = dict(line.split(": ", 1) for line in dpkg_deb("--field", deb, "Package", "Version",
                                                           "Architecture", "Depends").splitlines())
    assert (fields["Package"], fields["Version"], fields["Architecture"]) == (
        "tastolink", os.environ["TASTOLINK_VERSION"], "amd64")
    assert {"libc6", "libstdc++6"} <= {name.split()[0] for name in fields["Depends"].split(", ")}
    files = {line.split()[-1] for line in dpkg_deb("--contents", deb).splitlines()}
    assert {"./usr/bin/tastolink", "./usr/share/man/man1/tastolink.1.gz"} <= files
    dpkg_deb("--extract", deb, str(tmp_path))
    run = subprocess.run([tmp_path / "usr/bin/tastolink", "--help"], capture_output=True, text=True)
    assert run.returncode == 0 and run.stdout.startswith("Usage: tastolink --port PORT --play FILE")
