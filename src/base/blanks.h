// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Removes leading and trailing blanks (U+0020 only; tabs stay), the trimming
// that configuration lines, directive arguments and typed names use.
QString trimBlanks(const QString& text);
