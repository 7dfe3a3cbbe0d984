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

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tools" / "driver"))
from tastolink_driver import (BUILD_DIR, PROGRAM, WINE, Display, Phone, Program, prepare_prefix,  # noqa: E402
                              wine_process, wine_server, write_settings)
from tastolink_driver.program import (CHOOSE_PORT_BUTTON, CLIENT_SIZE, FOCUS_FIELD, PORT_SELECTOR,  # noqa: E402
                                      STATUS_BAR_ID, keypad_button, selector)

SCAN_BENCHMARK = BUILD_DIR / "host" / "bench" / "repeat_scan_bench"
KEYPAD_5 = keypad_button(12)
ROW_OF_A = 5  # the measurements hold A, bound to the phone key 5
LINE_OF_A = b'AT+CKPD="5"\r\n'


def median(values):
    return statistics.median(values) if values else math.nan


def p95(values):
    return sorted(values)[max(0, math.ceil(0.95 * len(values)) - 1)] if values else math.nan


def progress(text):
    print(f"   {time.strftime('%H:%M:%S')}  {text}", file=sys.stderr, flush=True)


class Session:
    """Tastolink.exe with A bound to row 5 and the given period, the phone on COM1 chosen as
    its port, and the focus in the field that takes the keys; with `answers`, the phone's
    answers switched on."""

    def __init__(self, display, period_ms, answers=False, phone_options=()):
        self.display, self.period_ms = display, period_ms
        self.folder = tempfile.TemporaryDirectory(prefix=f"tastolink-bench-{period_ms}-")
        folder = Path(self.folder.name)
        write_settings(folder / "work", {5: "A"}, period_ms=period_ms, answers=answers)
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
    "Выбрать" right then; and notepad's to its window. One start of each first, not counted, which
    also learns where the two controls lie in the window."""
    with tempfile.TemporaryDirectory(prefix="tastolink-bench-start-") as folder:
        write_settings(Path(folder), {5: "A"})
        phone = Phone(folder, "COM1")
        figures = {"mapped": [], "first_line": [], "notepad": []}
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
                process.kill()
                process.wait()
                notepad_process, _, notepad_mapped = start_until_mapped(display, notepad(), folder, (100, 100))
                notepad_process.kill()
                notepad_process.wait()
                if run:
                    figures["mapped"].append(mapped)
                    figures["first_line"].append((phone.log.lines()[before].ms + 0.5) / 1000 - start)
                    figures["notepad"].append(notepad_mapped)
        finally:
            phone.stop()
    return figures


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


def held_cpu(display, period, seconds):
    """CPU ms/s of the program while A is held at `period`."""
    session = Session(display, period)
    try:
        with session.holding():
            return watch([session.process], seconds)[0]["cpu"]
    finally:
        session.close()


def every_drop(display):
    return {"delivered": drops(display), "1 MB": drops(display, catalogue_of(1_000_000)),
            "10 MB": drops(display, catalogue_of(10_000_000)),
            "port selector's, ports watched,": drops(display, dropped=PORT_SELECTOR, selectors=0)}


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


def measure(options, display):
    figures = {"exe_size": PROGRAM.stat().st_size, "notepad_size": notepad().stat().st_size}
    # objdump's own words, which the pinned Russian locale would translate.
    objdump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", str(PROGRAM)], capture_output=True, text=True,
                             env=dict(os.environ, LC_ALL="C"))
    figures["imports"] = re.findall(r"DLL Name: (\S+)", objdump.stdout)
    progress("the repeat scan on the host (Google Benchmark)")
    scan = subprocess.run([str(SCAN_BENCHMARK), "--benchmark_format=json", "--benchmark_min_time=0.2",
                           f"--benchmark_repetitions={options.scan_repetitions}"],
                          capture_output=True, text=True, check=True).stdout
    figures["scan"] = {}
    for entry in json.loads(scan)["benchmarks"]:
        if entry["run_type"] == "iteration":
            scale = {"ns": 1, "us": 1e3, "ms": 1e6}[entry["time_unit"]]
            figures["scan"].setdefault(entry["run_name"], []).append(entry["real_time"] * scale)
    server = wine_server()
    progress(f"start-up: {options.start_ups} starts of Tastolink.exe and of notepad.exe")
    figures["start"] = start_ups(display, options.start_ups)
    progress(f"key to wire at 100 and 20 ms; CPU idle, A held, A auto-repeated, {options.watch:.0f} s each")
    figures.update(wire={}, rates={}, held_cpu={})
    session = Session(display, 100)
    try:
        figures["wire"][100] = key_to_wire(session, options.presses)
        figures["idle"] = watch([session.process, server], options.watch)
        with session.holding() as hold:
            figures["held"] = watch([session.process, server], options.watch)
        figures["rates"][100], figures["held_cpu"][100] = rates(hold["stamps"]), figures["held"][0]["cpu"]
        display.auto_repeat(True)
        with session.holding():
            figures["repeating"] = watch([session.process, server], options.watch)
        display.auto_repeat(False)
    finally:
        session.close()
    progress(f"key to wire at 100 ms and CPU idle with the phone's answers on, {options.watch:.0f} s")
    session = Session(display, 100, answers=True)
    try:
        figures["wire_answers"] = key_to_wire(session, options.presses)
        figures["idle_answers"] = watch([session.process, server], options.watch)
    finally:
        session.close()
    progress(f"CPU and memory while the phone floods, its answers on, {options.watch:.0f} s")
    session = Session(display, 100, answers=True, phone_options=["--flood"])
    try:
        figures["flood"] = watch([session.process, server], options.watch)
    finally:
        session.close()
    progress(f"the repeat rate at 50, 20 and 10 ms, {options.hold:.0f} s each")
    for period in (50, 20, 10):
        session = Session(display, period)
        try:
            if period == 20:
                figures["wire"][20] = key_to_wire(session, options.presses)
            with session.holding() as hold:
                figures["held_cpu"][period] = watch([session.process], options.hold)[0]["cpu"]
            figures["rates"][period] = rates(hold["stamps"])
        finally:
            session.close()
    progress("dropping a selector's list with the delivered catalogue and with ones of 1 and 10 MB")
    figures["drops"] = every_drop(display)
    progress("playing a file of 100 presses 50 ms apart, unattended, three times")
    figures["playback"] = playback()
    progress(f"notepad.exe idle, then with a key held and auto-repeated, {options.watch:.0f} s each")
    figures["notepad_idle"], figures["notepad_held"] = notepad_cpu(display, server, options.watch)
    return figures


def rows_of(f):
    ms = lambda value, digits=1: f"{value:.{digits}f} ms"  # noqa: E731
    start = {name: [s * 1000 for s in values] for name, values in f["start"].items()}
    mapped, notepad_mapped, first = median(start["mapped"]), median(start["notepad"]), median(start["first_line"])
    rows = [("Figure", "Tastolink", "Floor", "Against the floor"),
            (f"Start-up: start to main window mapped (median of {len(start['mapped'])})", ms(mapped, 0),
             f"notepad.exe {ms(notepad_mapped, 0)}", f"× {mapped / notepad_mapped:.2f}"),
            ("Start-up: start to first keypad line at the phone", ms(first, 0), f"main window mapped {ms(mapped, 0)}",
             f"+ {ms(first - mapped, 0)}")]
    for period, wire in sorted(f["wire"].items(), reverse=True):
        missed = sum(excess > period / 2 for excess in wire["excess"])
        early = sum(excess < -period / 2 for excess in wire["excess"])  # a late tick found the key down
        rows.append((f"Key to wire at {period} ms: median / p95 of {len(wire['latency'])} presses",
                     f"{ms(median(wire['latency']))} / {ms(p95(wire['latency']))}",
                     f"next tick {ms(median(wire['wait']))} / {ms(p95(wire['wait']))}",
                     f"excess {ms(median(wire['excess']))} / {ms(p95(wire['excess']))}; {missed} missed the next tick, "
                     f"{early} rode a late one"))
    if "wire_answers" in f:
        wire, idle = f["wire_answers"], f["idle_answers"]
        rows += [("Key to wire at 100 ms, the phone's answers on: median / p95",
                  f"{ms(median(wire['latency']))} / {ms(p95(wire['latency']))}",
                  f"next tick {ms(median(wire['wait']))} / {ms(p95(wire['wait']))}",
                  f"excess {ms(median(wire['excess']))} / {ms(p95(wire['excess']))}"),
                 ("CPU, window open, no key held, the phone's answers on", f"{idle[0]['cpu']:.2f} ms/s",
                  f"answers off {f['idle'][0]['cpu']:.2f} ms/s", f"+ {idle[0]['cpu'] - f['idle'][0]['cpu']:.2f} ms/s")]
    if "flood" in f:
        flood, idle = f["flood"], f["idle_answers"]
        rows += [("CPU, the phone flooding lines and binary, its answers on", f"{flood[0]['cpu']:.1f} ms/s",
                  f"not flooding {idle[0]['cpu']:.2f} ms/s",
                  f"wineserver {flood[1]['cpu']:.1f} ms/s; resident memory {flood[0]['rss'] / 1024:.1f} MiB")]
    for period in (100, 50, 20, 10):
        rate = median(f["rates"][period])
        rows.append((f"Repeat rate, A held at {period} ms (median of {len(f['rates'][period])} × 5 s)",
                     f"{rate:.2f} /s", f"{1000 / period:.2f} /s",
                     f"{rate * period / 10:.1f} %; meanwhile CPU {f['held_cpu'][period]:.1f} ms/s"))
    idle, held, repeating = f["idle"], f["held"], f["repeating"]
    notepad_idle, notepad_held = f["notepad_idle"], f["notepad_held"]
    rows += [("CPU, window open, no key held", f"{idle[0]['cpu']:.2f} ms/s",
              f"notepad.exe {notepad_idle[0]['cpu']:.2f} ms/s", f"× {idle[0]['cpu'] / notepad_idle[0]['cpu']:.2f}"),
             ("CPU, A held at 100 ms, 10 lines/s", f"{held[0]['cpu']:.2f} ms/s", f"no key held {idle[0]['cpu']:.2f} ms/s",
              f"+ {held[0]['cpu'] - idle[0]['cpu']:.2f} ms/s"),
             ("CPU, the same with X auto-repeat, 25 key-downs/s", f"{repeating[0]['cpu']:.2f} ms/s",
              f"notepad.exe {notepad_held[0]['cpu']:.2f} ms/s", f"× {repeating[0]['cpu'] / notepad_held[0]['cpu']:.2f}"),
             ("CPU of the wineserver meanwhile: no key / A / A repeated",
              " / ".join(f"{w[1]['cpu']:.2f}" for w in (idle, held, repeating)) + " ms/s",
              f"notepad.exe {notepad_idle[1]['cpu']:.2f} / {notepad_held[1]['cpu']:.2f} ms/s", ""),
             ("Resident memory (median while idle)", f"{idle[0]['rss'] / 1024:.1f} MiB",
              f"notepad.exe {notepad_idle[0]['rss'] / 1024:.1f} MiB", f"× {idle[0]['rss'] / notepad_idle[0]['rss']:.2f}"),
             ("Tastolink.exe on disk; its DLL imports", f"{f['exe_size'] / 1024:.0f} KiB",
              f"notepad.exe {f['notepad_size'] / 1024:.0f} KiB", ", ".join(f["imports"]))]
    rows += drop_rows(f)
    if "playback" in f:
        rows.append((f"Playback, 100 presses 50 ms apart: error against the file's schedule, median / p95 of "
                     f"{len(f['playback'])}", f"{ms(median(f['playback']))} / {ms(p95(f['playback']))}",
                     "a phone stamp is a whole ms", ""))
    for name, times in f["scan"].items():
        rows.append((f"Repeat scan, one tick, {name} (host)", f"{median(times):.0f} ns", "—", ""))
    return rows


def drop_rows(f):
    return [(f"Selector list, {name}{'' if 'port' in name else ' catalogue'}: first drop / median of the next "
             f"{len(drop['later'])}",
             f"{drop['first'] * 1000:.0f} ms / {median(drop['later']) * 1000:.0f} ms", "—",
             f"memory {drop['memory'][0] / 1024:.1f} → {drop['memory'][1] / 1024:.1f} MiB after "
             f"{drop['selectors']} selectors' lists{catalogue_share(drop, f['drops'].get('delivered'))}")
            for name, drop in f["drops"].items()]


def catalogue_share(drop, delivered):
    """A big catalogue's memory against its file: the whole program's, and what it adds to the
    program with the delivered catalogue."""
    if not drop.get("file") or not delivered:
        return ""
    whole, added = drop["memory"][0] * 1024, (drop["memory"][0] - delivered["memory"][0]) * 1024
    return f"; × {whole / drop['file']:.1f} the file, of which the catalogue × {added / drop['file']:.1f}"


def table(rows):
    widths = [max(len(row[column]) for row in rows) for column in range(4)]
    lines = ["| " + " | ".join(cell.ljust(width) for cell, width in zip(row, widths)) + " |" for row in rows]
    lines.insert(1, "|" + "|".join("-" * (width + 2) for width in widths) + "|")
    return "\n".join(lines)


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
    parser.add_argument("--presses", type=int, default=50, help="key presses at each of 100 and 20 ms (50)")
    parser.add_argument("--watch", type=float, default=30, help="seconds of each CPU watch (30)")
    parser.add_argument("--hold", type=float, default=15, help="seconds A is held at 50, 20 and 10 ms (15)")
    parser.add_argument("--scan-repetitions", type=int, default=5, help="repetitions of each scan benchmark (5)")
    parser.add_argument("--json", type=Path, help="write every measurement here as well")
    parser.add_argument("--only", choices=["drops", "playback", "start"],
                        help="measure only this part: start is the start-up and the CPU with A held at 10 ms")
    options = parser.parse_args()
    began = time.monotonic()
    display = Display()
    prepare_prefix()
    # Xvfb repeats a held key as a keyboard does; off except where that is what is measured.
    display.auto_repeat(False)
    try:
        if options.soak:
            sys.exit(soak(display, options.soak, options.answers))
        if options.only == "drops":
            figures = {"drops": every_drop(display)}
        elif options.only == "playback":
            figures = {"playback": playback()}
        elif options.only == "start":
            figures = {"start": start_ups(display, options.start_ups), "held_cpu": {10: held_cpu(display, 10, options.hold)}}
        else:
            figures = measure(options, display)
    finally:
        display.auto_repeat(True)
        display.close()
    if options.only == "drops":
        print(table([("Figure", "Tastolink", "Floor", "Against the floor")] + drop_rows(figures)))
    elif options.only == "start":
        start = {name: median(values) * 1000 for name, values in figures["start"].items()}
        print(f"{PROGRAM}: start-up {start['mapped']:.0f} ms against notepad's {start['notepad']:.0f} ms "
              f"(× {start['mapped'] / start['notepad']:.2f}); CPU with A held at 10 ms {figures['held_cpu'][10]:.1f} ms/s")
    elif options.only == "playback":
        errors = figures["playback"]
        print(f"playback error: median {median(errors):.1f} ms, p95 {p95(errors):.1f} ms, max {max(errors)} ms "
              f"of {len(errors)}")
    else:
        print(table(rows_of(figures)))
        sync = [value for wire in figures["wire"].values() for value in wire["sync"]]
        print(f"\nXSync around a key-down: median {median(sync):.2f} ms.")
    print(f"Measured in {time.monotonic() - began:.0f} s.")
    if options.json:
        options.json.parent.mkdir(parents=True, exist_ok=True)
        options.json.write_text(json.dumps(figures, indent=1))


if __name__ == "__main__":
    main()
