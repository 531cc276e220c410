#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
"""Synthesise the two chime cues (pinpon.wav, endpinpon.wav) next to this script.

Standard library only, and no randomness, so re-running gives byte-identical files.
"""

import math
import os
import struct
import wave
from array import array

RATE = 22050
PEAK_DBFS = -3.0

# Partials of a small struck bell: (frequency ratio, relative amplitude, decay scale).
# Upper partials die away faster than the fundamental, which is what makes it sound
# struck rather than synthetic; the slightly inharmonic ratios add shimmer.
BELL_PARTIALS = (
    (1.0, 1.00, 1.00),
    (2.0, 0.45, 0.55),
    (3.01, 0.20, 0.35),
    (4.17, 0.10, 0.22),
    (5.43, 0.05, 0.15),
)

ATTACK_S = 0.004  # long enough to avoid a click, short enough to still sound struck
END_FADE_S = 0.08


def note_hz(name):
    """Equal-tempered frequency for names like 'E6' or 'G5' (A4 = 440 Hz)."""
    semis = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}[name[0]]
    octave = int(name[1:])
    return 440.0 * 2.0 ** ((semis + 12 * (octave - 4)) / 12.0)


def render(notes, length_s):
    """Mix bell notes given as (note name, onset s, decay time constant s, gain)."""
    n = int(round(length_s * RATE))
    buf = [0.0] * n
    for name, onset, tau, gain in notes:
        f0 = note_hz(name)
        start = int(round(onset * RATE))
        attack = ATTACK_S * RATE
        for i in range(start, n):
            t = (i - start) / RATE
            env = gain
            if i - start < attack:
                # Raised-cosine onset: smoother than a linear ramp at the same length.
                env *= 0.5 - 0.5 * math.cos(math.pi * (i - start) / attack)
            s = 0.0
            for ratio, amp, dscale in BELL_PARTIALS:
                f = f0 * ratio
                if f >= RATE / 2:
                    continue
                s += amp * math.exp(-t / (tau * dscale)) * math.sin(2 * math.pi * f * t)
            buf[i] += env * s

    fade = int(END_FADE_S * RATE)
    for k in range(fade):
        buf[n - 1 - k] *= 0.5 - 0.5 * math.cos(math.pi * k / fade)

    peak = max(abs(v) for v in buf) or 1.0
    scale = 10.0 ** (PEAK_DBFS / 20.0) * 32767.0 / peak
    return array("h", (int(round(v * scale)) for v in buf))


def write_wav(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        # WAV is little-endian regardless of the host.
        w.writeframes(struct.pack("<%dh" % len(samples), *samples))


def main():
    here = os.path.dirname(os.path.abspath(__file__))

    # Doorbell "pin-pon": a falling major third, the second note rung a little softer
    # but left to ring out.
    pinpon = render(
        [("E6", 0.00, 0.22, 1.0), ("C6", 0.30, 0.26, 0.9)],
        0.90,
    )
    write_wav(os.path.join(here, "pinpon.wav"), pinpon)

    # Closing cue: lower and slower, a falling G-E-C that settles on the tonic.
    endpinpon = render(
        [("G5", 0.00, 0.28, 1.0), ("E5", 0.32, 0.30, 0.9), ("C5", 0.64, 0.38, 0.9)],
        1.30,
    )
    write_wav(os.path.join(here, "endpinpon.wav"), endpinpon)


if __name__ == "__main__":
    main()
