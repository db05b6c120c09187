// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/overview_window.h"
#include "app/kiosks_window.h"

#include "app/page_opening.h"
#include "app/references_window.h"
#include "config/kiosk_system.h"
#include "dialogs/make_dialog.h"
#include "pages/page_types.h"
#include "platform/user_settings.h"
#include "preview/web_windows.h"
#include "runtime/error_handler.h"
#include "workbench/workbench.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <sys/stat.h>

namespace {
const QString kModule = QStringLiteral("frmKioskOverview");
const QString kGeometryKey = QStringLiteral("Overview/geometry");
const QString kOpenKey = QStringLiteral("Overview/open");
constexpr int kSliceMilliseconds = 30;
// The files of one save or make come in several notices; they are read once, this long after the first.
constexpr int kSettleMilliseconds = 50;

QString typeName(PageType type)
{
    switch (type) {
    case PageType::Leaf:
        return QStringLiteral("leaf");
    case PageType::Branch:
        return QStringLiteral("branch");
    case PageType::Root:
        return QStringLiteral("root");
    case PageType::Selector:
        return QStringLiteral("selector");
    default:
        return QStringLiteral("invalid");
    }
}

// What the title column shows: the title, or why the page source could not be read.
QString titleText(const KioskOverview::PageSummary& page)
{
    if (page.unreadable.isEmpty())
        return page.title;
    return page.unreadable.startsWith(QLatin1String("is "))
               ? page.unreadable
               : QCoreApplication::translate("OverviewWindow", "cannot be read (%1)").arg(page.unreadable);
}

// What the schedule column shows: nothing for a page always on show, else
// whether it is on show now and its #show lines.
QString scheduleText(const KioskOverview::PageSummary& page)
{
    if (page.schedule.always())
        return QString();
    return (page.schedule.isOnShowAt(QDateTime::currentDateTime())
                ? QCoreApplication::translate("OverviewWindow", "on show now: ")
                : QCoreApplication::translate("OverviewWindow", "off show now: "))
           + page.schedule.text();
}

QString madeText(const KioskOverview::PageSummary& page)
{
    if (!page.made)
        return QCoreApplication::translate("OverviewWindow", "not made");
    return page.upToDate ? QCoreApplication::translate("OverviewWindow", "up to date")
                         : QCoreApplication::translate("OverviewWindow", "out of date");
}
} // namespace

OverviewWindow::OverviewWindow(Workbench& workbench)
    : SingleInstanceWindow(workbench, QStringLiteral("frmKioskOverview"))
{
    setWindowTitle(tr("Kiosk System Overview"));
    auto* layout = new QVBoxLayout(this);
    m_folderLabel = new QLabel(this);
    m_folderLabel->setObjectName(QStringLiteral("folderLabel"));
    m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_folderLabel);
    m_pageViewsLabel = new QLabel(this);
    m_pageViewsLabel->setObjectName(QStringLiteral("pageViewsLabel"));
    m_pageViewsLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pageViewsLabel->setWordWrap(true);
    m_pageViewsLabel->hide();
    layout->addWidget(m_pageViewsLabel);
    m_pageTree = new QTreeWidget(this);
    m_pageTree->setObjectName(QStringLiteral("pageTree"));
    m_pageTree->setAccessibleName(tr("Pages"));
    m_pageTree->setHeaderLabels(
        {tr("Page"), tr("Type"), tr("Title"), tr("Made"), tr("Problems"), tr("Schedule"), tr("Views")});
    m_pageTree->setUniformRowHeights(true);
    m_pageTree->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(m_pageTree, 1);
    connect(m_pageTree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* row) { editPage(row); });
    connect(m_pageTree, &QWidget::customContextMenuRequested, this, &OverviewWindow::showMenu);
    resize(760, 520);
    restoreGeometry(openUserSettings()->value(kGeometryKey).toByteArray());

    m_clockTimer.setInterval(60000);
    connect(&m_clockTimer, &QTimer::timeout, this, &OverviewWindow::updateSchedules);
    m_clockTimer.start();

    m_watcher = new QFileSystemWatcher(this);
    m_settleTimer.setSingleShot(true);
    m_settleTimer.setInterval(kSettleMilliseconds);
    connect(&m_settleTimer, &QTimer::timeout, this, [this] {
        // Watched again first, read then: a change in between is read now, one after it is seen. A change of the
        // kiosk folder itself (a folder added, removed or renamed) reads every folder.
        QStringList folders = m_changedFolders;
        m_changedFolders.clear();
        for (const QString& folder : watchFolders())
            if (!folders.contains(folder))
                folders.append(folder);
        refresh(folders.contains(QString()) ? QStringList() : folders);
    });
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this](const QString& path) {
        const QString folder =
            QDir::cleanPath(path) == QDir::cleanPath(m_overview->folder()) ? QString() : QFileInfo(path).fileName();
        if (!m_changedFolders.contains(folder))
            m_changedFolders.append(folder);
        // Not restarted by later notices: a shell writing all the time must not keep the overview stale.
        if (!m_settleTimer.isActive())
            m_settleTimer.start();
    });
    m_checkTimer.setInterval(0);
    connect(&m_checkTimer, &QTimer::timeout, this, &OverviewWindow::checkSomePages);
}

void OverviewWindow::showOverview()
{
    runCommand(workbench().session(), kModule, QStringLiteral("showOverview"), [&] {
        const QString folder = workbench().kioskSystem().folder();
        m_overview = std::make_unique<KioskOverview::Overview>(folder);
        m_overview->fill();
        m_folderLabel->setText(QDir::toNativeSeparators(folder));
        fillTree();
        if (!m_watcher->directories().isEmpty())
            m_watcher->removePaths(m_watcher->directories());
        m_watchedFolders.clear();
        m_changedFolders.clear();
        watchFolders();
        show();
        raise();
        activateWindow();
        startCheck();
    });
}

QTreeWidgetItem* OverviewWindow::folderRow(const QString& folder)
{
    for (int i = 0; i < m_pageTree->topLevelItemCount(); ++i)
        if (m_pageTree->topLevelItem(i)->text(kColumnPage) == folder)
            return m_pageTree->topLevelItem(i);
    // Folders stay sorted by name.
    int at = 0;
    while (at < m_pageTree->topLevelItemCount() && m_pageTree->topLevelItem(at)->text(kColumnPage) < folder)
        ++at;
    auto* row = new QTreeWidgetItem({folder});
    m_pageTree->insertTopLevelItem(at, row);
    row->setExpanded(true);
    return row;
}

void OverviewWindow::fillTree()
{
    m_pageTree->clear();
    QList<QTreeWidgetItem*> folders;
    QHash<QString, QTreeWidgetItem*> byName;
    for (const QString& folder : m_overview->folderNames()) {
        auto* row = new QTreeWidgetItem({folder});
        folders.append(row);
        byName.insert(folder, row);
    }
    for (const KioskOverview::PageSummary& page : m_overview->pages()) {
        auto* row = new QTreeWidgetItem(byName.value(page.id.folder));
        updateRow(row, page);
    }
    m_pageTree->addTopLevelItems(folders);
    m_pageTree->expandAll();
    showPageViews();
    // Every column as wide as its widest text (the titles' column too: the tree scrolls sideways).
    for (int column = 0; column < m_pageTree->columnCount(); ++column)
        m_pageTree->resizeColumnToContents(column);
}

void OverviewWindow::showPageViews()
{
    const QString file = QDir::toNativeSeparators(KioskOverview::pageViewsPath(m_overview->folder()));
    const QString& problem = m_overview->pageViewsProblem();
    QString said;
    if (!problem.isEmpty())
        said = tr("Page views %1 %2")
                   .arg(file, problem.startsWith(QLatin1String("is "))
                                  ? problem
                                  : QCoreApplication::translate("OverviewWindow", "cannot be read (%1)").arg(problem));
    else if (const qint64 lines = m_overview->pageViewLinesNotCounted(); lines > 0)
        said = (lines == 1 ? tr("Page views %1: %2 line not counted (not a date, a page and a count of 0 or more)")
                           : tr("Page views %1: %2 lines not counted (not a date, a page and a count of 0 or more)"))
                   .arg(file, QString::number(lines));
    m_pageViewsLabel->setText(said);
    m_pageViewsLabel->setVisible(!said.isEmpty());
    m_pageTree->setColumnHidden(kColumnViews, !hasViews());
    for (int i = 0; i < m_pageTree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* folder = m_pageTree->topLevelItem(i);
        for (int j = 0; j < folder->childCount(); ++j)
            if (const auto* page = m_overview->page(folder->child(j)->data(kColumnPage, Qt::UserRole).toString()))
                updateRow(folder->child(j), *page);
    }
}

bool OverviewWindow::hasViews() const
{
    return m_overview->hasPageViews()
           || (workbench().exists<KiosksWindow>() && workbench().instance<KiosksWindow>().hasPageViews());
}

qint64 OverviewWindow::viewsOf(const PageReferences::PageId& id) const
{
    qint64 views = m_overview->hasPageViews() ? m_overview->views(id) : 0;
    if (workbench().exists<KiosksWindow>())
        views += workbench().instance<KiosksWindow>().pageViewsToday(id.folder + u'\\' + id.page);
    return views;
}

void OverviewWindow::updateRow(QTreeWidgetItem* row, const KioskOverview::PageSummary& page)
{
    row->setText(kColumnPage, page.id.page);
    row->setData(kColumnPage, Qt::UserRole, page.path);
    row->setText(kColumnType, typeName(page.type));
    row->setText(kColumnTitle, titleText(page));
    row->setText(kColumnMade, madeText(page));
    row->setText(kColumnProblems, page.problems < 0 ? QString() : QString::number(page.problems));
    row->setText(kColumnSchedule, scheduleText(page));
    row->setText(kColumnViews, hasViews() ? QString::number(viewsOf(page.id)) : QString());
}

void OverviewWindow::updateSchedules()
{
    for (int i = 0; i < m_pageTree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* folder = m_pageTree->topLevelItem(i);
        for (int j = 0; j < folder->childCount(); ++j)
            if (const auto* page = m_overview
                                       ? m_overview->page(folder->child(j)->data(kColumnPage, Qt::UserRole).toString())
                                       : nullptr)
                folder->child(j)->setText(kColumnSchedule, scheduleText(*page));
    }
}

QTreeWidgetItem* OverviewWindow::rowOf(const QString& pageSource) const
{
    for (int i = 0; i < m_pageTree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* folder = m_pageTree->topLevelItem(i);
        for (int j = 0; j < folder->childCount(); ++j)
            if (folder->child(j)->data(kColumnPage, Qt::UserRole).toString() == pageSource)
                return folder->child(j);
    }
    return nullptr;
}

// A watch belongs to the folder, not to its name: a folder removed is no longer watched, one renamed is still
// watched under its old name, and one made again under that name is another folder. So after every change the
// kiosk folder and the page folders it holds now are looked at, and each one that is not watched, or is another
// folder than the one watched, is watched afresh. Returns those page folders ("" for the kiosk folder), which
// may have changed unseen.
QStringList OverviewWindow::watchFolders()
{
    const auto identity = [](const QString& path) {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? FolderIdentity{info.st_dev, info.st_ino}
                                                                       : FolderIdentity{};
    };
    const QDir top(m_overview->folder());
    QHash<QString, QString> wanted{{m_overview->folder(), QString()}}; // path -> folder name
    for (const QString& folder : top.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        wanted.insert(top.filePath(folder), folder);
    const QStringList watched = m_watcher->directories();
    for (const QString& path : watched)
        if (!wanted.contains(path)) {
            m_watcher->removePath(path);
            m_watchedFolders.remove(path);
        }
    QStringList renewed;
    for (auto it = wanted.cbegin(); it != wanted.cend(); ++it) {
        // Looked at before the watch is added: a folder put in its place meanwhile differs next time.
        const FolderIdentity now = identity(it.key());
        const bool isWatched = watched.contains(it.key());
        if (isWatched && m_watchedFolders.value(it.key()) == now)
            continue;
        if (isWatched)
            m_watcher->removePath(it.key());
        m_watcher->addPath(it.key());
        m_watchedFolders.insert(it.key(), now);
        renewed.append(it.value());
    }
    return renewed;
}

// Folder rows follow the page folders: gone ones (removed or renamed) go, new ones come, empty ones too.
void OverviewWindow::updateFolderRows()
{
    const QStringList folders = m_overview->folderNames();
    for (int i = m_pageTree->topLevelItemCount() - 1; i >= 0; --i)
        if (!folders.contains(m_pageTree->topLevelItem(i)->text(kColumnPage)))
            delete m_pageTree->takeTopLevelItem(i);
    for (const QString& folder : folders)
        folderRow(folder);
}

void OverviewWindow::refresh(const QStringList& folders)
{
    runCommand(workbench().session(), kModule, QStringLiteral("refresh"), [&] {
        if (!m_overview)
            return;
        const QStringList changed = m_overview->refresh(folders);
        if (m_overview->refreshPageViews())
            showPageViews();
        for (const QString& path : changed) {
            const KioskOverview::PageSummary* page = m_overview->page(path);
            QTreeWidgetItem* row = rowOf(path);
            if (!page) {
                delete row;
                continue;
            }
            if (!row) {
                QTreeWidgetItem* folder = folderRow(page->id.folder);
                int at = 0;
                while (at < folder->childCount()
                       && folder->child(at)->data(kColumnPage, Qt::UserRole).toString() < path)
                    ++at;
                row = new QTreeWidgetItem;
                folder->insertChild(at, row);
            }
            updateRow(row, *page);
        }
        updateFolderRows();
        if (!changed.isEmpty())
            startCheck();
    });
}

// The check begins at the timer's first turn, so that a refresh returns at once.
void OverviewWindow::startCheck()
{
    m_checkBegun = false;
    m_checkTimer.start();
}

void OverviewWindow::checkSomePages()
{
    runCommand(workbench().session(), kModule, QStringLiteral("checkSomePages"), [&] {
        QElapsedTimer slice;
        slice.start();
        if (!m_checkBegun) {
            m_check.emplace(workbench().kioskSystem());
            m_check->begin();
            m_checkBegun = true;
        }
        while (m_check->checkNextPage())
            if (slice.elapsed() >= kSliceMilliseconds)
                return;
        m_checkTimer.stop();
        QHash<QString, int> counts;
        for (const Finding& finding : m_check->findings())
            ++counts[QDir::cleanPath(finding.pageSource)];
        m_overview->setProblemCounts(counts);
        for (const KioskOverview::PageSummary& page : m_overview->pages())
            if (QTreeWidgetItem* row = rowOf(page.path))
                row->setText(kColumnProblems, QString::number(page.problems));
    });
}

void OverviewWindow::editPage(QTreeWidgetItem* row)
{
    runCommand(workbench().session(), kModule, QStringLiteral("lstPages_DblClick"), [&] {
        const QString pageSource = row ? row->data(kColumnPage, Qt::UserRole).toString() : QString();
        if (!pageSource.isEmpty())
            openPageAtLine(workbench(), pageSource, 2);
    });
}

void OverviewWindow::makePage(const QString& pageSource)
{
    MakeDialog& maker = workbench().instance<MakeDialog>();
    maker.makeOne(pageSource);
    maker.showModal(this);
}

void OverviewWindow::viewPage(const QString& pageSource)
{
    if (WebWindows* windows = WebWindows::load(workbench().session()))
        windows->viewPage(workbench(), PageTypes::pageHtmlPath(pageSource));
}

void OverviewWindow::showMenu(const QPoint& at)
{
    QTreeWidgetItem* row = m_pageTree->itemAt(at);
    const QString pageSource = row ? row->data(kColumnPage, Qt::UserRole).toString() : QString();
    if (pageSource.isEmpty())
        return;
    QMenu menu(this);
    menu.addAction(tr("Edit"), this, [this, row] { editPage(row); });
    menu.addAction(tr("Make"), this, [this, pageSource] { makePage(pageSource); });
    menu.addAction(tr("View"), this, [this, pageSource] { viewPage(pageSource); });
    menu.addAction(tr("Check"), this, [this] { startCheck(); });
    menu.addAction(tr("References"), this, [this, row, pageSource] {
        workbench().instance<ReferencesWindow>().showReferencesTo(
            {row->parent()->text(kColumnPage), QFileInfo(pageSource).completeBaseName()});
    });
    menu.exec(m_pageTree->viewport()->mapToGlobal(at));
}

bool OverviewWindow::wasOpenAtExit() { return openUserSettings()->value(kOpenKey, false).toBool(); }

void OverviewWindow::rememberOpenAtExit(bool open)
{
    const auto settings = openUserSettings();
    settings->setValue(kOpenKey, open);
    settings->sync();
}

void OverviewWindow::closeEvent(QCloseEvent* event)
{
    m_checkTimer.stop();
    openUserSettings()->setValue(kGeometryKey, saveGeometry());
    SingleInstanceWindow::closeEvent(event);
}
