#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZEL developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The kiosk's systemd units as an operator's audit rates them: the cage
# session's exposure (systemd-analyze security, offline) at most 4.0, and
# both units restarted whatever ends the kiosk and watched by systemd's
# watchdog. Skipped (77) where systemd-analyze has no offline review.
#   tests/packaging/check_unit_security.sh SOURCE_DIR
set -euo pipefail
units=$1/packaging
command -v systemd-analyze >/dev/null || { echo "no systemd-analyze: skipped"; exit 77; }
systemd-analyze security --help 2>/dev/null | grep -q -- --offline || { echo "no offline review: skipped"; exit 77; }
fail() { echo "$*" >&2; exit 1; }

cd "${TMPDIR:-/tmp}"
review=$(systemd-analyze security --offline=true --threshold=40 "$units/zel-kiosk-cage.service" 2>&1) ||
  fail "$(printf '%s\n' "$review" | grep -E '✗|Overall')"
overall=$(printf '%s\n' "$review" | grep 'Overall exposure level')
echo "${overall#→ }"
figure=$(printf '%s\n' "$overall" | sed -E 's/.*: ([0-9]+\.[0-9]).*/\1/')
awk -v f="$figure" 'BEGIN { exit !(f <= 4.0) }' || fail "the cage session is rated $figure, above 4.0"

for unit in zel-kiosk.service zel-kiosk-cage.service; do
  for line in Restart=always WatchdogSec=90 NoNewPrivileges=yes Type=notify; do
    grep -qx "$line" "$units/$unit" || fail "$unit lacks $line"
  done
done
echo "units checked"
