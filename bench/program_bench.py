"""Measures Tastolink.exe under Wine on this machine and prints one table; with --soak, holds
a key for a long time instead and reports how the program fares.

Every figure is a median over repeated runs and stands next to a floor measured in the same
run: Wine's own notepad.exe for start-up, CPU and memory; the timer period for the delay from
a key to the wire and for the repeat rate. docs/performance.md says how each one is taken,
docs/reliability.md what the soak checks. Run through scripts/bench, which installs and builds
first; the program, the phone, the prefix and the display come from tools/driver.
"""

import argparse
import contextlib
import json
import math
import os
import random
import re
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import psutil

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tools" / "driver"))
from tastolink_driver import (BUILD_DIR, PROGRAM, WINE, Display, Phone, Program, prepare_prefix,  # noqa: E402
                              wine_process, wine_server, write_settings)
from tastolink_driver.program import (CHOOSE_PORT_BUTTON, CLIENT_SIZE, FOCUS_FIELD, PORT_SELECTOR,  # noqa: E402
                                      STATUS_BAR_ID, keypad_button, selector)
from bench_table import median, rows_of, table  # noqa: E402

SCAN_BENCHMARK = BUILD_DIR / "host" / "bench" / "repeat_scan_bench"
TEXT_ENTRY_BENCHMARK = BUILD_DIR / "host" / "bench" / "text_entry_bench"
# The floor of the start-up: a class and one window of the main window's size (bench/bare_window.cpp).
# Always this checkout's, also when TASTOLINK_WINDOWS_BUILD_DIR names another program to measure.
BARE_WINDOW = BUILD_DIR / "windows" / "bench" / "bare-window.exe"
KEYPAD_5 = keypad_button(12)
ROW_OF_A = 5  # the measurements hold A, bound to the phone key 5
LINE_OF_A = b'AT+CKPD="5"\r\n'


def progress(text):
    print(f"   {time.strftime('%H:%M:%S')}  {text}", file=sys.stderr, flush=True)


class Session:
    """Tastolink.exe with A bound to row 5 and the given period, the phone on COM1 chosen as
    its port, and the focus in the field that takes the keys; with `answers`, the phone's
    answers switched on, with `events` the phone's events."""

    def __init__(self, display, period_ms, answers=False, phone_options=(), events=False):
        self.display, self.period_ms = display, period_ms
        self.folder = tempfile.TemporaryDirectory(prefix=f"tastolink-bench-{period_ms}-")
        folder = Path(self.folder.name)
        write_settings(folder / "work", {5: "A"}, period_ms=period_ms, answers=answers, events=events)
        self.phone = Phone(folder, "COM1", phone_options)
        self.log = self.phone.log
        self.program = Program(display, folder / "work", console=folder / "wine.out")
        self.process = self.program.host_process()
        self.program.focus()
        self.program.click(CHOOSE_PORT_BUTTON)
        self.program.click(KEYPAD_5)  # its line comes once the port is open
        self.log.wait_for_count(1)
        self.program.click(FOCUS_FIELD)

    def close(self):
        self.program.kill()
        self.phone.stop()
        self.folder.cleanup()

    @contextlib.contextmanager
    def holding(self, lines=None):
        """Holds A for the body of the `with` (and until `lines` lines have come); then waits
        until the lines have stopped. Yields a dict: `down`, the times around the key-down, and
        afterwards `stamps`, the phone's stamps of the held lines."""
        start = len(self.log)
        hold = {"down": self.display.key("a", True)}
        try:
            yield hold
            if lines:
                self.log.wait_for_count(start + lines)
        finally:
            self.display.key("a", False)
        quiet, count = time.monotonic(), len(self.log)
        while time.monotonic() - quiet < 2 * self.period_ms / 1000 + 0.05:
            time.sleep(0.01)
            if len(self.log) != count:
                quiet, count = time.monotonic(), len(self.log)
        hold["stamps"] = [line.ms for line in self.log.lines()[start:] if line.row == ROW_OF_A]


def watch(processes, seconds):
    """CPU ms per second of wall time and median resident memory (kB) of each process."""
    def sample():
        taken = []
        for process in processes:
            times = process.cpu_times()
            taken.append((time.monotonic(), (times.user + times.system) * 1000, process.memory_info().rss // 1024))
        return taken
    samples = [sample()]
    while samples[0][0][0] + seconds > time.monotonic():
        time.sleep(min(5, max(0, samples[0][0][0] + seconds - time.monotonic())))
        samples.append(sample())
    return [{"cpu": (samples[-1][i][1] - samples[0][i][1]) / (samples[-1][i][0] - samples[0][i][0]),
             "rss": median([taken[i][2] for taken in samples])} for i in range(len(processes))]


def tick_phase(stamps, period):
    """Where the timer's ticks fall modulo the period. Wine keeps a timer on the grid of the
    moment it was set; a line comes a little after its tick, never before, so the grid is the
    earliest position at most 3 ms before the most common one."""
    offsets = [stamp % period for stamp in stamps]
    common = statistics.mode(offsets)
    return (common + min(step for offset in offsets
                         if -3 <= (step := (offset - common + period / 2) % period - period / 2) <= 0)) % period


def key_to_wire(session, presses):
    """Presses A at distances before the next tick spread evenly over the period (shuffled),
    each for three lines: latency to the first line, the wait for the next tick, their difference."""
    period = session.period_ms
    with session.holding(lines=8) as warm_up:
        pass
    phase = tick_phase(warm_up["stamps"], period)
    distances = [(index + 0.5) / presses * period for index in range(presses)]
    random.Random(period).shuffle(distances)
    holds = []
    for distance in distances:
        earliest = time.monotonic() * 1000 + 5 + distance
        target = (phase + math.ceil((earliest - phase) / period) * period - distance) / 1000
        while (left := target - time.monotonic()) > 0:
            time.sleep(left - 0.002 if left > 0.003 else 0)
        with session.holding(lines=3) as hold:
            pass
        holds.append(hold)
    phase = tick_phase(warm_up["stamps"] + [stamp for hold in holds for stamp in hold["stamps"]], period)
    result = {"latency": [], "wait": [], "sync": []}
    for hold in holds:
        down = hold["down"][0] * 1000
        slot = phase + math.ceil((down - phase - 0.5) / period) * period
        result["latency"].append(hold["stamps"][0] + 0.5 - down)  # a stamp is a whole ms, cut down
        result["wait"].append(slot + 0.5 - down)
        result["sync"].append((hold["down"][1] - hold["down"][0]) * 1000)
    result["excess"] = [latency - wait for latency, wait in zip(result["latency"], result["wait"])]
    return result


def rates(stamps, slice_s=5.0):
    """Lines per second in consecutive slices of a hold, each from its first line to its last."""
    found, begin = [], stamps[0] if stamps else 0
    while piece := [stamp for stamp in stamps if begin <= stamp < begin + slice_s * 1000]:
        if len(piece) < 2 or piece[-1] - piece[0] < 0.9 * slice_s * 1000:
            break
        found.append((len(piece) - 1) * 1000 / (piece[-1] - piece[0]))
        begin += slice_s * 1000
    return found


def notepad():
    """By its path in the prefix, as Tastolink.exe: by its bare name wine would hand it to start.exe."""
    return Path(os.environ["WINEPREFIX"]) / "drive_c" / "windows" / "system32" / "notepad.exe"


def start_until_mapped(display, exe, folder, min_size, timeout=30):
    """(Popen, window, s from the start of `wine exe` to a window of it at least `min_size` mapped)."""
    display.watch_maps()
    start = time.monotonic()
    process = subprocess.Popen([WINE, str(exe)], cwd=folder, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        while (mapped := display.next_map(start + timeout)) is not None:
            for window in display.windows_of(process.pid):
                size = display.geometry(window)
                # A window manager maps the frame it has put the window in.
                shown = mapped[0].id in (window.id, window.query_tree().parent.id)
                if shown and size and size[2] >= min_size[0] and size[3] >= min_size[1]:
                    return process, window, mapped[1] - start
        raise TimeoutError(f"no window of {exe} was mapped within {timeout} s")
    except BaseException:
        process.kill()
        raise
    finally:
        display.stop_watching_maps()


def start_ups(display, runs):
    """Seconds to the main window mapped, and to the line of keypad 5 clicked together with
    "Выбрать" right then; and notepad's and the bare window's to their windows. With each, the CPU
    ms that the program had used a second after its window mapped. One start of each first, not
    counted, which also learns where the two controls lie in the window."""
    with tempfile.TemporaryDirectory(prefix="tastolink-bench-start-") as folder:
        write_settings(Path(folder), {5: "A"})
        phone = Phone(folder, "COM1")
        figures = {name: [] for name in ("mapped", "first_line", "notepad", "bare", "cpu", "notepad_cpu", "bare_cpu")}
        learned = Program(display, folder)
        x, y = display.geometry(learned.window)[:2]
        targets = [((left + right) // 2 - x, (top + bottom) // 2 - y)
                   for left, top, right, bottom in (learned.places[c] for c in (CHOOSE_PORT_BUTTON, KEYPAD_5))]
        learned.kill()
        try:
            for run in range(runs + 1):
                process, window, mapped = start_until_mapped(display, PROGRAM, folder, CLIENT_SIZE)
                start, before = time.monotonic() - mapped, len(phone.log)
                left, top = display.geometry(window)[:2]
                for dx, dy in targets:
                    display.click(left + dx, top + dy)
                phone.log.wait_for_count(before + 1)
                cpu = settled_cpu(process, start + mapped)
                floors = {name: start_and_kill(display, exe, folder) for name, exe in
                          (("notepad", notepad()), ("bare", BARE_WINDOW))}
                if run:
                    figures["mapped"].append(mapped)
                    figures["first_line"].append((phone.log.lines()[before].ms + 0.5) / 1000 - start)
                    figures["cpu"].append(cpu)
                    for name, (seconds, floor_cpu) in floors.items():
                        figures[name].append(seconds)
                        figures[f"{name}_cpu"].append(floor_cpu)
        finally:
            phone.stop()
    return figures


def settled_cpu(process, mapped_at, settle_s=1.0):
    """The CPU ms that `process` (a `wine` Popen, which became the program) has used by `settle_s`
    after its window mapped, when its start is over; the program is ended then. Unlike the time to
    the window, this hardly moves with what else the machine runs."""
    time.sleep(max(0.0, mapped_at + settle_s - time.monotonic()))
    times = psutil.Process(process.pid).cpu_times()
    process.kill()
    process.wait()
    return (times.user + times.system) * 1000


def start_and_kill(display, exe, folder):
    """Seconds from the start of `exe` to a window of it mapped, and its CPU ms by a second later."""
    start = time.monotonic()
    process, _, mapped = start_until_mapped(display, exe, folder, (100, 100))
    return mapped, settled_cpu(process, start + mapped)


def catalogue_of(size):
    """The delivered key names, repeated to `size` bytes or more."""
    names = (ROOT / "settings" / "Items.itm").read_bytes()
    return names * -(-size // len(names))


def drops(display, catalogue=None, repeats=5, selectors=20, dropped=43):
    """Seconds from F4 in selector `dropped` to its list mapped: the first drop after the start,
    then `repeats` more; and the program's memory (kB) before the first drop and after the lists of
    `selectors` selectors have dropped in turn. The port selector's are dropped with the ports
    watched, so that each drop looks them up."""
    with tempfile.TemporaryDirectory(prefix="tastolink-bench-drop-") as folder:
        work = Path(folder) / "work"
        write_settings(work, {5: "A"})
        if catalogue:
            (work / "Items.itm").write_bytes(catalogue)
        if dropped == PORT_SELECTOR:
            (work / "ports.ini").write_bytes(b"1\r\n")
        program = Program(display, work, timeout=120)
        try:
            process = wine_process(program.process, "Tastolink.exe")
            program.focus()
            program.click(selector(dropped))
            program.wait_for_report(lambda report: report.focus_id == 1001, "the field in the selector")
            memory = [process.memory_info().rss // 1024]
            times = []
            for _ in range(repeats + 1):
                display.watch_maps()
                start = time.monotonic()
                display.tap("F4")
                mapped = display.next_map(start + 60)
                display.stop_watching_maps()
                times.append(mapped[1] - start if mapped else math.nan)
                display.tap("Escape")
                program.wait_for_report(lambda report: report.dropped_list() is None, "the list to close")
            binding = [n for n in range(1, 54) if n != PORT_SELECTOR][:selectors]
            for number in binding:
                program.click(selector(number))
                display.tap("F4")
                program.wait_for_report(lambda report: report.dropped_list(), "a dropped list")
                display.tap("Escape")
            program.wait_for_report(lambda report: report.dropped_list() is None, "the list to close")
            memory.append(process.memory_info().rss // 1024)
            return {"first": times[0], "later": times[1:], "memory": memory, "selectors": len(binding),
                    "file": len(catalogue) if catalogue else 0}
        finally:
            program.kill()


def playback(lines=100, spacing_ms=50, runs=3):
    """How far each line of an unattended run comes from the file's schedule, counted from the
    first line at the phone: ms of every line after the first, over `runs` runs of the file."""
    errors = []
    with tempfile.TemporaryDirectory(prefix="tastolink-bench-play-") as folder:
        work = Path(folder) / "work"
        write_settings(work, {5: "A"})
        (work / "keys.txt").write_text("".join(f"{0 if n == 0 else spacing_ms} 5\r\n" for n in range(lines)))
        phone = Phone(folder, "COM1")
        try:
            for _ in range(runs):
                start = len(phone.log)
                subprocess.run([WINE, str(PROGRAM), "--port", "COM1", "--play", "keys.txt", "--exit"], cwd=work,
                               check=True, timeout=60, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                stamps = [line.ms for line in phone.log.lines()[start:]]
                errors += [abs(stamp - stamps[0] - n * spacing_ms) for n, stamp in enumerate(stamps) if n]
        finally:
            phone.stop()
    return errors


def phone_events(display, presses, seconds):
    """With the phone's events on: ms from each key pressed on the phone (the phone's stamp of its
    report) to the first drawing in the status bar after it, as X DAMAGE tells it the moment it
    comes (a probe then finds the bar showing the key); then the CPU and memory of the program while
    the phone floods the port with event lines."""
    figures = {"key_to_status": []}
    session = Session(display, 100, phone_options=["--events", "--ciev-every", "0"], events=True)
    try:
        program, log = session.program, session.log
        program.wait_for_report(lambda report: "События: клавиши, экран и индикаторы" in
                                report.control_text(STATUS_BAR_ID).split("\t"), "the events switched on")
        left, top, right, bottom = program.probe().places()[STATUS_BAR_ID]
        display.watch_drawing()
        for press in range(presses):
            key = "123456789"[press % 9]  # each unlike the last, so that the bar changes
            start = len(log.events())
            session.phone.press(key)
            drawn, until = [], time.monotonic() + 0.5
            while (area := display.next_drawing(until)) is not None:
                if area[0] < right and area[0] + area[2] > left and area[1] < bottom and area[1] + area[3] > top:
                    drawn.append(area[4] * 1000)
            stamp = log.wait_for_event(start, b"+CKEV: ").ms
            figures["key_to_status"].append(min((at for at in drawn if at >= stamp), default=math.inf) - stamp)
            program.wait_for_report(lambda report: f"На телефоне: {key}" in
                                    report.control_text(STATUS_BAR_ID).split("\t"), f"the phone's {key} shown")
        display.stop_watching_drawing()
    finally:
        session.close()
    session = Session(display, 100, phone_options=["--events", "--flood-events"], events=True)
    try:
        figures["flood"] = watch([session.process, wine_server()], seconds)
    finally:
        session.close()
    return figures


# The message of text_entry_bench.cpp, 160 characters, and the profiles it plans it with there, as
# phones.ini gives them to the program: (its benchmark, the profile, the phone's options, what the
# phone's screen should end with; by multi-tap the phone writes its letters in lower case).
MESSAGE = ("Привет, мама! Доехал хорошо, поезд пришёл вовремя, соседи были тихие. Завтра позвоню после "
           "работы, ввод данных закончу к вечеру. Целую, твой сын. До встречи, па")
TYPINGS = [("MultitapWithWait", "Обычный", ["--layout", "russian"], MESSAGE.lower()),
           ("MultitapWithNextKey", "Next", ["--layout", "russian", "--next-key", ">"], MESSAGE.lower()),
           ("AlphaEntries", "Alpha", [], MESSAGE)]
TYPING_PROFILES = """[Next]
base = 3GPP TS 27.007
next = >
[Alpha]
base = 3GPP TS 27.007
text = alpha
alpha_charset = UCS2
prepare = AT+CSCS="UCS2"
"""


def typing():
    """The message typed unattended in each way: s from its first keypad line at the phone to its
    last, against the floor of its plan (the pauses the phone needs added up, as text_entry_bench
    reports them), and the characters the phone's screen got wrong, of the message's `characters`."""
    planned = subprocess.run([str(TEXT_ENTRY_BENCHMARK), "--benchmark_format=json", "--benchmark_min_time=0.01"],
                             capture_output=True, text=True, check=True).stdout
    floors = {entry["run_name"]: entry["floor_s"] for entry in json.loads(planned)["benchmarks"]}
    figures = {}
    with tempfile.TemporaryDirectory(prefix="tastolink-bench-type-") as folder:
        work = Path(folder) / "work"
        write_settings(work, {5: "A"})
        (work / "phones.ini").write_text(TYPING_PROFILES, encoding="utf-8")
        for name, profile, options, expected in TYPINGS:
            with Phone(folder, "COM1", options, name=name) as phone:
                subprocess.run([WINE, str(PROGRAM), "--port", "COM1", "--type", MESSAGE, "--profile", profile, "--exit"],
                               cwd=work, check=True, timeout=600, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                stamps = [line.ms for line in phone.log.lines() if line.data.startswith(b"AT+CKPD")]
                with contextlib.suppress(TimeoutError):  # the last line may still be on its way to the screen
                    phone.wait_for_text(expected, timeout=5)
                text = phone.text()
            wrong = sum(got != wanted for got, wanted in zip(text, expected)) + abs(len(text) - len(expected))
            figures[name] = {"s": (stamps[-1] - stamps[0]) / 1000, "floor_s": floors[name], "wrong": wrong,
                             "characters": len(MESSAGE)}
    return figures


def identification(runs=5):
    """Seconds from the start of `--identify` to its end, asking the virtual phone on COM1; and the
    same start on a port that does not open, which is Wine's start and end of the program alone."""
    figures = {"phone": [], "no_port": []}
    with tempfile.TemporaryDirectory(prefix="tastolink-bench-identify-") as folder:
        work = Path(folder) / "work"
        write_settings(work)
        phone = Phone(folder, "COM1")
        try:
            for run in range(runs + 1):  # the first of each not counted
                for name, port in (("phone", "COM1"), ("no_port", "COM9")):
                    start = time.monotonic()
                    subprocess.run([WINE, str(PROGRAM), "--port", port, "--identify"], cwd=work, timeout=60,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                    if run:
                        figures[name].append(time.monotonic() - start)
        finally:
            phone.stop()
    return figures


def notepad_cpu(display, server, seconds):
    with tempfile.TemporaryDirectory(prefix="tastolink-bench-notepad-") as folder:
        process, window, _ = start_until_mapped(display, notepad(), folder, (100, 100))
        try:
            idle = watch([wine_process(process, "notepad.exe"), server], seconds)
            display.focus(window)
            display.auto_repeat(True)
            display.key("a", True)
            try:
                held = watch([wine_process(process, "notepad.exe"), server], seconds)
            finally:
                display.key("a", False)
                display.auto_repeat(False)
            return idle, held
        finally:
            process.kill()
            process.wait()


class Measurements:
    """Runs each measurement on its own: one that fails is named in `failed` with its reason, and the
    others go on. Each writes its figures into `figures` as it takes them."""

    def __init__(self, display, options):
        self.display, self.options = display, options
        self.figures, self.failed = {}, {}
        self.server = wine_server()

    def run(self, name, measure):
        progress(name)
        try:
            measure()
        except Exception as error:  # noqa: BLE001 - one measurement's fault leaves the others standing
            self.failed[name] = f"{type(error).__name__}: {error}"
            progress(f"FAILED: {name}: {self.failed[name]}")

    def size(self):
        f = self.figures
        f.update(exe_size=PROGRAM.stat().st_size, notepad_size=notepad().stat().st_size)
        # objdump's own words, which the pinned Russian locale would translate.
        objdump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", str(PROGRAM)], capture_output=True,
                                 text=True, check=True, env=dict(os.environ, LC_ALL="C"))
        f["imports"] = re.findall(r"DLL Name: (\S+)", objdump.stdout)

    def scan(self):
        scan = subprocess.run([str(SCAN_BENCHMARK), "--benchmark_format=json", "--benchmark_min_time=0.2",
                               f"--benchmark_repetitions={self.options.scan_repetitions}"],
                              capture_output=True, text=True, check=True).stdout
        found = {}
        for entry in json.loads(scan)["benchmarks"]:
            if entry["run_type"] == "iteration":
                scale = {"ns": 1, "us": 1e3, "ms": 1e6}[entry["time_unit"]]
                found.setdefault(entry["run_name"], []).append(entry["real_time"] * scale)
        self.figures["scan"] = found

    def start(self):
        self.figures["start"] = start_ups(self.display, self.options.start_ups)

    def at_100_ms(self):
        f, server = self.figures, self.server
        session = Session(self.display, 100)
        try:
            f.setdefault("wire", {})[100] = key_to_wire(session, self.options.presses)
            f["idle"] = watch([session.process, server], self.options.watch)
            with session.holding() as hold:
                f["held"] = watch([session.process, server], self.options.watch)
            f.setdefault("rates", {})[100] = rates(hold["stamps"])
            f.setdefault("held_cpu", {})[100] = f["held"][0]["cpu"]
            self.display.auto_repeat(True)
            with session.holding():
                f["repeating"] = watch([session.process, server], self.options.watch)
        finally:
            self.display.auto_repeat(False)
            session.close()

    def answers(self):
        session = Session(self.display, 100, answers=True)
        try:
            self.figures["wire_answers"] = key_to_wire(session, self.options.presses)
            self.figures["idle_answers"] = watch([session.process, self.server], self.options.watch)
        finally:
            session.close()

    def flood(self):
        session = Session(self.display, 100, answers=True, phone_options=["--flood"])
        try:
            self.figures["flood"] = watch([session.process, self.server], self.options.watch)
        finally:
            session.close()

    def repeat_rate(self, period):
        session = Session(self.display, period)
        try:
            if period == 20:
                self.figures.setdefault("wire", {})[20] = key_to_wire(session, self.options.presses)
            with session.holding() as hold:
                cpu = watch([session.process], self.options.hold)[0]["cpu"]
            self.figures.setdefault("held_cpu", {})[period] = cpu
            self.figures.setdefault("rates", {})[period] = rates(hold["stamps"])
        finally:
            session.close()

    def drop(self, name, **arguments):
        self.figures.setdefault("drops", {})[name] = drops(self.display, **arguments)

    def phone_events(self):
        self.figures["events"] = phone_events(self.display, self.options.presses, self.options.watch)

    def playback(self):
        self.figures["playback"] = playback()

    def typing(self):
        self.figures["typing"] = typing()

    def identification(self):
        self.figures["identify"] = identification()

    def notepad_cpu(self):
        self.figures["notepad_idle"], self.figures["notepad_held"] = notepad_cpu(self.display, self.server,
                                                                                 self.options.watch)


def plan(bench, only):
    """(name, measurement) in the order they run; `only` keeps one part."""
    o = bench.options
    drops_part = [(f"dropping a selector's list, {name}", lambda name=name, arguments=arguments: bench.drop(
        name, **arguments)) for name, arguments in (
        ("delivered", {}), ("1 MB", {"catalogue": catalogue_of(1_000_000)}),
        ("10 MB", {"catalogue": catalogue_of(10_000_000)}),
        ("port selector's, ports watched,", {"dropped": PORT_SELECTOR, "selectors": 0}))]
    start_part = [(f"start-up: {o.start_ups} starts of Tastolink.exe, notepad.exe and the bare window", bench.start)]
    rate_part = [(f"the repeat rate and CPU at {period} ms, {o.hold:.0f} s", lambda period=period:
                  bench.repeat_rate(period)) for period in (50, 20, 10)]
    answers_part = [(f"key to wire at 100 ms and CPU idle with the phone's answers on, {o.watch:.0f} s", bench.answers)]
    flood_part = [(f"CPU and memory while the phone floods, its answers on, {o.watch:.0f} s", bench.flood)]
    events_part = [(f"a key on the phone to the status bar, {o.presses} times; an event flood, {o.watch:.0f} s",
                    bench.phone_events)]
    playback_part = [("playing a file of 100 presses 50 ms apart, unattended, three times", bench.playback)]
    typing_part = [(f"typing a message of {len(MESSAGE)} characters unattended, by multi-tap twice and by alpha "
                    "entries", bench.typing)]
    identify_part = [("identifying the phone from the command line, five times", bench.identification)]
    if only == "drops":
        return drops_part
    if only == "playback":
        return playback_part
    if only == "start":
        return start_part + rate_part[-1:]
    if only == "flood":
        return answers_part + flood_part
    if only == "events":
        return events_part
    if only == "typing":
        return typing_part
    if only == "identify":
        return identify_part
    return ([("size and imports", bench.size), ("the repeat scan on the host (Google Benchmark)", bench.scan)]
            + start_part
            + [(f"key to wire at 100 ms; CPU idle, A held, A auto-repeated, {o.watch:.0f} s each", bench.at_100_ms)]
            + answers_part + flood_part + events_part + rate_part + drops_part + playback_part + typing_part
            + identify_part
            + [(f"notepad.exe idle, then with a key held and auto-repeated, {o.watch:.0f} s each", bench.notepad_cpu)])


def soak(display, seconds, answers=False, period_ms=10, every_s=30):
    """Holds A at `period_ms` for `seconds` (with `answers`, the phone's answers on and the phone
    answering OK): every line must be whole, no box may show, and the program's memory, open
    descriptors and threads are printed as it goes. Returns the exit status."""
    session = Session(display, period_ms, answers=answers)
    samples, faults = [], []

    def sample(label):
        lines = session.log.lines()
        samples.append((time.monotonic(), len(lines), session.process.memory_info().rss // 1024,
                        session.process.num_fds(), session.process.num_threads()))
        print(f"{label:>9}  {samples[-1][1]:8d} lines  RSS {samples[-1][2]:7d} kB  {samples[-1][3]:3d} descriptors  "
              f"{samples[-1][4]:2d} threads", flush=True)
    try:
        with session.holding():
            session.log.wait_for_count(500, timeout=60)  # the heap has grown to its working size
            sample("settled")
            while (left := samples[0][0] + seconds - time.monotonic()) > 0:
                time.sleep(min(every_s, left))
                if session.program.boxes():
                    faults.append(f"a box showed: {session.program.probe().box_texts()}")
                    break
                sample(f"{(time.monotonic() - samples[0][0]) / 60:.1f} min")
        faults += [f"line {n} is {line.data!r}" for n, line in enumerate(session.log.lines())
                   if line.data != LINE_OF_A][:5]
        if answers:
            status = session.program.probe().control_text(STATUS_BAR_ID)
            print("status bar at the end:", " | ".join(status.split("\t")))
    finally:
        session.close()
    first, last = samples[0], samples[-1]
    rate = (last[1] - first[1]) / (last[0] - first[0]) if last[0] > first[0] else 0
    print(f"{last[1]} lines, {rate:.1f} a second (a tick every {1000 / rate if rate else math.inf:.1f} ms); "
          f"RSS {first[2]} -> {last[2]} kB, peak {max(s[2] for s in samples)} kB; descriptors {first[3]} -> {last[3]}; "
          f"threads {first[4]} -> {last[4]}")
    for fault in faults:
        print("FAULT:", fault)
    return 1 if faults else 0


def duration(text):
    number, unit = re.fullmatch(r"(\d+(?:\.\d+)?)([smh]?)", text).groups()
    return float(number) * {"": 1, "s": 1, "m": 60, "h": 3600}[unit]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--soak", type=duration, metavar="TIME", help="hold A at 10 ms for TIME (10m, 90s) instead")
    parser.add_argument("--answers", action="store_true", help="with --soak: the phone's answers on")
    parser.add_argument("--start-ups", type=int, default=6, help="starts of each program (6)")
    parser.add_argument("--presses", type=int, default=50,
                        help="key presses at each of 100 and 20 ms, and on the phone with its events on (50)")
    parser.add_argument("--watch", type=float, default=30, help="seconds of each CPU watch (30)")
    parser.add_argument("--hold", type=float, default=15, help="seconds A is held at 50, 20 and 10 ms (15)")
    parser.add_argument("--scan-repetitions", type=int, default=5, help="repetitions of each scan benchmark (5)")
    parser.add_argument("--json", type=Path, help="write every measurement here as well")
    parser.add_argument("--only", choices=["drops", "events", "flood", "identify", "playback", "start", "typing"],
                        help="measure only this part: start is the start-up and the CPU with A held at 10 ms; "
                             "flood the CPU while the phone floods, beside the same phone quiet; events a key "
                             "pressed on the phone to the status bar and the CPU while the phone floods event "
                             "lines; typing a message typed three ways; identify --identify from start to exit, "
                             "beside a port that does not open")
    options = parser.parse_args()
    began = time.monotonic()
    display = Display()
    prepare_prefix()
    # Xvfb repeats a held key as a keyboard does; off except where that is what is measured.
    display.auto_repeat(False)
    try:
        if options.soak:
            sys.exit(soak(display, options.soak, options.answers))
        bench = Measurements(display, options)
        for name, measure in plan(bench, options.only):
            bench.run(name, measure)
    finally:
        display.auto_repeat(True)
        display.close()
    figures, failed = bench.figures, bench.failed
    print(table(rows_of(figures, failed)))
    sync = [value for wire in figures.get("wire", {}).values() for value in wire["sync"]]
    if sync:
        print(f"\nXSync around a key-down: median {median(sync):.2f} ms.")
    for name, why in failed.items():
        print(f"FAILED: {name}: {why}")
    print(f"Measured in {time.monotonic() - began:.0f} s.")
    if options.json:
        options.json.parent.mkdir(parents=True, exist_ok=True)
        options.json.write_text(json.dumps({**figures, "failed": failed}, indent=1))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
