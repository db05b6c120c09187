// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/folder_chooser_dialog.h"

#include "config/kiosk_system.h"
#include "dialogs/kiosk_listing.h"
#include "platform/messages.h"
#include "runtime/error_handler.h"
#include "workbench/workbench.h"

#include <QListWidget>

FolderChooserDialog::FolderChooserDialog(Workbench& workbench, const QString& moduleName, const Design& design)
    : ChooserDialog(workbench, moduleName, design), m_folderList(new QListWidget(this))
{
    m_folderList->setObjectName(QStringLiteral("folderList"));
    connect(m_folderList, &QListWidget::currentRowChanged, this, [this] { showFolderPages(); });
}

QString FolderChooserDialog::selectedFolder() const
{
    return m_folderList->currentRow() >= 0 ? m_folderList->currentItem()->text() : QString();
}

void FolderChooserDialog::loadFolders()
{
    inProcedure(moduleName(), QStringLiteral("loadFolders"), [&] {
        const QSignalBlocker quiet(m_folderList);
        m_folderList->clear();
        m_folderList->addItems(KioskListing::folderNames(workbench().kioskSystem().folder()));
    });
}

bool FolderChooserDialog::listFolders(QWidget* focus, const QString& wantedFolder)
{
    loadFolders();
    if (m_folderList->count() == 0) {
        clearPages();
        Messages::show(session(), tr("No folders have been created in this kiosk system"));
        m_result.clear();
        return false;
    }
    const auto matches = m_folderList->findItems(wantedFolder, Qt::MatchExactly | Qt::MatchCaseSensitive);
    {
        const QSignalBlocker quiet(m_folderList);
        m_folderList->setCurrentRow(matches.isEmpty() ? 0 : m_folderList->row(matches.first()));
    }
    loadPages();
    focus->setFocus();
    return true;
}

void FolderChooserDialog::showFolderPages()
{
    runCommand(session(), moduleName(), QStringLiteral("lstFolder_Click"), [&] { loadPages(); });
}
