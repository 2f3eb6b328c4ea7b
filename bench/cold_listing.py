#!/usr/bin/env python3
"""Cold-cache listing rows of the bench: a first listing after a reboot.

    cold_listing.py --data FOLDER --scan PATH --probe PATH --taglib PATH [--rounds 5]

Before every command the page cache is dropped (echo 3 > /proc/sys/vm/drop_caches, so root only)
and the command's own program is run once on an empty folder, so that its libraries come from
memory and only the folder is read from the disk, as when a person opens a folder in a program
already running. Every command of a round runs on the same folder, one after the other, each round
in an order turned one place on from the last; the rounds interleave. Printed: the median
wall-clock time of the rounds and their spread (fastest to slowest), each beside TagLib and
`xargs -P16 cat` measured in the same rounds, and whether the targets are met. Exits 0 when every
target is met, 1 when one is missed, 0 with one line when the page cache cannot be dropped (not
root)."""

import argparse
import os
import random
import shutil
import statistics
import subprocess
import sys
import time

FOLDERS = [
    # name, source song, copies, target over TagLib, target over xargs -P16 cat, variants
    ("small-tagged", "small", 2000, 1.0, None, ("", "-replaygain")),
    ("tagged", "tagged", 300, 1.0, None, ("", "-replaygain")),
    ("untagged", "untagged", 300, None, 1.0, ("", "-replaygain")),
    # As taggers leave a collection: the four-minute song behind an ID3v2 tag with cover art.
    ("tagged", "tagged", 300, 1.0, None, ("-art",)),
]
ART_BYTES = 300 * 1024
WINDOW_OVER_SCAN = 1.2


def run(command, **kwargs):
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **kwargs)


def make_sources(data):
    """The songs copied into the folders: a 5-second and a 4-minute song with lame's tag, the same
    4 minutes as VBR frames without any tag, and each of them once more with mp3gain's APEv2 tag
    (or, without mp3gain, an APEv2 tag of the same shape written here)."""
    sources = os.path.join(data, "sources")
    os.makedirs(sources, exist_ok=True)
    long_wav = os.path.join(sources, "song.wav")
    short_wav = os.path.join(sources, "short.wav")
    if not os.path.exists(long_wav):
        run(["sox", "-R", "-n", "-r", "44100", "-c", "2", "-b", "16", long_wav, "synth", "240",
             "pinknoise", "sine", "220", "vol", "0.3"])
    if not os.path.exists(short_wav):
        run(["sox", "-R", "-n", "-r", "44100", "-c", "2", "-b", "16", short_wav, "synth", "5",
             "pinknoise", "sine", "330", "vol", "0.3"])
    made = {}
    for name, wav, lame in [("small", short_wav, ["-b", "128"]), ("tagged", long_wav, ["-b", "128"]),
                            ("untagged", long_wav, ["--abr", "128", "-t"])]:
        plain = os.path.join(sources, name + ".mp3")
        if not os.path.exists(plain):
            run(["lame", "--quiet"] + lame + [wav, plain + ".part"])
            os.rename(plain + ".part", plain)
        gained = os.path.join(sources, name + "-replaygain.mp3")
        if not os.path.exists(gained):
            shutil.copyfile(plain, gained + ".part")
            if shutil.which("mp3gain"):
                run(["mp3gain", "-q", "-r", "-k", gained + ".part"])
            else:
                append_ape_tag(gained + ".part")
            os.rename(gained + ".part", gained)
        made[name] = plain
        made[name + "-replaygain"] = gained
    art = os.path.join(sources, "tagged-art.mp3")
    if not os.path.exists(art):
        with open(made["tagged"], "rb") as song, open(art + ".part", "wb") as out:
            out.write(id3v2_with_cover_art() + song.read())
        os.rename(art + ".part", art)
    made["tagged-art"] = art
    return made


def id3v2_with_cover_art():
    """An ID3v2.3 tag with a title and a picture of ART_BYTES (bytes that do not compress, always
    the same ones), followed by 2 KiB of padding, as taggers write it."""
    def frame(name, data):
        return name + len(data).to_bytes(4, "big") + bytes(2) + data
    picture = random.Random(1).randbytes(ART_BYTES)
    body = frame(b"TIT2", b"\0Song") + frame(b"APIC", b"\0image/jpeg\0\x03\0" + picture) + bytes(2048)
    size = bytes((len(body) >> shift) & 0x7F for shift in (21, 14, 7, 0))
    return b"ID3\x03\0\0" + size + body


def append_ape_tag(path):
    """An APEv2 tag with a header and the items mp3gain writes, as mp3gain appends it."""
    items = b""
    for key, value in [(b"REPLAYGAIN_TRACK_GAIN", b"-6.200000 dB"), (b"REPLAYGAIN_TRACK_PEAK", b"0.812345"),
                       (b"MP3GAIN_MINMAX", b"120,210")]:
        items += len(value).to_bytes(4, "little") + bytes(4) + key + b"\0" + value

    def mark(flags):
        return (b"APETAGEX" + (2000).to_bytes(4, "little") + (len(items) + 32).to_bytes(4, "little") +
                (3).to_bytes(4, "little") + flags.to_bytes(4, "little") + bytes(8))
    with open(path, "ab") as song:
        song.write(mark(0xA0000000) + items + mark(0x80000000))


def decoded_seconds(song):
    """The exact length: mpg123's full decode, 16-bit stereo, at the song's rate (44.1 kHz)."""
    pcm = subprocess.run(["mpg123", "-q", "-s", song], check=True, stdout=subprocess.PIPE).stdout
    return len(pcm) / 4 / 44100


def make_folder(folder, source, copies):
    """`folder` holding `copies` copies of `source`, made once and kept for the next run."""
    marker = os.path.join(folder, ".made")
    if not os.path.exists(marker):
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        for i in range(copies):
            shutil.copyfile(source, os.path.join(folder, "%04d.mp3" % i))
        open(marker, "w").close()
    return folder


def rotated(items, turn):
    """`items` in an order turned `turn` places on: over the rounds, none always follows the same one."""
    turn %= len(items)
    return items[turn:] + items[:turn]


def drop_caches():
    os.sync()
    with open("/proc/sys/vm/drop_caches", "w") as control:
        control.write("3\n")


def timed(command, cwd=None, shell=False):
    start = time.perf_counter()
    done = subprocess.run(command, cwd=cwd, shell=shell, check=True, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL)
    return time.perf_counter() - start, done.stdout.decode("utf-8", "replace")


def main():
    parser = argparse.ArgumentParser()
    for option in ("--data", "--scan", "--probe", "--taglib"):
        parser.add_argument(option, required=True)
    parser.add_argument("--rounds", type=int, default=5)
    settings = parser.parse_args()
    if os.geteuid() != 0 or not os.access("/proc/sys/vm/drop_caches", os.W_OK):
        print("cold rows skipped: dropping the page cache needs root")
        return 0
    sources = make_sources(settings.data)
    empty = os.path.join(settings.data, "cold", "empty")
    os.makedirs(empty, exist_ok=True)
    lines = []
    all_met = True
    print("\nCold page cache: dropped before every command (programs warmed on an empty folder);")
    print("wall-clock median of %d interleaved rounds, spread fastest to slowest.\n" % settings.rounds)
    header = "%-28s %-22s %-22s %-22s %-22s %-22s %s" % (
        "folder (cold)", "tunekist-scan", "window", "TagLib", "cat", "xargs -P16 cat", "targets")
    print(header)
    for name, source, copies, over_taglib, over_xargs, variants in FOLDERS:
        for variant in variants:
            song = sources[source + variant]
            folder = make_folder(os.path.join(settings.data, "cold", name + variant), song, copies)
            exact = "%.6f" % decoded_seconds(song)
            group = (copies + 15) // 16
            commands = {
                "scan": ([settings.scan, folder], [settings.scan, empty], False),
                "window": ([settings.probe, "list", folder], [settings.probe, "list", empty], False),
                "taglib": ([settings.taglib, folder], [settings.taglib, empty], False),
                "cat": ("cat -- *.mp3 > /dev/null", "true", True),
                "xargs": ("ls | xargs -P16 -n %d cat -- > /dev/null" % group, "true", True),
            }
            times = {key: [] for key in commands}
            inexact = 0
            for turn in range(settings.rounds):
                for key in rotated(list(commands), turn):
                    command, warm, shell = commands[key]
                    drop_caches()
                    run(warm, shell=shell)
                    # The window is started elsewhere: opening the folder it starts in would list nothing.
                    seconds, output = timed(command, cwd=folder if shell else empty, shell=shell)
                    if key == "window":
                        seconds = float(output.split()[1])  # from opening the folder to its last row painted
                    if key == "scan":
                        inexact += sum(1 for line in output.splitlines()
                                       if not line.startswith("total") and line.split("\t")[3] != exact)
                    times[key].append(seconds)
            median = {key: statistics.median(values) for key, values in times.items()}

            def cell(key):
                return "%.3f s (%.3f-%.3f)" % (median[key], min(times[key]), max(times[key]))
            verdicts = []
            if over_taglib:
                ratio = median["scan"] / median["taglib"]
                met = ratio <= over_taglib and inexact == 0
                verdicts.append("scan %.2f x TagLib (<= %.1f) %s" % (ratio, over_taglib, "yes" if met else "NO"))
                all_met &= met
            if over_xargs:
                ratio = median["scan"] / median["xargs"]
                met = ratio <= over_xargs and inexact == 0
                verdicts.append("scan %.2f x xargs (<= %.1f) %s" % (ratio, over_xargs, "yes" if met else "NO"))
                all_met &= met
            ratio = median["window"] / median["scan"]
            met = ratio <= WINDOW_OVER_SCAN
            verdicts.append("window %.2f x scan (<= %.1f) %s" % (ratio, WINDOW_OVER_SCAN, "yes" if met else "NO"))
            all_met &= met
            verdicts.append("every length exact" if inexact == 0 else "%d lengths NOT exact" % inexact)
            label = "%d %s%s" % (copies, name, variant)
            print("%-28s %-22s %-22s %-22s %-22s %-22s %s" % (
                label, cell("scan"), cell("window"), cell("taglib"), cell("cat"), cell("xargs"),
                "; ".join(verdicts)), flush=True)
    print("\n" + ("every cold target met" if all_met else "a cold target was missed"))
    return 0 if all_met else 1


if __name__ == "__main__":
    sys.exit(main())
