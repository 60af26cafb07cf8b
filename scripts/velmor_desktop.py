# SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Drives the running application on a test desktop the way a user would.

Controls are found by their accessible names over AT-SPI and then clicked and typed into with
xdotool, so callers follow the window's layout wherever it moves. Used by scripts/screenshots,
the end-to-end journeys and the measurement script; it expects DISPLAY and the session bus of
scripts/with-test-desktop and an accessibility bus on it.
"""
import subprocess
import sys
import time

import pyatspi

TITLE = "Velmor's Focus"
# Where the pointer rests between actions: off every window, so no hover highlight remains.
PARK = ("1270", "10")


def wait_for(what, find, timeout=20.0):
    """Polls find() until it returns something true; exits with a message after timeout."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.1)
    sys.exit(f"{what} did not appear")


def frames(title=TITLE):
    """The application's top-level windows with the given title: the main window and alerts."""
    result = []
    for app in pyatspi.Registry.getDesktop(0):
        if app is None:
            continue
        for child in app:
            if child is not None and child.getRoleName() == "frame" and child.name == title:
                result.append(child)
    return result


def main_window(timeout=20.0):
    return wait_for("the main window", lambda: frames()[0] if frames() else None, timeout)


def descendant(root, name, roles):
    return pyatspi.findDescendant(
        root, lambda node: node is not None and node.name == name and node.getRoleName() in roles)


def button(frame, name, timeout=20.0):
    return wait_for(f'the button "{name}"',
                    lambda: descendant(frame, name, ("push button",)), timeout)


def xdotool(*arguments):
    return subprocess.run(["xdotool", *arguments], check=True, capture_output=True,
                          text=True).stdout.split()


def click(node, park=True, mouse_button="1"):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    xdotool("mousemove", "--sync", str(box.x + box.width // 2), str(box.y + box.height // 2),
            "click", mouse_button)
    if park:
        xdotool("mousemove", "--sync", *PARK)


def press(frame, name):
    click(button(frame, name))


def showing(frame, text, timeout=20.0):
    return wait_for(f'the text "{text}"',
                    lambda: descendant(frame, text, ("label", "static", "text")), timeout)


def choose(frame, picker, steps, key):
    """Opens a duration picker, moves its highlight by keyboard and takes the choice."""
    box = wait_for(f'the picker "{picker}"', lambda: descendant(frame, picker, ("combo box",)))
    click(box, park=False)
    time.sleep(0.4)
    xdotool("key", "--delay", "20", *([key] * steps), "Return")
    xdotool("mousemove", "--sync", *PARK)
    time.sleep(0.3)


def set_duration(frame, minutes, seconds):
    """Sets the focus length on the idle focus page from the default 25:00."""
    if minutes != 25:
        choose(frame, "分", abs(25 - minutes), "Up" if minutes < 25 else "Down")
    if seconds:
        choose(frame, "秒", seconds, "Down")
    showing(frame, f"{minutes:02d}:{seconds:02d}")
