// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/save_file_dialog.h"

#include "config/kiosk_system.h"
#include "dialogs/kiosk_listing.h"
#include "dialogs/simple_combo_box.h"
#include "pages/files.h"
#include "pages/page_sources.h"
#include "pages/support.h"
#include "platform/messages.h"
#include "platform/problem.h"
#include "platform/session.h"
#include "runtime/error_handler.h"
#include "workbench/workbench.h"

#include <QDir>
#include <QListWidget>

namespace {
const QString kModule = QStringLiteral("dlgSaveFile");
} // namespace

SaveFileDialog::SaveFileDialog(Workbench& workbench)
    : FolderChooserDialog(workbench, kModule, {5172, 3684, 240}), m_pageBox(new SimpleComboBox(this))
{
    runCommand(session(), kModule, QStringLiteral("Form_Load"), [&] {
        m_pageBox->setObjectName(QStringLiteral("pageBox"));
        arrangeDesign(folderList(), m_pageBox);
        m_result.clear();
    });
    connect(m_pageBox, &SimpleComboBox::itemDoubleClicked, this,
            [this] { runCommand(session(), kModule, QStringLiteral("cboPage_DblClick"), [&] { confirm(); }); });
}

void SaveFileDialog::addToFileList(const QString& fileName)
{
    inProcedure(
        kModule, [&] { return QStringLiteral("addToFileList(") + fileName + u')'; },
        [&] {
            QStringList items = m_pageBox->items();
            items.append(fileName);
            m_pageBox->setItems(items);
        });
}

void SaveFileDialog::loadPages()
{
    inProcedure(kModule, QStringLiteral("loadPages"), [&] {
        const QString folderPath = workbench().kioskSystem().folder() + selectedFolder() + QDir::separator();
        m_pageBox->setItems({});
        for (const QString& page : KioskListing::pageNames(folderPath))
            addToFileList(page);
    });
}

void SaveFileDialog::clearPages() { m_pageBox->setItems({}); }

void SaveFileDialog::savePage(const QString& filePath, QWidget* owner)
{
    const bool show = inProcedure(
        kModule, [&] { return QStringLiteral("savePage(") + filePath + u')'; },
        [&] {
            setWindowTitle(tr("ZEL - Save Page As"));
            const QString wantedFolder = filePath.isEmpty() ? QString() : Files::lastFolderName(filePath);
            if (!listFolders(m_pageBox, wantedFolder))
                return false;
            // A page never saved has no name yet: a name left from an earlier
            // use could replace another page.
            if (filePath.isEmpty())
                m_pageBox->setText(QString());
            return true;
        });
    if (show)
        runModal(owner);
}

void SaveFileDialog::confirm()
{
    runCommand(session(), kModule, QStringLiteral("cmdOK_Click"), [&] {
        const QString page = m_pageBox->text();
        if (page.isEmpty() || folderList()->currentRow() < 0) {
            Messages::show(session(), tr("No page selected"));
            return;
        }
        if (ProblemBoxes boxes(session().messages()); !Support::isValidPageName(page, boxes))
            return;
        m_result = PageSources::pathOf(workbench().kioskSystem().folder() + selectedFolder(), page);
        hideDialog();
    });
}
