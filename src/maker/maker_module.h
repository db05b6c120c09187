// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The module name the page maker's procedures give to the error path.
inline const QString& makerModule()
{
    static const QString name = QStringLiteral("dlgMakePage");
    return name;
}
