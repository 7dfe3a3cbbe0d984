"""A key held for a long time at a 10 ms period: every command reaches the phone whole, and
the program's memory and open descriptors stay flat.

TASTOLINK_LONG_HOLD_MINUTES sets how long the key is held (10 by default). The figures are
printed as the hold goes on; only the growth from the first sample to the last is checked,
against bounds that a leak of a few hundred bytes or one descriptor per press would exceed
many times over.
"""

import os
import time

import faults
import harness
from harness import ROW, Settings

PERIOD_MS = 10
ROW_OF_A = 5
BARRIER_ROW = 12
HOLD_MINUTES = float(os.environ.get("TASTOLINK_LONG_HOLD_MINUTES", "10"))
SAMPLE_S = 30
# The first sample comes once the hold has settled: the phone's first lines and the first
# ticks have grown the program's heap to its working size.
SETTLE_LINES = 500
RSS_GROWTH_LIMIT_KB = 16 * 1024
FD_GROWTH_LIMIT = 2


class LongHold(faults.FaultTestCase):
    settings = Settings(combo_boxes={ROW[ROW_OF_A].main_selector: "A"}, interval_ms=PERIOD_MS)

    def test_a_key_held_for_minutes_sends_whole_commands_and_leaks_nothing(self):
        self.program.choose_port()
        pid = faults.program_pid(self.program)
        log = faults.PhoneLog(self.phone)
        samples = []

        def sample(label):
            rss, fds = faults.figures(pid)
            samples.append((time.monotonic(), log.update(), rss, fds))
            print(f"{label:>8}  {log.lines:7d} lines  VmRSS {rss:7d} kB  {fds:3d} descriptors", flush=True)

        print(f"\nholding A for {HOLD_MINUTES:g} min at {PERIOD_MS} ms", flush=True)
        self.program.key_down("a")
        try:
            faults.wait_until(lambda: log.update() >= SETTLE_LINES, 60, f"{SETTLE_LINES} lines", interval=0.2)
            sample("settled")
            end = samples[0][0] + HOLD_MINUTES * 60
            while time.monotonic() < end:
                time.sleep(min(SAMPLE_S, max(0.0, end - time.monotonic())))
                self.assertTrue(self.program.is_open(), "the main window went away")
                self.assertEqual(self.program.message_boxes(), [])
                sample(f"{(time.monotonic() - samples[0][0]) / 60:.1f} min")
        finally:
            self.program.key_up("a")
        self.press_and_wait(BARRIER_ROW)
        log.update()

        first, last = samples[0], samples[-1]
        seconds = last[0] - first[0]
        rate = (last[1] - first[1]) / seconds if seconds else 0
        print(f"{log.lines} lines in all, {rate:.1f} a second while sampled (a tick every "
              f"{1000 / rate if rate else float('inf'):.1f} ms); VmRSS {first[2]} -> {last[2]} kB, "
              f"peak {max(s[2] for s in samples)} kB; descriptors {first[3]} -> {last[3]}", flush=True)

        self.assertEqual(log.bad[:5], [], f"{len(log.bad)} lines were not a whole command")
        self.assertEqual(set(log.rows), {ROW_OF_A, BARRIER_ROW})
        # Counts with slack: the timer merges ticks when the machine is busy, so only a tenth
        # of the nominal rate is required, enough to tell a stopped repeat from a running one.
        self.assertGreater(last[1] - first[1], seconds * 1000 / PERIOD_MS / 10)
        self.assertLess(last[2] - first[2], RSS_GROWTH_LIMIT_KB, "resident memory grew")
        self.assertLessEqual(last[3] - first[3], FD_GROWTH_LIMIT, "descriptors grew")
        self.assertEqual(self.program.close(), 0)


if __name__ == "__main__":
    harness.main()
