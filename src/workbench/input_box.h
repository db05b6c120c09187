// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The one-line input box of the desktop program (the Workbench's default).
namespace InputBox {

// The text entered, or an empty string when the box is cancelled.
QString ask(QWidget* parent, const QString& prompt, const QString& title, const QString& preset);

} // namespace InputBox
