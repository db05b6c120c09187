// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/new_folder_dialog.h"

#include "base/blanks.h"
#include "config/kiosk_system.h"
#include "dialogs/kiosk_listing.h"
#include "dialogs/simple_combo_box.h"
#include "pages/support.h"
#include "platform/messages.h"
#include "platform/problem.h"
#include "platform/session.h"
#include "runtime/error_handler.h"
#include "workbench/workbench.h"

namespace {
const QString kModule = QStringLiteral("dlgCreateNewFolder");
} // namespace

NewFolderDialog::NewFolderDialog(Workbench& workbench)
    : ChooserDialog(workbench, kModule, {2916, 3192, 120}), m_folderBox(new SimpleComboBox(this))
{
    runCommand(session(), kModule, QStringLiteral("Form_Load"), [&] {
        setWindowTitle(tr("Create New Folder"));
        m_folderBox->setObjectName(QStringLiteral("folderBox"));
        arrangeDesign(m_folderBox, nullptr);
        m_result.clear();
        loadFolders();
    });
}

void NewFolderDialog::loadFolders()
{
    inProcedure(kModule, QStringLiteral("loadFolders"),
                [&] { m_folderBox->setItems(KioskListing::folderNames(workbench().kioskSystem().folder())); });
}

void NewFolderDialog::showEvent(QShowEvent* event)
{
    loadFolders();
    ChooserDialog::showEvent(event);
}

void NewFolderDialog::showModal(QWidget* owner)
{
    m_folderBox->setFocus();
    runModal(owner);
}

void NewFolderDialog::confirm()
{
    runCommand(session(), kModule, QStringLiteral("cmdOK_Click"), [&] {
        const QString name = trimBlanks(m_folderBox->text());
        if (name.isEmpty()) {
            Messages::show(session(), tr("No folder name entered"));
            return;
        }
        if (m_folderBox->currentRow() >= 0) {
            Messages::show(session(), tr("Folder already exists"));
            return;
        }
        if (ProblemBoxes boxes(session().messages()); !Support::isValidFolderName(name, boxes))
            return;
        if (m_folderBox->items().contains(name, Qt::CaseSensitive)) {
            Messages::show(session(), tr("Folder already exists"));
            return;
        }
        m_result = workbench().kioskSystem().folder() + name;
        hideDialog();
    });
}
