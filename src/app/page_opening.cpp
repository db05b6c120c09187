// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/page_opening.h"

#include "editor/editor_window.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <algorithm>

EditorWindow* openPageAtLine(Workbench& workbench, const QString& pageSource, int line)
{
    EditorWindow* editor = EditorWindow::openOrRaise(workbench, pageSource);
    if (!editor)
        return nullptr;
    // The editor shows the body only: page source line 2 is its first line.
    QPlainTextEdit* text = editor->textArea();
    const QTextBlock block = text->document()->findBlockByNumber(std::max(0, line - 2));
    if (block.isValid()) {
        QTextCursor cursor(block);
        text->setTextCursor(cursor);
        text->ensureCursorVisible();
    }
    text->setFocus();
    return editor;
}
