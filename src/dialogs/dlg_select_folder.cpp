#include "dialogs/dlg_select_folder.h"

#include "config/kiosk_system.h"
#include "dialogs/workbench.h"
#include "dialogs/kiosk_listing.h"
#include "platform/messages.h"
#include "runtime/error_handler.h"

#include <QListWidget>

namespace {
const QString kModule = QStringLiteral("dlgSelectFolder");
} // namespace

dlgSelectFolder::dlgSelectFolder(Workbench& workbench)
    : ChooserDialog(workbench, kModule, {2664, 3684, 240}), m_lstFolder(new QListWidget(this))
{
    withErrorPath(session(), kModule, QStringLiteral("Form_Load"), [&] {
        setWindowTitle(QStringLiteral("ZEL - Select Folder"));
        m_lstFolder->setObjectName(QStringLiteral("lstFolder"));
        arrangeDesign(m_lstFolder, nullptr);
        m_result.clear();
    });
}

void dlgSelectFolder::loadFolders()
{
    withErrorPath(session(), kModule, QStringLiteral("loadFolders"), [&] {
        m_lstFolder->clear();
        m_lstFolder->addItems(KioskListing::folderNames(workbench().kioskSystem().folder()));
    });
}

void dlgSelectFolder::openFolders(QWidget* owner)
{
    const bool show = withErrorPath(session(), kModule, QStringLiteral("openFolders"), [&] {
        loadFolders();
        if (m_lstFolder->count() == 0) {
            Messages::show(session(), QStringLiteral("No folders have been created in this kiosk system"));
            m_result.clear();
            return false;
        }
        m_lstFolder->setCurrentRow(0);
        m_lstFolder->setFocus();
        return true;
    });
    if (show)
        runModal(owner);
}

void dlgSelectFolder::cmdOK_Click()
{
    withErrorPath(session(), kModule, QStringLiteral("cmdOK_Click"), [&] {
        if (m_lstFolder->currentRow() < 0) {
            Messages::show(session(), QStringLiteral("No folder selected"));
            return;
        }
        m_result = m_lstFolder->currentItem()->text();
        hideDialog();
    });
}
