"""The X display: the one given by DISPLAY when a server answers there, else a private one;
input through the XTest extension and questions about windows, over one python-xlib connection.

The connection stays open for as long as the driver runs: Xvfb resets when its last client
leaves, and would forget the auto-repeat setting of the bench.
"""

import os
import secrets
import select
import shutil
import socket
import struct
import subprocess
import tempfile
import time
from pathlib import Path

from Xlib import X, XK, display as xdisplay, error as xerror
from Xlib.ext import damage, xtest

from . import wait_until

WINDOW_MANAGER = ["openbox", "--sm-disable", "--config-file", str(Path(__file__).with_name("openbox.xml"))]


def _answers(name):
    try:
        xdisplay.Display(name).close()
        return True
    except Exception:
        return False


def _write_cookie(path):
    """An X authority file with a new cookie for this host's displays of any number (an empty
    number matches them all), so that it is written before Xvfb picks its number."""
    fields = [socket.gethostname().encode(), b"", b"MIT-MAGIC-COOKIE-1", secrets.token_bytes(16)]
    path.write_bytes(struct.pack(">H", 256) + b"".join(struct.pack(">H", len(field)) + field for field in fields))


# The Russian letters the journeys type ("Привет, мир"). Wine gives a key of its own to only a few
# characters beyond its layout (in this order of key codes, about seven); the keys of any others
# reach a program as nothing.
RUSSIAN_LETTERS = "приветм"


def _keysym(char):
    """X's keysym of a character: a Latin-1 character's is its code, any other's its code plus 0x1000000."""
    return {" ": XK.XK_space}.get(char) or (ord(char) if ord(char) < 0x100 else 0x1000000 + ord(char))


def _spare_keys(x):
    """The key codes of the keyboard that have no keysym."""
    first = x.display.info.min_keycode
    mapping = x.get_keyboard_mapping(first, x.display.info.max_keycode - first + 1)
    return [first + at for at, syms in enumerate(mapping) if not any(syms)]


def _add_russian_keys(x):
    """Puts those Russian letters, each with its capital, on keys without a keysym, as a
    second layout would have them, before any Wine program starts. Wine reads the keyboard's map as
    a program starts: a key mapped later may reach the program after the keys typed next, which are
    then lost."""
    for letter, keycode in zip(RUSSIAN_LETTERS, _spare_keys(x)):
        x.change_keyboard_mapping(keycode, [[_keysym(letter), _keysym(letter.upper())]])
    x.sync()


class PrivateDisplay:
    """Xvfb with a screen of `size` ("WIDTHxHEIGHT") and Openbox on it, ready once the window
    manager owns the screen. The window manager gives windows and boxes title bars to move them
    by; and Wine, which waits up to 2 s for one to confirm each window it hides, goes on at once.

    Without a cookie Xvfb lets every user of this machine see and type into it: only a program
    that reads `authority`, in a folder of ours alone, gets in. XAUTHORITY names it from now on."""

    def __init__(self, size="2560x1600"):
        self.authority = Path(tempfile.mkdtemp(prefix="tastolink-x-")) / "Xauthority"
        _write_cookie(self.authority)
        os.environ["XAUTHORITY"] = str(self.authority)
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-auth", str(self.authority), "-screen", "0",
                                      f"{size}x24", "-nolisten", "tcp"], pass_fds=(write,), stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as number:
            self.name = ":" + number.readline().strip()
        self.window_manager = subprocess.Popen(WINDOW_MANAGER, env=dict(os.environ, DISPLAY=self.name),
                                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        x = xdisplay.Display(self.name)
        try:
            wait_until(lambda: x.get_selection_owner(x.intern_atom("WM_S0")) != X.NONE, 10, "the window manager")
            _add_russian_keys(x)
        finally:
            x.close()

    def stop(self):
        for process in self.window_manager, self.xvfb:
            process.terminate()
            process.wait()
        shutil.rmtree(self.authority.parent, ignore_errors=True)


class Display:
    def __init__(self):
        self.private = None
        if not (os.environ.get("DISPLAY") and _answers(os.environ["DISPLAY"])):
            self.private = PrivateDisplay()
            os.environ["DISPLAY"] = self.private.name
        self.x = xdisplay.Display()
        self.root = self.x.screen().root
        self._atoms = {}

    def close(self):
        self.x.close()
        if self.private:
            self.private.stop()

    def _atom(self, name):
        return self._atoms.setdefault(name, self.x.intern_atom(name))

    # --- input

    def keycode(self, name):
        """The key code of a keysym name such as "a", "F10", "Escape", "Shift_L"."""
        return self.x.keysym_to_keycode(XK.string_to_keysym(name))

    def key(self, name, down):
        """Presses or lets go an X key; returns the monotonic times right before the event left
        and once the server had handled it."""
        before = time.monotonic()
        xtest.fake_input(self.x, X.KeyPress if down else X.KeyRelease, self.keycode(name))
        self.x.sync()
        return before, time.monotonic()

    def tap(self, *names):
        for name in names:
            self.key(name, True)
            self.key(name, False)

    def type(self, text):
        """Types `text` key by key, capitals with Shift. A character that no key of the keyboard has
        (the private display has the journeys' Russian letters) is put on a spare key first, with its
        capital."""
        for char in text:
            keycode, shifted = self._key_of(char)
            if shifted:
                self.key("Shift_L", True)
            for down in (True, False):
                xtest.fake_input(self.x, X.KeyPress if down else X.KeyRelease, keycode)
                self.x.sync()
            if shifted:
                self.key("Shift_L", False)

    def _key_of(self, char):
        """(key code, whether with Shift) of a character."""
        found = sorted((index, keycode) for keycode, index in self.x.keysym_to_keycodes(_keysym(char)) if index < 2)
        if found:
            return found[0][1], found[0][0] == 1
        spares = _spare_keys(self.x)
        if not spares:
            raise ValueError(f"no key left to type {char!r} with")
        self.x.change_keyboard_mapping(spares[0], [[_keysym(char.lower()), _keysym(char.upper())]])
        self.x.sync()
        return spares[0], char != char.lower()

    def move(self, x, y):
        xtest.fake_input(self.x, X.MotionNotify, x=x, y=y)
        self.x.sync()

    def click(self, x, y, button=1):
        self.move(x, y)
        self.button(True, button)
        self.button(False, button)

    def button(self, down, button=1):
        """Presses or lets go a mouse button (1 left, 3 right) where the pointer is."""
        xtest.fake_input(self.x, X.ButtonPress if down else X.ButtonRelease, button)
        self.x.sync()

    def focus(self, window):
        window.set_input_focus(X.RevertToParent, X.CurrentTime)
        self.x.sync()

    def has_focus(self, window):
        """Whether key events go to `window` now."""
        focus = self.x.get_input_focus().focus
        return not isinstance(focus, int) and focus.id == window.id

    def auto_repeat(self, on):
        self.x.change_keyboard_control(auto_repeat_mode=X.AutoRepeatModeOn if on else X.AutoRepeatModeOff)
        self.x.sync()

    # --- windows

    def _top_levels(self):
        """The root's children and, as a window manager puts each window it manages into a frame
        of its own, the frames' children."""
        for window in self.root.query_tree().children:
            yield window
            try:
                yield from window.query_tree().children
            except xerror.XError:  # gone since the listing
                continue

    def windows_of(self, pid, title=None):
        """The mapped top-level windows of a process, by the _NET_WM_PID that Wine sets; only
        those of one title when it is given."""
        found = []
        for window in self._top_levels():
            try:
                if window.get_attributes().map_state != X.IsViewable:
                    continue
                owner = window.get_full_property(self._atom("_NET_WM_PID"), X.AnyPropertyType)
                if not owner or owner.value[0] != pid:
                    continue
                if title is not None:
                    name = window.get_full_property(self._atom("_NET_WM_NAME"), self._atom("UTF8_STRING"))
                    if not name or name.value.decode() != title:
                        continue
            except xerror.XError:  # gone between the listing and the question
                continue
            found.append(window)
        return found

    def geometry(self, window):
        """Left, top, width, height on the screen; None for a window that has gone."""
        try:
            size = window.get_geometry()
            place = self.root.translate_coords(window, 0, 0)
        except xerror.XError:
            return None
        return place.x, place.y, size.width, size.height

    def watch_maps(self):
        """From now on `next_map` reports each top-level window as it is mapped."""
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.x.sync()
        while self.x.pending_events():
            self.x.next_event()

    def next_map(self, deadline):
        """(window, monotonic time it was seen mapped), or None at the deadline."""
        while True:
            while self.x.pending_events():
                event = self.x.next_event()
                if event.type == X.MapNotify:
                    return event.window, time.monotonic()
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            select.select([self.x], [], [], left)

    def watch_drawing(self):
        """From now on `next_drawing` reports each area of the screen that is drawn (DAMAGE): Wine
        draws a window's controls into the screen, not into the window's own drawable."""
        self.x.damage_query_version()
        self._damage_event = self.x.query_extension(damage.extname).first_event + damage.DamageNotifyCode
        self._damage = self.root.damage_create(damage.DamageReportRawRectangles)
        self.x.sync()

    def next_drawing(self, deadline):
        """(left, top, width, height on the screen, monotonic time it was seen), or None at the deadline."""
        while True:
            while self.x.pending_events():
                event = self.x.next_event()
                if event.type == self._damage_event:
                    area = event.area
                    return area.x, area.y, area.width, area.height, time.monotonic()
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            select.select([self.x], [], [], left)

    def stop_watching_drawing(self):
        self.x.damage_destroy(self._damage)
        self.x.sync()

    def stop_watching_maps(self):
        self.root.change_attributes(event_mask=0)
        self.x.sync()
