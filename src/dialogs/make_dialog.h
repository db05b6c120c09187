// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "maker/page_maker.h"
#include "workbench/single_instance_dialog.h"

#include <QElapsedTimer>

class QLabel;
class QProgressBar;

// "ZEL - Make Page": the modal face of the page maker. A caller says what to
// make (makeOne or makeAll) and then calls showModal; the dialog makes it when
// it is activated (its first show, through a queued call so the window is on
// screen first), shows "Making page ... in folder ..." for every page and, for
// Make All, a bar with the pages made out of the total, and, while pictures
// are made, "Pictures done: N of M" (those asked for so), then hides itself,
// which ends the modal show. Make All then says how many buttons and items
// refer to pages that do not exist, when there are any.
//
// The dialog exists once and keeps its PageMaker between makes. It has no
// buttons: Esc is ignored, and so is the close box while a make runs (a
// faulty-line message box lets events through). Closed through the frame
// when idle, it is destroyed like every single-instance dialog; the next
// instance() creates it anew.
class MakeDialog : public SingleInstanceDialog {
    Q_OBJECT
public:
    void makeOne(const QString& filePath);
    void makeAll();
    // Shows the dialog modally, centred over owner while it runs; returns
    // when the make is done. The owner is the dialog's parent only while it
    // runs, so closing an editor does not destroy the one maker dialog.
    void showModal(QWidget* owner);

    QLabel* messageLabel() const { return m_messageLabel; }
    QProgressBar* progressBar() const { return m_progress; }
    QLabel* picturesLabel() const { return m_picturesLabel; }
    const PageMaker& maker() const { return m_maker; }
    // The problems the last make reported.
    int problemCount() const { return m_problems.reportedCount(); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend class Workbench;
    explicit MakeDialog(Workbench& workbench);
    void makeWhenShown();
    void showMessage(const QString& text);
    void showCount(int made, int total);
    void showPictureCount(int done, int total);
    // Lets the window system's events through, at most every kRefreshMs;
    // otherwise paints the changed control.
    void keepResponsive(QWidget* changed);
    void cancel() override {}

    // Shows each problem of a make in a message box of the session.
    SessionProblems m_problems{session()}; // each problem of the make in a message box
    PageMaker m_maker{m_problems};
    QLabel* m_messageLabel;
    QProgressBar* m_progress;
    QLabel* m_picturesLabel;
    bool m_activationPending = false;
    bool m_making = false;
    int m_deadReferences = 0; // told by the make that runs
    static constexpr int kRefreshMs = 40;
    QElapsedTimer m_sinceRefresh; // invalid until the make's first message has been shown
};
