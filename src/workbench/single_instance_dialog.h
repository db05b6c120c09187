// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class Session;
class Workbench;

// A dialog that exists once (Workbench::instance): created on first use,
// afterwards only hidden and shown again so its fields keep their values.
// Closing it through the window frame (or by the program closing every window)
// destroys it; the next use creates it anew with an empty result, so the close
// box counts as Cancel.
//
// Esc and the frame both count as Cancel: reject() runs the dialog's Cancel.
class SingleInstanceDialog : public QDialog {
    Q_OBJECT
protected:
    explicit SingleInstanceDialog(Workbench& workbench);

    // Shows the dialog modally (through the workbench) over owner's window
    // (centred over it, kept above it) and returns when it is hidden or
    // destroyed. Afterwards the dialog is a window of its own again, so
    // closing the owner does not take the one dialog along, and the owner's
    // window gets the keyboard back with the focus where it was. Returns false
    // when the dialog was destroyed.
    bool runModal(QWidget* owner);

    // Hides the dialog, ending its modal show. Plain hide(), not done(): Qt
    // treats a dialog ended by done() as closed already, and a later close()
    // (the program closing every window) would then not reach closeEvent.
    void hideDialog()
    {
        setResult(QDialog::Accepted);
        hide();
    }

    // The Cancel button's action: empty result, hide.
    virtual void cancel() = 0;
    // That action for a dialog whose result is one string, on the error path
    // as moduleName's "cmdCancel_Click".
    void clearAndHide(const QString& moduleName, QString& result);

    void reject() override;
    void closeEvent(QCloseEvent* event) override;

    Workbench& workbench() const { return m_workbench; }
    // The workbench's session: message boxes and the error path.
    Session& session() const;

private:
    Workbench& m_workbench;
};
