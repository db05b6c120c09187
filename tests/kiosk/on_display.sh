#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZEL developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a kiosk test program on an X display with a window manager, as a kiosk
# machine's X session has: started under xvfb-run, which gives DISPLAY.
#   on_display.sh WINDOW_MANAGER PROGRAM [ARGUMENT...]
# Exit 77 (skipped) when the window manager or xdotool is missing
# (scripts/setup --test installs them).
set -euo pipefail
wm="$1"
shift
for needed in "$wm" xdotool; do
  if ! command -v "$needed" >/dev/null; then
    echo "on_display.sh: $needed is not installed (scripts/setup --test installs it)" >&2
    exit 77
  fi
done
"$wm" >/dev/null 2>&1 &
wm_pid=$!
trap 'kill "$wm_pid" 2>/dev/null || true' EXIT
# The window manager is ready once it answers for the desktop.
for _ in $(seq 100); do
  xdotool get_desktop >/dev/null 2>&1 && break
  sleep 0.1
done
QT_QPA_PLATFORM=xcb "$@"
