// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "workbench/input_box.h"

#include <QInputDialog>

namespace InputBox {

QString ask(QWidget* parent, const QString& prompt, const QString& title, const QString& preset)
{
    bool accepted = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, preset, &accepted);
    return accepted ? text : QString();
}

} // namespace InputBox
