"""tastolink, the command line, natively against the virtual phone on a pseudo-terminal. The
phone's log is what reached it, its stamps the clock of the pauses."""

import os
import re
import signal
import subprocess
import sys
from pathlib import Path

import pytest

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "driver"))
from tastolink_driver import Phone  # noqa: E402

TASTOLINK = os.environ["TASTOLINK_CLI"]
# A profile that types Latin letters with the phone's own wait; its press time is the margin by
# which a phone that reads a line late still takes two letters of one key apart.
PHONES = """[Lab]
match = virtual; vp-270
prepare = AT+CMEC=2
layout = latin
multitap_wait = 300
press_ms = 150
"""


@pytest.fixture
def phone(tmp_path):
    """Starts a virtual phone with its options, linked at tmp_path/port<n>."""
    phones = []

    def start(*options):
        phones.append(Phone(tmp_path, options=options, name=f"phone{len(phones)}", link=tmp_path / f"port{len(phones)}"))
        return phones[-1]
    yield start
    for started in phones:
        started.stop()


@pytest.fixture(scope="module")
def quiet_phone(tmp_path_factory):
    """One phone for the runs that must send it nothing."""
    folder = tmp_path_factory.mktemp("quiet")
    with Phone(folder, name="phone", link=folder / "port") as phone:
        yield phone


def tastolink(folder, *arguments, phones=PHONES):
    (folder / "phones.ini").write_text(phones)
    return subprocess.run([TASTOLINK, *map(str, arguments)], cwd=folder, capture_output=True, text=True, timeout=30)


def test_a_file_plays_after_the_profiles_preparation_with_its_pauses(phone, tmp_path):
    at = phone()
    (tmp_path / "keys.txt").write_text("# open messages\n0 M\n300 5\n200 :T,20\n")
    # A bad line of phones.ini leaves its own profile out, and the run goes on.
    run = tastolink(tmp_path, "--port", at.link, "--play", "keys.txt", "--profile", "Lab",
                    phones=PHONES + "[Broken]\nlong = 0\n")
    assert (run.returncode, run.stdout, run.stderr) == (
        0, "", "tastolink: phones.ini has errors; the profiles with them are left out.\n"
               "Line 8: \"0\" is not a whole number within 1–255\n")
    at.log.wait_for_count(4)
    lines = at.log.lines()
    assert [line.data for line in lines] == [b"AT+CMEC=2\r\n", b'AT+CKPD="M"\r\n', b'AT+CKPD="5"\r\n',
                                             b'AT+CKPD=":T",20\r\n']
    # Each press is due counted from the start, just after the preparation went out. The phone
    # stamps a line once it has handled it, late by as long as the machine keeps it waiting: tens
    # of ms on a busy machine, and the preparation may be as late as the presses.
    since_preparation = [line.ms - lines[0].ms for line in lines[1:]]
    assert since_preparation[0] < 250 and 250 <= since_preparation[1] < 600 and 450 <= since_preparation[2] < 800, \
        since_preparation


def test_a_text_is_typed_as_the_profile_types_it(phone, tmp_path):
    at = phone("--layout", "latin", "--multitap-wait", "300")
    # n and o are both on the 6: the phone's wait between them, or an "m" and more.
    assert tastolink(tmp_path, "--port", at.link, "--type", "no", "--profile", "Lab").returncode == 0
    at.wait_for_text("no", timeout=5)


@pytest.mark.parametrize("options, code, printed", [
    ([], 0, r"M -> OK\n:T,20 -> OK\n"),
    (["--answer", "error"], 1, r"M -> ERROR\n:T,20 -> ERROR\n"),
    # A late answer is printed when it comes, and counts.
    (["--late", "1.2"], 0, r"M -> no answer\n:T,20 -> no answer\nM -> OK, after 1\.[2-9] s\n:T,20 -> OK, after 1\.[2-9] s\n"),
])
def test_keys_are_pressed_and_their_answers_printed(phone, tmp_path, options, code, printed):
    at = phone(*options)
    run = tastolink(tmp_path, "--port", at.link, "--keys", "M  :T,20", "--gap", "0", "--answers")
    assert run.returncode == code and re.fullmatch(printed, run.stdout), run.stdout
    assert [line.data for line in at.log.lines()] == [b'AT+CKPD="M"\r\n', b'AT+CKPD=":T",20\r\n']


def test_the_phone_is_identified_and_its_profile_named(phone, tmp_path):
    at = phone("--model", "standard")
    (tmp_path / "lab.ini").write_text(PHONES)
    # The profile's preparation goes first: its answer is its own, not the manufacturer's.
    run = tastolink(tmp_path, "--port", at.link, "--identify", "--phones", "lab.ini", "--profile", "Lab", phones="")
    assert (run.returncode, run.stdout) == (0, "manufacturer: Virtual Phones\nmodel: VP-270 Standard\n"
                                               "revision: R2B\nkeypad: yes\nprofile: Lab\n")


@pytest.mark.parametrize("arguments, code, message", [
    (["--play", "bad.txt"], 2, 'Cannot play "bad.txt": line 3: "5 5" is no keys for AT+CKPD'),
    (["--play", "gone.txt"], 2, 'Cannot open "gone.txt": No such file or directory'),
    (["--type", "abé", "--profile", "Lab"], 2, "Can't type \"é\" (character 3)"),
    (["--keys", "5 \x07"], 2, 'key 2: "\\x07" is no keys for AT+CKPD'),
    (["--keys", "5", "--profile", "Nope"], 2, 'no profile "Nope"'),
    (["--play", "bad.txt", "--gap", "5"], 2, "--gap goes with --keys only"),
    (["--keys", "5", "--port", "{folder}/none"], 1, "Cannot open {folder}/none: no such port"),
])
def test_bad_input_sends_nothing_and_says_why(quiet_phone, tmp_path, arguments, code, message):
    at = quiet_phone
    (tmp_path / "bad.txt").write_text("0 M\n\n100 5 5\n")
    if "--port" not in arguments:
        arguments += ["--port", at.link]
    run = tastolink(tmp_path, *[str(argument).format(folder=tmp_path) for argument in arguments])
    assert run.returncode == code and message.format(folder=tmp_path) in run.stderr, run.stderr
    assert len(at.log) == 0


def test_a_busy_port_names_its_holder_until_ctrl_c_lets_it_go(phone, tmp_path):
    at = phone()
    (tmp_path / "slow.txt").write_text("0 1\n10000 2\n")
    holder = subprocess.Popen([TASTOLINK, "--port", at.link, "--play", "slow.txt"], cwd=tmp_path,
                              stderr=subprocess.PIPE, text=True)
    at.log.wait_for_count(1)
    busy = tastolink(tmp_path, "--port", at.link, "--keys", "5")
    assert (busy.returncode, busy.stderr) == (
        1, f"tastolink: Cannot open {at.link}: the port is busy, held by process {holder.pid} (tastolink)\n")
    holder.send_signal(signal.SIGINT)
    assert holder.wait(5) == 1  # a press was left unsent
    assert tastolink(tmp_path, "--port", at.link, "--keys", "5").returncode == 0


@pytest.mark.parametrize("answers, message", [
    ([], "Cannot send to {port}: the port is gone"),
    (["--answers"], "{port} is gone"),
])
def test_a_port_that_vanishes_ends_the_run_naming_it(phone, tmp_path, answers, message):
    at = phone()
    run = subprocess.Popen([TASTOLINK, "--port", at.link, "--keys", "1 2 3", "--gap", "200", *answers],
                           cwd=tmp_path, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    at.log.wait_for_count(1)
    at.kill()
    assert run.wait(5) == 1
    assert run.stderr.read() == f"tastolink: {message.format(port=at.link)}\n"


def test_the_ports_are_listed_with_a_link_named(phone, tmp_path):
    at = phone()
    run = tastolink(tmp_path, "--list-ports", "--port", at.link)
    assert run.returncode == 0
    assert f"{at.terminal}  pseudo-terminal  {at.link}" in run.stdout.splitlines()
