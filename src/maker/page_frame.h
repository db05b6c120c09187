// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>

class PageOutput;
namespace TextFiles {
class OutputFile;
}

// The fixed parts of a page's files: the document header of each file (its
// title is the page's title so far), the content file's body around what the
// builders write, and the main file's frameset.
void makeHeader(const PageOutput& page, TextFiles::OutputFile& file, const QString& frameName);
void makeContentHeader(PageOutput& page);
void makeContentFooter(PageOutput& page);
// The frameset of the content and navigation frames side by side;
// scrolling is the content frame's ("yes" or "no"); withOnload starts the
// kiosk script's init() when the frames are loaded.
void makeMainPage(PageOutput& page, std::int16_t contentWidth, std::int16_t navigationWidth, const QString& scrolling,
                  bool withOnload);
