"""The display that scripts/run serves to a browser: noVNC answers over HTTP, x11vnc speaks
RFB, and stopping it leaves nothing running."""

import re
import socket
import subprocess
import urllib.request
from pathlib import Path

import psutil

COMMON = Path(__file__).resolve().parents[2] / "scripts" / "lib" / "common.sh"
# A private display with no DISPLAY given, as scripts/run has it; stopped on a line on stdin.
SERVE = f"""set -euo pipefail
unset DISPLAY
source '{COMMON}'
ensure_display >&2
serve_display
echo "$VNC_PORT $WEB_PORT"
read -r _
stop_served_display
kill "$DISPLAY_PID" && wait "$DISPLAY_PID" || true
"""


def test_serves_the_page_and_the_display_and_stops_clean():
    shell = subprocess.Popen(["bash", "-c", SERVE], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    try:
        vnc_port, web_port = map(int, shell.stdout.readline().split())
        with urllib.request.urlopen(f"http://localhost:{web_port}/vnc.html", timeout=10) as page:
            assert page.status == 200
            assert b"noVNC" in page.read()
        with socket.create_connection(("127.0.0.1", vnc_port), timeout=10) as vnc:
            assert re.fullmatch(rb"RFB 003\.00[0-9]\n", vnc.recv(12))
        started = psutil.Process(shell.pid).children(recursive=True)
        assert {p.name() for p in started} >= {"Xvfb", "x11vnc"}
        shell.communicate("\n", timeout=10)
        assert shell.returncode == 0
    finally:
        if shell.poll() is None:
            for process in psutil.Process(shell.pid).children(recursive=True) + [shell]:
                process.kill()
    left = [p for p in started if p.is_running() and p.status() != psutil.STATUS_ZOMBIE]
    names = [p.name() for p in left]
    for process in left:
        process.kill()
    assert names == []
    for port in vnc_port, web_port:
        assert socket.socket().connect_ex(("127.0.0.1", port)) != 0, f"port {port} still open"
