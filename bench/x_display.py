"""A direct Xlib connection for the measurements: when windows are mapped, and input
through the XTest extension with a CLOCK_MONOTONIC stamp taken right before each event.

xdotool starts a process per call, which puts several milliseconds of its own start-up
between a stamp taken around it and the event; here the event leaves in the same
instant as the stamp, and XSync returns once the X server has handled it.
"""

import ctypes
import ctypes.util
import os
import select
import time

MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
XA_CARDINAL = 6
REVERT_TO_PARENT = 2
CURRENT_TIME = 0


class _MapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class _Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("map", _MapEvent), ("pad", ctypes.c_long * 24)]


_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)


def _load():
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
    display, window, ulong = ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong
    x11.XOpenDisplay.restype = display
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XCloseDisplay.argtypes = [display]
    x11.XDefaultRootWindow.restype = window
    x11.XDefaultRootWindow.argtypes = [display]
    x11.XConnectionNumber.argtypes = [display]
    x11.XSelectInput.argtypes = [display, window, ctypes.c_long]
    x11.XPending.argtypes = [display]
    x11.XNextEvent.argtypes = [display, ctypes.POINTER(_Event)]
    x11.XFlush.argtypes = [display]
    x11.XSync.argtypes = [display, ctypes.c_int]
    x11.XFree.argtypes = [ctypes.c_void_p]
    x11.XInternAtom.restype = ulong
    x11.XInternAtom.argtypes = [display, ctypes.c_char_p, ctypes.c_int]
    x11.XGetWindowProperty.argtypes = [
        display, window, ulong, ctypes.c_long, ctypes.c_long, ctypes.c_int, ulong, ctypes.POINTER(ulong),
        ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ulong), ctypes.POINTER(ulong),
        ctypes.POINTER(ctypes.POINTER(ctypes.c_ubyte))]
    x11.XGetGeometry.argtypes = [display, window, ctypes.POINTER(window), ctypes.POINTER(ctypes.c_int),
                                 ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_uint),
                                 ctypes.POINTER(ctypes.c_uint), ctypes.POINTER(ctypes.c_uint),
                                 ctypes.POINTER(ctypes.c_uint)]
    x11.XTranslateCoordinates.argtypes = [display, window, window, ctypes.c_int, ctypes.c_int,
                                          ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
                                          ctypes.POINTER(window)]
    x11.XSetInputFocus.argtypes = [display, window, ctypes.c_int, ulong]
    x11.XStringToKeysym.restype = ulong
    x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
    x11.XKeysymToKeycode.restype = ctypes.c_ubyte
    x11.XKeysymToKeycode.argtypes = [display, ulong]
    x11.XSetErrorHandler.argtypes = [_ERROR_HANDLER]
    x11.XAutoRepeatOn.argtypes = [display]
    x11.XAutoRepeatOff.argtypes = [display]
    xtst.XTestFakeKeyEvent.argtypes = [display, ctypes.c_uint, ctypes.c_int, ulong]
    xtst.XTestFakeButtonEvent.argtypes = [display, ctypes.c_uint, ctypes.c_int, ulong]
    xtst.XTestFakeMotionEvent.argtypes = [display, ctypes.c_int, ctypes.c_int, ctypes.c_int, ulong]
    return x11, xtst


# A window can be destroyed between its MapNotify and our question about it; Xlib's
# default handler would end the process over that BadWindow.
_ignore_errors = _ERROR_HANDLER(lambda display, error: 0)


class XDisplay:
    def __init__(self, name=None):
        self.x11, self.xtst = _load()
        self.x11.XSetErrorHandler(_ignore_errors)
        self.display = self.x11.XOpenDisplay(name.encode() if name else None)
        if not self.display:
            raise RuntimeError(f"cannot open the X display {os.environ.get('DISPLAY')}")
        self.root = self.x11.XDefaultRootWindow(self.display)
        self.pid_atom = self.x11.XInternAtom(self.display, b"_NET_WM_PID", 0)

    def close(self):
        if self.display:
            self.x11.XCloseDisplay(self.display)
            self.display = None

    # --- windows

    def watch_maps(self):
        """From now on, report the top-level windows that get mapped (see next_map)."""
        self.x11.XSelectInput(self.display, self.root, SUBSTRUCTURE_NOTIFY_MASK)
        self.x11.XSync(self.display, 0)

    def stop_watching_maps(self):
        self.x11.XSelectInput(self.display, self.root, 0)
        self.x11.XSync(self.display, 1)  # and drop the events still queued

    def next_map(self, deadline):
        """(window, monotonic s at which we learnt of its mapping), or None at the deadline."""
        event = _Event()
        fd = self.x11.XConnectionNumber(self.display)
        while True:
            while self.x11.XPending(self.display):
                self.x11.XNextEvent(self.display, ctypes.byref(event))
                if event.type == MAP_NOTIFY and not event.map.override_redirect:
                    return event.map.window, time.monotonic()
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            select.select([fd], [], [], left)

    def window_pid(self, window):
        actual_type, actual_format = ctypes.c_ulong(), ctypes.c_int()
        count, after = ctypes.c_ulong(), ctypes.c_ulong()
        data = ctypes.POINTER(ctypes.c_ubyte)()
        status = self.x11.XGetWindowProperty(self.display, window, self.pid_atom, 0, 1, 0, XA_CARDINAL,
                                             ctypes.byref(actual_type), ctypes.byref(actual_format),
                                             ctypes.byref(count), ctypes.byref(after), ctypes.byref(data))
        if status != 0 or not data:
            return None
        pid = ctypes.cast(data, ctypes.POINTER(ctypes.c_ulong))[0] if count.value else None
        self.x11.XFree(data)
        return pid

    def geometry(self, window):
        """x, y (on the screen), width and height of a window, or None if it has gone."""
        root, x, y = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_int()
        width, height, border, depth = ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint()
        if not self.x11.XGetGeometry(self.display, window, ctypes.byref(root), ctypes.byref(x), ctypes.byref(y),
                                     ctypes.byref(width), ctypes.byref(height), ctypes.byref(border),
                                     ctypes.byref(depth)):
            return None
        child = ctypes.c_ulong()
        self.x11.XTranslateCoordinates(self.display, window, self.root, 0, 0, ctypes.byref(x), ctypes.byref(y),
                                       ctypes.byref(child))
        return x.value, y.value, width.value, height.value

    def focus(self, window):
        self.x11.XSetInputFocus(self.display, window, REVERT_TO_PARENT, CURRENT_TIME)
        self.x11.XSync(self.display, 0)

    # --- input

    def keycode(self, keysym_name):
        code = self.x11.XKeysymToKeycode(self.display, self.x11.XStringToKeysym(keysym_name.encode()))
        if not code:
            raise RuntimeError(f"no key code for {keysym_name}")
        return code

    def key(self, keycode, down):
        """Sends a key event; returns the monotonic s just before it left and after X had it."""
        before = time.monotonic()
        self.xtst.XTestFakeKeyEvent(self.display, keycode, 1 if down else 0, CURRENT_TIME)
        self.x11.XSync(self.display, 0)
        return before, time.monotonic()

    def auto_repeat(self, on):
        """Switches the X server's key auto-repeat on or off, for every client of the display."""
        (self.x11.XAutoRepeatOn if on else self.x11.XAutoRepeatOff)(self.display)
        self.x11.XSync(self.display, 0)

    def click(self, x, y, button=1):
        self.xtst.XTestFakeMotionEvent(self.display, -1, x, y, CURRENT_TIME)
        self.xtst.XTestFakeButtonEvent(self.display, button, 1, CURRENT_TIME)
        self.xtst.XTestFakeButtonEvent(self.display, button, 0, CURRENT_TIME)
        self.x11.XSync(self.display, 0)
