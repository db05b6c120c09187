// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/finding.h"
#include "preview/preview_folder.h"

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <optional>

// Makes previews off the typing path: each page is written into a
// PreviewFolder and made there by the command-line maker in a process of its
// own, so the editor never waits and a make that fails or hangs harms
// nothing else. A newer page supersedes an older one: a make still running
// is stopped and only the newest page is made.
//
// The make's problems, and the kiosk check's findings for the page being
// written, are collected as findings (in the kiosk system's terms: they name
// the page source, not the preview's copy of it), read from the maker's
// records (zel-make --problems).
class PreviewMake : public QObject {
    Q_OBJECT
public:
    // root: the preview's own folder; program: the command-line maker.
    PreviewMake(const QString& root, QString program, QObject* parent = nullptr);
    ~PreviewMake() override;

    // Makes the page once the make running now (if any) has stopped.
    void request(const PreviewPage& page);
    // Drops the make running or waiting (its page is out of date), keeping
    // the preview made last.
    void drop();
    // Stops any make, forgets the page asked for and removes the preview's files.
    void stop();
    bool isBusy() const;

    // The problems of the preview made last, in line order; their lines are
    // those of the page source (the page type line being line 1).
    const QList<Finding>& problems() const { return m_problems; }
    // The page the preview made last was made from.
    const PreviewPage& madePage() const { return m_made; }
    // How long the make of the preview made last took, from its request.
    qint64 lastMakeMs() const { return m_lastMakeMs; }

signals:
    // A preview is ready: the path of its made page (frameset).
    void made(const QString& madePage);
    // The page could not be made (the maker failed, or the folder could not be written).
    void failed(const QString& reason);

private:
    void startPending();
    void finished(int exitCode, QProcess::ExitStatus status);

    PreviewFolder m_folder;
    QString m_program;
    QProcess* m_process = nullptr;
    std::optional<PreviewPage> m_pending;
    PreviewPage m_making;
    PreviewPage m_made;
    QElapsedTimer m_sinceRequest;
    QElapsedTimer m_pendingSince;
    QList<Finding> m_problems;
    qint64 m_lastMakeMs = 0;
};
