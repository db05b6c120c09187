// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/menu_access_keys.h"
#include "support/window_fixture.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

using MenuKeysTest = WindowTest;

// The keys of the windows' commands, without restating which key is whose: in the main window (before and after a
// kiosk system is open) and in editors of every page type, each key of a shown, enabled command triggers that
// command and no other, the keys of hidden or disabled commands trigger nothing, and no two commands share a key;
// every shown menu item has an access key no other item of its menu has.
TEST_F(MenuKeysTest, EachCommandKeyTriggersItsOwnCommandOnly)
{
    const auto checkKeys = [](QMainWindow* window) {
        SCOPED_TRACE(window->windowTitle().toStdString());
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }));
        QList<QAction*> commands;
        QStringList triggered;
        for (QAction* menu : window->menuBar()->actions())
            for (QAction* item : menu->menu()->actions())
                if (!item->shortcuts().isEmpty()) {
                    commands.append(item);
                    QObject::disconnect(item, &QAction::triggered, nullptr, nullptr); // the command does not run
                    QObject::connect(item, &QAction::triggered, window,
                                     [&triggered, item] { triggered.append(item->objectName()); });
                }
        QHash<QKeySequence, QString> owner;
        for (QAction* item : commands)
            for (const QKeySequence& key : item->shortcuts()) {
                SCOPED_TRACE(key.toString().toStdString());
                EXPECT_FALSE(owner.contains(key))
                    << owner.value(key).toStdString() << " and " << item->objectName().toStdString();
                owner.insert(key, item->objectName());
                triggered.clear();
                QTest::keyClick(window, key[0].key(), key[0].keyboardModifiers());
                EXPECT_EQ(triggered,
                          item->isEnabled() && item->isVisible() ? QStringList{item->objectName()} : QStringList{});
            }
        EXPECT_GE(owner.size(), 8);
        for (QAction* item : commands)
            QObject::disconnect(item, &QAction::triggered, nullptr, nullptr);
        // Every shown item of the menu bar and of each menu has an access key of its own in that menu.
        expectOwnAccessKeys(window);
    };
    checkKeys(&mainWindow());
    mainWindow().openKioskSystem(kiosk.folder());
    for (QMainWindow* window : QList<QMainWindow*>{main.get(), editorOn("news/today.zel", "#leaf\r\n"),
                                                   editorOn("news/index.zel", "#branch\r\n"),
                                                   editorOn("root/root.zel", "#root\r\n"), newEditor(4)})
        checkKeys(window);
}

} // namespace
