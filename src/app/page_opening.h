// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Workbench;
class EditorWindow;

// Opens the page editor on pageSource (the open one brought to the front, or
// a new one) with the cursor at the start of the page source's line (1-based;
// the page-type line, which the editor does not show, counts as line 1).
// nullptr when the page cannot be read.
EditorWindow* openPageAtLine(Workbench& workbench, const QString& pageSource, int line);
