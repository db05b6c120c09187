// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

// Every shown item of the window's menu bar and of each of its menus has an
// access key of its own in that menu (in whatever language the texts are).
inline void expectOwnAccessKeys(QMainWindow* window)
{
    QList<QWidget*> menus{window->menuBar()};
    for (QAction* menu : window->menuBar()->actions())
        menus.append(menu->menu());
    for (QWidget* menu : menus) {
        QHash<QChar, QString> keyOwner;
        for (QAction* item : menu->actions()) {
            if (item->isSeparator() || !item->isVisible())
                continue;
            const QKeySequence mnemonic = QKeySequence::mnemonic(item->text());
            EXPECT_FALSE(mnemonic.isEmpty()) << item->text().toStdString();
            const QChar key = mnemonic.isEmpty() ? QChar() : QChar(mnemonic[0].key());
            EXPECT_TRUE(key.isNull() || !keyOwner.contains(key))
                << keyOwner.value(key).toStdString() << " and " << item->text().toStdString();
            keyOwner.insert(key, item->text());
        }
    }
}
