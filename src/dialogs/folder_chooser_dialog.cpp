// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/folder_chooser_dialog.h"

#include "config/kiosk_system.h"
#include "dialogs/kiosk_listing.h"
#include "dialogs/workbench.h"
#include "platform/messages.h"
#include "runtime/error_handler.h"

#include <QListWidget>

FolderChooserDialog::FolderChooserDialog(Workbench& workbench, const QString& moduleName, const Design& design)
    : ChooserDialog(workbench, moduleName, design), m_lstFolder(new QListWidget(this))
{
    m_lstFolder->setObjectName(QStringLiteral("lstFolder"));
    connect(m_lstFolder, &QListWidget::currentRowChanged, this, [this] { lstFolder_Click(); });
}

QString FolderChooserDialog::selectedFolder() const
{
    return m_lstFolder->currentRow() >= 0 ? m_lstFolder->currentItem()->text() : QString();
}

void FolderChooserDialog::loadFolders()
{
    inProcedure(moduleName(), QStringLiteral("loadFolders"), [&] {
        const QSignalBlocker quiet(m_lstFolder);
        m_lstFolder->clear();
        m_lstFolder->addItems(KioskListing::folderNames(workbench().kioskSystem().folder()));
    });
}

bool FolderChooserDialog::listFolders(QWidget* focus, const QString& wantedFolder)
{
    loadFolders();
    if (m_lstFolder->count() == 0) {
        clearPages();
        Messages::show(session(), QStringLiteral("No folders have been created in this kiosk system"));
        m_result.clear();
        return false;
    }
    const auto matches = m_lstFolder->findItems(wantedFolder, Qt::MatchExactly | Qt::MatchCaseSensitive);
    {
        const QSignalBlocker quiet(m_lstFolder);
        m_lstFolder->setCurrentRow(matches.isEmpty() ? 0 : m_lstFolder->row(matches.first()));
    }
    loadPages();
    focus->setFocus();
    return true;
}

void FolderChooserDialog::lstFolder_Click()
{
    runCommand(session(), moduleName(), QStringLiteral("lstFolder_Click"), [&] { loadPages(); });
}
