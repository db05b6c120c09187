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
    : ChooserDialog(workbench, kModule, {5172, 3684, 240}), m_lstFolder(new QListWidget(this)),
      m_cboPage(new SimpleComboBox(this))
{
    withErrorPath(session(), kModule, QStringLiteral("Form_Load"), [&] {
        m_lstFolder->setObjectName(QStringLiteral("lstFolder"));
        m_cboPage->setObjectName(QStringLiteral("cboPage"));
        arrangeDesign(m_lstFolder, m_cboPage);
        m_result.clear();
    });
    connect(m_lstFolder, &QListWidget::currentRowChanged, this, [this] { lstFolder_Click(); });
    connect(m_cboPage, &SimpleComboBox::itemDoubleClicked, this,
            [this] { withErrorPath(session(), kModule, QStringLiteral("cboPage_DblClick"), [&] { cmdOK_Click(); }); });
}

void dlgSaveFile::loadFolders()
{
    withErrorPath(session(), kModule, QStringLiteral("loadFolders"), [&] {
        const QSignalBlocker quiet(m_lstFolder);
        m_lstFolder->clear();
        m_lstFolder->addItems(KioskListing::folderNames(workbench().kioskSystem().folder()));
    });
}

void dlgSaveFile::addToFileList(const QString& fileName)
{
    withErrorPath(
        session(), kModule, [&] { return QStringLiteral("addToFileList(") + fileName + u')'; },
        [&] {
            QStringList items = m_cboPage->items();
            items.append(fileName);
            m_cboPage->setItems(items);
        });
}

void dlgSaveFile::loadPages()
{
    withErrorPath(session(), kModule, QStringLiteral("loadPages"), [&] {
        const QString folder = m_lstFolder->currentRow() >= 0 ? m_lstFolder->currentItem()->text() : QString();
        const QString folderPath = workbench().kioskSystem().folder() + folder + QDir::separator();
        m_cboPage->setItems({});
        for (const QString& page : KioskListing::pageNames(folderPath))
            addToFileList(page);
    });
}

void dlgSaveFile::lstFolder_Click()
{
    withErrorPath(session(), kModule, QStringLiteral("lstFolder_Click"), [&] { loadPages(); });
}

void dlgSaveFile::savePage(const QString& filePath, QWidget* owner)
{
    const bool show = withErrorPath(
        session(), kModule, [&] { return QStringLiteral("savePage(") + filePath + u')'; },
        [&] {
            setWindowTitle(QStringLiteral("ZEL - Save Page As"));
            const QString wantedFolder = filePath.isEmpty() ? QString() : Files::lastFolderName(filePath);
            loadFolders();
            if (m_lstFolder->count() == 0) {
                m_cboPage->setItems({});
                Messages::show(session(), QStringLiteral("No folders have been created in this kiosk system"));
                m_result.clear();
                return false;
            }
            const auto matches = m_lstFolder->findItems(wantedFolder, Qt::MatchExactly | Qt::MatchCaseSensitive);
            {
                const QSignalBlocker quiet(m_lstFolder);
                m_lstFolder->setCurrentRow(matches.isEmpty() ? 0 : m_lstFolder->row(matches.first()));
            }
            loadPages();
            // A page never saved has no name yet: a name left from an earlier
            // use could replace another page.
            if (filePath.isEmpty())
                m_cboPage->setText(QString());
            m_cboPage->setFocus();
            return true;
        });
    if (show)
        runModal(owner);
}

void dlgSaveFile::cmdOK_Click()
{
    withErrorPath(session(), kModule, QStringLiteral("cmdOK_Click"), [&] {
        const QString page = m_cboPage->text();
        if (page.isEmpty() || m_lstFolder->currentRow() < 0) {
            Messages::show(session(), QStringLiteral("No page selected"));
            return;
        }
        if (ProblemBoxes boxes(session().messages()); !Support::isValidPageName(page, boxes))
            return;
        m_result = PageSources::pathOf(workbench().kioskSystem().folder() + m_lstFolder->currentItem()->text(), page);
        hideDialog();
    });
}
