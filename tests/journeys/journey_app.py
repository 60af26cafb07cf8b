# SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""One run of the real application for a journey: a fresh temporary home with every XDG folder
inside it, a private accessibility bus, the application started in it and stopped afterwards.

Expects the desktop of scripts/with-test-desktop (DISPLAY, the session bus, PULSE_SERVER).
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time


def _bus_has(name):
    result = subprocess.run(
        ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
         "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", f"string:{name}"],
        capture_output=True, text=True)
    return result.returncode == 0 and "boolean true" in result.stdout


def _wait(what, check, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if check():
            return
        time.sleep(0.05)
    raise RuntimeError(f"{what} did not happen within {timeout} s")


class App:
    """The application under test and the folders it lives in."""

    def __init__(self, binary, name):
        self.binary = binary
        self.work = tempfile.mkdtemp(prefix=f"velmor-journey-{name}.")
        self.home = os.path.join(self.work, "home")
        self.runtime = os.path.join(self.work, "runtime")
        os.makedirs(self.home)
        os.makedirs(self.runtime)
        os.chmod(self.runtime, 0o700)
        self.log_path = os.path.join(self.work, "app.log")
        self.process = None
        self.exit_code = None
        self._bus = None

    def environment(self):
        env = dict(os.environ)
        env.update({
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "XDG_DATA_HOME": os.path.join(self.home, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(self.home, ".cache"),
            "XDG_STATE_HOME": os.path.join(self.home, ".local", "state"),
            "XDG_RUNTIME_DIR": self.runtime,
            # Nothing of the machine's own data folders may be found through these.
            "XDG_DATA_DIRS": "/usr/local/share:/usr/share",
            "XDG_CONFIG_DIRS": "/etc/xdg",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_QPA_PLATFORM": "xcb",
        })
        return env

    def start(self):
        """Starts the accessibility bus, then the application once the bus is there."""
        # The launcher registers org.a11y.Bus on the session bus; the application asks it for
        # the accessibility bus when it starts, so it must be up first.
        self._bus = subprocess.Popen(
            ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
            env=self.environment(), stdout=subprocess.DEVNULL,
            stderr=open(os.path.join(self.work, "at-spi.log"), "wb"))
        _wait("the accessibility bus", lambda: _bus_has("org.a11y.Bus"), 20)
        with open(self.log_path, "wb") as log:
            self.process = subprocess.Popen([self.binary], env=self.environment(), stdout=log,
                                            stderr=subprocess.STDOUT)

    def launch_again(self, timeout=20.0):
        """Launches the application a second time in the same home, as a user would from the
        menu, and returns that launch's exit status."""
        with open(self.log_path, "ab") as log:
            return subprocess.run([self.binary], env=self.environment(), stdout=log,
                                  stderr=subprocess.STDOUT, timeout=timeout).returncode

    def running(self):
        return self.process is not None and self.process.poll() is None

    def wait_exit(self, timeout=20.0):
        """The exit status, or None when the process is still running after timeout."""
        try:
            self.exit_code = self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None
        return self.exit_code

    def log(self):
        try:
            with open(self.log_path, "rb") as log:
                return log.read().decode("utf-8", "replace")
        except OSError:
            return ""

    def stop(self, failed):
        """Ends what this run started (SIGTERM, then SIGKILL if it hangs) and removes its
        folder; on failure the application's output goes to stderr first."""
        for process in (self.process, self._bus):
            if process is not None and process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        if failed:
            sys.stderr.write("--- application output\n" + self.log() + "---\n")
        shutil.rmtree(self.work, ignore_errors=True)
