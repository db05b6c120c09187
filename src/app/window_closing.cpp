// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_closing.h"

#include "app/main_window.h"
#include "editor/editor_window.h"
#include "workbench/workbench.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace {
bool isProgramWindow(const QWidget* widget)
{
    if (!widget->isWindow())
        return false;
    // A hidden window that deletes itself on close has been closed already
    // and only waits for its deletion.
    if (widget->isHidden() && widget->testAttribute(Qt::WA_DeleteOnClose))
        return false;
    switch (widget->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::Desktop:
    case Qt::SplashScreen:
        return false;
    default:
        return true;
    }
}

// Guarded: closing one window may destroy others (its own dialogs).
QList<QPointer<QWidget>> otherWindows(const QList<QWidget*>& windowsInOrder, const QWidget* keep)
{
    QList<QPointer<QWidget>> windows;
    for (QWidget* widget : windowsInOrder)
        if (widget != keep && isProgramWindow(widget))
            windows.append(widget);
    return windows;
}
} // namespace

namespace WindowClosing {

bool closeOtherWindows(const QList<QWidget*>& windowsInOrder, const QWidget* keep)
{
    bool allClosed = true;
    for (const QPointer<QWidget>& window : otherWindows(windowsInOrder, keep))
        if (window && !window->close())
            allClosed = false;
    return allClosed;
}

bool closeOtherWindowsOrNone(const QList<QWidget*>& windowsInOrder, const QWidget* keep)
{
    const QList<QPointer<QWidget>> windows = otherWindows(windowsInOrder, keep);
    for (const QPointer<QWidget>& window : windows)
        if (auto* editor = qobject_cast<EditorWindow*>(window.data()); editor && !editor->askBeforeClosing())
            return false;
    bool allClosed = true;
    for (const QPointer<QWidget>& window : windows) {
        if (!window)
            continue;
        auto* editor = qobject_cast<EditorWindow*>(window.data());
        if (!(editor ? editor->closeAsAgreed() : window->close()))
            allClosed = false;
    }
    return allClosed;
}

void closeAllWindows()
{
    QPointer<MainWindow> mainWindow;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<MainWindow*>(widget))
            mainWindow = found;
    closeOtherWindows(mainWindow ? mainWindow->workbench().order().windowsInOpeningOrder()
                                 : QApplication::topLevelWidgets(),
                      mainWindow);
    if (mainWindow)
        mainWindow->close();
}

} // namespace WindowClosing
