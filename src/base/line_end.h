// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The line end of every text file the program writes and of the lines of its
// messages: CR LF.
inline const QString kCrLf = QStringLiteral("\r\n");
