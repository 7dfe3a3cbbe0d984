"""Measures Tastolink.exe under Wine on this machine and prints one table.

Every figure is a median over repeated runs and stands next to a floor measured in the
same run: Wine's own notepad.exe for start-up, idle CPU and memory; the timer period
for the delay from a key to the wire and for the repeat rate. docs/performance.md says
how each one is taken and what it means.

Run through scripts/bench, which installs, builds, starts a private X display and the
Wine prefix and sets the paths; the program is driven like a user would, through X, with
the virtual phone on COM1 (tests/e2e/harness.py).
"""

import argparse
import collections
import contextlib
import itertools
import json
import math
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
sys.path.insert(0, str(ROOT / "bench"))

import harness  # noqa: E402
from x_display import XDisplay  # noqa: E402

BUILD_DIR = Path(os.environ.get("TASTOLINK_BUILD_DIR", ROOT / "build"))
SCAN_BENCHMARK = BUILD_DIR / "host" / "bench" / "repeat_scan_bench"
OBJDUMP = "x86_64-w64-mingw32-objdump"

PROGRAM_NAME = "Tastolink.exe"

# The key that the measurements hold: A, bound to the phone key 5 (row 5, ComboBox5).
HELD_KEY_NAME, HELD_X_KEY, HELD_ROW, HELD_SELECTOR = "A", "a", 5, 5
KEYPAD_5 = harness.keypad_button(72, 184)
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


# --- statistics


def median(values):
    return statistics.median(values) if values else math.nan


def percentile(values, fraction):
    """Nearest-rank percentile: the smallest value with at least `fraction` of them at or below it."""
    if not values:
        return math.nan
    ordered = sorted(values)
    return ordered[max(0, math.ceil(fraction * len(ordered)) - 1)]


# --- processes


def wine_process_of(pid, exe_name, timeout=10):
    """The pid of the process running `exe_name` for the `wine` command started as `pid`.

    Wine's loader keeps the pid it was started with for a program given by its path, and
    names the process after the program; check that rather than take it for granted."""
    def found():
        for candidate in [pid] + _children(pid):
            if exe_name.lower() in _command_line(candidate).lower():
                return candidate
        return None
    return harness.wait_until(found, timeout, f"the Wine process of {exe_name}")


def _children(pid):
    try:
        with open(f"/proc/{pid}/task/{pid}/children") as file:
            return [int(child) for child in file.read().split()]
    except OSError:
        return []


def _command_line(pid):
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as file:
            return file.read().replace(b"\0", b" ").decode(errors="replace")
    except OSError:
        return ""


def wine_server_pid():
    """The wineserver of our prefix: its working directory is named after the prefix's device and inode."""
    info = os.stat(os.environ["WINEPREFIX"])
    suffix = f"server-{info.st_dev:x}-{info.st_ino:x}"
    for entry in Path("/proc").iterdir():
        if entry.name.isdigit():
            try:
                if os.readlink(entry / "cwd").endswith(suffix) and "wineserver" in _command_line(int(entry.name)):
                    return int(entry.name)
            except OSError:
                continue
    return None


@dataclass
class CpuSample:
    at: float           # monotonic s
    run_ns: int         # time on a CPU of all live threads, from schedstat
    ticks: int          # utime + stime, in clock ticks
    rss_kib: int


def cpu_sample(pid):
    run_ns = 0
    for task in Path(f"/proc/{pid}/task").iterdir():
        try:
            run_ns += int((task / "schedstat").read_text().split()[0])
        except (OSError, IndexError, ValueError):
            pass
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    ticks = int(fields[11]) + int(fields[12])  # utime and stime, fields 14 and 15 of stat
    rss = next(int(line.split()[1]) for line in Path(f"/proc/{pid}/status").read_text().splitlines()
               if line.startswith("VmRSS:"))
    return CpuSample(time.monotonic(), run_ns, ticks, rss)


def watch_cpu(pids, seconds, window_s=5.0):
    """Samples each process every `window_s` for `seconds`: a list of CpuSample per pid, in
    the order given (None for a pid that is None)."""
    samples = [[cpu_sample(pid)] if pid else None for pid in pids]
    start = time.monotonic()
    for window in range(1, round(seconds / window_s) + 1):
        time.sleep(max(0.0, start + window * window_s - time.monotonic()))
        for pid, taken in zip(pids, samples):
            if pid:
                taken.append(cpu_sample(pid))
    return samples


@dataclass
class CpuFigures:
    ms_per_s: float     # median over the windows, from schedstat
    ticks_ms: float     # utime + stime over the whole watch, in ms
    seconds: float
    rss_kib: float      # median VmRSS


def cpu_figures(samples):
    """CPU ms per second (median over the windows), utime+stime and VmRSS of one watch."""
    if samples is None:
        return None
    rates = [(b.run_ns - a.run_ns) / 1e6 / (b.at - a.at) for a, b in zip(samples, samples[1:])]
    return CpuFigures(median(rates), (samples[-1].ticks - samples[0].ticks) * 1000 / CLOCK_TICKS,
                      samples[-1].at - samples[0].at, median([sample.rss_kib for sample in samples]))


# --- the phone's log


class PhoneLog:
    """Reads the virtual phone's log as it grows: (monotonic ms, row) per line received."""

    def __init__(self, path):
        self.path = Path(path)
        self.offset = 0
        self.partial = ""
        self.lines = []

    def poll(self):
        """Every line so far; reads what was added since the last call."""
        if self.path.exists():
            with open(self.path, "rb") as file:
                file.seek(self.offset)
                text = self.partial + file.read().decode("ascii")
                self.offset = file.tell()
            complete, _, self.partial = text.rpartition("\n")
            for line in complete.splitlines():
                stamp, _, row = line.split(" ")
                self.lines.append((int(stamp), None if row == "-" else int(row)))
        return self.lines

    def wait_for(self, count, timeout, what="lines at the phone"):
        return harness.wait_until(lambda: len(self.poll()) >= count, timeout, f"{count} {what}", interval=0.005)

    def quiet_for(self, seconds, timeout=10):
        """Waits until no line has come for `seconds`."""
        deadline = time.monotonic() + timeout
        count, since = len(self.poll()), time.monotonic()
        while time.monotonic() < deadline:
            time.sleep(0.01)
            if len(self.poll()) != count:
                count, since = len(self.lines), time.monotonic()
            elif time.monotonic() - since >= seconds:
                return
        raise AssertionError("the phone kept receiving lines after the key was released")


def phone_ms(stamp):
    """The phone stamps whole milliseconds, cut down: the middle of that millisecond."""
    return stamp + 0.5


# --- a running program


@dataclass
class Hold:
    down: tuple         # monotonic s just before the key-down left and once X had it
    lines: list = None  # the phone's stamps of the lines of row 5, once the key is up


class Session:
    """Tastolink.exe with A bound to the phone key 5, the repeat period from interval.int,
    the virtual phone chosen as its port and the focus in the field that takes the keys."""

    def __init__(self, x, period_ms):
        self.x = x
        self.period_ms = period_ms
        self.directory = Path(tempfile.mkdtemp(prefix=f"tastolink-bench-{period_ms}-"))
        harness.Settings(combo_boxes={HELD_SELECTOR: HELD_KEY_NAME}, interval_ms=period_ms).write(self.directory)
        self.phone = harness.VirtualPhone(self.directory, "COM1")
        self.log = PhoneLog(self.phone.log)
        self.program = harness.Program(self.directory)
        self.pid = wine_process_of(self.program.process.pid, PROGRAM_NAME)
        self.program.focus()
        self.program.click(harness.CHOOSE_PORT_BUTTON)
        self.program.click(KEYPAD_5)  # a barrier: its line comes once the port is open
        self.log.wait_for(1, 10, "line of the keypad button")
        self.program.click(harness.FOCUS_FIELD)

    def close(self):
        self.program.kill()
        self.phone.stop()
        shutil.rmtree(self.directory, ignore_errors=True)

    @contextlib.contextmanager
    def holding(self, x_key=HELD_X_KEY, until_lines=None, timeout=10):
        """Holds `x_key` for the body of the `with` (or until `until_lines` lines have come),
        then waits until the lines have stopped and fills in the Hold's lines."""
        code = self.x.keycode(x_key)
        start = len(self.log.poll())
        hold = Hold(self.x.key(code, True))
        try:
            yield hold
            if until_lines:
                self.log.wait_for(start + until_lines, timeout)
        finally:
            self.x.key(code, False)
        self.log.quiet_for(2 * self.period_ms / 1000 + 0.05)
        hold.lines = [stamp for stamp, row in self.log.lines[start:] if row == HELD_ROW]


# --- key to wire


def tick_phase(stamps, period):
    """Where the phone's stamps fall on the grid of the period, in ms modulo the period.

    Wine keeps a timer's ticks on the grid of the moment it was set, skipping ticks that
    came due while the thread was busy. A line comes a little after its tick, sometimes
    much later, never earlier: the grid is the earliest position at most a few ms before
    the most common one (a stamp further before it is one that came most of a period late)."""
    offsets = [stamp % period for stamp in stamps]
    counts = collections.Counter(offsets)
    common = max(counts, key=counts.get)
    before = [(offset - common + period / 2) % period - period / 2 for offset in offsets]
    return (common + min(step for step in before if -3 <= step <= 0)) % period


@dataclass
class KeyToWire:
    period: int
    latencies: list     # ms from key-down to the first line
    waits: list         # ms from key-down to the line slot of the next tick
    round_trips: list   # ms that XSync took around the key-down
    grid_lateness: list  # ms by which each held line came after its slot on the grid

    @property
    def excesses(self):
        return [latency - wait for latency, wait in zip(self.latencies, self.waits)]

    @property
    def missed(self):
        """Presses whose first line came a tick after the next one: the key was too late for it."""
        return sum(excess > self.period / 2 for excess in self.excesses)

    @property
    def early(self):
        """Presses whose first line came before the next tick's slot: a late tick took the key along."""
        return sum(excess < -self.period / 2 for excess in self.excesses)


def key_to_wire(session, presses):
    """Presses A `presses` times, at distances before the next tick's slot spread evenly
    over the period, and holds it each time for three lines."""
    period = session.period_ms
    with session.holding(until_lines=8) as warm_up:
        pass
    phase = tick_phase(warm_up.lines, period)
    held_lines = list(warm_up.lines)
    distances = [(index + 0.5) / presses * period for index in range(presses)]
    random.Random(period).shuffle(distances)
    holds = []
    for distance in distances:
        earliest = time.monotonic() * 1000 + 5 + distance
        slot = phase + math.ceil((earliest - phase) / period) * period
        target = (slot - distance) / 1000
        while (left := target - time.monotonic()) > 0:
            time.sleep(left - 0.002 if left > 0.003 else 0)
        with session.holding(until_lines=3) as hold:
            pass
        holds.append(hold)
        held_lines += hold.lines
    # One timer throughout: its grid from every held line of the run.
    phase = tick_phase(held_lines, period)
    result = KeyToWire(period, [], [], [], [(stamp - phase) % period for stamp in held_lines])
    for hold in holds:
        down_ms = hold.down[0] * 1000
        slot = phase + math.ceil((down_ms - phase - 0.5) / period) * period
        result.latencies.append(phone_ms(hold.lines[0]) - down_ms)
        result.waits.append(phone_ms(slot) - down_ms)
        result.round_trips.append((hold.down[1] - hold.down[0]) * 1000)
    return result


def rates_in_slices(stamps, slice_s=5.0):
    """Lines per second in consecutive `slice_s` slices of a hold, each from its first line to its last."""
    rates = []
    for index in itertools.count():
        begin = stamps[0] + index * slice_s * 1000
        piece = [stamp for stamp in stamps if begin <= stamp < begin + slice_s * 1000]
        if len(piece) < 2 or piece[-1] - piece[0] < 0.9 * slice_s * 1000:
            return rates
        rates.append((len(piece) - 1) * 1000 / (piece[-1] - piece[0]))


# --- start-up


@dataclass
class StartUp:
    mapped_s: float                  # from the start of `wine` to the main window mapped
    first_line_s: float | None = None  # from the start to the line of the first click at the phone


def start_until_mapped(x, exe, cwd, min_size, timeout=30):
    """Starts `wine exe` and waits for a window of that process, at least `min_size`, to be
    mapped; returns (Popen, window, seconds from the start to the mapping)."""
    x.watch_maps()
    start = time.monotonic()
    process = subprocess.Popen([harness.WINE, str(exe)], cwd=cwd, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    while (mapped := x.next_map(start + timeout)) is not None:
        window, at = mapped
        geometry = x.geometry(window)
        if (x.window_pid(window) == process.pid and geometry
                and geometry[2] >= min_size[0] and geometry[3] >= min_size[1]):
            x.stop_watching_maps()
            return process, window, at - start
    stop(process)
    raise AssertionError(f"no window of {exe} was mapped within {timeout} s")


def stop(process):
    process.kill()
    process.wait()


def start_up_tastolink(x, directory, log):
    """The start to the main window mapped; and to the line of keypad button 5, clicked
    together with "Выбрать" the moment the window is mapped."""
    process, window, mapped_s = start_until_mapped(x, harness.PROGRAM, directory, harness.CLIENT_SIZE)
    start = time.monotonic() - mapped_s
    try:
        before = len(log.poll())
        left, top, width, height = x.geometry(window)
        # Without a window manager Wine's X window is the client area, the menu bar above it
        # and equal borders around both (as tests/e2e/harness.py finds the client area).
        border = (width - harness.CLIENT_SIZE[0]) // 2
        origin = (left + border, top + height - harness.CLIENT_SIZE[1] - border)
        for point in (harness.CHOOSE_PORT_BUTTON, KEYPAD_5):
            x.click(origin[0] + point[0], origin[1] + point[1])
        try:
            log.wait_for(before + 1, 10)
            return StartUp(mapped_s, phone_ms(log.lines[before][0]) / 1000 - start)
        except AssertionError:
            return StartUp(mapped_s)
    finally:
        stop(process)


def notepad():
    """Wine's own notepad.exe, started by its path in the prefix like Tastolink.exe: by its
    bare name `wine` would hand it to start.exe, a process of its own."""
    return Path(os.environ["WINEPREFIX"]) / "drive_c" / "windows" / "system32" / "notepad.exe"


def start_up_notepad(x, directory):
    process, _, mapped_s = start_until_mapped(x, notepad(), directory, (100, 100))
    stop(process)
    return StartUp(mapped_s)


def start_ups(x, runs):
    """`runs` starts of each program, taking turns; one start of each first, not counted,
    since the first start after the prefix's services loads more from disk."""
    directory = Path(tempfile.mkdtemp(prefix="tastolink-bench-start-"))
    harness.Settings(combo_boxes={HELD_SELECTOR: HELD_KEY_NAME}).write(directory)
    phone = harness.VirtualPhone(directory, "COM1")
    log = PhoneLog(phone.log)
    try:
        start_up_tastolink(x, directory, log)
        start_up_notepad(x, directory)
        tastolink_runs, notepad_runs = [], []
        for _ in range(runs):
            tastolink_runs.append(start_up_tastolink(x, directory, log))
            notepad_runs.append(start_up_notepad(x, directory))
        return tastolink_runs, notepad_runs
    finally:
        phone.stop()
        shutil.rmtree(directory, ignore_errors=True)


# --- footprint and the scan


def dll_imports(exe):
    output = subprocess.run([OBJDUMP, "-p", str(exe)], capture_output=True, text=True, check=True).stdout
    return [line.split("DLL Name:")[1].strip() for line in output.splitlines() if "DLL Name:" in line]


def scan_benchmark(repetitions):
    """{benchmark: (median ns per tick, presses per tick)}."""
    output = subprocess.run([str(SCAN_BENCHMARK), "--benchmark_format=json", "--benchmark_min_time=0.2",
                             f"--benchmark_repetitions={repetitions}", "--benchmark_report_aggregates_only=true"],
                            capture_output=True, text=True, check=True).stdout
    figures = {}
    for entry in json.loads(output)["benchmarks"]:
        # With one repetition there are no aggregates, only the run itself.
        if entry.get("aggregate_name") == "median" or (repetitions == 1 and entry["run_type"] == "iteration"):
            scale = {"ns": 1, "us": 1e3, "ms": 1e6}[entry["time_unit"]]
            figures[entry["run_name"]] = (entry["real_time"] * scale, entry.get("presses/tick", math.nan))
    return figures


SCAN_CASES = [("NoKeyHeld", "no key held"), ("OneKeyBoundInEveryRow", "A held, bound in every row"),
              ("AllKeysHeldNoneBound", "all 58 held, none bound"),
              ("AllKeysHeldOneBoundInEveryRow", "all 58 held, Z bound in every row")]


# --- the whole run


def measure(options):
    figures = {}
    progress("the repeat scan on the host (Google Benchmark)")
    figures["scan"] = scan_benchmark(options.scan_repetitions)
    figures["exe_size"] = harness.PROGRAM.stat().st_size
    figures["imports"] = dll_imports(harness.PROGRAM)
    figures["notepad_size"] = notepad().stat().st_size

    prepare_wine()
    server = wine_server_pid()
    x = XDisplay()
    # Xvfb repeats a held key 25 times a second, as a keyboard does, and Wine turns each
    # repeat into a WM_KEYDOWN and a character in the focused field. That is measured on
    # its own; everywhere else a held key is one key-down, so that the figures are the
    # program's repeat alone.
    x.auto_repeat(False)
    try:
        progress(f"start-up: {options.start_ups} starts of Tastolink.exe and of notepad.exe")
        figures["start_ups"], figures["notepad_start_ups"] = start_ups(x, options.start_ups)

        progress(f"key to wire at 100 ms; CPU with no key held, A held, A held and auto-repeated, "
                 f"{options.watch:.0f} s each")
        session = Session(x, 100)
        try:
            figures["wire"] = {100: key_to_wire(session, options.presses)}
            figures["idle"] = watch_cpu([session.pid, server], options.watch)
            with session.holding() as hold:
                figures["held"] = watch_cpu([session.pid, server], options.watch)
            figures["rates"] = {100: rates_in_slices(hold.lines)}
            figures["held_at"] = {100: figures["held"]}
            x.auto_repeat(True)
            with session.holding():
                figures["held_repeating"] = watch_cpu([session.pid, server], options.watch)
            x.auto_repeat(False)
        finally:
            session.close()

        progress(f"key to wire at 20 ms; the repeat rate at 50, 20 and 10 ms, {options.hold:.0f} s each")
        for period in (20, 50, 10):
            session = Session(x, period)
            try:
                if period == 20:
                    figures["wire"][period] = key_to_wire(session, options.presses)
                with session.holding() as hold:
                    figures["held_at"][period] = watch_cpu([session.pid], options.hold)
                figures["rates"][period] = rates_in_slices(hold.lines)
            finally:
                session.close()

        progress(f"notepad.exe idle, then with a key held and auto-repeated, {options.watch:.0f} s each")
        figures["notepad_idle"], figures["notepad_held"] = notepad_cpu(x, server, options.watch)
    finally:
        x.auto_repeat(True)
        x.close()
    return figures


def notepad_cpu(x, server, seconds):
    directory = Path(tempfile.mkdtemp(prefix="tastolink-bench-notepad-"))
    process, window, _ = start_until_mapped(x, notepad(), directory, (100, 100))
    try:
        pids = [wine_process_of(process.pid, "notepad.exe"), server]
        idle = watch_cpu(pids, seconds)
        x.focus(window)
        code = x.keycode(HELD_X_KEY)
        x.auto_repeat(True)
        x.key(code, True)
        try:
            held = watch_cpu(pids, seconds)
        finally:
            x.key(code, False)
            x.auto_repeat(False)
        return idle, held
    finally:
        stop(process)
        shutil.rmtree(directory, ignore_errors=True)


# --- the table


def ms(value, digits=1):
    return "—" if value is None or math.isnan(value) else f"{value:.{digits}f} ms"


def rows_of(figures):
    rows = [("Figure", "Tastolink", "Floor", "Against the floor")]

    runs, notepad_runs = figures["start_ups"], figures["notepad_start_ups"]
    mapped = median([run.mapped_s * 1000 for run in runs])
    notepad_mapped = median([run.mapped_s * 1000 for run in notepad_runs])
    first_lines = [run.first_line_s * 1000 for run in runs if run.first_line_s is not None]
    rows.append((f"Start-up: start to main window mapped (median of {len(runs)})", ms(mapped, 0),
                 f"notepad.exe {ms(notepad_mapped, 0)}", f"× {mapped / notepad_mapped:.2f}"))
    rows.append((f"Start-up: start to first keypad line at the phone ({len(first_lines)} of {len(runs)})",
                 ms(median(first_lines), 0), f"main window mapped {ms(mapped, 0)}",
                 f"+ {ms(median(first_lines) - mapped, 0)}"))

    for period, wire in sorted(figures["wire"].items(), reverse=True):
        rows.append((f"Key to wire at {period} ms: median / p95 of {len(wire.latencies)} presses",
                     f"{ms(median(wire.latencies))} / {ms(percentile(wire.latencies, 0.95))}",
                     f"next tick {ms(median(wire.waits))} / {ms(percentile(wire.waits, 0.95))}",
                     f"excess {ms(median(wire.excesses))} / {ms(percentile(wire.excesses, 0.95))};"
                     f" {wire.missed} missed the next tick, {wire.early} rode a late one"))

    for period in (100, 50, 20, 10):
        rates = figures["rates"][period]
        rate = median(rates)
        cpu = cpu_figures(figures["held_at"][period][0])
        rows.append((f"Repeat rate, A held at {period} ms (median of {len(rates)} × 5 s)", f"{rate:.2f} /s",
                     f"{1000 / period:.2f} /s",
                     f"{100 * rate * period / 1000:.1f} %; meanwhile CPU {cpu.ms_per_s:.1f} ms/s"))

    # Each watch holds the samples of the program, then of the wineserver.
    names = ("idle", "held", "held_repeating", "notepad_idle", "notepad_held")
    idle, held, repeating, notepad_idle, notepad_held = (cpu_figures(figures[name][0]) for name in names)
    seconds = f"{idle.seconds:.0f} s"
    rows.append((f"CPU, window open, no key held ({seconds})", f"{idle.ms_per_s:.2f} ms/s",
                 f"notepad.exe {notepad_idle.ms_per_s:.2f} ms/s",
                 f"× {idle.ms_per_s / notepad_idle.ms_per_s:.2f} (utime+stime {idle.ticks_ms:.0f} against "
                 f"{notepad_idle.ticks_ms:.0f} ms)"))
    rows.append((f"CPU, A held at 100 ms, 10 lines/s ({seconds})", f"{held.ms_per_s:.2f} ms/s",
                 f"no key held {idle.ms_per_s:.2f} ms/s", f"+ {held.ms_per_s - idle.ms_per_s:.2f} ms/s "
                 f"(utime+stime {held.ticks_ms:.0f} ms)"))
    rows.append((f"CPU, the same with X auto-repeat, 25 key-downs/s ({seconds})", f"{repeating.ms_per_s:.2f} ms/s",
                 f"notepad.exe {notepad_held.ms_per_s:.2f} ms/s",
                 f"× {repeating.ms_per_s / notepad_held.ms_per_s:.2f} (utime+stime {repeating.ticks_ms:.0f} "
                 f"against {notepad_held.ticks_ms:.0f} ms)"))
    servers = [cpu_figures(figures[name][1]) for name in names]
    if all(servers):
        rows.append(("CPU of the wineserver meanwhile: no key / A / A repeated",
                     " / ".join(f"{server.ms_per_s:.2f}" for server in servers[:3]) + " ms/s",
                     f"notepad.exe {servers[3].ms_per_s:.2f} / {servers[4].ms_per_s:.2f} ms/s", ""))
    rows.append(("Resident memory, VmRSS (median while idle)", f"{idle.rss_kib / 1024:.1f} MiB",
                 f"notepad.exe {notepad_idle.rss_kib / 1024:.1f} MiB", f"× {idle.rss_kib / notepad_idle.rss_kib:.2f}"))
    rows.append(("Tastolink.exe on disk; its DLL imports", f"{figures['exe_size'] / 1024:.0f} KiB",
                 f"notepad.exe {figures['notepad_size'] / 1024:.0f} KiB",
                 ", ".join(figures["imports"])))

    for name, label in SCAN_CASES:
        if name in figures["scan"]:
            time_ns, presses = figures["scan"][name]
            rows.append((f"Repeat scan, one tick, {label} (host)",
                         f"{time_ns / 1000:.2f} µs" if time_ns >= 1000 else f"{time_ns:.0f} ns", "—",
                         f"{presses:.0f} presses per tick"))
    return rows


def table(rows):
    widths = [max(len(row[column]) for row in rows) for column in range(len(rows[0]))]
    lines = ["| " + " | ".join(cell.ljust(width) for cell, width in zip(row, widths)) + " |" for row in rows]
    lines.insert(1, "|" + "|".join("-" * (width + 2) for width in widths) + "|")
    return "\n".join(lines)


def progress(text):
    print(f"   {time.strftime('%H:%M:%S')}  {text}", file=sys.stderr, flush=True)


def prepare_wine():
    """A Wine server that stays up, with the prefix's services running: they re-create the
    COM links when they start, and must have done so before the phone puts its own link."""
    subprocess.run(["wineserver", "-p"], check=False)
    subprocess.run([harness.WINE, "cmd.exe", "/c", "exit"], check=False, timeout=120,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def missing_requirements():
    for path in (harness.PROGRAM, harness.VIRTUAL_PHONE, SCAN_BENCHMARK):
        if not path.exists():
            return f"{path} has not been built"
    for variable in ("DISPLAY", "WINEPREFIX"):
        if not os.environ.get(variable):
            return f"{variable} is not set (run scripts/bench)"
    if not shutil.which(OBJDUMP):
        return f"{OBJDUMP} is not installed"
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--start-ups", type=int, default=6, help="starts of each program (6)")
    parser.add_argument("--presses", type=int, default=50, help="key presses at each of 100 and 20 ms (50)")
    parser.add_argument("--watch", type=float, default=30, help="seconds of each CPU watch (30)")
    parser.add_argument("--hold", type=float, default=15, help="seconds A is held at 50, 20 and 10 ms (15)")
    parser.add_argument("--scan-repetitions", type=int, default=5, help="repetitions of each scan benchmark (5)")
    parser.add_argument("--json", type=Path, help="write every measurement here as well")
    parser.add_argument("--table-from", type=Path, metavar="JSON",
                        help="print the table of an earlier --json and measure nothing")
    options = parser.parse_args()
    if options.table_from:
        figures = load_figures(options.table_from)
        print(table(rows_of(figures)))
        print_notes(figures)
        return
    reason = missing_requirements()
    if reason:
        sys.exit(f"cannot measure: {reason}")

    began = time.monotonic()
    figures = measure(options)
    print(table(rows_of(figures)))
    print_notes(figures)
    print(f"Measured in {time.monotonic() - began:.0f} s.")
    if options.json:
        options.json.parent.mkdir(parents=True, exist_ok=True)
        options.json.write_text(json.dumps(figures, indent=1, default=vars))


def print_notes(figures):
    wires = figures["wire"].values()
    print(f"\nXSync around a key-down: median {median([t for wire in wires for t in wire.round_trips]):.2f} ms. "
          "Held lines after their tick's slot, p95: "
          + ", ".join(f"{percentile(wire.grid_lateness, 0.95):.0f} ms at {wire.period} ms" for wire in wires) + ".")


def load_figures(path):
    """The figures of a --json file, with the types that measure() gives them."""
    figures = json.loads(path.read_text())
    figures["start_ups"] = [StartUp(**run) for run in figures["start_ups"]]
    figures["notepad_start_ups"] = [StartUp(**run) for run in figures["notepad_start_ups"]]
    figures["wire"] = {int(period): KeyToWire(**wire) for period, wire in figures["wire"].items()}
    figures["rates"] = {int(period): rates for period, rates in figures["rates"].items()}
    def watch(samples_per_pid):
        return [[CpuSample(**sample) for sample in samples] if samples else None for samples in samples_per_pid]
    for name in ("idle", "held", "held_repeating", "notepad_idle", "notepad_held"):
        figures[name] = watch(figures[name])
    figures["held_at"] = {int(period): watch(samples) for period, samples in figures["held_at"].items()}
    return figures


if __name__ == "__main__":
    main()
