#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The ZEL developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a large kiosk system for timing zel-make.

generate_kiosk.py FOLDER [--pages 2000] [--folders 40] [--pictures 0] [--picture FILE]

Text pages are branch and leaf pages with titles, paragraphs and buttons; with
--pictures N every page also shows N pictures (copies of --picture).
"""
import argparse
import os
import shutil

parser = argparse.ArgumentParser()
parser.add_argument("folder")
parser.add_argument("--pages", type=int, default=2000)
parser.add_argument("--folders", type=int, default=40)
parser.add_argument("--pictures", type=int, default=0)
parser.add_argument("--picture")
args = parser.parse_args()

os.makedirs(args.folder, exist_ok=True)
with open(os.path.join(args.folder, "configuration.txt"), "w", newline="\r\n") as f:
    f.write("screenwidth 1280\nscreenheight 1024\nbuttons 8\n")

per_folder = args.pages // args.folders
paragraph = ("The harbour museum opens at nine & closes at five; guided tours leave "
             "from the <b>north</b> entrance every hour. ") * 2
for fi in range(args.folders):
    folder = "root" if fi == 0 else "f%02d" % fi
    path = os.path.join(args.folder, folder)
    os.makedirs(path, exist_ok=True)
    if args.pictures and args.picture:
        shutil.copy(args.picture, os.path.join(path, "photo.jpg"))
    for pi in range(per_folder):
        page = "root" if fi == 0 and pi == 0 else "p%03d" % pi
        kind = "#root" if page == "root" else ("#branch" if pi % 4 == 0 else "#leaf")
        lines = [kind, "#title Page %d of folder %s" % (pi, folder)]
        for para in range(6):
            lines.append("#para")
            for _ in range(4):
                lines.append(paragraph)
        for i in range(args.pictures):
            lines.append("#image photo.jpg %s 50%%" % ("left", "right", "centre")[i % 3])
        if kind != "#leaf":
            for b in range(5):
                target_index = (pi + b + 1) % per_folder
                target = "root" if fi == 0 and target_index == 0 else "p%03d" % target_index
                lines.append("#button %s\\%s Button %d" % (folder, target, b))
        with open(os.path.join(path, page + ".zel"), "w", newline="\r\n") as f:
            f.write("\n".join(lines) + "\n")
