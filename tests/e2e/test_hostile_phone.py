"""A hostile phone, with the phone's answers on, in each mode of the virtual phone: the window keeps
answering, a click still reaches the phone, the status bar shows only its bounded texts, and the
program closes as always. Where the mode lets the answer through, it is shown for its key; a late
one for no key. Each case prints the slowest probe and the program's memory (run pytest with -s)."""

import time

import pytest

from tastolink_driver.program import STATUS_BAR_ID

# The longest text of a part: an answer line of at most 256 characters after a key's name.
LONGEST_PART = 300
LATE_S = 1.8  # after the second of "нет ответа", before the next one

# The phone's options and the answer to a click on 5 that the status bar then shows (None: the
# mode may cost the answer, which the bar then says).
MODES = {
    "flood": (["--flood"], None),
    "endless_line": (["--endless", "8"], None),
    "zero_and_high_bytes": (["--noise"], "5 → OK"),
    "late": (["--late", str(LATE_S)], "5 → нет ответа"),
    "echo_of_another_key": (["--echo-other"], "5 → OK"),
    "stall_then_flood": (["--stall", "2", "--flood"], None),
}


@pytest.fixture
def answers():
    return "on"


@pytest.fixture(params=list(MODES))
def mode(request):
    return request.param


@pytest.fixture
def phone_options(mode):
    return MODES[mode][0]


def parts(report):
    return report.control_text(STATUS_BAR_ID).split("\t")


def wait_for_key_text(program, text):
    return program.wait_for_report(lambda report: parts(report)[1] == text, f'the status bar to show "{text}"')


def test_a_hostile_phone_leaves_the_window_answering_and_the_status_bar_bounded(user, mode):
    program = user.program
    program.choose_port()
    start = len(user.phone.log)
    user.click_row(5)
    user.phone.log.wait_for_row(start, 5)
    probes = []
    for _ in range(5):
        began = time.monotonic()
        report = program.probe()
        probes.append(time.monotonic() - began)
        # The window's own thread answers the probe's messages, each within the probe's time-out.
        assert report.selector_text(5) == "A"
        assert all(len(part) <= LONGEST_PART for part in parts(report)), parts(report)
    expected = MODES[mode][1]
    if expected:
        wait_for_key_text(program, expected)
    if mode == "late":
        start = len(user.phone.log)
        user.click_row(1)  # before 5's late OK comes
        line = user.phone.log.lines()[start + user.phone.log.wait_for_row(start, 1).index(1)]
        wait_for_key_text(program, "1 → нет ответа")
        time.sleep(max(0, line.ms / 1000 + LATE_S + 0.5 - time.monotonic()))  # 1's own OK has come too
        assert parts(program.probe())[1:] == ["1 → нет ответа", "", "Отправлено: 2, OK: 0"]
    assert program.boxes() == []
    print(f"\n{mode}: slowest of 5 probes {max(probes) * 1000:.0f} ms, "
          f"resident memory {program.host_process().memory_info().rss // 1024} kB")
    assert program.close() == 0
