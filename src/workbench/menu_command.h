// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAction>
#include <QKeySequence>
#include <QList>
#include <QMenu>
#include <QString>

// Adds a menu command: an action with the caption, the object name the
// windows and tests find it by, calling slot on window when chosen.
template <typename Window>
QAction* addMenuCommand(Window* window, QMenu* menu, const QString& name, const QString& caption,
                        void (Window::*slot)())
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    QObject::connect(action, &QAction::triggered, window, slot);
    return action;
}

// Gives the action the platform's keys for a standard command, or fallback
// where the platform has none for it (Quit and Save As on some).
inline QAction* withShortcut(QAction* action, QKeySequence::StandardKey key, const QKeySequence& fallback = {})
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (keys.isEmpty() && !fallback.isEmpty())
        keys.append(fallback);
    action->setShortcuts(keys);
    return action;
}

// Gives the action keys of the program's own choosing.
inline QAction* withShortcut(QAction* action, const QKeySequence& keys)
{
    action->setShortcut(keys);
    return action;
}

// Enables or disables a menu together with its commands: a disabled menu
// does not stop its commands' keys by itself.
inline void setMenuEnabled(QMenu* menu, bool enabled)
{
    menu->menuAction()->setEnabled(enabled);
    for (QAction* action : menu->actions())
        action->setEnabled(enabled);
}
