"""The table that scripts/bench prints, made from the figures that bench/program_bench.py measured.

Each group of rows needs some figures; a group whose figures are missing (their measurement
failed, or was not asked for) is left out, and a group that cannot be figured from what was
measured is named with its reason instead of ending the run: the rest of the table still prints.
"""

import math
import statistics

HEADER = ("Figure", "Tastolink", "Floor", "Against the floor")


def median(values):
    return statistics.median(values) if values else math.nan


def p95(values):
    return sorted(values)[max(0, math.ceil(0.95 * len(values)) - 1)] if values else math.nan


def ms(value, digits=1):
    return f"{value:.{digits}f} ms"


def times(value, floor):
    """"× 1.23": how many times the floor; a floor of 0 (nothing measurable) gives no ratio."""
    return f"× {value / floor:.2f}" if floor else "× —"


GROUPS = []


def rows_from(*names):
    """Registers a group of rows built from the figures `names`, in the order of the table."""
    def register(build):
        GROUPS.append((names, build))
        return build
    return register


@rows_from("start")
def start_rows(f):
    start = {name: [s * 1000 for s in values] for name, values in f["start"].items() if not name.endswith("cpu")}
    mapped, notepad, first = median(start["mapped"]), median(start["notepad"]), median(start["first_line"])
    rows = [(f"Start-up: start to main window mapped (median of {len(start['mapped'])})", ms(mapped, 0),
             f"notepad.exe {ms(notepad, 0)}", times(mapped, notepad))]
    if start.get("bare"):
        bare = median(start["bare"])
        rows.append(("Start-up: a bare Win32 window of the same size (the floor)", ms(mapped, 0),
                     f"bare window {ms(bare, 0)}",
                     f"+ {ms(mapped - bare, 0)}; the bare window is {times(bare, notepad)} notepad's"))
    if f["start"].get("cpu"):
        cpu, notepad_cpu, bare_cpu = (statistics.mean(f["start"][name]) for name in ("cpu", "notepad_cpu", "bare_cpu"))
        rows.append((f"Start-up: CPU of the program by 1 s after its window mapped (mean of {len(f['start']['cpu'])})",
                     ms(cpu, 0), f"notepad.exe {ms(notepad_cpu, 0)}, bare window {ms(bare_cpu, 0)}",
                     f"{times(cpu, notepad_cpu)}; + {ms(cpu - bare_cpu, 0)} over the bare window"))
    rows.append(("Start-up: start to first keypad line at the phone", ms(first, 0),
                 f"main window mapped {ms(mapped, 0)}", f"+ {ms(first - mapped, 0)}"))
    return rows


@rows_from("wire")
def wire_rows(f):
    rows = []
    for period, wire in sorted(f["wire"].items(), reverse=True):
        missed = sum(excess > period / 2 for excess in wire["excess"])
        early = sum(excess < -period / 2 for excess in wire["excess"])  # a late tick found the key down
        rows.append((f"Key to wire at {period} ms: median / p95 of {len(wire['latency'])} presses",
                     f"{ms(median(wire['latency']))} / {ms(p95(wire['latency']))}",
                     f"next tick {ms(median(wire['wait']))} / {ms(p95(wire['wait']))}",
                     f"excess {ms(median(wire['excess']))} / {ms(p95(wire['excess']))}; {missed} missed the next tick, "
                     f"{early} rode a late one"))
    return rows


@rows_from("wire_answers", "idle_answers", "idle")
def answers_rows(f):
    wire, idle = f["wire_answers"], f["idle_answers"]
    return [("Key to wire at 100 ms, the phone's answers on: median / p95",
             f"{ms(median(wire['latency']))} / {ms(p95(wire['latency']))}",
             f"next tick {ms(median(wire['wait']))} / {ms(p95(wire['wait']))}",
             f"excess {ms(median(wire['excess']))} / {ms(p95(wire['excess']))}"),
            ("CPU, window open, no key held, the phone's answers on", f"{idle[0]['cpu']:.2f} ms/s",
             f"answers off {f['idle'][0]['cpu']:.2f} ms/s", f"+ {idle[0]['cpu'] - f['idle'][0]['cpu']:.2f} ms/s")]


@rows_from("flood", "idle_answers")
def flood_rows(f):
    flood, idle = f["flood"], f["idle_answers"]
    return [("CPU, the phone flooding lines and binary, its answers on", f"{flood[0]['cpu']:.1f} ms/s",
             f"not flooding {idle[0]['cpu']:.2f} ms/s",
             f"wineserver {flood[1]['cpu']:.1f} ms/s; resident memory {flood[0]['rss'] / 1024:.1f} MiB")]


@rows_from("events")
def event_rows(f):
    latency, flood = f["events"]["key_to_status"], f["events"]["flood"]
    return [(f"Key pressed on the phone to the status bar drawn, events on: median / p95 of {len(latency)}",
             f"{median(latency):.1f} / {p95(latency):.1f} ms", "the reader's pace 10 ms",
             "the phone's report to X DAMAGE in the bar"),
            ("CPU, the phone flooding event lines, its events on", f"{flood[0]['cpu']:.1f} ms/s", "—",
             f"wineserver {flood[1]['cpu']:.1f} ms/s; resident memory {flood[0]['rss'] / 1024:.1f} MiB")]


@rows_from("rates", "held_cpu")
def rate_rows(f):
    rows = []
    for period in sorted(f["rates"], reverse=True):
        rate = median(f["rates"][period])
        rows.append((f"Repeat rate, A held at {period} ms (median of {len(f['rates'][period])} × 5 s)",
                     f"{rate:.2f} /s", f"{1000 / period:.2f} /s",
                     f"{rate * period / 10:.1f} %; meanwhile CPU {f['held_cpu'][period]:.1f} ms/s"))
    return rows


@rows_from("idle", "held", "repeating", "notepad_idle", "notepad_held")
def cpu_rows(f):
    idle, held, repeating = f["idle"], f["held"], f["repeating"]
    notepad_idle, notepad_held = f["notepad_idle"], f["notepad_held"]
    return [("CPU, window open, no key held", f"{idle[0]['cpu']:.2f} ms/s",
             f"notepad.exe {notepad_idle[0]['cpu']:.2f} ms/s", times(idle[0]["cpu"], notepad_idle[0]["cpu"])),
            ("CPU, A held at 100 ms, 10 lines/s", f"{held[0]['cpu']:.2f} ms/s", f"no key held {idle[0]['cpu']:.2f} ms/s",
             f"+ {held[0]['cpu'] - idle[0]['cpu']:.2f} ms/s"),
            ("CPU, the same with X auto-repeat, 25 key-downs/s", f"{repeating[0]['cpu']:.2f} ms/s",
             f"notepad.exe {notepad_held[0]['cpu']:.2f} ms/s", times(repeating[0]["cpu"], notepad_held[0]["cpu"])),
            ("CPU of the wineserver meanwhile: no key / A / A repeated",
             " / ".join(f"{w[1]['cpu']:.2f}" for w in (idle, held, repeating)) + " ms/s",
             f"notepad.exe {notepad_idle[1]['cpu']:.2f} / {notepad_held[1]['cpu']:.2f} ms/s", ""),
            ("Resident memory (median while idle)", f"{idle[0]['rss'] / 1024:.1f} MiB",
             f"notepad.exe {notepad_idle[0]['rss'] / 1024:.1f} MiB", times(idle[0]["rss"], notepad_idle[0]["rss"]))]


@rows_from("exe_size", "notepad_size", "imports")
def size_rows(f):
    return [("Tastolink.exe on disk; its DLL imports", f"{f['exe_size'] / 1024:.0f} KiB",
             f"notepad.exe {f['notepad_size'] / 1024:.0f} KiB", ", ".join(f["imports"]))]


@rows_from("drops")
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


TYPING_WAYS = {"MultitapWithWait": "multi-tap, the wait", "MultitapWithNextKey": "multi-tap, a next key",
               "AlphaEntries": "alpha entries in UCS2"}


@rows_from("typing")
def typing_rows(f):
    return [(f"Typing {typed['characters']} Russian characters, {TYPING_WAYS[name]}: first to last line",
             f"{typed['s']:.2f} s", f"the profile's pauses {typed['floor_s']:.2f} s",
             f"+ {100 * (typed['s'] / typed['floor_s'] - 1):.1f} %; {typed['wrong']} characters wrong")
            for name, typed in f["typing"].items()]


@rows_from("playback")
def playback_rows(f):
    errors = f["playback"]
    return [(f"Playback, 100 presses 50 ms apart: error against the file's schedule, median / p95 of {len(errors)}",
             f"{ms(median(errors))} / {ms(p95(errors))}", "a phone stamp is a whole ms", f"max {ms(max(errors), 0)}")]


@rows_from("identify")
def identification_rows(f):
    asked, alone = median(f["identify"]["phone"]) * 1000, median(f["identify"]["no_port"]) * 1000
    return [(f"--identify, start to exit, the virtual phone asked (median of {len(f['identify']['phone'])})",
             f"{asked:.0f} ms", f"a port that does not open {alone:.0f} ms",
             f"+ {asked - alone:.0f} ms for five questions")]


@rows_from("scan")
def scan_rows(f):
    return [(f"Repeat scan, one tick, {name} (host)", f"{median(values):.0f} ns", "—", "")
            for name, values in f["scan"].items()]


def rows_of(figures, failed):
    """The table's rows from what was measured; a group that can't be figured goes into `failed`."""
    rows = [HEADER]
    for names, build in GROUPS:
        if not all(name in figures for name in names):
            continue
        try:
            rows += build(figures)
        except Exception as error:  # noqa: BLE001 - one figure's fault leaves the others standing
            failed[f"figuring {', '.join(names)}"] = f"{type(error).__name__}: {error}"
    return rows


def table(rows):
    widths = [max(len(row[column]) for row in rows) for column in range(4)]
    lines = ["| " + " | ".join(cell.ljust(width) for cell, width in zip(row, widths)) + " |" for row in rows]
    lines.insert(1, "|" + "|".join("-" * (width + 2) for width in widths) + "|")
    return "\n".join(lines)
