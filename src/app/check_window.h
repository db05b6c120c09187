// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/kiosk_check.h"

#include <optional>
#include <QTimer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class Workbench;

// Tools > Check Kiosk System: a window (not modal) that checks the open kiosk
// system page by page between events, with progress, and then lists the
// findings sorted by page and line (kind, page, line, text) above the count
// line; a page is shown as its page reference ("news\today"), as the editors'
// captions show it, and its row keeps the page source path (Qt::UserRole). Double-clicking a finding opens its page
// source in the page editor with the cursor on that line, or brings the editor already open on it to the front. Check
// Again starts over; closing the window stops a running check (so does opening another kiosk system, which closes every
// window). The window deletes itself when closed.
class CheckWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kColumnKind = 0;
    static constexpr int kColumnPageSource = 1;
    static constexpr int kColumnLine = 2;
    static constexpr int kColumnText = 3;

    explicit CheckWindow(Workbench& workbench, QWidget* parent = nullptr);

    // Starts a check of the open kiosk system (a running one starts over).
    void startCheck();
    bool isChecking() const { return m_timer.isActive(); }

    QTreeWidget* findingList() const { return m_findingList; }
    QLabel* countLabel() const { return m_countLabel; }
    QProgressBar* progress() const { return m_progress; }
    QPushButton* checkAgainButton() const { return m_checkAgainButton; }

    // Opens the finding's page source in an editor at its line (the window's
    // double-click).
    void openFinding(QTreeWidgetItem* row);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void checkSomePages();
    void showFindings();

    Workbench& m_workbench;
    std::optional<KioskCheck> m_check; // made for the open kiosk system when a check begins
    QTimer m_timer;
    QTreeWidget* m_findingList = nullptr;
    QLabel* m_countLabel = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_checkAgainButton = nullptr;
};
