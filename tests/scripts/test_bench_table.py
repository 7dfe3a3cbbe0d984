"""The bench's table from its figures: a run once ended in ZeroDivisionError and printed nothing."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "bench"))
from bench_table import rows_of  # noqa: E402

IDLE = {"idle": [{"cpu": 2.0, "rss": 20480}, {"cpu": 4.0}], "held": [{"cpu": 3.0}, {"cpu": 5.0}],
        "repeating": [{"cpu": 50.0}, {"cpu": 28.0}]}


def row(rows, start):
    return next(found for found in rows if found[0].startswith(start))


def test_a_floor_that_read_nothing_gives_no_ratio_and_the_rest_still_prints():
    notepad = {"notepad_idle": [{"cpu": 0.0, "rss": 0}, {"cpu": 0.0}], "notepad_held": [{"cpu": 0.0}, {"cpu": 0.0}]}
    failed = {}
    rows = rows_of({**IDLE, **notepad, "exe_size": 480256, "notepad_size": 490496, "imports": ["USER32.dll"]}, failed)
    assert failed == {}
    assert row(rows, "CPU, window open, no key held")[1:] == ("2.00 ms/s", "notepad.exe 0.00 ms/s", "× —")
    assert row(rows, "Tastolink.exe on disk")[1:] == ("469 KiB", "notepad.exe 479 KiB", "USER32.dll")


def test_figures_that_cannot_be_figured_are_named_and_missing_ones_left_out():
    failed = {}
    rows = rows_of({"flood": [{"cpu": 35.0, "rss": 26000}], "idle_answers": [], "playback": [1, 2, 3]}, failed)
    assert failed == {"figuring flood, idle_answers": "IndexError: list index out of range"}
    assert [found[0] for found in rows] == [
        "Figure", "Playback, 100 presses 50 ms apart: error against the file's schedule, median / p95 of 3"]
