#include "app/frm_references.h"

#include "app/page_opening.h"
#include "config/kiosk_system.h"
#include "dialogs/workbench.h"
#include "pages/page_paths.h"
#include "runtime/error_handler.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString kModule = QStringLiteral("frmReferences");
}

frmReferences::frmReferences(Workbench& workbench) : QWidget(nullptr, Qt::Window), m_workbench(workbench)
{
    setObjectName(QStringLiteral("frmReferences"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("References"));
    auto* layout = new QVBoxLayout(this);
    m_lblPage = new QLabel(this);
    m_lblPage->setObjectName(QStringLiteral("lblPage"));
    layout->addWidget(m_lblPage);
    m_lstReferences = new QTreeWidget(this);
    m_lstReferences->setObjectName(QStringLiteral("lstReferences"));
    m_lstReferences->setHeaderLabels({QStringLiteral("Page"), QStringLiteral("Line"), QStringLiteral("Text")});
    m_lstReferences->setRootIsDecorated(false);
    m_lstReferences->header()->setStretchLastSection(true);
    layout->addWidget(m_lstReferences);
    connect(m_lstReferences, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* row) { openReference(row); });
    resize(640, 320);
}

void frmReferences::showReferencesTo(const PageReferences::PageId& page)
{
    withErrorPath(kModule, QStringLiteral("showReferencesTo"), [&] {
        const QList<PageReferences::ReferenceLine> lines =
            PageReferences::linesNaming(m_workbench.kioskSystem().folder(), page);
        m_lstReferences->clear();
        for (const PageReferences::ReferenceLine& line : lines) {
            QString folder;
            QString name;
            Files::splitPageSourcePath(line.pageSource, folder, name);
            auto* row =
                new QTreeWidgetItem(m_lstReferences, {folder + u'\\' + name, QString::number(line.line), line.text});
            row->setData(kColumnPageSource, Qt::UserRole, line.pageSource);
            row->setData(kColumnLine, Qt::UserRole, line.line);
        }
        m_lblPage->setText(QStringLiteral("Lines naming %1\\%2: %3").arg(page.folder, page.page).arg(lines.size()));
        m_lstReferences->resizeColumnToContents(kColumnPageSource);
        m_lstReferences->resizeColumnToContents(kColumnLine);
        show();
        raise();
        activateWindow();
    });
}

void frmReferences::openReference(QTreeWidgetItem* row)
{
    withErrorPath(kModule, QStringLiteral("lstReferences_DblClick"), [&] {
        if (row)
            openPageAtLine(m_workbench, row->data(kColumnPageSource, Qt::UserRole).toString(),
                           row->data(kColumnLine, Qt::UserRole).toInt());
    });
}

void frmReferences::closeEvent(QCloseEvent* event)
{
    m_workbench.release(this);
    event->accept();
}
