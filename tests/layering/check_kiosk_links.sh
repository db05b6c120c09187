#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZEL developers
# SPDX-License-Identifier: GPL-3.0-or-later
# zel-kiosk is a product of its own: it links the viewer's library, never the
# desktop program's windows and dialogs (zel_gui). Reads the link line of the
# zel-kiosk program from the build folder (Ninja's build.ninja or a Makefile
# generator's link.txt).
#   check_kiosk_links.sh BUILD_DIR
set -euo pipefail
build=$1
if [ -f "$build/tools/zel-kiosk/CMakeFiles/zel-kiosk.dir/link.txt" ]; then
    line=$(cat "$build/tools/zel-kiosk/CMakeFiles/zel-kiosk.dir/link.txt")
elif [ -f "$build/build.ninja" ]; then
    # the build statement of the program and its indented variables
    line=$(awk '/^build [^:]*bin\/zel-kiosk: /{on=1; print; next} on && /^ /{print; next} {on=0}' "$build/build.ninja")
else
    echo "$build: neither build.ninja nor the link.txt of zel-kiosk" >&2
    exit 1
fi
if [ -z "$line" ]; then
    echo "$build: no link line of zel-kiosk" >&2
    exit 1
fi
grep -q 'libzel_viewer\.a' <<<"$line" || { echo "zel-kiosk does not link the viewer's library (libzel_viewer.a)" >&2; exit 1; }
if grep -oE 'lib(zel_gui)\.a' <<<"$line" | sort -u | grep .; then
    echo "zel-kiosk links the desktop program's windows (above)" >&2
    exit 1
fi
echo "zel-kiosk links no desktop window library"
