// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "system/recovery_copies.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <functional>

class QTimer;
class Workbench;

// The recovery copy of one editor's unsaved text, kept in the workbench's
// RecoveryCopies (nothing is written without them). While the page counts as
// changed, the copy is written a moment after the last edit (kDelayMs; typing
// on delays it, up to a longest wait); it is removed when the page is saved
// or the editor closes. offerLeftBehind offers the copies a crashed run left.
//
// A copy that cannot be written (a full disk, a folder not writable) leaves
// the last one written in place; the editor is told once, with noticeChanged,
// that its text is not protected (the folder and the system's reason), and
// told again ("") once a copy is written or the page no longer needs one.
// Each change is logged; the failures in between are not repeated.
class EditorRecovery : public QObject {
    Q_OBJECT
public:
    // What the copy holds of its editor's page.
    struct Page {
        std::function<bool()> changed; // the page counts as changed
        // The page's source path, type and text (the kiosk folder is the workbench's).
        std::function<RecoveryCopies::Copy()> content;
    };

    // Time from the last edit to the writing of the recovery copy.
    static constexpr int kDelayMs = 2000;

    EditorRecovery(Workbench& workbench, Page page, QObject* parent);
    ~EditorRecovery() override;

    // An edit: the copy is written after the delay.
    void schedule();
    // Writes the copy now (removes it when the page no longer counts as changed).
    void write();
    // Stops a scheduled copy and removes the written one.
    void drop();
    // The copy's name in the workbench's RecoveryCopies ("" before the first).
    QString name() const { return m_name; }
    // What the author is told while the text is not protected ("" while it is).
    QString notice() const { return m_notice; }

    // Asks about each copy of the open kiosk system that a run left behind
    // when it ended without closing its editors; restore gets the copies the
    // author wants back. Either way the old copy is removed.
    static void offerLeftBehind(Workbench& workbench, const std::function<void(const RecoveryCopies::Copy&)>& restore);

signals:
    void noticeChanged(const QString& notice);

private:
    // Tells the author (and the log) when the reason a copy is not written
    // changes: "" when it is written again.
    void setFailure(const QString& reason);

    Workbench& m_workbench;
    Page m_page;
    QTimer* m_timer = nullptr;
    QElapsedTimer m_unsavedSince; // the first edit not yet in a copy
    QString m_name;
    QString m_failure; // why the last copy was not written ("" when it was)
    QString m_notice;
};
