"""Drives Tastolink.exe under Wine as a user would, for the end-to-end tests and the bench.

One place starts each thing they need: the X display (display.py), the Wine prefix and its
processes (wine.py), the virtual phone on a COM port and its log (phone.py), and the program
in a folder of settings files (program.py). It holds no checks of its own.
"""

import os
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[3]
BUILD_DIR = Path(os.environ.get("TASTOLINK_BUILD_DIR", ROOT / "build"))
HOST_BUILD_DIR = Path(os.environ.get("TASTOLINK_HOST_BUILD_DIR", BUILD_DIR / "host"))
WINDOWS_BUILD_DIR = Path(os.environ.get("TASTOLINK_WINDOWS_BUILD_DIR", BUILD_DIR / "windows"))
PROGRAM = WINDOWS_BUILD_DIR / "Tastolink.exe"
WINDOW_PROBE = HOST_BUILD_DIR / "tools" / "window-probe.exe"
DESKTOP_KEEPER = HOST_BUILD_DIR / "tools" / "desktop-keeper.exe"
DELIVERED_SETTINGS = ROOT / "settings"

# The virtual phone's command line, options left out. The one place that says which phone runs.
PHONE_COMMAND = [sys.executable, str(ROOT / "tools" / "virtual-phone" / "virtual_phone.py")]


def wait_until(condition, timeout, what, interval=0.02):
    """Polls `condition` until it returns something true and returns that; raises after `timeout` s."""
    deadline = time.monotonic() + timeout
    while not (value := condition()):
        if time.monotonic() > deadline:
            raise TimeoutError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)
    return value


from .display import Display  # noqa: E402
from .phone import Phone, PhoneLog  # noqa: E402
from .program import Program, write_settings  # noqa: E402
from .wine import WINE, keep_desktop, prepare_prefix, wine_process, wine_server  # noqa: E402

__all__ = ["Display", "Phone", "PhoneLog", "Program", "write_settings", "WINE", "keep_desktop", "prepare_prefix",
           "wine_process", "wine_server", "wait_until", "ROOT", "BUILD_DIR", "PROGRAM", "WINDOW_PROBE", "PHONE_COMMAND"]
