#!/usr/bin/env python3
"""Makes the sixteen cockpit sounds under resources/sounds/ (PCM WAV, 16-byte fmt chunk).

Everything is synthesised here except the three speed call-outs, which are spoken by espeak-ng
and resampled by sox (Debian: apt-get install espeak-ng sox). The output is deterministic for a
given espeak-ng; the WAV files are kept in the repository, so a build never runs this tool.

    python3 resources/make_sounds.py [OUTPUT_DIR]
"""

import math
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import wave

TAU = 2.0 * math.pi

# name, channels, rate, bits, seconds (the cockpit's own table)
SOUNDS = [
    ("CLICK", 1, 22050, 16, 0.09),
    ("HI", 1, 22050, 16, 0.91),
    ("LO", 1, 22050, 16, 0.87),
    ("GONGMONO", 1, 22050, 16, 0.99),
    ("KLAXONCONT", 1, 22050, 16, 1.00),
    ("SONNERIE", 1, 22050, 16, 1.12),
    ("BRAKESSND", 1, 22050, 8, 3.11),
    ("CRECELLE", 1, 22050, 16, 2.44),
    ("KLAXONGEAR", 1, 22050, 16, 1.29),
    ("CACHEMETAL", 1, 44100, 16, 0.06),
    ("V80KTS", 1, 11025, 8, 1.01),
    ("V1KTS", 1, 11025, 8, 1.17),
    ("VRKTS", 1, 11025, 8, 1.14),
    ("AIRCOND", 2, 44100, 16, 3.01),
    ("AIRCONDENT", 2, 44100, 16, 6.42),
    ("AIRCONDSORT", 2, 44100, 16, 5.00),
]

CALLOUTS = {"V80KTS": "eighty knots", "V1KTS": "vee one", "VRKTS": "rotate"}


# ---- helpers -------------------------------------------------------------------------------------


def normalise(x, peak):
    top = max(1e-9, max(abs(v) for v in x))
    return [v * peak / top for v in x]


def fade(x, rate, fade_in=0.0, fade_out=0.0):
    n = len(x)
    a = int(fade_in * rate)
    b = int(fade_out * rate)
    y = list(x)
    for i in range(min(a, n)):
        y[i] *= i / a
    for i in range(min(b, n)):
        y[n - 1 - i] *= i / b
    return y


def loopable(make, n, rate, overlap):
    """n samples whose end runs into their start: a longer take cross-faded over `overlap` s."""
    m = int(overlap * rate)
    x = make(n + m)
    y = x[:n]
    for i in range(m):
        w = i / m
        y[i] = x[n + i] * (1.0 - w) + x[i] * w
    return y


def lowpass(x, cutoff, rate):
    a = 1.0 - math.exp(-TAU * cutoff / rate)
    y = 0.0
    out = []
    for v in x:
        y += a * (v - y)
        out.append(y)
    return out


def highpass(x, cutoff, rate):
    low = lowpass(x, cutoff, rate)
    return [a - b for a, b in zip(x, low)]


def resonator(x, freq, q, rate):
    """Two-pole band-pass: noise in, a ringing tone out."""
    w = TAU * freq / rate
    r = math.exp(-w / (2.0 * q))
    c1 = 2.0 * r * math.cos(w)
    c2 = -r * r
    y1 = y2 = 0.0
    out = []
    for v in x:
        y = (1.0 - r) * v + c1 * y1 + c2 * y2
        out.append(y)
        y2, y1 = y1, y
    return out


def pink(rng, n):
    b0 = b1 = b2 = 0.0
    out = []
    for _ in range(n):
        w = rng.uniform(-1.0, 1.0)
        b0 = 0.99765 * b0 + w * 0.0990460
        b1 = 0.96300 * b1 + w * 0.2965164
        b2 = 0.57000 * b2 + w * 1.0526913
        out.append(b0 + b1 + b2 + w * 0.1848)
    return out


def partials(t, table):
    """Sum of decaying sines: (frequency, amplitude, decay time constant)."""
    return sum(a * math.sin(TAU * f * t) * math.exp(-t / tau) for f, a, tau in table)


def band_limited(t, f, rate, odd_only, rolloff=1.0):
    s = 0.0
    k = 1
    while k * f < rate * 0.45:
        if not odd_only or k % 2 == 1:
            s += math.sin(TAU * k * f * t) / (k**rolloff)
        k += 1
    return s


# ---- the sounds ----------------------------------------------------------------------------------


def click(n, rate):
    """A toggle switch: the snap of the contact and a smaller bounce as the lever seats."""
    rng = random.Random(1)
    x = [0.0] * n
    for start, level in ((0.004, 1.0), (0.028, 0.35)):
        s = int(start * rate)
        for i in range(s, n):
            t = (i - s) / rate
            body = partials(t, [(3150, 0.8, 0.006), (5200, 0.4, 0.003), (1250, 0.3, 0.010)])
            x[i] += level * (body + rng.uniform(-1, 1) * math.exp(-t / 0.0015))
    return normalise(fade(x, rate, 0.0, 0.01), 0.9)


def chime(n, rate, freq):
    """Cabin call chime: a struck bar, fundamental and two overtones."""
    x = []
    for i in range(n):
        t = i / rate
        attack = min(1.0, t / 0.004)
        x.append(attack * partials(t, [(freq, 1.0, 0.35), (2 * freq, 0.25, 0.15),
                                       (3.01 * freq, 0.08, 0.08)]))
    return normalise(fade(x, rate, 0.0, 0.05), 0.8)


def gong(n, rate):
    """Master warning gong: a bell's inharmonic partials over a low hum."""
    f = 587.0
    table = [(f * 0.5, 0.35, 0.6), (f, 1.0, 0.45), (f * 1.19, 0.45, 0.35), (f * 1.5, 0.3, 0.3),
             (f * 2.0, 0.35, 0.25), (f * 2.74, 0.2, 0.15), (f * 5.4, 0.08, 0.06)]
    x = []
    for i in range(n):
        t = i / rate
        x.append(min(1.0, t / 0.003) * partials(t, table))
    return normalise(fade(x, rate, 0.0, 0.08), 0.85)


def horn(n, rate, freqs, odd_only):
    """A warning horn: buzzy waves a few hertz apart, steady so that it loops."""
    x = []
    for i in range(n):
        t = i / rate
        x.append(sum(band_limited(t, f, rate, odd_only, 1.2) for f in freqs))
    return normalise(x, 0.7)


def bell(n, rate):
    """Continuous fire bell: a hammer striking a gong about 22 times a second. The strikes are
    placed on a circle of the sound's own length, so the loop has no seam."""
    strikes = 25
    period = n / strikes
    table = [(2350, 1.0, 0.05), (2350 * 2.76, 0.35, 0.02), (2350 * 0.52, 0.25, 0.08)]
    x = []
    for i in range(n):
        v = 0.0
        for j in range(strikes):
            d = ((i - j * period) % n) / rate
            if d < 0.25:
                v += partials(d, table)
        x.append(v)
    return normalise(x, 0.7)


def brakes(n, rate):
    """Brake noise on the roll: rumble, scraping and a wavering squeal; loops."""
    rng = random.Random(7)

    def make(m):
        white = [rng.uniform(-1, 1) for _ in range(m)]
        rumble = lowpass(lowpass(white, 180, rate), 180, rate)
        scrape = resonator(white, 1900, 3.0, rate)
        out = []
        for i in range(m):
            t = i / rate
            squeal = 0.12 * math.sin(TAU * (2650 * t + 18 * math.sin(TAU * 0.7 * t)))
            out.append(6.0 * rumble[i] + 0.6 * scrape[i] + squeal)
        return out

    return normalise(loopable(make, n, rate, 0.25), 0.75)


def rattle(n, rate):
    """A hand rattle: a wooden ratchet clacking fifteen times a second."""
    rng = random.Random(3)
    x = [0.0] * n
    step = rate / 15.0
    k = 0
    while k * step < n - 1:
        s = int(k * step + rng.uniform(-0.003, 0.003) * rate)
        level = rng.uniform(0.7, 1.0)
        for i in range(max(0, s), min(n, s + int(0.05 * rate))):
            t = (i - s) / rate
            x[i] += level * (partials(t, [(920, 1.0, 0.012), (1710, 0.5, 0.006)]) +
                             0.6 * rng.uniform(-1, 1) * math.exp(-t / 0.002))
        k += 1
    return normalise(fade(x, rate, 0.0, 0.03), 0.85)


def metal(n, rate):
    """The guard cover snapping shut: a short bright metallic clack."""
    rng = random.Random(5)
    table = [(3120, 1.0, 0.012), (4870, 0.7, 0.009), (7230, 0.5, 0.006), (9150, 0.3, 0.004),
             (190, 0.4, 0.008)]
    x = []
    for i in range(n):
        t = i / rate
        x.append(partials(t, table) + rng.uniform(-1, 1) * math.exp(-t / 0.0008))
    return normalise(fade(x, rate, 0.0, 0.01), 0.9)


def air_noise(rng, n, rate, level, cutoff, whine):
    """One channel of air-conditioning noise: pink noise through a moving low-pass, with the
    pack's whine. level, cutoff and whine are functions of time."""
    white = pink(rng, n)
    y = 0.0
    phase = 0.0
    out = []
    for i in range(n):
        t = i / rate
        a = 1.0 - math.exp(-TAU * cutoff(t) / rate)
        y += a * (white[i] - y)
        phase += TAU * whine(t) / rate
        out.append(level(t) * (y + 0.04 * math.sin(phase) + 0.02 * math.sin(2.0 * phase)))
    return out


def aircond(n, rate, shape):
    steady_cut = 2600.0
    steady_whine = 1180.0
    # One scale for all three, so that start, steady and end meet at the same loudness.
    reference = air_noise(random.Random(11), rate, rate, lambda t: 1.0, lambda t: steady_cut,
                          lambda t: steady_whine)
    scale = 0.4 / max(abs(v) for v in reference[rate // 10:])
    out = []
    for ch in range(2):
        rng = random.Random(11 + ch)
        if shape == "steady":
            make = lambda m, r=rng: air_noise(r, m, rate, lambda t: 1.0, lambda t: steady_cut,
                                              lambda t: steady_whine)
            out.append(loopable(make, n, rate, 0.3))
        elif shape == "start":
            ramp = lambda t: min(1.0, t / 5.2)
            out.append(air_noise(rng, n, rate, lambda t: ramp(t) ** 1.5,
                                 lambda t: 300 + (steady_cut - 300) * ramp(t),
                                 lambda t: 200 + (steady_whine - 200) * ramp(t)))
        else:
            run = lambda t: max(0.0, 1.0 - t / 4.6)
            out.append(air_noise(rng, n, rate, lambda t: run(t) ** 1.5,
                                 lambda t: 300 + (steady_cut - 300) * run(t),
                                 lambda t: 200 + (steady_whine - 200) * run(t)))
    return [[v * scale for v in c] for c in out]


def callout(n, rate, text):
    """A speed call-out spoken by espeak-ng, trimmed, fitted into the sound's length."""
    for tool in ("espeak-ng", "sox"):
        if shutil.which(tool) is None:
            sys.exit("make_sounds: %s is needed for the call-outs (apt-get install espeak-ng sox)"
                     % tool)
    with tempfile.TemporaryDirectory() as tmp:
        spoken = os.path.join(tmp, "spoken.wav")
        raw = os.path.join(tmp, "spoken.raw")
        subprocess.run(["espeak-ng", "-v", "en-us", "-s", "165", "-p", "40", "-w", spoken, text],
                       check=True)
        # Trim the silence at both ends, resample, and speed up if it would not fit.
        effects = ["silence", "1", "0.01", "1%", "reverse", "silence", "1", "0.01", "1%",
                   "reverse"]
        length = float(subprocess.run(["sox", spoken, "-n"] + effects + ["stat"],
                                      capture_output=True, text=True).stderr.split(
                                          "Length (seconds):")[1].split()[0])
        room = n / rate - 0.12
        tempo = ["tempo", "-s", "%.3f" % (length / room)] if length > room else []
        subprocess.run(["sox", spoken, "-t", "raw", "-e", "signed", "-b", "16", "-c", "1", "-r",
                        str(rate), raw] + effects + tempo + ["highpass", "120", "norm", "-1"],
                       check=True)
        data = open(raw, "rb").read()
    speech = [v / 32768.0 for v in struct.unpack("<%dh" % (len(data) // 2), data)]
    start = int(0.04 * rate)
    x = [0.0] * n
    for i, v in enumerate(speech[: n - start]):
        x[start + i] = v
    return fade(x, rate, 0.0, 0.02)


def make(name, n, rate):
    if name == "CLICK":
        return [click(n, rate)]
    if name == "HI":
        return [chime(n, rate, 1175.0)]
    if name == "LO":
        return [chime(n, rate, 880.0)]
    if name == "GONGMONO":
        return [gong(n, rate)]
    if name == "KLAXONCONT":
        return [horn(n, rate, (420.0, 426.0), True)]  # whole cycles in the 1 s loop
    if name == "SONNERIE":
        return [bell(n, rate)]
    if name == "BRAKESSND":
        return [brakes(n, rate)]
    if name == "CRECELLE":
        return [rattle(n, rate)]
    if name == "KLAXONGEAR":
        return [horn(n, rate, (387 / 1.29, 398 / 1.29), False)]  # whole cycles in 1.29 s
    if name == "CACHEMETAL":
        return [metal(n, rate)]
    if name in CALLOUTS:
        return [callout(n, rate, CALLOUTS[name])]
    if name == "AIRCOND":
        return aircond(n, rate, "steady")
    if name == "AIRCONDENT":
        return aircond(n, rate, "start")
    if name == "AIRCONDSORT":
        return aircond(n, rate, "end")
    raise ValueError(name)


def write(path, channels, rate, bits, data):
    n = len(data[0])
    frames = bytearray()
    for i in range(n):
        for c in range(channels):
            v = max(-1.0, min(1.0, data[c][i]))
            if bits == 8:
                frames.append(max(0, min(255, int(round(v * 127.0)) + 128)))
            else:
                frames += struct.pack("<h", int(round(v * 32767.0)))
    with wave.open(path, "wb") as w:  # writes a 16-byte PCM fmt chunk
        w.setnchannels(channels)
        w.setsampwidth(bits // 8)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "sounds")
    os.makedirs(out, exist_ok=True)
    for name, channels, rate, bits, seconds in SOUNDS:
        n = int(round(seconds * rate))
        data = make(name, n, rate)
        assert len(data) == channels and all(len(c) == n for c in data), name
        write(os.path.join(out, name + ".wav"), channels, rate, bits, data)
        print("%-12s %d ch %5d Hz %2d bit %.2f s" % (name, channels, rate, bits, n / rate))


if __name__ == "__main__":
    main()
