// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// File, Publish...: the open kiosk system made, checked and published to an
// origin folder, as zel-make --publish does.
#include "app/main_window.h"

#include "app/publish_dialog.h"
#include "config/kiosk_system.h"
#include "platform/messages.h"
#include "publish/publish_run.h"
#include "runtime/error_handler.h"
#include "workbench/workbench.h"

#include <QApplication>
#include <QScopeGuard>

void MainWindow::publishKioskSystem()
{
    runCommand(m_workbench.session(), moduleName(), QStringLiteral("mnuPublish_Click"), [&] {
        if (!m_workbench.hasKioskSystem() || !changedEditorsMayStay())
            return;
        PublishDialog dialog(this);
        m_workbench.focus().runModal(this, [&] { m_workbench.runModal(dialog); });
        if (dialog.result() != QDialog::Accepted)
            return;
        KioskSystem& kiosk = m_workbench.kioskSystem();
        PublishRun publish({dialog.origin(), kiosk.folder(), dialog.note(), dialog.keep()});
        // The origin and the key first: a publish that cannot succeed stops before the make.
        if (const QString refusal = publish.refusalBeforeMake(); !refusal.isEmpty()) {
            Messages::showExclamation(m_workbench.session(), PublishRun::notPublished(refusal));
            return;
        }
        makeAllInDialog();
        PublishRun::Outcome outcome;
        {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
            outcome = publish.checkAndPublish(kiosk);
        }
        if (outcome.published())
            Messages::show(m_workbench.session(), publish.report(outcome));
        else
            Messages::showExclamation(m_workbench.session(), publish.report(outcome));
    });
}
