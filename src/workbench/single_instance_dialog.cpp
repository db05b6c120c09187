// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "workbench/single_instance_dialog.h"

#include "runtime/error_handler.h"
#include "workbench/workbench.h"

#include <QCloseEvent>
#include <QPointer>

SingleInstanceDialog::SingleInstanceDialog(Workbench& workbench) : m_workbench(workbench)
{
    // The style marks a focused list only by a faint frame around one entry;
    // the author moving through the dialog by Tab must see where the keys go.
    setStyleSheet(QStringLiteral("QAbstractItemView:focus { border: 2px solid palette(highlight); }"));
}

Session& SingleInstanceDialog::session() const { return m_workbench.session(); }

bool SingleInstanceDialog::runModal(QWidget* owner)
{
    QPointer<SingleInstanceDialog> self(this);
    QWidget* ownerWindow = owner ? owner->window() : nullptr;
    if (ownerWindow && parentWidget() != ownerWindow)
        setParent(ownerWindow, windowFlags());
    setModal(true);
    Workbench& workbench = m_workbench; // this may be gone after the run
    workbench.focus().runModal(ownerWindow, [&] {
        workbench.runModal(*this);
        if (self && parentWidget())
            setParent(nullptr, windowFlags());
    });
    return !self.isNull();
}

void SingleInstanceDialog::reject() { cancel(); }

void SingleInstanceDialog::clearAndHide(const QString& moduleName, QString& result)
{
    runCommand(session(), moduleName, QStringLiteral("cmdCancel_Click"), [&] {
        result.clear();
        hideDialog();
    });
}

void SingleInstanceDialog::closeEvent(QCloseEvent* event)
{
    // Accepting the event hides the dialog, which ends a modal show.
    event->accept();
    setResult(QDialog::Rejected);
    m_workbench.release(this);
    deleteLater();
}
