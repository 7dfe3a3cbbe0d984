"""scripts/run with no display, as a new user meets it: the address it prints opens in a browser
straight onto the program, filling the page; a click in the page reaches the virtual phone; only
that address lets a viewer in, no process shows its secrets, and only the run's own programs reach
its X display; Ctrl+C leaves nothing running."""

import base64
import math
import os
import re
import signal
import socket
import struct
import subprocess
import sys
import threading
from contextlib import closing, contextmanager
from pathlib import Path
from urllib.parse import parse_qs, quote, urlsplit

import psutil
import pytest
import websocket
from Cryptodome.Cipher import DES
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.actions.action_builder import ActionBuilder

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tools" / "driver"))
from tastolink_driver import Display, wait_until, wine_process, wine_server  # noqa: E402
from tastolink_driver.program import CHOOSE_PORT_BUTTON, FOCUS_FIELD, WindowProbe, keypad_button  # noqa: E402

PICTURE = "return arguments[0].toDataURL().split(',')[1]"  # of a canvas, as base64 PNG
# Debian's Chromium as root, on a machine that reaches nothing outside.
CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--window-size=1100,900"]


def chromium(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in CHROMIUM_FLAGS + [f"--user-data-dir={profile}"]:
        options.add_argument(flag)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def differing_pixels(one, other):
    """How many pixels of two pictures of one size differ by more than a lossy encoding would."""
    compared = subprocess.run(["compare", "-metric", "AE", "-fuzz", "10%", one, other, "null:"],
                              capture_output=True, text=True)
    try:
        return float(compared.stderr.split()[0])
    except (IndexError, ValueError):  # pictures of two sizes, while the page is still taking its size
        return math.inf


class Run:
    """A scripts/run under way: what it has said, and the address it printed with its secrets."""

    def __init__(self, process):
        self.process, self.said = process, []
        threading.Thread(target=lambda: [self.said.append(line) for line in process.stdout], daemon=True).start()
        self.address = self.line_saying(r"^open (\S+)$")[1]
        query = parse_qs(urlsplit(self.address).query)
        self.relay_path, self.password = query["path"][0], query["password"][0]

    def line_saying(self, pattern):
        return wait_until(lambda: next(filter(None, (re.search(pattern, line) for line in self.said)), None), 120,
                          f"a line of scripts/run saying {pattern}")


@contextmanager
def scripts_run(directory, *options):
    """scripts/run with no display and `options`, once its program has started. Ctrl+C at the end
    must leave nothing that it started running."""
    environment = {name: value for name, value in os.environ.items() if name != "DISPLAY"}
    process = subprocess.Popen([ROOT / "scripts" / "run", "--no-build", *options], stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, text=True, start_new_session=True,
                               env=dict(environment, TASTOLINK_RUN_DIR=str(directory / "run")))
    try:
        run = Run(process)
        wine_process(process, "Tastolink.exe", timeout=30)
        started = psutil.Process(process.pid).children(recursive=True) + [wine_server()]
        yield run
    finally:
        os.killpg(process.pid, signal.SIGINT)
        process.wait(30)
    gone, left_running = psutil.wait_procs(started, timeout=10)
    assert [process.name() for process in left_running] == []


def vnc_session(address, relay_path, password, certificate=None):
    """What a VNC viewer meets when it asks the relay of `address` for `relay_path` and answers
    with `password`: the security types offered, then the desktop's name once let in, or
    "refused"; None when the relay hangs up."""
    parts = urlsplit(address)
    received = b""

    def read(count):
        nonlocal received
        while len(received) < count:
            chunk = relay.recv()
            if not chunk:
                raise ConnectionError("the relay hung up")
            received += chunk
        data, received = received[:count], received[count:]
        return data

    try:
        with closing(websocket.create_connection(
                f"{'wss' if parts.scheme == 'https' else 'ws'}://{parts.netloc}/{relay_path}", timeout=10,
                subprotocols=["binary"], sslopt={"ca_certs": str(certificate)} if certificate else None)) as relay:
            relay.send_binary(read(12))  # the version the server speaks
            offered = list(read(read(1)[0]))
            if 2 not in offered:
                return offered, None
            relay.send_binary(b"\x02")
            # VNC authentication: the challenge in DES, keyed by the password with each byte's bits reversed.
            key = bytes(int(f"{byte:08b}"[::-1], 2) for byte in password.encode("latin-1").ljust(8, b"\0")[:8])
            relay.send_binary(DES.new(key, DES.MODE_ECB).encrypt(read(16)))
            if read(4) != bytes(4):
                return offered, "refused"
            relay.send_binary(b"\x01")  # shared
            read(20)  # the display's size and pixel format
            return offered, read(struct.unpack(">I", read(4))[0]).decode()
    except (websocket.WebSocketException, ConnectionError):
        return None


@pytest.fixture(scope="class")
def served(tmp_path_factory):
    with scripts_run(tmp_path_factory.mktemp("served")) as run:
        yield run


def one_bit_off(text):
    return text[:-1] + chr(ord(text[-1]) ^ 1)


class TestThePrintedAddress:
    def test_opens_onto_the_program_and_a_click_there_reaches_the_phone(self, served, tmp_path):
        browser = chromium(tmp_path / "profile")
        try:
            browser.get(served.address)
            program = wine_process(served.process, "Tastolink.exe")
            os.environ.update({name: program.environ()[name] for name in ("DISPLAY", "XAUTHORITY")})
            display = Display()
            window = wait_until(lambda: display.windows_of(program.pid, "Tastolink"), 30, "the main window")[0]
            width, height = display.geometry(window)[2:]
            canvas = wait_until(lambda: browser.find_elements("css selector", "#noVNC_container canvas"), 30,
                                "the page's picture")[0]
            screen, page = tmp_path / "screen.png", tmp_path / "page.png"

            def drawn():
                subprocess.run(["import", "-window", "root", screen], check=True)
                page.write_bytes(base64.b64decode(browser.execute_script(PICTURE, canvas)))
                return differing_pixels(screen, page) < 0.01 * width * height

            wait_until(drawn, 30, "the window drawn in the page", interval=0.5)
            assert browser.title.startswith("Tastolink")
            scale = canvas.rect["height"] / canvas.get_property("height")
            assert height * scale > 0.8 * browser.execute_script("return innerHeight")

            probe = WindowProbe()
            places = probe.report().places()
            probe.close()

            def click(control):  # in the middle of the control, where the window reports it on the display
                x, y = (places[control][0] + places[control][2]) / 2, (places[control][1] + places[control][3]) / 2
                actions = ActionBuilder(browser)
                actions.pointer_action.move_to_location(round(canvas.rect["x"] + x * scale),
                                                        round(canvas.rect["y"] + y * scale)).click()
                actions.perform()

            for control in CHOOSE_PORT_BUTTON, FOCUS_FIELD, keypad_button(12):
                click(control)
            served.line_saying(r"#1  5$")
            browser.save_screenshot(str(tmp_path / "browser.png"))  # the README's picture of the page
            display.close()
        finally:
            browser.quit()
        assert not [line for line in served.said if line.startswith("warning")]  # this machine only

    @pytest.mark.parametrize("relay_path, password, met", [
        (str, str, ([2], "Tastolink")),
        (str, one_bit_off, ([2], "refused")),
        (one_bit_off, str, None),
        (lambda path: urlsplit(path).path, str, None),
    ], ids=["as printed", "a wrong password", "a wrong token", "no token"])
    def test_lets_in_only_a_viewer_with_both_its_secrets(self, served, relay_path, password, met):
        assert vnc_session(served.address, relay_path(served.relay_path), password(served.password)) == met

    def test_display_behind_it_turns_away_a_program_without_its_cookie(self, served):
        environment = dict(wine_process(served.process, "Tastolink.exe").environ(), XAUTHORITY=os.devnull)
        assert b"Authorization required" in subprocess.run(["xdpyinfo"], env=environment, capture_output=True).stderr

    def test_shows_its_secrets_on_no_command_line(self, served):
        secrets = [served.relay_path.split("=")[1], served.password, quote(served.password, safe="")]
        showing = [process.info for process in psutil.process_iter(["pid", "cmdline"])
                   if any(secret in " ".join(process.info["cmdline"] or []) for secret in secrets)]
        assert showing == []


@pytest.mark.parametrize("certified, scheme, warned", [(False, "http", True), (True, "https", False)])
def test_beyond_this_machine_the_address_is_https_with_a_certificate_and_a_warning_without(
        tmp_path, certified, scheme, warned):
    host, options, certificate = socket.gethostname(), ["--listen", "0.0.0.0"], None
    if certified:
        certificate, key = tmp_path / "certificate.pem", tmp_path / "key.pem"
        subprocess.run(["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                        "-nodes", "-days", "1", "-subj", f"/CN={host}", "-addext", f"subjectAltName=DNS:{host}",
                        "-keyout", key, "-out", certificate], check=True, capture_output=True)
        options += ["--cert", certificate, "--key", key]
    with scripts_run(tmp_path, *options) as run:
        assert run.address.startswith(f"{scheme}://{host}:")
        assert vnc_session(run.address, run.relay_path, run.password, certificate) == ([2], "Tastolink")
    assert any(line.startswith("warning: the page is plain HTTP") for line in run.said) == warned
