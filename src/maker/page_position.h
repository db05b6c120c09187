// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where making stands in a page source: the page folder, the page source,
// the line read last and its 1-based number (0 before the page-type line).
struct PagePosition {
    QString folderPath;
    QString sourcePath;
    QString line;
    int lineNumber = 0;
};
