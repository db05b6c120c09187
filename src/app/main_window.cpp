// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include "app/check_window.h"
#include "app/find_in_pages_window.h"
#include "app/kiosks_window.h"
#include "app/overview_window.h"
#include "app/primary_screen_size.h"
#include "app/start_view.h"
#include "app/window_closing.h"
#include "base/line_end.h"
#include "dialogs/directory_dialog.h"
#include "dialogs/make_dialog.h"
#include "dialogs/new_folder_dialog.h"
#include "dialogs/select_file_dialog.h"
#include "editor/editor_window.h"
#include "pages/files.h"
#include "platform/messages.h"
#include "platform/session.h"
#include "platform/template_folder.h"
#include "platform/user_settings.h"
#include "runtime/error_handler.h"
#include "runtime/log_file.h"
#include "system/open_kiosk_system.h"
#include "workbench/menu_command.h"
#include "workbench/workbench.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QStatusBar>

namespace {
const QString kModule = MainWindow::moduleName();
const QString kRecentSection = QStringLiteral("RecentFiles");

// Client area of the design: 4668 x 3348 twips.
constexpr int kClientWidth = 4668 / 15;
constexpr int kClientHeight = 3348 / 15;

QString recentKey(int index) { return kRecentSection + QStringLiteral("/f") + QString::number(index); }

// A configuration file or a root page: what Create New Kiosk System would replace of an author's kiosk system.
bool holdsKioskSystem(const QString& folder)
{
    const QDir dir(folder);
    return QFileInfo::exists(dir.filePath(QStringLiteral("configuration.txt")))
           || QFileInfo::exists(dir.filePath(QStringLiteral("root/root.zel")));
}

QString menuText(const QString& caption)
{
    QString text = caption;
    return text.replace(u'&', QStringLiteral("&&"));
}
} // namespace

MainWindow::MainWindow(Workbench& workbench, QWidget* parent)
    : QMainWindow(parent), m_workbench(workbench), m_screen(std::make_unique<PrimaryScreenSize>())
{
    setObjectName(kModule);
    runCommand(m_workbench.session(), kModule, QStringLiteral("Form_Load"), [&] {
        setWindowTitle(tr("Ostervale Information Kiosk (ZEL)"));
        createMenus();
        createStartView();
        // The design's client area, grown to what the start view needs.
        const QSize client = QSize(kClientWidth, kClientHeight).expandedTo(m_startView->minimumSizeHint());
        resize(client.width(), client.height() + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
        loadRecentList();
    });
}

MainWindow::~MainWindow() { m_workbench.setKioskSystem(nullptr); }

void MainWindow::createStartView()
{
    const auto command = [this](const char* name) { return findChild<QAction*>(QString::fromLatin1(name)); };
    m_startView =
        new StartView(command("openKioskSystemAction"), command("createNewKioskSystemAction"),
                      {command("editPageAction"), command("makeAllPagesAction"), command("checkKioskSystemAction"),
                       command("overviewAction"), command("findInPagesAction"), command("createBranchPageAction")},
                      this);
    setCentralWidget(m_startView);
    connect(m_startView, &StartView::recentChosen, this, [this](int position) { openRecentKioskSystem(position + 1); });
    m_statusKioskSystem = new QLabel(tr("No kiosk system open"), this);
    m_statusKioskSystem->setObjectName(QStringLiteral("statusKioskSystem"));
    m_statusLastMake = new QLabel(this);
    m_statusLastMake->setObjectName(QStringLiteral("statusLastMake"));
    statusBar()->addWidget(m_statusKioskSystem, 1);
    statusBar()->addPermanentWidget(m_statusLastMake);
}

// The recent kiosk systems while none is open; the open one with its last make.
void MainWindow::showStart()
{
    if (!m_kioskSystem) {
        QStringList folders;
        for (int i = 1; i <= kRecentCount; ++i)
            if (m_recentActions[size_t(i)]->isVisible())
                folders.append(m_fileItemCaption[size_t(i)]);
        m_startView->showRecent(folders);
        return;
    }
    m_startView->showKioskSystem(m_kioskSystem->folder(), m_lastMake);
    m_statusKioskSystem->setText(tr("Kiosk system: %1").arg(QDir::toNativeSeparators(m_kioskSystem->folder())));
    m_statusLastMake->setText(m_lastMake);
}

void MainWindow::setScreenSizeProvider(std::unique_ptr<ScreenSizeProvider> screen) { m_screen = std::move(screen); }

void MainWindow::createMenus()
{
    m_fileMenu = menuBar()->addMenu(tr("&File"));
    m_fileMenu->setObjectName(QStringLiteral("fileMenu"));
    withShortcut(addMenuCommand(this, m_fileMenu, QStringLiteral("openKioskSystemAction"), tr("&Open Kiosk System..."),
                                &MainWindow::chooseKioskSystem),
                 QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O));
    addMenuCommand(this, m_fileMenu, QStringLiteral("createNewKioskSystemAction"), tr("&Create New Kiosk System..."),
                   &MainWindow::createNewKioskSystem);
    addMenuCommand(this, m_fileMenu, QStringLiteral("installKioskSystemAction"), tr("&Install Kiosk System ..."),
                   &MainWindow::installKioskSystem);
    m_publishAction = addMenuCommand(this, m_fileMenu, QStringLiteral("publishAction"), tr("&Publish..."),
                                     &MainWindow::publishKioskSystem);
    m_publishAction->setEnabled(false);
    m_recentActions[0] = m_fileMenu->addSeparator();
    m_recentActions[0]->setObjectName(QStringLiteral("recentAction0"));
    m_fileItemCaption[0] = QStringLiteral("-");
    m_recentActions[0]->setVisible(false);
    for (int i = 1; i <= kRecentCount; ++i) {
        m_recentActions[i] = m_fileMenu->addAction(QString());
        m_recentActions[i]->setObjectName(QStringLiteral("recentAction") + QString::number(i));
        m_recentActions[i]->setVisible(false);
        connect(m_recentActions[i], &QAction::triggered, this, [this, i] { openRecentKioskSystem(i); });
    }
    m_fileMenu->addSeparator()->setObjectName(QStringLiteral("separator2"));
    withShortcut(addMenuCommand(this, m_fileMenu, QStringLiteral("exitAction"), tr("E&xit"), &MainWindow::exitProgram),
                 QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q));

    m_editMenu = menuBar()->addMenu(tr("&Edit"));
    m_editMenu->setObjectName(QStringLiteral("editMenu"));
    withShortcut(
        addMenuCommand(this, m_editMenu, QStringLiteral("editPageAction"), tr("&Edit Page..."), &MainWindow::editPage),
        QKeySequence(Qt::CTRL | Qt::Key_E));
    // The leaf page, the kiosk's most common page, gets the usual New key.
    withShortcut(addMenuCommand(this, m_editMenu, QStringLiteral("createBranchPageAction"), tr("New &Branch Page..."),
                                &MainWindow::createBranchPage),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    withShortcut(addMenuCommand(this, m_editMenu, QStringLiteral("createLeafPageAction"), tr("New &Leaf Page..."),
                                &MainWindow::createLeafPage),
                 QKeySequence::New, QKeySequence(Qt::CTRL | Qt::Key_N));
    withShortcut(addMenuCommand(this, m_editMenu, QStringLiteral("createSelectorPageAction"),
                                tr("New &Selector Page..."), &MainWindow::createSelectorPage),
                 QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N));
    addMenuCommand(this, m_editMenu, QStringLiteral("newFolderAction"), tr("New &Folder ..."), &MainWindow::newFolder);
    setMenuEnabled(m_editMenu, false);

    m_toolsMenu = menuBar()->addMenu(tr("&Tools"));
    m_toolsMenu->setObjectName(QStringLiteral("toolsMenu"));
    addMenuCommand(this, m_toolsMenu, QStringLiteral("exportFolderAction"), tr("&Export Folder..."),
                   &MainWindow::exportFolder);
    withShortcut(addMenuCommand(this, m_toolsMenu, QStringLiteral("makeAllPagesAction"), tr("&Make All Pages..."),
                                &MainWindow::makeAllPages),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
    addMenuCommand(this, m_toolsMenu, QStringLiteral("checkKioskSystemAction"), tr("&Check Kiosk System..."),
                   &MainWindow::checkKioskSystem);
    addMenuCommand(this, m_toolsMenu, QStringLiteral("overviewAction"), tr("Kiosk System &Overview..."),
                   &MainWindow::openOverview);
    addMenuCommand(this, m_toolsMenu, QStringLiteral("kiosksAction"), tr("&Kiosks..."), &MainWindow::openKiosks);
    m_toolsMenu->addSeparator();
    addMenuCommand(this, m_toolsMenu, QStringLiteral("referencesAction"), tr("&References..."),
                   &MainWindow::showReferences);
    withShortcut(addMenuCommand(this, m_toolsMenu, QStringLiteral("findInPagesAction"), tr("&Find in Pages..."),
                                &MainWindow::showFindInPages),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    addMenuCommand(this, m_toolsMenu, QStringLiteral("renamePageAction"), tr("Re&name Page..."),
                   &MainWindow::renamePage);
    addMenuCommand(this, m_toolsMenu, QStringLiteral("movePageAction"), tr("Mo&ve Page..."), &MainWindow::movePage);
    addMenuCommand(this, m_toolsMenu, QStringLiteral("renameFolderAction"), tr("Rename Fol&der..."),
                   &MainWindow::renameFolder);
    setMenuEnabled(m_toolsMenu, false);

    m_helpMenu = menuBar()->addMenu(tr("&Help"));
    m_helpMenu->setObjectName(QStringLiteral("helpMenu"));
    addMenuCommand(this, m_helpMenu, QStringLiteral("aboutAction"), tr("&About Ostervale Information Kiosk (ZEL)"),
                   &MainWindow::showAbout);
}

QString MainWindow::recentEntry(int index) const { return m_fileItemCaption.at(size_t(index)); }

QAction* MainWindow::recentAction(int index) const { return m_recentActions.at(size_t(index)); }

void MainWindow::setRecentEntry(int index, const QString& caption, bool visible)
{
    m_fileItemCaption[size_t(index)] = caption;
    // "&1 " to "&3 ": the entry's number is its access key.
    m_recentActions[size_t(index)]->setText(u'&' + QString::number(index) + u' ' + menuText(caption));
    m_recentActions[size_t(index)]->setVisible(visible);
}

void MainWindow::loadRecentList()
{
    const auto settings = openUserSettings();
    for (int i = 1; i <= kRecentCount; ++i) {
        const QString folder = settings->value(recentKey(i), QString()).toString();
        setRecentEntry(i, folder, !folder.isEmpty());
        if (!folder.isEmpty())
            m_recentActions[0]->setVisible(true);
    }
    showStart();
}

void MainWindow::storeRecentList()
{
    const auto settings = openUserSettings();
    for (int i = 1; i <= kRecentCount; ++i)
        if (!m_fileItemCaption[size_t(i)].isEmpty())
            settings->setValue(recentKey(i), m_fileItemCaption[size_t(i)]);
    settings->sync();
}

// The folder moves to (or enters at) the top; the entries above its old
// place move down one, so the last one drops out when it is new.
void MainWindow::updateRecentList(const QString& folder)
{
    m_recentActions[0]->setVisible(true);
    int position = kRecentCount;
    for (int i = 0; i <= kRecentCount; ++i) {
        if (m_fileItemCaption[size_t(i)] == folder) {
            position = i;
            break;
        }
    }
    for (int j = position; j >= 2; --j)
        setRecentEntry(j, m_fileItemCaption[size_t(j - 1)], m_recentActions[size_t(j - 1)]->isVisible());
    setRecentEntry(1, folder, true);
    // Stored at once, so that a run that ends without closing keeps it.
    storeRecentList();
}

void MainWindow::openKioskSystem(const QString& folder)
{
    runCommand(
        m_workbench.session(), kModule, [&] { return QStringLiteral("openKioskSystem(") + folder + u')'; },
        [&] {
            // The overview comes back with the next kiosk system, and with the first one of a run when it was
            // open when the last run ended.
            const bool overview =
                m_workbench.exists<OverviewWindow>() || (!m_kioskSystem && OverviewWindow::wasOpenAtExit());
            if (!WindowClosing::closeOtherWindows(m_workbench.order().windowsInOpeningOrder(), this)) {
                Messages::show(m_workbench.session(),
                               tr("You must close ALL ZEL editor windows BEFORE you can open another Kiosk System"));
                return;
            }
            m_kioskSystem = openKioskSystemRunState(m_workbench.session(), folder, *m_screen);
            m_workbench.setKioskSystem(m_kioskSystem.get());
            setMenuEnabled(m_editMenu, true);
            setMenuEnabled(m_toolsMenu, true);
            m_publishAction->setEnabled(true);
            m_lastMake.clear();
            updateRecentList(folder);
            showStart();
            if (overview)
                openOverview();
            EditorWindow::offerRecoveredPages(m_workbench);
        });
}

QString MainWindow::chooseDirectory()
{
    m_workbench.instance<DirectoryDialog>().showModal(this);
    return m_workbench.instance<DirectoryDialog>().getDirectory();
}

void MainWindow::chooseKioskSystem()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuOpenKioskSystem_Click"), [&] {
        const QString folder = chooseDirectory();
        if (!folder.isEmpty())
            openKioskSystem(folder);
    });
}

void MainWindow::openRecentKioskSystem(int index)
{
    runCommand(
        m_workbench.session(), kModule, [&] { return QStringLiteral("mnuFileItem_Click(%1)").arg(index); },
        [&] {
            // A copy: the open rewrites the captions while it runs.
            const QString folder = m_fileItemCaption.at(size_t(index));
            openKioskSystem(folder);
        });
}

// The Template folder (templateFolder) is copied into the chosen folder
// (files of the same name replaced, others kept), then opened. A folder that
// already holds a kiosk system is refused, so that no author's configuration
// or root page is replaced by the template's.
void MainWindow::createNewKioskSystem()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuCreateNewKioskSystem_Click"), [&] {
        const QString folder = chooseDirectory();
        if (folder.isEmpty())
            return;
        if (holdsKioskSystem(folder)) {
            Messages::show(m_workbench.session(),
                           tr("Kiosk System Folder - %1 already holds a Kiosk System - nothing was copied").arg(folder)
                               + kCrLf + tr("Open it with Open Kiosk System, or choose an empty folder"));
            return;
        }
        Files::copyFolderContents(templateFolder(m_workbench.session()), folder, m_workbench.session().fileFaults());
        openKioskSystem(folder);
    });
}

void MainWindow::installKioskSystem()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuInstallKioskSystem_Click"),
               [&] { Messages::show(m_workbench.session(), tr("InstallKioskSystem not implemented yet")); });
}

void MainWindow::newFolder()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuNewFolder_Click"), [&] {
        m_workbench.instance<NewFolderDialog>().showModal(this);
        const QString path = m_workbench.instance<NewFolderDialog>().getFolderPath();
        if (!path.isEmpty())
            Files::createFolder(path);
    });
}

void MainWindow::showAbout()
{
    Messages::show(m_workbench.session(), tr("Ostervale Information Kiosk (ZEL) Version %1.%2 Revision %3")
                                              .arg(ZEL_VERSION_MAJOR)
                                              .arg(ZEL_VERSION_MINOR)
                                              .arg(ZEL_VERSION_PATCH));
}

void MainWindow::exitProgram()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuExit_Click"), [&] { close(); });
}

void MainWindow::editPage()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuEditPage_Click"), [&] {
        m_workbench.instance<SelectFileDialog>().openPage(this);
        const QString path = m_workbench.instance<SelectFileDialog>().getSelectedFilePath();
        if (path.isEmpty())
            return;
        EditorWindow::openOrRaise(m_workbench, path);
    });
}

// Each New command opens an editor window of its own.
void MainWindow::createBranchPage()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuCreateBranchPage_Click"),
               [&] { (new EditorWindow(m_workbench))->newBranchPage(); });
}

void MainWindow::createLeafPage()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuCreateLeafPage_Click"),
               [&] { (new EditorWindow(m_workbench))->newLeafPage(); });
}

void MainWindow::createSelectorPage()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuCreateSelectorPage_Click"),
               [&] { (new EditorWindow(m_workbench))->newSelectorPage(); });
}

bool MainWindow::changedEditorsMayStay()
{
    for (QWidget* window : m_workbench.order().windowsInOpeningOrder()) {
        auto* editor = qobject_cast<EditorWindow*>(window);
        if (!editor || editor->isHidden() || !editor->isPageChanged())
            continue;
        m_workbench.focus().bringToFront(editor);
        const Answer answer = Messages::askYesNoCancel(
            m_workbench.session(),
            editor->aboutThisPage(tr("A page has been changed  - do you wish to save it first?")));
        if (answer == Answer::Yes) {
            m_workbench.focus().bringToFront(editor);
            return false;
        }
        if (answer == Answer::Cancel)
            return false;
    }
    return true;
}

// Every open editor with unsaved changes is asked about first, in the order
// the editors were opened, each shown in front while its question is asked:
// Yes leaves it there for the author to save, Cancel stops; only when every
// one was answered No (or none has changes) are all pages made.
void MainWindow::makeAllPages()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuMakeAllPages_Click"), [&] {
        if (changedEditorsMayStay())
            makeAllInDialog();
    });
}

void MainWindow::makeAllInDialog()
{
    MakeDialog& maker = m_workbench.instance<MakeDialog>();
    maker.makeAll();
    maker.showModal(this);
    m_lastMake = tr("Last make %1: %2 of %3 pages made, %4 problems")
                     .arg(QLocale().toString(QTime::currentTime(), QLocale::ShortFormat))
                     .arg(maker.maker().pagesMade())
                     .arg(maker.maker().pagesTotal())
                     .arg(maker.problemCount());
    showStart();
}

// One check window: the command brings it to the front and checks anew.
void MainWindow::checkKioskSystem()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuCheckKioskSystem_Click"), [&] {
        if (!m_checkWindow)
            m_checkWindow = new CheckWindow(m_workbench);
        m_checkWindow->show();
        m_checkWindow->raise();
        m_checkWindow->activateWindow();
        m_checkWindow->startCheck();
    });
}

void MainWindow::openOverview()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuKioskOverview_Click"),
               [&] { m_workbench.instance<OverviewWindow>().showOverview(); });
}

void MainWindow::openKiosks()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuKiosks_Click"),
               [&] { m_workbench.instance<KiosksWindow>().showKiosks(); });
}

void MainWindow::showFindInPages()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuFindInPages_Click"),
               [&] { m_workbench.instance<FindInPagesWindow>().showFind(); });
}

// Every other window is asked to close, then the recent list is stored, the
// log closed and every file closed. An editor that refuses (the author keeps
// working on it) stops the shutdown before any window has closed: the main
// window and every other window stay, the log open.
// The fatal report closes the main window whatever the editors answer.
void MainWindow::closeEvent(QCloseEvent* event)
{
    const int unloadMode = event->spontaneous() ? 0 : 1;
    // A fatal report has asked the other windows already (closeAllWindows);
    // an editor whose author kept it open is not asked a second time.
    const bool fatal = m_workbench.session().fatalReportInProgress();
    const bool overviewOpen = m_workbench.exists<OverviewWindow>();
    const bool othersClosed =
        fatal
        || runCommand(
            m_workbench.session(), kModule, [&] { return QStringLiteral("Form_QueryUnload(0,%1)").arg(unloadMode); },
            [&] { return WindowClosing::closeOtherWindowsOrNone(m_workbench.order().windowsInOpeningOrder(), this); });
    if (!othersClosed) {
        event->ignore();
        return;
    }
    runCommand(m_workbench.session(), kModule, QStringLiteral("Form_Unload"), [&] {
        storeRecentList();
        OverviewWindow::rememberOpenAtExit(overviewOpen);
        closeLogFile(m_workbench.session());
        m_workbench.session().closeAllFiles();
    });
    event->accept();
}
