"""The window at 120, 144 and 192 dpi: its client area and every control scale with the dpi,
and the keypad and port button are still where the scaled layout puts them."""

import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

import harness
from harness import Program, Settings, VirtualPhone, run, screenshot, wait_until, WINE

CHOOSE_PORT_BUTTON = (256 + 8 + 80, 448 + 48 + 12)
FIVE = harness.keypad_button(72, 184)


def scaled(value, dpi):
    # MulDiv rounds halves away from zero.
    return (value * dpi + 48) // 96


def quietly(*command, timeout=60):
    # Wine's services outlive the command and would hold captured output pipes open.
    subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout)


def set_dpi(dpi):
    for key in (r"HKCU\Control Panel\Desktop", r"HKCC\Software\Fonts"):
        quietly(WINE, "reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
    # The dpi is read when the prefix's server starts. Starting it again also lets Wine
    # reset its COM links now, not after the virtual phone has taken COM1.
    quietly("wineserver", "-k")
    quietly("wineserver", "-w")
    quietly("wineserver", "-p")
    quietly(WINE, "reg", "query", r"HKCU\Control Panel\Desktop", "/v", "LogPixels")


class DpiScaling(unittest.TestCase):
    def tearDown(self):
        set_dpi(96)

    def test_layout_scales_at_each_dpi(self):
        for dpi in (120, 144, 192):
            with self.subTest(dpi=dpi):
                self.check_layout(dpi)

    def check_layout(self, dpi):
        set_dpi(dpi)
        directory = Path(tempfile.mkdtemp(prefix=f"tastolink-dpi{dpi}-"))
        self.addCleanup(shutil.rmtree, directory, True)
        Settings().write(directory)
        phone = VirtualPhone(directory, "COM1")
        self.addCleanup(phone.stop)
        program = Program(directory)
        self.addCleanup(program.kill)

        x, y, width, height = program._geometry(program.window)
        client_width, client_height = scaled(441, dpi), scaled(680, dpi)
        self.assertEqual(width, client_width)
        self.assertGreater(height, client_height)  # the menu bar sits above the client area
        origin = (x, y + height - client_height)

        def click(point):
            run("xdotool", "mousemove", str(origin[0] + scaled(point[0], dpi)),
                str(origin[1] + scaled(point[1], dpi)))
            run("xdotool", "click", "1")

        # Just after its server starts, Wine may point COM1 back at its default device for a
        # moment; choose the port again until the phone answers.
        def press_five_through_com1():
            program.focus()
            click(CHOOSE_PORT_BUTTON)
            click(FIVE)
            try:
                return phone.wait_for_lines(1, timeout=3)
            except AssertionError:
                return None

        lines = wait_until(press_five_through_com1, 30, "a keypad click to reach the phone")
        screenshot(harness.ARTIFACTS / f"dpi{dpi}.png")
        self.assertEqual(lines[0].data, b'AT+CKPD="5"\r\n')
        self.assertEqual(program.close(), 0)


if __name__ == "__main__":
    harness.main()
