#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The ZEL developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Times two commands run alternately, so both see the same machine load.

usage: time_pair.py RUNS COMMAND_A... --- COMMAND_B...
prints: A_WALL_MS A_CPU_MS B_WALL_MS B_CPU_MS  (medians; CPU is user + system
of the child and all its threads); with MEMORY=1 in the environment also
A_PEAK_MB B_PEAK_MB (the largest resident size of any run)
"""
import os
import statistics
import subprocess
import sys
import time


def run_once(command):
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode != 0:
        sys.exit("command failed: " + " ".join(command))
    return wall * 1000, (usage.ru_utime + usage.ru_stime) * 1000, usage.ru_maxrss / 1024


def main():
    runs = int(sys.argv[1])
    separator = sys.argv.index("---")
    first, second = sys.argv[2:separator], sys.argv[separator + 1:]
    samples = {0: [], 1: []}
    for command in (first, second):  # warm the file cache and the loaders
        run_once(command)
    for _ in range(runs):
        for index, command in enumerate((first, second)):
            samples[index].append(run_once(command))
    values = []
    for index in (0, 1):
        values.append(statistics.median(s[0] for s in samples[index]))
        values.append(statistics.median(s[1] for s in samples[index]))
    if os.environ.get("MEMORY") == "1":
        values += [max(s[2] for s in samples[index]) for index in (0, 1)]
    print(" ".join("%.1f" % v for v in values))


if __name__ == "__main__":
    main()
