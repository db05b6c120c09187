// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workbench/single_instance_window.h"

class PageLineList;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidgetItem;
class Workbench;

// Tools > Find in Pages: a window (not modal) that finds plain text in every
// page source of the open kiosk system and lists the lines holding it: page,
// line and the line's text. Double-clicking a row opens its page source in
// the page editor at that line. It reads the page sources on disk, so text
// not yet saved in an editor is not found. One window for the workbench.
class FindInPagesWindow : public SingleInstanceWindow {
    Q_OBJECT
public:
    // Shows the window in front, the find box ready.
    void showFind();
    // Lists the lines holding the find box's text.
    void findLines();
    void openMatch(QTreeWidgetItem* row);

    QLineEdit* findEdit() const { return m_findEdit; }
    QCheckBox* matchCaseBox() const { return m_matchCaseBox; }
    QPushButton* findButton() const { return m_findButton; }
    QLabel* countLabel() const { return m_countLabel; }
    PageLineList* matchList() const { return m_matchList; }

private:
    explicit FindInPagesWindow(Workbench& workbench);
    friend class Workbench;

    QLineEdit* m_findEdit = nullptr;
    QCheckBox* m_matchCaseBox = nullptr;
    QPushButton* m_findButton = nullptr;
    QLabel* m_countLabel = nullptr;
    PageLineList* m_matchList = nullptr;
};
