#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The ZEL developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Times zel-make on a picture-heavy kiosk next to the parallel zel-resample floor.

picture_kiosk.py BUILD_DIR WORK_DIR [--rounds 5] [--runs 2]

The kiosk: 20 leaf pages with 5 camera pictures (4000x3000) each and a
selector of 30 items whose thumbnails are such pictures too. The pictures are
made once by ImageMagick and kept in BUILD_DIR/bench-pictures.

Each round runs, one after another (so a busy machine slows all alike):
  first     zel-make with every images folder empty
  floor     zel-resample over the same pictures and sizes, --runs at once (xargs -P)
  unchanged zel-make again, nothing changed
  touched   zel-make after touching one page source
  replaced  zel-make after one picture got other content under its name and an older time stamp
  picture   zel-resample on one picture (what one changed picture should cost)
Prints the median of each and the ratios the targets are about.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import time

parser = argparse.ArgumentParser()
parser.add_argument("build")
parser.add_argument("work")
parser.add_argument("--rounds", type=int, default=5)
parser.add_argument("--runs", type=int, default=2)
args = parser.parse_args()

make = os.path.join(args.build, "bin", "zel-make")
resample = os.path.join(args.build, "bin", "zel-resample")
cache = os.path.join(args.build, "bench-pictures")
os.makedirs(cache, exist_ok=True)
originals = []
for seed in range(1, 6):
    path = os.path.join(cache, "camera%d.jpg" % seed)
    if not os.path.exists(path):
        subprocess.run(["convert", "-size", "4000x3000", "-seed", str(seed), "plasma:fractal", "-attenuate", "0.3",
                        "+noise", "Gaussian", "-quality", "92", "-sampling-factor", "2x2", path + ".tmp.jpg"],
                       check=True)
        os.rename(path + ".tmp.jpg", path)
    originals.append(path)

kiosk = os.path.join(args.work, "kiosk")
gallery = os.path.join(kiosk, "gallery")
os.makedirs(os.path.join(kiosk, "root"), exist_ok=True)
os.makedirs(gallery, exist_ok=True)


def write(path, lines):
    with open(path, "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")


write(os.path.join(kiosk, "configuration.txt"), ["screenwidth 1280", "screenheight 1024", "buttons 8"])
write(os.path.join(kiosk, "root", "root.zel"), ["#root", "#title Gallery", "#button gallery\\index Pictures"])
positions = ["left 35%", "right 45%", "centre 80%", "left 60%", "centre 100%"]
for page in range(1, 21):
    lines = ["#leaf", "#title Pictures of walk %d" % page, "#para", "Along the harbour."]
    for k in range(5):
        name = "g%02d_%d.jpg" % (page, k)
        shutil.copy(originals[(page + k) % 5], os.path.join(gallery, name))
        lines.append("#image %s %s" % (name, positions[k]))
    write(os.path.join(gallery, "p%02d.zel" % page), lines)
items = ["#selector", "#title Walks"]
for item in range(30):
    page = item % 20 + 1
    items.append("#item g%02d_%d.jpg gallery\\p%02d Walk %d, picture %d" % (page, item // 20, page, page, item))
write(os.path.join(gallery, "index.zel"), items)


def images_folders():
    return [os.path.join(kiosk, f, "images") for f in ("root", "gallery")]


def run_make():
    start = time.perf_counter()
    result = subprocess.run([make, kiosk], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    elapsed = time.perf_counter() - start
    if result.returncode != 0:
        raise SystemExit("zel-make failed: %s" % result.stderr.decode())
    return elapsed


def clear_images():
    for folder in images_folders():
        shutil.rmtree(folder, ignore_errors=True)


# The floor's jobs: every resampled copy of a make, as its copy record lists it.
run_make()
jobs = []
for folder in images_folders():
    record = os.path.join(folder, ".zel-copies")
    if not os.path.exists(record):
        continue
    with open(record, encoding="utf-8") as f:
        for line in f.read().splitlines()[1:]:
            fields = line.split("\t")
            if len(fields) == 12 and fields[1] == "resample":
                jobs.append((fields[5], int(fields[2]), int(fields[3]), fields[0]))
floor_out = os.path.join(args.work, "floor")
os.makedirs(floor_out, exist_ok=True)
job_lines = "".join("%s\0/resample=(%d,%d)\0/convert=%s\0" % (source, w, h, os.path.join(floor_out, name))
                    for source, h, w, name in jobs)


def run_floor():
    start = time.perf_counter()
    subprocess.run(["xargs", "-0", "-n3", "-P%d" % args.runs, resample], input=job_lines.encode(), check=True)
    return time.perf_counter() - start


# The replaced picture is shown once (page 5), so its change costs one copy.
replaced = os.path.join(gallery, "g05_3.jpg")
replaced_job = next(job for job in jobs if job[0].endswith("g05_3.jpg"))


def run_one_picture():
    source, h, w, name = replaced_job
    start = time.perf_counter()
    subprocess.run([resample, source, "/resample=(%d,%d)" % (w, h), "/convert=" + os.path.join(floor_out, name)],
                   check=True)
    return time.perf_counter() - start


times = {k: [] for k in ("first", "floor", "unchanged", "touched", "replaced", "picture")}
for round_ in range(args.rounds):
    clear_images()
    times["first"].append(run_make())
    times["floor"].append(run_floor())
    times["unchanged"].append(run_make())
    os.utime(os.path.join(gallery, "p07.zel"))
    times["touched"].append(run_make())
    # Other content under the same name, with a time stamp older than before.
    shutil.copy(originals[round_ % 2 + 2], replaced + ".new")
    os.replace(replaced + ".new", replaced)
    os.utime(replaced, (946684800, 946684800))
    times["replaced"].append(run_make())
    times["picture"].append(run_one_picture())

m = {k: statistics.median(v) for k, v in times.items()}
print("picture kiosk: 21 pages, %d resampled pictures, %d rounds, medians" % (len(jobs), args.rounds))
for k in ("first", "floor", "unchanged", "touched", "replaced", "picture"):
    print("  %-10s %8.3f s   (all: %s)" % (k, m[k], " ".join("%.3f" % t for t in times[k])))


def ratio(numerator, denominator):
    """The ratio of the medians, and the median of the ratios within each round."""
    per_round = statistics.median(n / d for n, d in zip(numerator, denominator))
    return "%.3f (per round: %.3f)" % (statistics.median(numerator) / statistics.median(denominator), per_round)


extra = [r - u for r, u in zip(times["replaced"], times["unchanged"])]
print("ratio first / floor (-P%d):     %s  target <= 1.15" % (args.runs, ratio(times["first"], times["floor"])))
print("ratio unchanged / first:       %s  target <= 0.03" % ratio(times["unchanged"], times["first"]))
print("ratio touched / first:         %s" % ratio(times["touched"], times["first"]))
print("ratio (replaced - unchanged) / one picture: %s  target about 1" % ratio(extra, times["picture"]))
