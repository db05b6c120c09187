#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZEL developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Keeps README.md's table of message labels true: each window or dialog class
# named there spells its label in its own files (the header that declares the
# class and the sources of the same name), and every label a source defines
# for its messages (kModule) is in the table.
#   check_labels.sh [SOURCE_ROOT]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
faults=0
fault() { echo "$*" >&2; faults=$((faults + 1)); }

declare -A labels
rows=0
while IFS='|' read -r _ class label _; do
    class=$(tr -d '` ' <<<"$class")
    label=$(tr -d '` ' <<<"$label")
    [ -n "$class" ] && [ "$class" != class ] && [ "${class:0:1}" != - ] || continue
    rows=$((rows + 1))
    labels[$label]=1
    header=$(grep -rlE "^class $class( |$)" "$root/src" --include='*.h' | head -n 1 || true)
    if [ -z "$header" ]; then
        fault "README.md: no header in src/ declares the class $class"
        continue
    fi
    stem=${header%.h}
    if ! grep -qF "\"$label\"" "$header" "$stem"*.cpp 2>/dev/null; then
        fault "${header#"$root/"}: $class does not spell its label \"$label\""
    fi
done < <(sed -n '/^### Message labels/,/^#/p' "$root/README.md" | grep '^| `')
[ "$rows" -gt 0 ] || fault "README.md: no table under \"### Message labels\""

while IFS= read -r label; do
    [ -n "${labels[$label]:-}" ] || fault "README.md: the label \"$label\" is missing from the table of message labels"
done < <(grep -rhoE 'kModule = QStringLiteral\("[A-Za-z]+"\)' "$root/src" | sed -E 's/.*\("([A-Za-z]+)"\)/\1/' | sort -u)

if [ "$faults" -gt 0 ]; then
    echo "$faults label fault(s)" >&2
    exit 1
fi
echo "message labels kept: $rows classes"
