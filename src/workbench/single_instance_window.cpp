// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "workbench/single_instance_window.h"

#include "workbench/workbench.h"

#include <QCloseEvent>

SingleInstanceWindow::SingleInstanceWindow(Workbench& workbench, const QString& objectName, Qt::WindowFlags flags)
    : QWidget(nullptr, Qt::Window | flags), m_workbench(workbench)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(objectName);
}

void SingleInstanceWindow::closeEvent(QCloseEvent* event)
{
    m_workbench.release(this);
    event->accept();
}
