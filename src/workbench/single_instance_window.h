// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class Workbench;

// A window (not modal) that exists once (Workbench::instance): made on first
// use with no parent, it lives beside the other windows. Closing it destroys
// it and releases it from the workbench, so the next use makes a new one.
class SingleInstanceWindow : public QWidget {
    Q_OBJECT
protected:
    SingleInstanceWindow(Workbench& workbench, const QString& objectName, Qt::WindowFlags flags = {});

    // Releases the window and accepts the close. A window that stops work of
    // its own on closing does so first, then calls this.
    void closeEvent(QCloseEvent* event) override;

    Workbench& workbench() const { return m_workbench; }

private:
    Workbench& m_workbench;
};
