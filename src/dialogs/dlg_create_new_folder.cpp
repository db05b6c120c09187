// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/dlg_create_new_folder.h"

#include "platform/problem.h"
#include "config/kiosk_system.h"
#include "dialogs/workbench.h"
#include "dialogs/kiosk_listing.h"
#include "dialogs/simple_combo_box.h"
#include "pages/support.h"
#include "base/blanks.h"
#include "platform/messages.h"
#include "platform/session.h"
#include "runtime/error_handler.h"

namespace {
const QString kModule = QStringLiteral("dlgCreateNewFolder");
} // namespace

dlgCreateNewFolder::dlgCreateNewFolder(Workbench& workbench)
    : ChooserDialog(workbench, kModule, {2916, 3192, 120}), m_cboFolder(new SimpleComboBox(this))
{
    runCommand(session(), kModule, QStringLiteral("Form_Load"), [&] {
        setWindowTitle(QStringLiteral("Create New Folder"));
        m_cboFolder->setObjectName(QStringLiteral("cboFolder"));
        arrangeDesign(m_cboFolder, nullptr);
        m_result.clear();
        loadFolders();
    });
}

void dlgCreateNewFolder::loadFolders()
{
    inProcedure(kModule, QStringLiteral("loadFolders"),
                [&] { m_cboFolder->setItems(KioskListing::folderNames(workbench().kioskSystem().folder())); });
}

void dlgCreateNewFolder::showEvent(QShowEvent* event)
{
    loadFolders();
    ChooserDialog::showEvent(event);
}

void dlgCreateNewFolder::showModal(QWidget* owner)
{
    m_cboFolder->setFocus();
    runModal(owner);
}

void dlgCreateNewFolder::cmdOK_Click()
{
    runCommand(session(), kModule, QStringLiteral("cmdOK_Click"), [&] {
        const QString name = trimBlanks(m_cboFolder->text());
        if (name.isEmpty()) {
            Messages::show(session(), QStringLiteral("No folder name entered"));
            return;
        }
        if (m_cboFolder->currentRow() >= 0) {
            Messages::show(session(), QStringLiteral("Folder already exists"));
            return;
        }
        if (ProblemBoxes boxes(session().messages()); !Support::isValidFolderName(name, boxes))
            return;
        if (m_cboFolder->items().contains(name, Qt::CaseSensitive)) {
            Messages::show(session(), QStringLiteral("Folder already exists"));
            return;
        }
        m_result = workbench().kioskSystem().folder() + name;
        hideDialog();
    });
}
