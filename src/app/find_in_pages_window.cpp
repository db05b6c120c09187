// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/find_in_pages_window.h"

#include "app/page_line_list.h"
#include "config/kiosk_system.h"
#include "runtime/error_handler.h"
#include "system/page_search.h"
#include "workbench/workbench.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kModule = QStringLiteral("frmFindInPages");
}

FindInPagesWindow::FindInPagesWindow(Workbench& workbench)
    : SingleInstanceWindow(workbench, QStringLiteral("frmFindInPages"))
{
    setWindowTitle(tr("Find in Pages"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(tr("Fi&nd:"), this);
    row->addWidget(label);
    m_findEdit = new QLineEdit(this);
    m_findEdit->setObjectName(QStringLiteral("findEdit"));
    label->setBuddy(m_findEdit);
    row->addWidget(m_findEdit, 1);
    m_matchCaseBox = new QCheckBox(tr("Match ca&se"), this);
    m_matchCaseBox->setObjectName(QStringLiteral("matchCaseBox"));
    row->addWidget(m_matchCaseBox);
    m_findButton = new QPushButton(tr("&Find"), this);
    m_findButton->setObjectName(QStringLiteral("findButton"));
    row->addWidget(m_findButton);
    layout->addLayout(row);
    m_countLabel = new QLabel(this);
    m_countLabel->setObjectName(QStringLiteral("countLabel"));
    layout->addWidget(m_countLabel);
    m_matchList = new PageLineList(workbench, this);
    m_matchList->setObjectName(QStringLiteral("matchList"));
    m_matchList->setAccessibleName(tr("Lines holding the text"));
    layout->addWidget(m_matchList);
    connect(m_findButton, &QPushButton::clicked, this, &FindInPagesWindow::findLines);
    connect(m_findEdit, &QLineEdit::returnPressed, this, &FindInPagesWindow::findLines);
    connect(m_matchList, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* row) { openMatch(row); });
    resize(640, 360);
}

void FindInPagesWindow::showFind()
{
    show();
    raise();
    activateWindow();
    m_findEdit->setFocus();
    m_findEdit->selectAll();
}

void FindInPagesWindow::findLines()
{
    runCommand(workbench().session(), kModule, QStringLiteral("cmdFind_Click"), [&] {
        const QString text = m_findEdit->text();
        if (text.isEmpty()) {
            m_matchList->clear();
            m_countLabel->setText(tr("Type the text to find"));
            return;
        }
        const QList<PageReferences::ReferenceLine> lines =
            PageSearch::linesContaining(workbench().kioskSystem().folder(), text, m_matchCaseBox->isChecked());
        const qsizetype count = m_matchList->showLines(lines);
        m_countLabel->setText(count == 0 ? tr("\"%1\" was not found in the pages").arg(text)
                                         : tr("Lines holding \"%1\": %2").arg(text).arg(count));
    });
}

void FindInPagesWindow::openMatch(QTreeWidgetItem* row)
{
    runCommand(workbench().session(), kModule, QStringLiteral("lstMatches_DblClick"),
               [&] { m_matchList->openLine(row); });
}
