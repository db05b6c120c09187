// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/references_window.h"

#include "app/page_line_list.h"
#include "config/kiosk_system.h"
#include "runtime/error_handler.h"
#include "workbench/workbench.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {
const QString kModule = QStringLiteral("frmReferences");
}

ReferencesWindow::ReferencesWindow(Workbench& workbench)
    : SingleInstanceWindow(workbench, QStringLiteral("frmReferences"))
{
    setWindowTitle(tr("References"));
    auto* layout = new QVBoxLayout(this);
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("pageLabel"));
    layout->addWidget(m_pageLabel);
    m_referenceList = new PageLineList(workbench, this);
    m_referenceList->setObjectName(QStringLiteral("referenceList"));
    m_referenceList->setAccessibleName(tr("Lines referring to the page"));
    layout->addWidget(m_referenceList);
    connect(m_referenceList, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* row) { openReference(row); });
    resize(640, 320);
}

void ReferencesWindow::showReferencesTo(const PageReferences::PageId& page)
{
    runCommand(workbench().session(), kModule, QStringLiteral("showReferencesTo"), [&] {
        const QList<PageReferences::ReferenceLine> lines =
            PageReferences::linesNaming(workbench().kioskSystem().folder(), page);
        const qsizetype count = m_referenceList->showLines(lines);
        m_pageLabel->setText(tr("Lines naming %1\\%2: %3").arg(page.folder, page.page).arg(count));
        show();
        raise();
        activateWindow();
    });
}

void ReferencesWindow::openReference(QTreeWidgetItem* row)
{
    runCommand(workbench().session(), kModule, QStringLiteral("lstReferences_DblClick"),
               [&] { m_referenceList->openLine(row); });
}
