// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frm_references.h"

#include "app/page_line_list.h"
#include "config/kiosk_system.h"
#include "dialogs/workbench.h"
#include "runtime/error_handler.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {
const QString kModule = QStringLiteral("frmReferences");
}

frmReferences::frmReferences(Workbench& workbench) : SingleInstanceWindow(workbench, QStringLiteral("frmReferences"))
{
    setWindowTitle(QStringLiteral("References"));
    auto* layout = new QVBoxLayout(this);
    m_lblPage = new QLabel(this);
    m_lblPage->setObjectName(QStringLiteral("lblPage"));
    layout->addWidget(m_lblPage);
    m_lstReferences = new PageLineList(workbench, this);
    m_lstReferences->setObjectName(QStringLiteral("lstReferences"));
    layout->addWidget(m_lstReferences);
    connect(m_lstReferences, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* row) { openReference(row); });
    resize(640, 320);
}

void frmReferences::showReferencesTo(const PageReferences::PageId& page)
{
    runCommand(workbench().session(), kModule, QStringLiteral("showReferencesTo"), [&] {
        const QList<PageReferences::ReferenceLine> lines =
            PageReferences::linesNaming(workbench().kioskSystem().folder(), page);
        const qsizetype count = m_lstReferences->showLines(lines);
        m_lblPage->setText(QStringLiteral("Lines naming %1\\%2: %3").arg(page.folder, page.page).arg(count));
        show();
        raise();
        activateWindow();
    });
}

void frmReferences::openReference(QTreeWidgetItem* row)
{
    runCommand(workbench().session(), kModule, QStringLiteral("lstReferences_DblClick"),
               [&] { m_lstReferences->openLine(row); });
}
