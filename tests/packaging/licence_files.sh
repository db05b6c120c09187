#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZEL developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Lists the source files that carry the licence header: C++, scripts, CMake
# files and the units, tracked by git (the folder given, or the current one).
# Data (page sources, pictures, made pages, the sample) carries none.
set -euo pipefail
cd "${1:-.}"
git ls-files -z | while IFS= read -r -d '' path; do
  [ -f "$path" ] || continue
  case "$path" in
    fuzz/corpus/*|examples/sample/*) continue ;;
  esac
  case "$path" in
    *.cpp|*.h|*.js|*.py|*.sh|*.cmake|*.service|CMakeLists.txt|*/CMakeLists.txt) echo "$path"; continue ;;
  esac
  if [ "$(head -c 2 "$path")" = '#!' ]; then echo "$path"; fi
done
