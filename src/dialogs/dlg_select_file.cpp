// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/dlg_select_file.h"

#include "config/kiosk_system.h"
#include "dialogs/workbench.h"
#include "dialogs/kiosk_listing.h"
#include "pages/page_sources.h"
#include "platform/messages.h"
#include "runtime/error_handler.h"

#include <QDir>
#include <QListWidget>

namespace {
const QString kModule = QStringLiteral("dlgSelectFile");

QString selectedText(const QListWidget* list)
{
    return list->currentRow() >= 0 ? list->currentItem()->text() : QString();
}
} // namespace

dlgSelectFile::dlgSelectFile(Workbench& workbench)
    : FolderChooserDialog(workbench, kModule, {5172, 3684, 240}), m_lstPage(new QListWidget(this))
{
    runCommand(session(), kModule, QStringLiteral("Form_Load"), [&] {
        m_lstPage->setObjectName(QStringLiteral("lstPage"));
        arrangeDesign(folderList(), m_lstPage);
        m_result.clear();
    });
    connect(m_lstPage, &QListWidget::itemDoubleClicked, this,
            [this] { runCommand(session(), kModule, QStringLiteral("lstPage_DblClick"), [&] { cmdOK_Click(); }); });
}

QString dlgSelectFile::getFolder() const { return selectedFolder(); }

QString dlgSelectFile::getPage() const { return selectedText(m_lstPage); }

void dlgSelectFile::addToFileList(const QString& fileName)
{
    inProcedure(
        kModule, [&] { return QStringLiteral("addToFileList(") + fileName + u')'; },
        [&] { m_lstPage->addItem(fileName); });
}

void dlgSelectFile::loadPages()
{
    inProcedure(kModule, QStringLiteral("loadPages"), [&] {
        const QString folderPath = workbench().kioskSystem().folder() + getFolder() + QDir::separator();
        m_lstPage->clear();
        for (const QString& page : KioskListing::pageNames(folderPath))
            addToFileList(page);
        if (m_lstPage->count() > 0)
            m_lstPage->setCurrentRow(0);
    });
}

void dlgSelectFile::clearPages() { m_lstPage->clear(); }

void dlgSelectFile::openPage(QWidget* owner)
{
    const bool show = inProcedure(kModule, QStringLiteral("openPage"), [&] {
        setWindowTitle(QStringLiteral("ZEL - Select Page"));
        return listFolders(folderList());
    });
    if (show)
        runModal(owner);
}

void dlgSelectFile::cmdOK_Click()
{
    runCommand(session(), kModule, QStringLiteral("cmdOK_Click"), [&] {
        if (folderList()->currentRow() < 0 || m_lstPage->currentRow() < 0) {
            Messages::show(session(), QStringLiteral("No page selected"));
            return;
        }
        m_result = PageSources::pathOf(workbench().kioskSystem().folder() + getFolder(), getPage());
        hideDialog();
    });
}
