// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/single_instance_window.h"

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
class frmFindInPages : public SingleInstanceWindow {
    Q_OBJECT
public:
    // Shows the window in front, the find box ready.
    void showFind();
    // Lists the lines holding the find box's text.
    void findLines();
    void openMatch(QTreeWidgetItem* row);

    QLineEdit* txtFind() const { return m_txtFind; }
    QCheckBox* chkMatchCase() const { return m_chkMatchCase; }
    QPushButton* cmdFind() const { return m_cmdFind; }
    QLabel* lblCount() const { return m_lblCount; }
    PageLineList* lstMatches() const { return m_lstMatches; }

private:
    explicit frmFindInPages(Workbench& workbench);
    friend class Workbench;

    QLineEdit* m_txtFind = nullptr;
    QCheckBox* m_chkMatchCase = nullptr;
    QPushButton* m_cmdFind = nullptr;
    QLabel* m_lblCount = nullptr;
    PageLineList* m_lstMatches = nullptr;
};
