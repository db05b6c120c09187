#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZEL developers
# SPDX-License-Identifier: GPL-3.0-or-later
# No text of the desktop program is left untranslated: lupdate reads the
# sources into a copy of each translation, and a text it adds or leaves
# unfinished, or one the sources no longer have, fails.
#   check_translations.sh LUPDATE SOURCE_LIST SOURCE_DIR
set -euo pipefail
lupdate=$1
sources=$2
source_dir=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
for ts in "$source_dir"/translations/zel_*.ts; do
  copy=$work/$(basename "$ts")
  cp "$ts" "$copy"
  "$lupdate" -silent -locations none -no-ui-lines -I "$source_dir/src" "@$sources" -ts "$copy" >"$work/log" 2>&1 ||
    { cat "$work/log"; exit 1; }
  # Each problem as "kind: source text" (a message's source line comes before its translation).
  problems=$(awk '/<source>/ { source = $0 } /type="(unfinished|vanished|obsolete)"/ {
                    match($0, /type="[a-z]+"/); print substr($0, RSTART + 6, RLENGTH - 7) ": " source }' "$copy" |
             sed -E 's#<source>|</source>##g; s/: +/: /')
  if [ -n "$problems" ]; then
    echo "$(basename "$ts"): texts to translate (unfinished), or no longer in the sources (vanished, obsolete):"
    echo "$problems"
    status=1
  fi
  if ! cmp -s "$ts" "$copy"; then
    echo "$(basename "$ts") is not what lupdate makes of the sources: build the target update_translations"
    diff -u "$ts" "$copy" | head -40 || true
    status=1
  fi
done
exit $status
