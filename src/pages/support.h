// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>

class ProblemSink;

// The name rule for folder and page names, and a tolerant integer reader.
namespace Support {

// True when the name is not empty and holds only a-z, 0-9, "_" and "-".
bool hasOnlyNameCharacters(const QString& name);

// The longest names the file system can store (255 bytes a name) with
// everything made from them: a page's longest file name is the picture copy
// "<page>00001.jpg".
inline constexpr int longestFolderName = 255;
inline constexpr int longestPageName = longestFolderName - int(sizeof "00001.jpg") + 1;

// True for a valid name; otherwise reports the problem (Problem::Kind::BadName)
// to problems, its message explaining the rule
// ("news page is not a valid folder name" ...) and returns false. A name
// longer than the file system can store is refused with its own message
// ("... is not a valid folder name", "A valid folder name may be at most 255
// characters long").
bool isValidFolderName(const QString& name, ProblemSink& problems);
bool isValidPageName(const QString& name, ProblemSink& problems);

// The number the text stands for when it converts to a 16-bit integer (blanks
// around allowed, fractions to the nearest, halves to even) and lies within
// low..high; the fallback otherwise. Never fails.
std::int16_t integerInRange(const QString& text, std::int16_t low, std::int16_t high, std::int16_t fallback);

} // namespace Support
