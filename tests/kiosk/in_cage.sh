#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZEL developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a kiosk test program as the kiosk session runs zel-kiosk: alone inside
# cage, Debian's Wayland kiosk compositor, here on its headless backend, with
# Qt's Wayland platform.
#   in_cage.sh PROGRAM [ARGUMENT...]
# Exit 77 (skipped) when cage, Xwayland (Debian's cage needs it) or Qt's
# Wayland platform is missing (scripts/setup --test installs them).
set -euo pipefail
for needed in cage Xwayland; do
  if ! command -v "$needed" >/dev/null; then
    echo "in_cage.sh: $needed is not installed (scripts/setup --test installs it)" >&2
    exit 77
  fi
done
if ! compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null; then
  echo "in_cage.sh: Qt's Wayland platform is not installed (qt6-wayland)" >&2
  exit 77
fi
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
# cage refuses to run as root: there it runs as nobody, as a kiosk user would.
as_user=()
if [ "$(id -u)" = 0 ]; then
  chown nobody:nogroup "$runtime"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
unset DISPLAY WAYLAND_DISPLAY
export XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman
export QT_QPA_PLATFORM=wayland TMPDIR="$runtime"
# cage ends with its one program; its exit status is passed on through a file.
"${as_user[@]}" cage -- bash -c '"$@"; echo $? >"$XDG_RUNTIME_DIR/status"' in_cage "$@"
exit "$(cat "$runtime/status" 2>/dev/null || echo 1)"
