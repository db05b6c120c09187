// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Tools: References, Rename Page, Move Page and Rename Folder.
#include "app/main_window.h"
#include "app/references_window.h"
#include "config/kiosk_system.h"
#include "dialogs/make_dialog.h"
#include "dialogs/select_file_dialog.h"
#include "dialogs/select_folder_dialog.h"
#include "editor/editor_window.h"
#include "pages/page_paths.h"
#include "platform/messages.h"
#include "runtime/error_handler.h"
#include "system/page_renaming.h"
#include "workbench/workbench.h"

#include <QDir>
#include <QHash>
#include <QPointer>

namespace {
const QString kModule = MainWindow::moduleName();

PageReferences::PageId pageOf(const QString& pageSource)
{
    PageReferences::PageId page;
    PagePaths::splitPageSourcePath(pageSource, page.folder, page.page);
    return page;
}
} // namespace

QString MainWindow::choosePageSource()
{
    m_workbench.instance<SelectFileDialog>().openPage(this);
    return m_workbench.instance<SelectFileDialog>().getSelectedFilePath();
}

void MainWindow::showReferences()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuReferences_Click"), [&] {
        const QString pageSource = choosePageSource();
        if (!pageSource.isEmpty())
            m_workbench.instance<ReferencesWindow>().showReferencesTo(pageOf(pageSource));
    });
}

void MainWindow::renamePage()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuRenamePage_Click"), [&] {
        const QString pageSource = choosePageSource();
        if (pageSource.isEmpty())
            return;
        const PageReferences::PageId from = pageOf(pageSource);
        const QString name = m_workbench.askText(
            this, tr("New name of page %1 in folder %2:").arg(from.page, from.folder), tr("Rename Page"), from.page);
        if (name.isEmpty() || name == from.page || !changedEditorsMayStay())
            return;
        finishRename(PageRenaming::renamePage(m_workbench.session(), m_workbench.kioskSystem().folder(), from,
                                              {from.folder, name}));
    });
}

void MainWindow::movePage()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuMovePage_Click"), [&] {
        const QString pageSource = choosePageSource();
        if (pageSource.isEmpty())
            return;
        const PageReferences::PageId from = pageOf(pageSource);
        m_workbench.instance<SelectFolderDialog>().openFolders(this);
        const QString folder = m_workbench.instance<SelectFolderDialog>().getSelectedFolderName();
        if (folder.isEmpty() || folder == from.folder || !changedEditorsMayStay())
            return;
        finishRename(PageRenaming::renamePage(m_workbench.session(), m_workbench.kioskSystem().folder(), from,
                                              {folder, from.page}));
    });
}

void MainWindow::renameFolder()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("mnuRenameFolder_Click"), [&] {
        m_workbench.instance<SelectFolderDialog>().openFolders(this);
        const QString folder = m_workbench.instance<SelectFolderDialog>().getSelectedFolderName();
        if (folder.isEmpty())
            return;
        const QString name =
            m_workbench.askText(this, tr("New name of folder %1:").arg(folder), tr("Rename Folder"), folder);
        if (name.isEmpty() || name == folder || !changedEditorsMayStay())
            return;
        finishRename(
            PageRenaming::renameFolder(m_workbench.session(), m_workbench.kioskSystem().folder(), folder, name));
    });
}

// An editor with unsaved changes keeps its text: it notices the change on
// disk itself (a rewritten page is offered for reloading, a moved one counts
// as gone), so the author decides. The others are opened again on the page
// source as it is now.
void MainWindow::finishRename(const PageRenaming::Result& result)
{
    if (!result.done) {
        if (!result.problem.isEmpty())
            Messages::show(m_workbench.session(), result.problem);
        return;
    }
    QHash<QString, QString> after;
    for (const QString& path : result.rewritten)
        after.insert(QDir::cleanPath(path), path);
    for (const auto& [before, moved] : result.moved)
        after.insert(QDir::cleanPath(before), moved);
    QStringList reopen;
    for (QWidget* window : m_workbench.order().windowsInOpeningOrder()) {
        QPointer<EditorWindow> editor = qobject_cast<EditorWindow*>(window);
        if (!editor || editor->isHidden() || editor->isPageChanged())
            continue;
        const auto found = after.constFind(QDir::cleanPath(editor->filePath()));
        if (found == after.constEnd())
            continue;
        reopen.append(*found);
        editor->close();
    }
    for (const QString& pageSource : reopen)
        EditorWindow::openOrRaise(m_workbench, pageSource);
    // The editors with changes were asked about before the rename.
    if (Messages::askYesNo(m_workbench.session(),
                           tr("The pages that lead to the renamed pages must be made again."
                              " Make all pages now?"),
                           Answer::Yes)
        == Answer::Yes) {
        MakeDialog& maker = m_workbench.instance<MakeDialog>();
        maker.makeAll();
        maker.showModal(this);
    }
}
