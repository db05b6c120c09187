// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/select_file_dialog.h"

#include "config/kiosk_system.h"
#include "dialogs/kiosk_listing.h"
#include "pages/page_sources.h"
#include "platform/messages.h"
#include "runtime/error_handler.h"
#include "workbench/workbench.h"

#include <QDir>
#include <QListWidget>

namespace {
const QString kModule = QStringLiteral("dlgSelectFile");

QString selectedText(const QListWidget* list)
{
    return list->currentRow() >= 0 ? list->currentItem()->text() : QString();
}
} // namespace

SelectFileDialog::SelectFileDialog(Workbench& workbench)
    : FolderChooserDialog(workbench, kModule, {5172, 3684, 240}), m_pageList(new QListWidget(this))
{
    runCommand(session(), kModule, QStringLiteral("Form_Load"), [&] {
        m_pageList->setObjectName(QStringLiteral("pageList"));
        arrangeDesign(folderList(), m_pageList);
        m_result.clear();
    });
    connect(m_pageList, &QListWidget::itemDoubleClicked, this,
            [this] { runCommand(session(), kModule, QStringLiteral("lstPage_DblClick"), [&] { confirm(); }); });
}

QString SelectFileDialog::getFolder() const { return selectedFolder(); }

QString SelectFileDialog::getPage() const { return selectedText(m_pageList); }

void SelectFileDialog::addToFileList(const QString& fileName)
{
    inProcedure(
        kModule, [&] { return QStringLiteral("addToFileList(") + fileName + u')'; },
        [&] { m_pageList->addItem(fileName); });
}

void SelectFileDialog::loadPages()
{
    inProcedure(kModule, QStringLiteral("loadPages"), [&] {
        const QString folderPath = workbench().kioskSystem().folder() + getFolder() + QDir::separator();
        m_pageList->clear();
        for (const QString& page : KioskListing::pageNames(folderPath))
            addToFileList(page);
        if (m_pageList->count() > 0)
            m_pageList->setCurrentRow(0);
    });
}

void SelectFileDialog::clearPages() { m_pageList->clear(); }

void SelectFileDialog::openPage(QWidget* owner)
{
    const bool show = inProcedure(kModule, QStringLiteral("openPage"), [&] {
        setWindowTitle(tr("ZEL - Select Page"));
        return listFolders(folderList());
    });
    if (show)
        runModal(owner);
}

void SelectFileDialog::confirm()
{
    runCommand(session(), kModule, QStringLiteral("cmdOK_Click"), [&] {
        if (folderList()->currentRow() < 0 || m_pageList->currentRow() < 0) {
            Messages::show(session(), tr("No page selected"));
            return;
        }
        m_result = PageSources::pathOf(workbench().kioskSystem().folder() + getFolder(), getPage());
        hideDialog();
    });
}
