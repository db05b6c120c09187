// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/check_window.h"

#include "app/page_opening.h"
#include "config/kiosk_system.h"
#include "editor/editor_window.h"
#include "pages/page_sources.h"
#include "runtime/error_handler.h"
#include "workbench/workbench.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBlock>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString kModule = QStringLiteral("frmCheckKioskSystem");
// Pages are checked in slices of about this many milliseconds, so the window
// stays responsive on a large kiosk system.
constexpr int kSliceMilliseconds = 30;

// A page source of the kiosk system as its page reference ("news\\today"), the
// way the editors' captions name pages; any other path as it is.
QString shownPageSource(const QString& pageSource, const QString& kioskFolder)
{
    if (!pageSource.startsWith(kioskFolder))
        return QDir::toNativeSeparators(pageSource);
    QString reference = pageSource.mid(kioskFolder.size());
    if (reference.endsWith(QStringLiteral(".zel")))
        reference.chop(4);
    return reference.replace(QDir::separator(), u'\\');
}

} // namespace

CheckWindow::CheckWindow(Workbench& workbench, QWidget* parent) : QWidget(parent, Qt::Window), m_workbench(workbench)
{
    setObjectName(kModule);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Check Kiosk System"));

    m_findingList = new QTreeWidget(this);
    m_findingList->setObjectName(QStringLiteral("findingList"));
    m_findingList->setAccessibleName(tr("Findings"));
    m_findingList->setHeaderLabels({tr("Kind"), tr("Page"), tr("Line"), tr("Text")});
    m_findingList->setRootIsDecorated(false);
    m_findingList->setUniformRowHeights(true);
    m_findingList->header()->setStretchLastSection(true);
    connect(m_findingList, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* row) { openFinding(row); });

    m_countLabel = new QLabel(this);
    m_countLabel->setObjectName(QStringLiteral("countLabel"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setAccessibleName(tr("Pages checked"));
    m_checkAgainButton = new QPushButton(tr("Check &Again"), this);
    m_checkAgainButton->setObjectName(QStringLiteral("checkAgainButton"));
    connect(m_checkAgainButton, &QPushButton::clicked, this, &CheckWindow::startCheck);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_countLabel, 1);
    bottom->addWidget(m_progress);
    bottom->addWidget(m_checkAgainButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_findingList, 1);
    layout->addLayout(bottom);
    resize(900, 420);

    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &CheckWindow::checkSomePages);
}

void CheckWindow::startCheck()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("startCheck"), [&] {
        m_findingList->clear();
        m_check.emplace(m_workbench.kioskSystem());
        m_check->begin();
        m_progress->setRange(0, std::max(1, m_check->pagesTotal()));
        m_progress->setValue(0);
        m_progress->show();
        m_countLabel->setText(tr("Checking %1 pages...").arg(m_check->pagesTotal()));
        m_timer.start();
    });
}

void CheckWindow::checkSomePages()
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("checkSomePages"), [&] {
        QElapsedTimer slice;
        slice.start();
        while (m_check->checkNextPage()) {
            if (slice.elapsed() >= kSliceMilliseconds) {
                m_progress->setValue(m_check->pagesChecked());
                return;
            }
        }
        m_timer.stop();
        showFindings();
    });
}

void CheckWindow::showFindings()
{
    const QString folder = m_workbench.kioskSystem().folder();
    QList<QTreeWidgetItem*> rows;
    for (const Finding& finding : m_check->findings()) {
        auto* row = new QTreeWidgetItem(
            {finding.kind, shownPageSource(finding.pageSource, folder), QString::number(finding.line), finding.text});
        row->setData(kColumnPageSource, Qt::UserRole, finding.pageSource);
        row->setData(kColumnLine, Qt::UserRole, finding.line);
        rows.append(row);
    }
    m_findingList->addTopLevelItems(rows);
    for (int column = 0; column < kColumnText; ++column)
        m_findingList->resizeColumnToContents(column);
    m_progress->setValue(m_progress->maximum());
    m_progress->hide();
    m_countLabel->setText(m_check->countLine());
}

void CheckWindow::openFinding(QTreeWidgetItem* row)
{
    runCommand(m_workbench.session(), kModule, QStringLiteral("lstFindings_DblClick"), [&] {
        if (!row)
            return;
        const QString pageSource = row->data(kColumnPageSource, Qt::UserRole).toString();
        const int line = row->data(kColumnLine, Qt::UserRole).toInt();
        // A finding about configuration.txt has no page to edit.
        if (!PageSources::isPageSourceName(QFileInfo(pageSource).fileName()))
            return;
        openPageAtLine(m_workbench, pageSource, line);
    });
}

void CheckWindow::closeEvent(QCloseEvent* event)
{
    m_timer.stop();
    event->accept();
}
