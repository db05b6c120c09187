#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The ZEL developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source file names its licence in its first lines (SPDX), the licence
# the LICENSE file holds and the copyright file and AppStream metadata state.
#   tests/packaging/check_licence.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
tag='SPDX-License-Identifier: GPL-3.0-or-later'
missing=0
while IFS= read -r path; do
  if ! head -n 5 "$source_dir/$path" | grep -qF "$tag"; then
    echo "$path: no \"$tag\" in its first lines" >&2
    missing=$((missing + 1))
  fi
done < <(bash "$source_dir/tests/packaging/licence_files.sh" "$source_dir")
grep -q 'GNU GENERAL PUBLIC LICENSE' "$source_dir/LICENSE" && grep -q 'Version 3, 29 June 2007' "$source_dir/LICENSE" \
  || { echo "LICENSE: not the GNU General Public License, version 3" >&2; missing=$((missing + 1)); }
grep -q '^License: GPL-3.0-or-later$' "$source_dir/debian/copyright" \
  || { echo "debian/copyright: no GPL-3.0-or-later licence" >&2; missing=$((missing + 1)); }
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$source_dir/packaging/org.ostervale.zel.editor.metainfo.xml.in" \
  || { echo "AppStream metadata: project_license is not GPL-3.0-or-later" >&2; missing=$((missing + 1)); }
[ "$missing" -eq 0 ] || { echo "$missing licence problem(s)" >&2; exit 1; }
