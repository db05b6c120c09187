// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/window_closing.h"
#include "editor/editor_window.h"
#include "workbench/workbench.h"

#include <QApplication>
#include <QPlainTextEdit>

// Closes every editor window, dropping its changes. GUI tests only.
inline void closeEditors()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* editor = qobject_cast<EditorWindow*>(window)) {
            editor->textArea()->document()->setModified(false);
            editor->close();
        }
}

// Closes the editors (dropping their changes), then every other window as an open of another kiosk system does,
// and deletes what waits for deletion: nothing a test opened is left for the next.
inline void closeAllWindows(const Workbench& workbench)
{
    closeEditors();
    WindowClosing::closeOtherWindows(workbench.order().windowsInOpeningOrder(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
