// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frm_kiosk_system.h"

#include "app/core/open_kiosk_system.h"
#include "app/frm_check_kiosk_system.h"
#include "app/frm_find_in_pages.h"
#include "app/frm_kiosk_overview.h"
#include "app/primary_screen_size.h"
#include "app/window_closing.h"
#include "dialogs/dlg_chose_dir.h"
#include "dialogs/dlg_create_new_folder.h"
#include "dialogs/dlg_make_page.h"
#include "dialogs/dlg_select_file.h"
#include "dialogs/menu_command.h"
#include "dialogs/workbench.h"
#include "editor/frm_edit.h"
#include "pages/files.h"
#include "base/line_end.h"
#include "platform/messages.h"
#include "platform/template_folder.h"
#include "platform/session.h"
#include "platform/user_settings.h"
#include "runtime/error_handler.h"
#include "runtime/log_file.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>

namespace {
const QString kModule = QStringLiteral("frmKioskSystem");
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

frmKioskSystem::frmKioskSystem(Workbench& workbench, QWidget* parent)
    : QMainWindow(parent), m_workbench(workbench), m_screen(std::make_unique<PrimaryScreenSize>())
{
    setObjectName(QStringLiteral("frmKioskSystem"));
    runCommand(m_workbench.session(), kModule, QStringLiteral("Form_Load"), [&] {
        setWindowTitle(QStringLiteral("Ostervale Information Kiosk (ZEL)"));
        createMenus();
        setCentralWidget(new QWidget(this));
        resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
        loadRecentList();
    });
}

frmKioskSystem::~frmKioskSystem() { m_workbench.setKioskSystem(nullptr); }

void frmKioskSystem::setScreenSizeProvider(std::unique_ptr<ScreenSizeProvider> screen) { m_screen = std::move(screen); }

void frmKioskSystem::createMenus()
{
    m_mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    m_mnuFile->setObjectName(QStringLiteral("mnuFile"));
    withShortcut(addMenuCommand(this, m_mnuFile, QStringLiteral("mnuOpenKioskSystem"),
                                QStringLiteral("Open Kiosk System..."), &frmKioskSystem::mnuOpenKioskSystem_Click),
                 QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O));
    addMenuCommand(this, m_mnuFile, QStringLiteral("mnuCreateNewKioskSystem"),
                   QStringLiteral("Create New Kiosk System..."), &frmKioskSystem::mnuCreateNewKioskSystem_Click);
    addMenuCommand(this, m_mnuFile, QStringLiteral("mnuInstallKioskSystem"), QStringLiteral("Install Kiosk System ..."),
                   &frmKioskSystem::mnuInstallKioskSystem_Click);
    m_mnuFileItem[0] = m_mnuFile->addSeparator();
    m_mnuFileItem[0]->setObjectName(QStringLiteral("mnuFileItem0"));
    m_fileItemCaption[0] = QStringLiteral("-");
    m_mnuFileItem[0]->setVisible(false);
    for (int i = 1; i <= kRecentCount; ++i) {
        m_mnuFileItem[i] = m_mnuFile->addAction(QString());
        m_mnuFileItem[i]->setObjectName(QStringLiteral("mnuFileItem") + QString::number(i));
        m_mnuFileItem[i]->setVisible(false);
        connect(m_mnuFileItem[i], &QAction::triggered, this, [this, i] { mnuFileItem_Click(i); });
    }
    m_mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuSep2"));
    withShortcut(addMenuCommand(this, m_mnuFile, QStringLiteral("mnuExit"), QStringLiteral("E&xit"),
                                &frmKioskSystem::mnuExit_Click),
                 QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q));

    m_mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    m_mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    withShortcut(addMenuCommand(this, m_mnuEdit, QStringLiteral("mnuEditPage"), QStringLiteral("Edit Page..."),
                                &frmKioskSystem::mnuEditPage_Click),
                 QKeySequence(Qt::CTRL | Qt::Key_E));
    // The leaf page, the kiosk's most common page, gets the usual New key.
    withShortcut(addMenuCommand(this, m_mnuEdit, QStringLiteral("mnuCreateBranchPage"),
                                QStringLiteral("New Branch Page..."), &frmKioskSystem::mnuCreateBranchPage_Click),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    withShortcut(addMenuCommand(this, m_mnuEdit, QStringLiteral("mnuCreateLeafPage"),
                                QStringLiteral("New Leaf Page..."), &frmKioskSystem::mnuCreateLeafPage_Click),
                 QKeySequence::New, QKeySequence(Qt::CTRL | Qt::Key_N));
    withShortcut(addMenuCommand(this, m_mnuEdit, QStringLiteral("mnuCreateSelectorPage"),
                                QStringLiteral("New Selector Page..."), &frmKioskSystem::mnuCreateSelectorPage_Click),
                 QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N));
    addMenuCommand(this, m_mnuEdit, QStringLiteral("mnuNewFolder"), QStringLiteral("New Folder ..."),
                   &frmKioskSystem::mnuNewFolder_Click);
    setMenuEnabled(m_mnuEdit, false);

    m_mnuTools = menuBar()->addMenu(QStringLiteral("&Tools"));
    m_mnuTools->setObjectName(QStringLiteral("mnuTools"));
    addMenuCommand(this, m_mnuTools, QStringLiteral("mnuExportFolder"), QStringLiteral("Export Folder..."),
                   &frmKioskSystem::mnuExportFolder_Click);
    withShortcut(addMenuCommand(this, m_mnuTools, QStringLiteral("mnuMakeAllPages"),
                                QStringLiteral("Make All Pages..."), &frmKioskSystem::mnuMakeAllPages_Click),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
    addMenuCommand(this, m_mnuTools, QStringLiteral("mnuCheckKioskSystem"), QStringLiteral("Check Kiosk System..."),
                   &frmKioskSystem::mnuCheckKioskSystem_Click);
    addMenuCommand(this, m_mnuTools, QStringLiteral("mnuKioskOverview"), QStringLiteral("Kiosk System Overview..."),
                   &frmKioskSystem::mnuKioskOverview_Click);
    m_mnuTools->addSeparator();
    addMenuCommand(this, m_mnuTools, QStringLiteral("mnuReferences"), QStringLiteral("References..."),
                   &frmKioskSystem::mnuReferences_Click);
    withShortcut(addMenuCommand(this, m_mnuTools, QStringLiteral("mnuFindInPages"), QStringLiteral("Find in Pages..."),
                                &frmKioskSystem::mnuFindInPages_Click),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    addMenuCommand(this, m_mnuTools, QStringLiteral("mnuRenamePage"), QStringLiteral("Rename Page..."),
                   &frmKioskSystem::mnuRenamePage_Click);
    addMenuCommand(this, m_mnuTools, QStringLiteral("mnuMovePage"), QStringLiteral("Move Page..."),
                   &frmKioskSystem::mnuMovePage_Click);
    addMenuCommand(this, m_mnuTools, QStringLiteral("mnuRenameFolder"), QStringLiteral("Rename Folder..."),
                   &frmKioskSystem::mnuRenameFolder_Click);
    setMenuEnabled(m_mnuTools, false);

    m_mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    m_mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    addMenuCommand(this, m_mnuHelp, QStringLiteral("mnuAbout"),
                   QStringLiteral("&About Ostervale Information Kiosk (ZEL)"), &frmKioskSystem::mnuAbout_Click);
}

QString frmKioskSystem::recentEntry(int index) const { return m_fileItemCaption.at(size_t(index)); }

QAction* frmKioskSystem::recentAction(int index) const { return m_mnuFileItem.at(size_t(index)); }

void frmKioskSystem::setRecentEntry(int index, const QString& caption, bool visible)
{
    m_fileItemCaption[size_t(index)] = caption;
    // "&1 " to "&3 ": the entry's number is its access key.
    m_mnuFileItem[size_t(index)]->setText(u'&' + QString::number(index) + u' ' + menuText(caption));
    m_mnuFileItem[size_t(index)]->setVisible(visible);
}

void frmKioskSystem::loadRecentList()
{
    const auto settings = openUserSettings();
    for (int i = 1; i <= kRecentCount; ++i) {
        const QString folder = settings->value(recentKey(i), QString()).toString();
        setRecentEntry(i, folder, !folder.isEmpty());
        if (!folder.isEmpty())
            m_mnuFileItem[0]->setVisible(true);
    }
}

void frmKioskSystem::storeRecentList()
{
    const auto settings = openUserSettings();
    for (int i = 1; i <= kRecentCount; ++i)
        if (!m_fileItemCaption[size_t(i)].isEmpty())
            settings->setValue(recentKey(i), m_fileItemCaption[size_t(i)]);
    settings->sync();
}

// The folder moves to (or enters at) the top; the entries above its old
// place move down one, so the last one drops out when it is new.
void frmKioskSystem::updateRecentList(const QString& folder)
{
    m_mnuFileItem[0]->setVisible(true);
    int position = kRecentCount;
    for (int i = 0; i <= kRecentCount; ++i) {
        if (m_fileItemCaption[size_t(i)] == folder) {
            position = i;
            break;
        }
    }
    for (int j = position; j >= 2; --j)
        setRecentEntry(j, m_fileItemCaption[size_t(j - 1)], m_mnuFileItem[size_t(j - 1)]->isVisible());
    setRecentEntry(1, folder, true);
    // Stored at once, so that a run that ends without closing keeps it.
    storeRecentList();
}

void frmKioskSystem::openKioskSystem(const QString& folder)
{
    runCommand(
        m_workbench.session(), kModule, [&] { return QStringLiteral("openKioskSystem(") + folder + u')'; },
        [&] {
            // The overview comes back with the next kiosk system, and with the first one of a run when it was
            // open when the last run ended.
            const bool overview =
                m_workbench.exists<frmKioskOverview>() || (!m_kioskSystem && frmKioskOverview::wasOpenAtExit());
            if (!WindowClosing::closeOtherWindows(m_workbench.order().windowsInOpeningOrder(), this)) {
                Messages::show(
                    m_workbench.session(),
                    QStringLiteral("You must close ALL ZEL editor windows BEFORE you can open another Kiosk System"));
                return;
            }
            m_kioskSystem = openKioskSystemRunState(m_workbench.session(), folder, *m_screen);
            m_workbench.setKioskSystem(m_kioskSystem.get());
            setMenuEnabled(m_mnuEdit, true);
            setMenuEnabled(m_mnuTools, true);
            updateRecentList(folder);
            if (overview)
                mnuKioskOverview_Click();
            frmEdit::offerRecoveredPages(m_workbench);
        });
}

QString frmKioskSystem::chooseDirectory()
{
    m_workbench.instance<dlgChoseDir>().showModal(this);
    return m_workbench.instance<dlgChoseDir>().getDirectory();
}

void frmKioskSystem::mnuOpenKioskSystem_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuOpenKioskSystem_Click"), [&] {
        const QString folder = chooseDirectory();
        if (!folder.isEmpty())
            openKioskSystem(folder);
    });
}

void frmKioskSystem::mnuFileItem_Click(int index)
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
void frmKioskSystem::mnuCreateNewKioskSystem_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuCreateNewKioskSystem_Click"), [&] {
        const QString folder = chooseDirectory();
        if (folder.isEmpty())
            return;
        if (holdsKioskSystem(folder)) {
            Messages::show(m_workbench.session(),
                           QStringLiteral("Kiosk System Folder - ") + folder
                               + QStringLiteral(" already holds a Kiosk System - nothing was copied") + kCrLf
                               + QStringLiteral("Open it with Open Kiosk System, or choose an empty folder"));
            return;
        }
        Files::copyFolderContents(templateFolder(m_workbench.session()), folder, m_workbench.session().fileFaults());
        openKioskSystem(folder);
    });
}

void frmKioskSystem::mnuInstallKioskSystem_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuInstallKioskSystem_Click"), [&] {
        Messages::show(m_workbench.session(), QStringLiteral("InstallKioskSystem not implemented yet"));
    });
}

void frmKioskSystem::mnuNewFolder_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuNewFolder_Click"), [&] {
        m_workbench.instance<dlgCreateNewFolder>().showModal(this);
        const QString path = m_workbench.instance<dlgCreateNewFolder>().getFolderPath();
        if (!path.isEmpty())
            Files::createFolder(path);
    });
}

void frmKioskSystem::mnuAbout_Click()
{
    Messages::show(m_workbench.session(), QStringLiteral("Ostervale Information Kiosk (ZEL) Version %1.%2 Revision %3")
                                              .arg(ZEL_VERSION_MAJOR)
                                              .arg(ZEL_VERSION_MINOR)
                                              .arg(ZEL_VERSION_PATCH));
}

void frmKioskSystem::mnuExit_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuExit_Click"), [&] { close(); });
}

void frmKioskSystem::mnuEditPage_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuEditPage_Click"), [&] {
        m_workbench.instance<dlgSelectFile>().openPage(this);
        const QString path = m_workbench.instance<dlgSelectFile>().getSelectedFilePath();
        if (path.isEmpty())
            return;
        frmEdit::openOrRaise(m_workbench, path);
    });
}

// Each New command opens an editor window of its own.
void frmKioskSystem::mnuCreateBranchPage_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuCreateBranchPage_Click"),
               [&] { (new frmEdit(m_workbench))->newBranchPage(); });
}

void frmKioskSystem::mnuCreateLeafPage_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuCreateLeafPage_Click"),
               [&] { (new frmEdit(m_workbench))->newLeafPage(); });
}

void frmKioskSystem::mnuCreateSelectorPage_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuCreateSelectorPage_Click"),
               [&] { (new frmEdit(m_workbench))->newSelectorPage(); });
}

bool frmKioskSystem::changedEditorsMayStay()
{
    for (QWidget* window : m_workbench.order().windowsInOpeningOrder()) {
        auto* editor = qobject_cast<frmEdit*>(window);
        if (!editor || editor->isHidden() || !editor->isPageChanged())
            continue;
        m_workbench.focus().bringToFront(editor);
        const Answer answer = Messages::askYesNoCancel(
            m_workbench.session(), QStringLiteral("A page has been changed  - do you wish to save it first?"));
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
void frmKioskSystem::mnuMakeAllPages_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuMakeAllPages_Click"), [&] {
        if (!changedEditorsMayStay())
            return;
        dlgMakePage& maker = m_workbench.instance<dlgMakePage>();
        maker.makeAll();
        maker.showModal(this);
    });
}

// One check window: the command brings it to the front and checks anew.
void frmKioskSystem::mnuCheckKioskSystem_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuCheckKioskSystem_Click"), [&] {
        if (!m_frmCheckKioskSystem)
            m_frmCheckKioskSystem = new frmCheckKioskSystem(m_workbench);
        m_frmCheckKioskSystem->show();
        m_frmCheckKioskSystem->raise();
        m_frmCheckKioskSystem->activateWindow();
        m_frmCheckKioskSystem->startCheck();
    });
}

void frmKioskSystem::mnuKioskOverview_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuKioskOverview_Click"),
               [&] { m_workbench.instance<frmKioskOverview>().showOverview(); });
}

void frmKioskSystem::mnuFindInPages_Click()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuFindInPages_Click"),
               [&] { m_workbench.instance<frmFindInPages>().showFind(); });
}

// Every other window is asked to close, then the recent list is stored, the
// log closed and every file closed. An editor that refuses (the author keeps
// working on it) stops the shutdown before any window has closed: the main
// window and every other window stay, the log open.
// The fatal report closes the main window whatever the editors answer.
void frmKioskSystem::closeEvent(QCloseEvent* event)
{
    const int unloadMode = event->spontaneous() ? 0 : 1;
    // A fatal report has asked the other windows already (closeAllWindows);
    // an editor whose author kept it open is not asked a second time.
    const bool fatal = m_workbench.session().fatalReportInProgress();
    const bool overviewOpen = m_workbench.exists<frmKioskOverview>();
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
        frmKioskOverview::rememberOpenAtExit(overviewOpen);
        closeLogFile(m_workbench.session());
        m_workbench.session().closeAllFiles();
    });
    event->accept();
}
