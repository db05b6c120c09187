// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>

#include <QString>

// Everything below a folder that a replacement must keep, links not followed:
// relative path -> kind, permission bits, owner:group, and a file's size and
// hash or a link's target. Two states compare equal only when nothing at all
// changed (bytes, modes, owners, links); a difference prints readably.
std::map<std::string, std::string> folderState(const QString& folder);

// One entry of it, for the file or link at path: "file 0644 0:0, 5 bytes
// <hash>", "folder 0755 0:0", "link to <target>" or "missing".
std::string entryState(const QString& path);
