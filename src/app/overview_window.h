// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/kiosk_check.h"
#include "system/kiosk_overview.h"
#include "workbench/single_instance_window.h"

#include <optional>
#include <QTimer>
#include <memory>
#include <utility>

class QFileSystemWatcher;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class Workbench;

// Tools > Kiosk System Overview: a window (not modal) with the open kiosk
// system's folder and a tree of its page folders and pages: type, title,
// made and up to date (the made files newer than the page source), and the
// number of the check's findings for the page, and, when the author copied a
// kiosk's page views into the kiosk system folder (pageviews.csv), the views
// of each page, with today's views of every kiosk the Kiosks window lists
// added. The tree is filled at once from
// the files; the check then runs page by page between events and fills in the
// counts. The folder and the page folders are watched: a change (a save, a
// make, a file added from outside) reads again only the pages that changed,
// then checks again. Double-click opens a page's editor; the context menu
// offers Edit, Make, View, Check and References. Size and place are kept in
// the settings store. One window for the workbench.
class OverviewWindow : public SingleInstanceWindow {
    Q_OBJECT
public:
    static constexpr int kColumnPage = 0;
    static constexpr int kColumnType = 1;
    static constexpr int kColumnTitle = 2;
    static constexpr int kColumnMade = 3;
    static constexpr int kColumnProblems = 4;
    static constexpr int kColumnSchedule = 5; // when the page is on show, and whether it is now
    static constexpr int kColumnViews = 6;    // hidden without page views

    // Fills the tree from the open kiosk system and shows the window.
    void showOverview();
    // Reads again what changed on disk in the page folders named (every one
    // when none is named) and updates those rows and the folder rows, then
    // checks again. The watcher calls it for every folder, at most a short
    // pause after the first change it sees, so that the changes of one save
    // are read once and changes that keep coming do not put it off.
    void refresh(const QStringList& folders = {});
    bool isChecking() const { return m_checkTimer.isActive(); }

    QLabel* folderLabel() const { return m_folderLabel; }
    QLabel* pageViewsLabel() const { return m_pageViewsLabel; }
    QTreeWidget* pageTree() const { return m_pageTree; }
    // The row of a page source; nullptr when it is not listed.
    QTreeWidgetItem* rowOf(const QString& pageSource) const;
    void editPage(QTreeWidgetItem* row);

    // Whether the window was open when the program last ended.
    static bool wasOpenAtExit();
    static void rememberOpenAtExit(bool open);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    explicit OverviewWindow(Workbench& workbench);
    friend class Workbench;

    void fillTree();
    void updateRow(QTreeWidgetItem* row, const KioskOverview::PageSummary& page);
    void updateSchedules();
    void showPageViews();
    // Page views of the copied file and of the kiosks the Kiosks window lists.
    bool hasViews() const;
    qint64 viewsOf(const PageReferences::PageId& id) const;
    QTreeWidgetItem* folderRow(const QString& folder);
    void updateFolderRows();
    QStringList watchFolders();
    void startCheck();
    void checkSomePages();
    void showMenu(const QPoint& at);
    void makePage(const QString& pageSource);
    void viewPage(const QString& pageSource);

    std::unique_ptr<KioskOverview::Overview> m_overview;
    std::optional<KioskCheck> m_check; // made for the open kiosk system when a check begins
    QTimer m_checkTimer;
    QTimer m_settleTimer;
    QTimer m_clockTimer;          // the Schedule column follows the clock
    QStringList m_changedFolders; // seen by the watcher, not yet read; "" for the kiosk folder itself
    // What each watched folder path named when its watch was added (device, inode).
    using FolderIdentity = std::pair<quint64, quint64>;
    QHash<QString, FolderIdentity> m_watchedFolders;
    bool m_checkBegun = false;
    QFileSystemWatcher* m_watcher = nullptr;
    QLabel* m_folderLabel = nullptr;
    QLabel* m_pageViewsLabel = nullptr;
    QTreeWidget* m_pageTree = nullptr;
};
