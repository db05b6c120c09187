#pragma once

#include <QAction>
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
