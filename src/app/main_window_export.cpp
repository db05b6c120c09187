// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Tools, Export Folder: one page folder of the open kiosk system as a cabinet.
#include "app/main_window.h"

#include "config/kiosk_system.h"
#include "dialogs/select_folder_dialog.h"
#include "pages/files.h"
#include "platform/messages.h"
#include "runtime/error_handler.h"
#include "system/folder_export.h"
#include "workbench/workbench.h"

void MainWindow::exportFolder()
{
    runCommand(m_workbench.session(), moduleName(), QStringLiteral("mnuExportFolder_Click"), [&] {
        const QString maker = FolderExport::cabinetMakerPath(m_workbench.session());
        if (!Files::fileExists(maker)) {
            Messages::show(m_workbench.session(),
                           tr("Unable to export folder - unable to find system utility Makecab.exe"));
            return;
        }
        m_workbench.instance<SelectFolderDialog>().openFolders(this);
        const QString folderName = m_workbench.instance<SelectFolderDialog>().getSelectedFolderName();
        if (folderName.isEmpty())
            return;
        const QString directiveFile = FolderExport::writeDirectiveFile(m_workbench.kioskSystem(), folderName);
        if (FolderExport::runCabinetMaker(maker, directiveFile) != 0)
            Messages::show(m_workbench.session(), tr("Sorry an error occurred when exporting the folder")
                                                      + QStringLiteral("\r\n")
                                                      + tr("The cab file has not been created"));
    });
}
