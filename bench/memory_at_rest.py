#!/usr/bin/env python3
"""Resident memory at rest, Tunekist beside Audacious, in the same run.

    memory_at_rest.py TUNEKIST [--rounds 3]     (on the display of the run: a real X server)

Each round starts Tunekist and then Audacious (when installed), waits until the program has used
no processor time for two seconds, reads VmRSS and the Rss lines of /proc/PID/smaps_rollup, and
ends it. Prints each program's resident memory per round, and for Tunekist's last round the
mappings that hold the most of it."""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import time


def processor_ticks(pid):
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


def resident_kb(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def biggest_mappings(pid, count=12):
    sizes = {}
    name = None
    with open("/proc/%d/smaps" % pid) as smaps:
        for line in smaps:
            parts = line.split()
            if "-" in parts[0] and len(parts) >= 5:
                name = parts[5] if len(parts) > 5 else "[anonymous]"
            elif parts[0] == "Rss:":
                sizes[name] = sizes.get(name, 0) + int(parts[1])
    return sorted(sizes.items(), key=lambda item: -item[1])[:count]


def at_rest(command, settle_seconds=2.0, limit_seconds=30.0):
    """Starts `command`, waits until it is at rest, returns (pid's resident kB, mappings)."""
    program = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               start_new_session=True)
    try:
        deadline = time.monotonic() + limit_seconds
        time.sleep(0.5)
        last, still_since = processor_ticks(program.pid), time.monotonic()
        while time.monotonic() < deadline:
            time.sleep(0.25)
            now = processor_ticks(program.pid)
            if now != last:
                last, still_since = now, time.monotonic()
            elif time.monotonic() - still_since >= settle_seconds:
                break
        return resident_kb(program.pid), biggest_mappings(program.pid)
    finally:
        os.killpg(program.pid, signal.SIGTERM)
        program.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("tunekist")
    parser.add_argument("--rounds", type=int, default=3)
    settings = parser.parse_args()
    audacious = shutil.which("audacious")
    rows = []
    mappings = []
    for _ in range(settings.rounds):
        tunekist_kb, mappings = at_rest([settings.tunekist])
        audacious_kb = at_rest([audacious])[0] if audacious else None
        rows.append((tunekist_kb, audacious_kb))
    print("resident memory at rest, per round (MB):")
    for tunekist_kb, audacious_kb in rows:
        print("  Tunekist %.1f   Audacious %s" % (tunekist_kb / 1000,
                                                    "%.1f" % (audacious_kb / 1000) if audacious_kb else "not installed"))
    print("Tunekist's largest mappings at rest (kB):")
    for name, kb in mappings:
        print("  %7d  %s" % (kb, name))
    return 0


if __name__ == "__main__":
    sys.exit(main())
