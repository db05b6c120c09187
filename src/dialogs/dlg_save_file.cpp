// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/dlg_save_file.h"

#include "platform/problem.h"
#include "config/kiosk_system.h"
#include "dialogs/workbench.h"
#include "dialogs/kiosk_listing.h"
#include "dialogs/simple_combo_box.h"
#include "pages/files.h"
#include "pages/page_sources.h"
#include "pages/support.h"
#include "platform/messages.h"
#include "platform/session.h"
#include "runtime/error_handler.h"

#include <QDir>
#include <QListWidget>

namespace {
const QString kModule = QStringLiteral("dlgSaveFile");
} // namespace

dlgSaveFile::dlgSaveFile(Workbench& workbench)
    : FolderChooserDialog(workbench, kModule, {5172, 3684, 240}), m_cboPage(new SimpleComboBox(this))
{
    runCommand(session(), kModule, QStringLiteral("Form_Load"), [&] {
        m_cboPage->setObjectName(QStringLiteral("cboPage"));
        arrangeDesign(folderList(), m_cboPage);
        m_result.clear();
    });
    connect(m_cboPage, &SimpleComboBox::itemDoubleClicked, this,
            [this] { runCommand(session(), kModule, QStringLiteral("cboPage_DblClick"), [&] { cmdOK_Click(); }); });
}

void dlgSaveFile::addToFileList(const QString& fileName)
{
    inProcedure(
        kModule, [&] { return QStringLiteral("addToFileList(") + fileName + u')'; },
        [&] {
            QStringList items = m_cboPage->items();
            items.append(fileName);
            m_cboPage->setItems(items);
        });
}

void dlgSaveFile::loadPages()
{
    inProcedure(kModule, QStringLiteral("loadPages"), [&] {
        const QString folderPath = workbench().kioskSystem().folder() + selectedFolder() + QDir::separator();
        m_cboPage->setItems({});
        for (const QString& page : KioskListing::pageNames(folderPath))
            addToFileList(page);
    });
}

void dlgSaveFile::clearPages() { m_cboPage->setItems({}); }

void dlgSaveFile::savePage(const QString& filePath, QWidget* owner)
{
    const bool show = inProcedure(
        kModule, [&] { return QStringLiteral("savePage(") + filePath + u')'; },
        [&] {
            setWindowTitle(QStringLiteral("ZEL - Save Page As"));
            const QString wantedFolder = filePath.isEmpty() ? QString() : Files::lastFolderName(filePath);
            if (!listFolders(m_cboPage, wantedFolder))
                return false;
            // A page never saved has no name yet: a name left from an earlier
            // use could replace another page.
            if (filePath.isEmpty())
                m_cboPage->setText(QString());
            return true;
        });
    if (show)
        runModal(owner);
}

void dlgSaveFile::cmdOK_Click()
{
    runCommand(session(), kModule, QStringLiteral("cmdOK_Click"), [&] {
        const QString page = m_cboPage->text();
        if (page.isEmpty() || folderList()->currentRow() < 0) {
            Messages::show(session(), QStringLiteral("No page selected"));
            return;
        }
        if (ProblemBoxes boxes(session().messages()); !Support::isValidPageName(page, boxes))
            return;
        m_result = PageSources::pathOf(workbench().kioskSystem().folder() + selectedFolder(), page);
        hideDialog();
    });
}
