"""Runs a command with the virtual phone behind a COM port of the Wine prefix:

    python3 tools/driver/tastolink_driver with-phone [--port COMn] [PHONE OPTION...] -- COMMAND...

The command sees TASTOLINK_TEST_PORT (the port) and TASTOLINK_TEST_PHONE_LOG (the phone's log,
a Unix path); its exit status is returned.

Or keeps a private display (Xvfb and its window manager) until it is sent TERM, once it has
printed its name and the file of its cookie (":91 /tmp/tastolink-x-…/Xauthority"), for the scripts:

    python3 tools/driver/tastolink_driver display [--size WIDTHxHEIGHT]

Or readies WINEPREFIX as the tests and the scripts use it (see prepare_prefix), and keeps its
desktop until its server ends (keep_desktop; the scripts end it with wineserver -k):

    python3 tools/driver/tastolink_driver prefix
"""

import argparse
import os
import signal
import subprocess
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))
from tastolink_driver import DESKTOP_KEEPER, Phone, keep_desktop, prepare_prefix  # noqa: E402
from tastolink_driver.display import PrivateDisplay  # noqa: E402

split = sys.argv.index("--") if "--" in sys.argv else len(sys.argv)
parser = argparse.ArgumentParser(prog="tastolink_driver",
                                 usage="%(prog)s with-phone [--port COMn] [PHONE OPTION...] -- COMMAND...\n"
                                       "       %(prog)s display [--size WIDTHxHEIGHT]\n"
                                       "       %(prog)s prefix")
parser.add_argument("action", choices=["with-phone", "display", "prefix"])
parser.add_argument("--port", default="COM7")
parser.add_argument("--size", default="2560x1600")
options, phone_options = parser.parse_known_args(sys.argv[1:split])
command = sys.argv[split + 1:]

if options.action == "display":
    for ending in signal.SIGTERM, signal.SIGINT:
        signal.signal(ending, lambda *_: sys.exit(0))
    display = PrivateDisplay(options.size)
    try:
        print(display.name, display.authority, flush=True)
        while True:
            signal.pause()
    finally:
        display.stop()

prepare_prefix()
if options.action == "prefix":
    if DESKTOP_KEEPER.exists():  # scripts/run --no-build may come before any build
        keep_desktop()
    sys.exit(0)
with tempfile.TemporaryDirectory(prefix="virtual-phone-") as folder:
    phone = Phone(folder, options.port, phone_options)
    try:
        environment = dict(os.environ, TASTOLINK_TEST_PORT=options.port, TASTOLINK_TEST_PHONE_LOG=str(phone.log.path))
        status = subprocess.run(command, env=environment).returncode
    finally:
        phone.stop()
    if status:
        print(f"--- {' '.join(command)} ended with status {status}; the virtual phone ({options.port}) said ---\n"
              + phone.output.read_text(errors="replace"))
sys.exit(status)
