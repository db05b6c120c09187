// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>
#include <memory>

class KioskSystem;
class QAction;
class CheckWindow;
class QLabel;
class QMenu;
class StartView;
class ScreenSizeProvider;
class Workbench;
namespace PageRenaming {
struct Result;
}

// The main window: the menu bar of every top-level command, the recent kiosk
// systems list, opening a kiosk system and the orderly shutdown.
//
// Edit and Tools stay disabled until a kiosk system has been opened. The
// recent list (recentActions(1..3), separator recentActions(0)) is read from the
// settings store when the window is made and written back whenever it
// changes and when the window closes.
// Every window and dialog it opens shares its workbench.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The module its messages report.
    static QString moduleName() { return QStringLiteral("frmKioskSystem"); }
    static constexpr int kRecentCount = 3;

    explicit MainWindow(Workbench& workbench, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Where the real screen's size comes from (the primary screen by default).
    void setScreenSizeProvider(std::unique_ptr<ScreenSizeProvider> screen);

    Workbench& workbench() const { return m_workbench; }

    // Closes the other windows (refusing with a message when one stays open),
    // builds the run state of folder, enables Edit and Tools and puts folder
    // at the top of the recent list.
    void openKioskSystem(const QString& folder);

    // The recent entry i (1..3) as stored; "" when empty.
    QString recentEntry(int index) const;
    // recentActions(index), 0 being the separator.
    QAction* recentAction(int index) const;
    QMenu* editMenu() const { return m_editMenu; }

public slots:
    void chooseKioskSystem();
    void createNewKioskSystem();
    void installKioskSystem();
    void publishKioskSystem();
    void openRecentKioskSystem(int index);
    void exitProgram();
    void newFolder();
    void showAbout();

    void editPage();
    void createBranchPage();
    void createLeafPage();
    void createSelectorPage();
    void exportFolder();
    void makeAllPages();
    void checkKioskSystem();
    void openOverview();
    void openKiosks();
    // Page references, renaming and moving pages, renaming page folders.
    void showReferences();
    void renamePage();
    void movePage();
    void renameFolder();
    // Plain text in every page source.
    void showFindInPages();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    // DirectoryDialog over this window: the directory, or "" when cancelled.
    QString chooseDirectory();
    void loadRecentList();
    void storeRecentList();
    void updateRecentList(const QString& folder);
    void setRecentEntry(int index, const QString& caption, bool visible);
    // The start view and the status bar: the recent kiosk systems, or the open one and the last make.
    void createStartView();
    void showStart();
    // Makes every page in the Make dialog and keeps how it went for the start view.
    void makeAllInDialog();
    // Asks about each editor with unsaved changes (Make All's question): true
    // when every one was answered No, or none has changes.
    bool changedEditorsMayStay();
    // A page chosen with the page chooser over this window; "" when cancelled.
    QString choosePageSource();
    // What a rename leaves to do: editors without changes on the pages
    // concerned are opened again on the new page sources, then Make All is offered.
    void finishRename(const PageRenaming::Result& result);

    Workbench& m_workbench;
    std::unique_ptr<ScreenSizeProvider> m_screen;
    std::unique_ptr<KioskSystem> m_kioskSystem; // the open kiosk system, replaced on each open
    QPointer<CheckWindow> m_checkWindow;
    StartView* m_startView = nullptr;
    QLabel* m_statusKioskSystem = nullptr;
    QLabel* m_statusLastMake = nullptr;
    QString m_lastMake; // how the last make of this run went, "" before it
    QMenu* m_fileMenu = nullptr;
    QAction* m_publishAction = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_toolsMenu = nullptr;
    QMenu* m_helpMenu = nullptr;
    // recentActions(0..3): captions kept apart from the action texts, which put the
    // entry's number before the caption as its access key and escape "&".
    std::array<QAction*, kRecentCount + 1> m_recentActions{};
    std::array<QString, kRecentCount + 1> m_fileItemCaption{};
};
