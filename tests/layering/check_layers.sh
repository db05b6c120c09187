#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZEL developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Keeps the layering of src/ that README.md's Layout table states: the table
# lists the src/ folders from the lowest layer up, and a folder may include
# headers only of its own folder and of folders listed before it. Fails, naming
# the file and the include, when a folder includes one listed below it, when
# two folders include each other, when a src/ folder is missing from the table,
# when tools/zel-kiosk includes a folder listed after its row, or when
# src/fileio uses Qt.
#   check_layers.sh [SOURCE_ROOT]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
faults=0
fault() { echo "$*" >&2; faults=$((faults + 1)); }

# The layer of each folder is its row in the table (folders in one row share it).
declare -A layer
row=0
while IFS= read -r line; do
  row=$((row + 1))
  for folder in $(grep -o '`\(src/[a-z0-9_/]*\|tools/zel-kiosk\)`' <<<"$line" | tr -d '`' | sed 's|^src/||; s|/$||'); do
    layer[$folder]=$row
  done
done < <(sed -n '/^## Layout/,/^## [^L]/p' "$root/README.md" | grep -E '^\| `(src/|tools/zel-kiosk`)')
if [ "$row" -eq 0 ]; then
  fault "README.md: no src/ folders in the Layout table"
fi

while IFS= read -r folder; do
  [ -n "${layer[$folder]:-}" ] || fault "src/$folder: not in README.md's Layout table"
done < <(cd "$root/src" && find . -mindepth 1 -type d -printf '%P\n' | sort)

# Every include of a header of another src/ folder, as an arrow between folders.
declare -A arrows
while IFS=: read -r file include; do
  relative=${file#"$root/src/"}
  from=${relative%/*}
  header=${include#'#include "'}
  header=${header%'"'}
  to=${header%/*}
  [ -d "$root/src/$to" ] && [ "$to" != "$from" ] || continue
  arrows["$from $to"]=1
  if [ -n "${layer[$from]:-}" ] && [ -n "${layer[$to]:-}" ] && [ "${layer[$to]}" -gt "${layer[$from]}" ]; then
    fault "src/$relative: includes $header from src/$to, a higher layer than src/$from"
  fi
done < <(grep -rHo '^#include "[^"]*/[^"]*"' "$root/src" --include='*.h' --include='*.cpp' | sort)

for arrow in "${!arrows[@]}"; do
  read -r from to <<<"$arrow"
  if [ -n "${arrows["$to $from"]:-}" ] && [[ "$from" < "$to" ]]; then
    fault "src/$from and src/$to include each other"
  fi
done

# tools/zel-kiosk, a program of its own, includes only src/ folders listed
# before its row (never the desktop program's windows, dialogs or editor).
if [ -z "${layer[tools/zel-kiosk]:-}" ]; then
  fault "README.md: tools/zel-kiosk is not in the Layout table"
else
  while IFS=: read -r file include; do
    header=${include#'#include "'}
    header=${header%'"'}
    to=${header%/*}
    [ -d "$root/src/$to" ] || continue
    if [ -z "${layer[$to]:-}" ] || [ "${layer[$to]}" -gt "${layer[tools/zel-kiosk]}" ]; then
      fault "${file#"$root/"}: includes $header from src/$to, a layer above tools/zel-kiosk"
    fi
  done < <(grep -rHo '^#include "[^"]*/[^"]*"' "$root/tools/zel-kiosk" --include='*.h' --include='*.cpp' | sort)
fi

if grep -rlE '^#include <Q' "$root/src/fileio" >&2; then
  fault "src/fileio: the files above include Qt"
fi

if [ "$faults" -gt 0 ]; then
  echo "$faults layering fault(s)" >&2
  exit 1
fi
echo "layering kept: ${row} layers"
