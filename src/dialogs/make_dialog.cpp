// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/make_dialog.h"

#include "platform/messages.h"
#include "platform/session.h"
#include "runtime/error_handler.h"
#include "workbench/workbench.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {
const QString kModule = QStringLiteral("dlgMakePage");

// The design: 4800 x 1200 twips, wide enough for a long folder and page name.
constexpr int kWidth = 4800 / 15;
constexpr int kHeight = 1200 / 15;
} // namespace

MakeDialog::MakeDialog(Workbench& workbench)
    : SingleInstanceDialog(workbench), m_messageLabel(new QLabel(this)), m_progress(new QProgressBar(this)),
      m_picturesLabel(new QLabel(this))
{
    setObjectName(kModule);
    setWindowTitle(tr("ZEL - Make Page"));
    m_messageLabel->setObjectName(QStringLiteral("messageLabel"));
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setAccessibleName(tr("Pages made"));
    m_progress->setFormat(QStringLiteral("%v / %m"));
    m_progress->setVisible(false);
    m_picturesLabel->setObjectName(QStringLiteral("picturesLabel"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_messageLabel);
    layout->addWidget(m_progress);
    layout->addWidget(m_picturesLabel);
    setMinimumSize(kWidth, kHeight);
    resize(kWidth, kHeight);
    m_maker.setProgressHandler([this](const QString& text) { showMessage(text); });
    m_maker.setCountHandler([this](int made, int total) { showCount(made, total); });
    m_maker.setPictureCountHandler([this](int done, int total) { showPictureCount(done, total); });
    m_maker.setUseHandler([this](PageMaker::Use use, const QString&) {
        m_deadReferences += use == PageMaker::Use::MissingReference ? 1 : 0;
    });
}

void MakeDialog::makeOne(const QString& filePath)
{
    m_maker.setKioskSystem(workbench().kioskSystem());
    m_maker.makeOne(filePath);
}

void MakeDialog::makeAll()
{
    m_maker.setKioskSystem(workbench().kioskSystem());
    m_maker.makeAll();
}

void MakeDialog::showModal(QWidget* owner)
{
    m_messageLabel->clear();
    m_picturesLabel->clear();
    m_progress->setVisible(m_maker.makeAllMode());
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_activationPending = true;
    runModal(owner);
}

void MakeDialog::showEvent(QShowEvent* event)
{
    SingleInstanceDialog::showEvent(event);
    if (m_activationPending) {
        m_activationPending = false;
        QMetaObject::invokeMethod(this, &MakeDialog::makeWhenShown, Qt::QueuedConnection);
    }
}

void MakeDialog::makeWhenShown()
{
    runCommand(session(), kModule, QStringLiteral("Form_Activate"), [&] {
        m_making = true;
        m_sinceRefresh.invalidate();
        m_deadReferences = 0;
        m_problems.resetCount();
        const bool all = m_maker.makeAllMode();
        m_maker.run();
        m_making = false;
        hideDialog();
        // Make All ends with the count of references a kiosk would strand visitors on.
        if (all && m_deadReferences > 0)
            Messages::show(session(), PageMaker::deadReferencesLine(m_deadReferences));
    });
}

void MakeDialog::closeEvent(QCloseEvent* event)
{
    if (m_making && !session().fatalReportInProgress()) {
        event->ignore();
        return;
    }
    SingleInstanceDialog::closeEvent(event);
}

// The make runs on this thread and returns to the event loop only when it is
// done; meanwhile the window system's events (show, expose, paint, move) are
// handled here, at most every kRefreshMs, so the window shows its progress
// and stays painted and movable. In between, the changed control is painted
// at once. Typed keys and clicks wait: the dialog is modal, and no command
// starts before the make is done.
void MakeDialog::keepResponsive(QWidget* changed)
{
    if (m_sinceRefresh.isValid() && m_sinceRefresh.elapsed() < kRefreshMs) {
        changed->repaint();
        return;
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_sinceRefresh.start();
}

void MakeDialog::showMessage(const QString& text)
{
    m_messageLabel->setText(text);
    keepResponsive(m_messageLabel);
}

void MakeDialog::showCount(int made, int total)
{
    if (!m_maker.makeAllMode())
        return;
    m_progress->setRange(0, total);
    m_progress->setValue(made);
    keepResponsive(m_progress);
}

void MakeDialog::showPictureCount(int done, int total)
{
    m_picturesLabel->setText(tr("Pictures done: %1 of %2").arg(done).arg(total));
    keepResponsive(m_picturesLabel);
}
