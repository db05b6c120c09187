// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frm_find_in_pages.h"

#include "app/core/page_search.h"
#include "app/page_line_list.h"
#include "config/kiosk_system.h"
#include "dialogs/workbench.h"
#include "runtime/error_handler.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kModule = QStringLiteral("frmFindInPages");
}

frmFindInPages::frmFindInPages(Workbench& workbench) : SingleInstanceWindow(workbench, QStringLiteral("frmFindInPages"))
{
    setWindowTitle(QStringLiteral("Find in Pages"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Fi&nd:"), this);
    row->addWidget(label);
    m_txtFind = new QLineEdit(this);
    m_txtFind->setObjectName(QStringLiteral("txtFind"));
    label->setBuddy(m_txtFind);
    row->addWidget(m_txtFind, 1);
    m_chkMatchCase = new QCheckBox(QStringLiteral("Match ca&se"), this);
    m_chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));
    row->addWidget(m_chkMatchCase);
    m_cmdFind = new QPushButton(QStringLiteral("&Find"), this);
    m_cmdFind->setObjectName(QStringLiteral("cmdFind"));
    row->addWidget(m_cmdFind);
    layout->addLayout(row);
    m_lblCount = new QLabel(this);
    m_lblCount->setObjectName(QStringLiteral("lblCount"));
    layout->addWidget(m_lblCount);
    m_lstMatches = new PageLineList(workbench, this);
    m_lstMatches->setObjectName(QStringLiteral("lstMatches"));
    layout->addWidget(m_lstMatches);
    connect(m_cmdFind, &QPushButton::clicked, this, &frmFindInPages::findLines);
    connect(m_txtFind, &QLineEdit::returnPressed, this, &frmFindInPages::findLines);
    connect(m_lstMatches, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* row) { openMatch(row); });
    resize(640, 360);
}

void frmFindInPages::showFind()
{
    show();
    raise();
    activateWindow();
    m_txtFind->setFocus();
    m_txtFind->selectAll();
}

void frmFindInPages::findLines()
{
    runCommand(workbench().session(), kModule, QStringLiteral("cmdFind_Click"), [&] {
        const QString text = m_txtFind->text();
        if (text.isEmpty()) {
            m_lstMatches->clear();
            m_lblCount->setText(QStringLiteral("Type the text to find"));
            return;
        }
        const QList<PageReferences::ReferenceLine> lines =
            PageSearch::linesContaining(workbench().kioskSystem().folder(), text, m_chkMatchCase->isChecked());
        const qsizetype count = m_lstMatches->showLines(lines);
        m_lblCount->setText(count == 0 ? u'"' + text + QStringLiteral("\" was not found in the pages")
                                       : QStringLiteral("Lines holding \"%1\": %2").arg(text).arg(count));
    });
}

void frmFindInPages::openMatch(QTreeWidgetItem* row)
{
    runCommand(workbench().session(), kModule, QStringLiteral("lstMatches_DblClick"),
               [&] { m_lstMatches->openLine(row); });
}
