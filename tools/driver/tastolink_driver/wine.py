"""The Wine prefix and the Linux processes of Wine programs (through psutil)."""

import os
import select
import shutil
import subprocess
import tempfile
from pathlib import Path

import psutil

from . import BUILD_DIR, DESKTOP_KEEPER, wait_until

WINE = shutil.which("wine") or "wine"
SYSTEM_WINE_FONTS = Path("/usr/share/wine/fonts")
NO_CRASH_DEBUGGER = Path(__file__).with_name("no_crash_debugger.reg")


def prepare_prefix():
    """WINEPREFIX, or a private prefix under the build tree, created when missing, with Wine's own
    fonts and no debugger started at a crash; its server kept running between programs and its
    services started. Each step holds for a prefix that exists already too.

    The services re-create the prefix's COM links when they start, so they must be up before
    a phone puts its own link in place; started by a test instead, they would also inherit
    its output pipes and, living as long as the server, keep CTest waiting."""
    prefix = Path(os.environ.setdefault("WINEPREFIX", str(BUILD_DIR / "wineprefix")))
    os.environ.setdefault("WINEDEBUG", "-all")
    os.environ.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
    quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    if not (prefix / "system.reg").exists():
        subprocess.run(["wineboot", "-i"], timeout=600, **quiet)
        # wineboot's own server is still shutting down; a persistent one must start after it.
        subprocess.run(["wineserver", "-w"], timeout=120, **quiet)
    # Debian's Wine does not look in /usr/share/wine/fonts: without these in the prefix every face
    # falls back to DejaVu, whose mark positioning crashes Wine's Uniscribe on a text that starts
    # with U+02DC. With them, "MS Sans Serif" is Wine's raster face, as on Windows.
    fonts = prefix / "drive_c" / "windows" / "Fonts"
    for font in SYSTEM_WINE_FONTS.iterdir():
        copy = fonts / font.name
        if not copy.exists() or copy.stat().st_mtime < font.stat().st_mtime:
            shutil.copyfile(font, copy)
    subprocess.run(["wineserver", "-p"], timeout=30, **quiet)
    # The first Wine program of the server starts the services too: its output goes to a file, not
    # a pipe that they would keep open.
    with tempfile.TemporaryFile() as said:
        imported = subprocess.run([WINE, "reg", "import", str(NO_CRASH_DEBUGGER)], timeout=120,
                                  stdin=subprocess.DEVNULL, stdout=said, stderr=said)
        if imported.returncode:
            said.seek(0)
            raise RuntimeError(f"the Wine prefix {prefix} did not take {NO_CRASH_DEBUGGER.name}:\n"
                               + said.read().decode(errors="replace"))
    return prefix


def keep_desktop():
    """Starts desktop-keeper.exe, which holds the prefix's desktop until it is ended (by the caller,
    through the process returned, or with the prefix's server); None when one runs in this prefix
    already (scripts/test's, for the whole run).

    Wine ends the desktop process about a second after the last program on the desktop has ended,
    and a program that starts while it ends can fail to make its window: each test file's first
    program started about then. Called after prepare_prefix, so that the services are up; the
    keeper's output, and that of the desktop process it starts, go nowhere that a test's caller
    waits on."""
    if _desktop_keeper():
        return None
    keeper = subprocess.Popen([WINE, str(DESKTOP_KEEPER)], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, start_new_session=True)
    with keeper.stdout:
        said = keeper.stdout.readline() if select.select([keeper.stdout], [], [], 60)[0] else b""
    if said != b"ready\n":
        keeper.kill()
        raise RuntimeError(f"{DESKTOP_KEEPER.name} did not take the desktop (status {keeper.wait()})")
    return keeper


def _desktop_keeper():
    prefix = os.environ["WINEPREFIX"]
    for process in psutil.process_iter(["cmdline"]):
        try:
            if (process.info["cmdline"] or [""])[0].endswith(DESKTOP_KEEPER.name) and \
                    process.environ().get("WINEPREFIX") == prefix:
                return process
        except psutil.Error:
            continue
    return None


def wine_process(popen, exe_name, timeout=10):
    """The process that runs `exe_name` for a `wine` command: wine turns into it when the
    program is given by its path, but that is checked rather than taken for granted."""
    def found():
        try:
            started = psutil.Process(popen.pid)
            for process in [started] + started.children(recursive=True):
                if any(exe_name.lower() in part.lower() for part in process.cmdline()):
                    return process
        except psutil.NoSuchProcess:
            pass
        return None
    return wait_until(found, timeout, f"the Wine process of {exe_name}")


def wine_server():
    """The wineserver of our prefix: its working folder is named after the prefix's device and inode."""
    info = os.stat(os.environ["WINEPREFIX"])
    suffix = f"server-{info.st_dev:x}-{info.st_ino:x}"
    for process in psutil.process_iter(["name"]):
        try:
            if process.info["name"].startswith("wineserver") and process.cwd().endswith(suffix):
                return process
        except psutil.Error:
            continue
    return None
