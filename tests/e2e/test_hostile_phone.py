"""A hostile phone, with the phone's answers on (and its events, for a flood of event lines), in each
mode of the virtual phone: the window keeps answering, a click reaches the phone, no part of the
status bar grows past its bounded text (an answer line of 256 characters after a key's name), and
the program closes as always. Where the mode lets the answer through it is shown for its key, a late
one too, with how late it came. Each case prints the slowest probe and the program's memory
(pytest -s)."""

import time

import pytest

from tastolink_driver.program import STATUS_BAR_ID

LATE_S = 1.8  # after the second of "нет ответа", before the next one
# The phone's options, and what the status bar shows for a click on 5 where the mode lets it through.
MODES = {"flood": (["--flood"], None), "endless_line": (["--endless", "8"], None),
         "zero_and_high_bytes": (["--noise"], "5 → OK"), "late": (["--late", str(LATE_S)], "5 → нет ответа"),
         "echo_of_another_key": (["--echo-other"], "5 → OK"), "stall_then_flood": (["--stall", "2", "--flood"], None),
         "event_flood": (["--events", "--flood-events"], None)}


@pytest.fixture
def answers():
    return "on"


@pytest.fixture(params=MODES)
def phone_options(request):
    return MODES[request.param][0]


@pytest.fixture
def events(phone_options):
    return "on" if "--flood-events" in phone_options else "off"


def parts(report):
    return report.control_text(STATUS_BAR_ID).split("\t")


def click(user, row):
    """Clicks `row` and waits for its line at the phone; the phone's stamp of it, in seconds."""
    start = len(user.phone.log)
    user.click_row(row)
    return user.phone.log.lines()[start + user.phone.log.wait_for_row(start, row).index(row)].ms / 1000


def test_a_hostile_phone_leaves_the_window_answering_and_the_status_bar_bounded(user, request):
    mode = request.node.callspec.id
    program = user.program
    program.choose_port()
    click(user, 5)
    probes = []
    for _ in range(5):
        began = time.monotonic()
        report = program.probe()
        probes.append(time.monotonic() - began)
        assert report.selector_text(5) == "A"  # the window's own thread answered, within the probe's time-out
        assert max(len(part) for part in parts(report)) <= 300, parts(report)
    if expected := MODES[mode][1]:
        program.wait_for_report(lambda report: parts(report)[1] == expected, expected)
    if mode == "late":
        sent = click(user, 1)  # before 5's late OK comes
        program.wait_for_report(lambda report: parts(report)[1] == "1 → нет ответа", "1 → нет ответа")
        program.wait_for_report(lambda report: parts(report)[3] == "Отправлено: 2, OK: 2", "both late OKs counted")
        last_key = parts(program.probe())[1]
        assert last_key.startswith("1 → OK, через 1,") and last_key.endswith(" с"), last_key
        assert time.monotonic() >= sent + LATE_S
    assert program.boxes() == []
    print(f"\n{mode}: slowest of 5 probes {max(probes) * 1000:.0f} ms, "
          f"resident memory {program.host_process().memory_info().rss // 1024} kB")
    assert program.close() == 0
