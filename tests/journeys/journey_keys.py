# SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Puts the characters a journey types on spare keys of the test X server's keyboard map.

xdotool types a character that has no key by binding it to a spare key just for that key press
and unbinding it right after. A toolkit that reads the keyboard map again when told of the
change may read it after the unbinding and lose the character. Binding every character that a
text needs before typing it, and only unbinding once the text has arrived, removes that race:
xdotool then finds real keys for all of them.
"""
import contextlib
import ctypes

_x11 = ctypes.CDLL("libX11.so.6")
_x11.XOpenDisplay.restype = ctypes.c_void_p
_x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
_x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
_x11.XDisplayKeycodes.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                  ctypes.POINTER(ctypes.c_int)]
_x11.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
_x11.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                     ctypes.POINTER(ctypes.c_int)]
_x11.XChangeKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                        ctypes.POINTER(ctypes.c_ulong), ctypes.c_int]
_x11.XFree.argtypes = [ctypes.c_void_p]
_x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]


def keysym(character):
    """The X keysym of a character: Latin-1 as itself, everything else in the Unicode range."""
    code = ord(character)
    return code if 0x20 <= code <= 0x7E or 0xA0 <= code <= 0xFF else 0x01000000 + code


def _mapping(display):
    low, high = ctypes.c_int(), ctypes.c_int()
    _x11.XDisplayKeycodes(display, ctypes.byref(low), ctypes.byref(high))
    width = ctypes.c_int()
    count = high.value - low.value + 1
    table = _x11.XGetKeyboardMapping(display, low.value, count, ctypes.byref(width))
    keys = {low.value + i: [table[i * width.value + j] for j in range(width.value)]
            for i in range(count)}
    _x11.XFree(table)
    return keys


def _bind(display, keycode, symbol):
    symbols = (ctypes.c_ulong * 1)(symbol)
    _x11.XChangeKeyboardMapping(display, keycode, 1, symbols, 1)


@contextlib.contextmanager
def keys_for(text):
    """Binds each character of text that has no key to a spare key for the duration."""
    display = _x11.XOpenDisplay(None)
    if not display:
        raise RuntimeError("cannot open the X display")
    bound = []
    try:
        keys = _mapping(display)
        present = {symbol for symbols in keys.values() for symbol in symbols}
        spare = [code for code, symbols in sorted(keys.items()) if not any(symbols)]
        for symbol in sorted({keysym(c) for c in text} - present):
            if not spare:
                raise RuntimeError("no spare key left in the keyboard map")
            code = spare.pop()
            _bind(display, code, symbol)
            bound.append(code)
        _x11.XSync(display, 0)
        yield
    finally:
        for code in bound:
            _bind(display, code, 0)
        _x11.XSync(display, 0)
        _x11.XCloseDisplay(display)
