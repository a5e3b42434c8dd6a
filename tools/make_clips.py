# SPDX-License-Identifier: GPL-3.0-or-later
"""Synthesize the five short sound clips embedded in Vortani Puzzle.

Every sound is generated here from sine waves and seeded noise, so the
assets carry no third-party material and can be rebuilt at any time:

    python3 tools/make_clips.py

The output is deterministic: two runs produce byte-identical files.
"""

import math
import random
import struct
from pathlib import Path

TWO_PI = 2.0 * math.pi

# Note frequencies (equal temperament, A4 = 440 Hz).
C5, E5, G5, C6 = 523.25, 659.26, 783.99, 1046.50
E6, G6 = 1318.51, 1567.98
G4, E4 = 392.00, 329.63
A5 = 880.00

# Repo root is the parent of tools/, so the script works from any cwd.
ROOT = Path(__file__).resolve().parent.parent
OUT_DIR = ROOT / "assets" / "sounds"


def silence(n):
    return [0.0] * n


def add_into(buf, start, samples):
    """Mix `samples` into `buf` from index `start`, clipping at the end."""
    for i, s in enumerate(samples):
        j = start + i
        if j >= len(buf):
            break
        buf[j] += s


def tone(rate, freq, n, partials, decay=None, attack=0.005,
         vibrato_hz=0.0, vibrato_depth=0.0, glide=0.0):
    """One note built from (ratio, amplitude, decay-rate multiplier) partials.

    The phase is integrated sample by sample so vibrato and pitch glides stay
    click-free. Partials above Nyquist are dropped to avoid aliasing buzz.
    `decay` is an exponential rate in 1/s (None = held note); higher partials
    may decay faster, which is what makes a struck mallet or bell sound.
    """
    nyquist = rate / 2.0
    parts = [(r, a, d) for (r, a, d) in partials if freq * r * (1 + abs(glide)) < nyquist * 0.95]
    phases = [0.0] * len(parts)
    att = max(1, int(attack * rate))
    out = []
    for i in range(n):
        t = i / rate
        # Pitch modulation: optional vibrato and a linear glide over the note.
        f = freq * (1.0 + glide * (i / n))
        if vibrato_hz:
            # Vibrato fades in so the held chord starts steady, like a player.
            depth = vibrato_depth * min(1.0, t / 0.25)
            f *= 1.0 + depth * math.sin(TWO_PI * vibrato_hz * t)
        s = 0.0
        for k, (r, a, d) in enumerate(parts):
            phases[k] += TWO_PI * f * r / rate
            env = math.exp(-decay * d * t) if decay is not None else 1.0
            s += a * env * math.sin(phases[k])
        # Raised-cosine attack: soft onset with no step discontinuity.
        if i < att:
            s *= 0.5 - 0.5 * math.cos(math.pi * i / att)
        out.append(s)
    return out


def fade(buf, rate, fade_in=0.0, fade_out=0.0):
    """Raised-cosine fades at both ends so clips start and stop silently."""
    n = len(buf)
    fi = int(fade_in * rate)
    fo = int(fade_out * rate)
    for i in range(min(fi, n)):
        buf[i] *= 0.5 - 0.5 * math.cos(math.pi * i / fi)
    for i in range(min(fo, n)):
        buf[n - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / fo)
    return buf


def normalize(buf, peak):
    """Scale so the loudest sample hits `peak` (in 8-bit steps around 128)."""
    m = max(abs(s) for s in buf) or 1.0
    return [s * peak / m for s in buf]


def to_u8(buf):
    # 8-bit WAV is unsigned: 128 is the zero line.
    return bytes(max(0, min(255, int(round(128.0 + s)))) for s in buf)


def wav_image(rate, data, extra=b""):
    """Complete RIFF/WAVE image: mono, 8-bit unsigned PCM.

    Built by hand so the odd-length pad byte and any trailing chunk are
    exactly as intended rather than left to a library's choices.
    """
    fmt = struct.pack("<HHIIHH",
                      1,        # PCM
                      1,        # mono
                      rate,     # sample rate
                      rate,     # byte rate = rate * block align
                      1,        # block align
                      8)        # bits per sample
    body = b"WAVE"
    body += b"fmt " + struct.pack("<I", len(fmt)) + fmt
    body += b"data" + struct.pack("<I", len(data)) + data
    if len(data) % 2:
        # RIFF chunks are word aligned; the pad is not part of the data size.
        body += b"\x00"
    body += extra
    return b"RIFF" + struct.pack("<I", len(body)) + body


def info_list(software, size):
    """A LIST/INFO chunk holding one ISFT string, sized to `size` bytes total."""
    payload_len = size - 8 - 4 - 8          # LIST hdr, "INFO", ISFT hdr
    text = software.encode("ascii")
    assert payload_len > len(text) and payload_len % 2 == 0
    isft = text + b"\x00" * (payload_len - len(text))   # NUL-terminated
    sub = b"ISFT" + struct.pack("<I", len(isft)) + isft
    body = b"INFO" + sub
    return b"LIST" + struct.pack("<I", len(body)) + body


# --- The clips -------------------------------------------------------------

def clip101():
    """Fanfare for a finished picture: mallet arpeggio, then a held chord."""
    rate, n = 11025, 30720
    buf = silence(n)
    # Mallet tone: strong fundamental, faint octave and twelfth that die
    # quickly, giving a toy-xylophone "tok" without harshness.
    mallet = [(1.0, 1.0, 1.0), (2.0, 0.25, 2.5), (3.0, 0.12, 4.0)]
    step = 0.15
    for idx, f in enumerate((C5, E5, G5, C6)):
        note = tone(rate, f, int(0.6 * rate), mallet, decay=6.0, attack=0.004)
        fade(note, rate, fade_out=0.15)       # no step where the tail is cut
        add_into(buf, int(idx * step * rate), note)
    # Held chord with a soft brass-like timbre (harmonics falling off fast),
    # vibrato for warmth; each voice slightly detuned so it shimmers.
    brass = [(1.0, 1.0, 1.0), (2.0, 0.45, 1.0), (3.0, 0.22, 1.0),
             (4.0, 0.10, 1.0), (5.0, 0.05, 1.0)]
    start = int(0.62 * rate)
    chord_n = n - start
    chord = silence(chord_n)
    for f, amp, det in ((C5, 0.55, 1.0), (E5, 0.45, 1.0015),
                        (G5, 0.45, 0.9985), (C6, 0.35, 1.001)):
        voice = tone(rate, f * det, chord_n, brass, decay=None, attack=0.05,
                     vibrato_hz=5.5, vibrato_depth=0.005)
        add_into(chord, 0, [s * amp for s in voice])
    # Chord holds half a second, then decays and fades fully to silence.
    total = chord_n / rate
    for i in range(chord_n):
        t = i / rate
        env = 1.0 if t < 0.5 else math.exp(-1.6 * (t - 0.5))
        env *= 1.0 - max(0.0, (t - (total - 0.9)) / 0.9) ** 2   # reach zero
        # 0.55 keeps the four-voice chord no louder than the arpeggio.
        chord[i] *= 0.55 * env
    # Shaped on its own so the arpeggio tails underneath keep their decay.
    add_into(buf, start, chord)
    buf = normalize(buf, 82)
    return rate, n, fade(buf, rate, fade_in=0.002, fade_out=0.05)


def clip102():
    """Soft blip for keypad keys and level choices."""
    rate, n = 11025, 1295
    # Round sine with a whisper of octave; a tiny downward glide makes it
    # read as a "pop" rather than a beep.
    voice = tone(rate, A5 * 0.75, n, [(1.0, 1.0, 1.0), (2.0, 0.15, 2.0)],
                 decay=28.0, attack=0.008, glide=-0.04)
    buf = normalize(voice, 70)
    return rate, n, fade(buf, rate, fade_in=0.002, fade_out=0.015)


def clip103():
    """Friendly "uh-oh": two soft notes falling a minor third (G4 -> E4)."""
    rate, n = 11025, 6207
    buf = silence(n)
    soft = [(1.0, 1.0, 1.0), (2.0, 0.18, 1.6), (3.0, 0.05, 2.5)]
    first = tone(rate, G4, int(0.24 * rate), soft, decay=5.0, attack=0.02)
    fade(first, rate, fade_out=0.04)          # separate the two syllables
    add_into(buf, 0, first)
    # Second note is longer and sags slightly in pitch, like a sigh.
    second_start = int(0.25 * rate)
    second = tone(rate, E4, n - second_start, soft, decay=4.0, attack=0.02,
                  glide=-0.03)
    add_into(buf, second_start, second)
    buf = normalize(buf, 72)
    return rate, n, fade(buf, rate, fade_in=0.005, fade_out=0.08)


def clip104():
    """Bright "right!" chime: three quick rising bell notes and a sparkle."""
    rate, n = 22050, 11376
    buf = silence(n)
    # Bell timbre: a slightly stretched, inharmonic partial set whose upper
    # members fade first, leaving a pure ring.
    bell = [(1.0, 1.0, 1.0), (2.0, 0.30, 1.8), (3.01, 0.14, 2.6),
            (4.17, 0.07, 3.5)]
    for idx, (f, amp) in enumerate(((C6, 0.8), (E6, 0.85), (G6, 1.0))):
        note = tone(rate, f, n, bell, decay=7.0 - idx * 1.5, attack=0.003)
        add_into(buf, int(idx * 0.085 * rate), [s * amp for s in note])
    # Sparkle: a few tiny high pings at seeded random times/pitches.
    rng = random.Random(104)
    for _ in range(6):
        at = int(rng.uniform(0.17, 0.36) * rate)
        f = rng.uniform(3200.0, 5200.0)
        ping = tone(rate, f, int(0.09 * rate), [(1.0, 0.12, 1.0)],
                    decay=40.0, attack=0.002)
        add_into(buf, at, ping)
    buf = normalize(buf, 84)
    return rate, n, fade(buf, rate, fade_in=0.001, fade_out=0.08)


def clip105():
    """Very short soft click (~19 ms): a damped woody tick plus a breath of
    low-passed noise. No fade-in: the click is the transient itself."""
    rate, n = 20000, 371
    rng = random.Random(105)
    buf = []
    lp = 0.0
    for i in range(n):
        t = i / rate
        # One-pole low-pass takes the hiss out of the noise.
        lp += 0.25 * (rng.uniform(-1.0, 1.0) - lp)
        s = 0.8 * math.sin(TWO_PI * 1400.0 * t) * math.exp(-t * 260.0)
        s += 0.6 * lp * math.exp(-t * 400.0)
        buf.append(s)
    buf = normalize(buf, 60)
    return rate, n, fade(buf, rate, fade_out=0.004)


# Expected sample count and file size for each clip; checked on every run so
# a change to a generator can never silently alter the embedded images.
CLIPS = [
    ("clip101.wav", clip101, 11025, 30720, 30764, None),
    ("clip102.wav", clip102, 11025, 1295, 1340, None),
    ("clip103.wav", clip103, 11025, 6207, 6252, None),
    ("clip104.wav", clip104, 22050, 11376, 11420, None),
    ("clip105.wav", clip105, 20000, 371, 468, 52),
]


def main():
    OUT_DIR.mkdir(parents=True, exist_ok=True)
    for name, make, want_rate, want_n, want_size, list_size in CLIPS:
        rate, n, samples = make()
        assert rate == want_rate and n == want_n == len(samples), name
        extra = info_list("Vortani Puzzle make_clips", list_size) if list_size else b""
        image = wav_image(rate, to_u8(samples), extra)
        assert len(image) == want_size, (name, len(image))
        assert struct.unpack_from("<I", image, 4)[0] == len(image) - 8, name
        (OUT_DIR / name).write_bytes(image)
        print(f"{name}: {rate} Hz, {n} samples, {len(image)} bytes")


if __name__ == "__main__":
    main()
