#!/usr/bin/env python3
"""The tones heard in a capture of the engine's sound (signed 16-bit stereo, 44.1 kHz).

    tones_heard.py CAPTURE [TONE DECODED GAIN]...

Prints the pitches of the sounding stretches, in order, merged where they repeat; a tenth of a
second or two of a tone is a seam, not a song. For each TONE DECODED GAIN given, it then prints a
line saying whether that tone was heard at the level of DECODED (the song decoded to the same
format) plus GAIN dB, within 0.2 dB, ending in "ok" or "wrong".
"""
import array
import math
import statistics
import sys

TONES = (220, 440, 880)
BLOCK = 4410


def left_of(path):
    samples = array.array("h")
    with open(path, "rb") as f:
        samples.frombytes(f.read())
    return samples[0::2]


def level(part):
    return 20 * math.log10(math.sqrt(sum(v * v for v in part) / len(part)) / 32768)


left = left_of(sys.argv[1])
runs = []  # [tone, levels of its blocks]
for start in range(0, len(left) - BLOCK, BLOCK):
    part = left[start:start + BLOCK]
    if sum(1 for v in part if v == 0) > BLOCK // 10:
        continue  # silence, or a song's edge
    hz = sum(1 for a, b in zip(part, part[1:]) if a < 0 <= b) * 44100 / BLOCK
    near = [tone for tone in TONES if abs(hz - tone) < tone * 0.05]
    if not near:
        continue
    if runs and runs[-1][0] == near[0]:
        runs[-1][1].append(level(part))
    else:
        runs.append([near[0], [level(part)]])
runs = [run for run in runs if len(run[1]) >= 3]
print(" ".join(str(tone) for tone, _ in runs))

heard = {tone: statistics.median(levels) for tone, levels in runs}
checks = sys.argv[2:]
for tone, path, gain in zip(checks[0::3], checks[1::3], checks[2::3]):
    decoded = left_of(path)
    expected = level(decoded[len(decoded) // 4:len(decoded) * 3 // 4]) + float(gain)
    got = heard.get(int(tone), -999)
    print("%s Hz heard at %.2f dBFS, expected %.2f: %s" % (tone, got, expected,
          "ok" if abs(got - expected) <= 0.2 else "wrong"))
