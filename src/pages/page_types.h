// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>

namespace TextFiles {
class InputFile;
}

// Page types with their fixed codes, and the text operations on page source
// paths and page references that do not need the file system.
enum class PageType : std::int16_t {
    Invalid = 0,
    Leaf = 1,
    Branch = 2,
    Root = 3,
    Selector = 4,
};

namespace PageTypes {

// Reads the page-type line of an input file positioned at its start. An empty file gives Invalid and reads nothing;
// otherwise line 1 is consumed and compared exactly (case and blanks count).
PageType readPageType(TextFiles::InputFile& file);
// The page type a page-type line names, compared exactly; Invalid for any other line.
PageType pageTypeOfLine(const QString& line);

// "#leaf", "#branch", "#root", "#selector" for the codes 1 to 4, "##" for any other code.
QString pageTypeDirective(std::int16_t code);

// The text before the last "." of the path. A path without "." raises Invalid argument (5).
QString stripExtension(const QString& path);
// The made page of a page source: stripExtension(path) + ".htm".
QString pageHtmlPath(const QString& path);
// The Home link's page reference as it is written into pages: "root\root.htm".
QString rootPageLink();

} // namespace PageTypes
