// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/select_folder_dialog.h"

#include "platform/messages.h"
#include "runtime/error_handler.h"

#include <QListWidget>

namespace {
const QString kModule = QStringLiteral("dlgSelectFolder");
} // namespace

SelectFolderDialog::SelectFolderDialog(Workbench& workbench)
    : FolderChooserDialog(workbench, kModule, {2664, 3684, 240})
{
    runCommand(session(), kModule, QStringLiteral("Form_Load"), [&] {
        setWindowTitle(tr("ZEL - Select Folder"));
        arrangeDesign(folderList(), nullptr);
        m_result.clear();
    });
}

void SelectFolderDialog::openFolders(QWidget* owner)
{
    const bool show = inProcedure(kModule, QStringLiteral("openFolders"), [&] { return listFolders(folderList()); });
    if (show)
        runModal(owner);
}

void SelectFolderDialog::confirm()
{
    runCommand(session(), kModule, QStringLiteral("cmdOK_Click"), [&] {
        if (folderList()->currentRow() < 0) {
            Messages::show(session(), tr("No folder selected"));
            return;
        }
        m_result = selectedFolder();
        hideDialog();
    });
}
