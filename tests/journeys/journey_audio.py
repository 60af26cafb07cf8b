# SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Sound for the journeys: a test tone to import, and what the application played, recorded from
the test desktop's null sink and measured without any library beyond the standard one.
"""
import array
import math
import os
import signal
import subprocess
import time
import wave

RATE = 44100
FULL_SCALE = 32767


def write_tone(path, frequency=1000.0, seconds=1.5, level=0.5):
    """A 16-bit mono WAV of one sine tone, faded in and out over 10 ms so it starts without a
    click that would smear its spectrum."""
    count = int(RATE * seconds)
    fade = int(RATE * 0.01)
    samples = array.array("h")
    for i in range(count):
        envelope = min(1.0, i / fade, (count - 1 - i) / fade)
        samples.append(int(FULL_SCALE * level * envelope *
                           math.sin(2 * math.pi * frequency * i / RATE)))
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(samples.tobytes())


class Capture:
    """Records the null sink's monitor as raw 16-bit mono samples while it runs."""

    def __init__(self, path):
        self.path = path
        self.process = subprocess.Popen(
            ["parecord", "--device=testsink.monitor", "--raw", "--format=s16le",
             f"--rate={RATE}", "--channels=1", "--latency-msec=20", path],
            stderr=subprocess.PIPE)
        # The stream is connected once the first silence arrives from the monitor.
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                raise RuntimeError("parecord ended: " + self.process.stderr.read().decode())
            if os.path.exists(path) and os.path.getsize(path) > 0:
                return
            time.sleep(0.05)
        self.stop()
        raise RuntimeError("parecord delivered nothing from testsink.monitor")

    def _samples(self):
        samples = array.array("h")
        with open(self.path, "rb") as source:
            data = source.read()
        samples.frombytes(data[:len(data) - len(data) % 2])
        return samples

    def wait_for_sound(self, timeout=15.0, quiet=0.5, level=0.01):
        """Keeps recording until something above level has played and then quiet seconds of
        silence followed, or until timeout seconds have passed."""
        threshold = level * FULL_SCALE
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            samples = self._samples()
            last = next((i for i in range(len(samples) - 1, -1, -1)
                         if abs(samples[i]) > threshold), None)
            if last is not None and len(samples) - last > quiet * RATE:
                return
            time.sleep(0.1)

    def stop(self):
        """Ends the recording and returns its samples."""
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGINT)
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        return self._samples()


def peak(samples):
    return max((abs(s) for s in samples), default=0) / FULL_SCALE


def loudest_rms(samples, window=RATE // 20):
    """The RMS of the loudest 50 ms, relative to full scale: a short alert among seconds of
    silence is judged by where it plays, not diluted by the rest."""
    best = 0.0
    for start in range(0, max(1, len(samples) - window + 1), window // 2):
        part = samples[start:start + window]
        if part:
            best = max(best, math.sqrt(sum(s * s for s in part) / len(part)))
    return best / FULL_SCALE


def loudest_part(samples, length):
    """The stretch of the given length with the most energy (coarse search in 10 ms steps)."""
    if len(samples) <= length:
        return samples
    step = RATE // 100
    energies = [s * s for s in samples]
    window = sum(energies[:length])
    best, best_start = window, 0
    for start in range(step, len(samples) - length + 1, step):
        window += sum(energies[start - step + length:start + length])
        window -= sum(energies[start - step:start])
        if window > best:
            best, best_start = window, start
    return samples[best_start:best_start + length]


def _goertzel_power(samples, frequency):
    coefficient = 2 * math.cos(2 * math.pi * frequency / RATE)
    previous = before = 0.0
    for s in samples:
        previous, before = s + coefficient * previous - before, previous
    return previous * previous + before * before - coefficient * previous * before


def dominant_frequency(samples, low=100, high=5000, step=10):
    """The frequency, within low … high in steps of step Hz, where the loudest 4096 samples
    carry the most power (a Hann-windowed single-bin DFT per candidate)."""
    part = loudest_part(samples, 4096)
    n = len(part)
    windowed = [s * (0.5 - 0.5 * math.cos(2 * math.pi * i / (n - 1))) for i, s in enumerate(part)]
    return max(range(low, high + 1, step), key=lambda f: _goertzel_power(windowed, f))


def zero_crossing_frequency(samples):
    """The frequency that the sign changes of the loudest 0.25 s imply."""
    part = loudest_part(samples, RATE // 4)
    crossings = sum(1 for a, b in zip(part, part[1:]) if (a < 0) != (b < 0))
    return crossings / 2 / (len(part) / RATE)
