"""scripts/run with no display, as a new user meets it: the address it prints opens in a browser
straight onto the program, filling the page; a click in the page reaches the virtual phone; and
Ctrl+C leaves nothing running."""

import base64
import math
import os
import re
import signal
import subprocess
import sys
import threading
from pathlib import Path

import psutil
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


def test_the_printed_address_opens_onto_the_program_and_a_click_there_reaches_the_phone(tmp_path):
    environment = {name: value for name, value in os.environ.items() if name != "DISPLAY"}
    run = subprocess.Popen([ROOT / "scripts" / "run", "--no-build"], stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                           stdin=subprocess.DEVNULL, text=True, start_new_session=True,
                           env=dict(environment, TASTOLINK_RUN_DIR=str(tmp_path / "run")))
    said = []
    threading.Thread(target=lambda: [said.append(line) for line in run.stdout], daemon=True).start()

    def line_saying(pattern):
        return wait_until(lambda: next(filter(None, (re.search(pattern, line) for line in said)), None), 120,
                          f"a line of scripts/run saying {pattern}")

    browser = chromium(tmp_path / "profile")
    try:
        browser.get(line_saying(r"^open (\S+)$")[1])
        os.environ["DISPLAY"] = line_saying(r"\(display (:\d+)\)")[1]
        display = Display()
        program = wine_process(run, "Tastolink.exe", timeout=30)
        window = wait_until(lambda: display.windows_of(program.pid, "Tastolink"), 30, "the main window")[0]
        width, height = display.geometry(window)[2:]
        canvas = browser.find_element("css selector", "#noVNC_container canvas")
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
        line_saying(r"#1  5$")
        browser.save_screenshot(str(tmp_path / "browser.png"))  # the README's picture of the page
        started = psutil.Process(run.pid).children(recursive=True) + [wine_server()]
        display.close()
    finally:
        browser.quit()
        os.killpg(run.pid, signal.SIGINT)
        run.wait(30)
    gone, left_running = psutil.wait_procs(started, timeout=10)
    assert [process.name() for process in left_running] == []
