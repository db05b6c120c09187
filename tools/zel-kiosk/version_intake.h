// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "version_preparation.h"

#include "fileio/atomic_file.h"

#include <QObject>
#include <QString>
#include <functional>

class QThread;
class VersionStore;

// The one way a new version comes into a kiosk, whether a followed folder or
// an origin brought it: filled into a new folder of the version store and
// gated in a worker thread, then offered to what shows it (the player, which
// switches at the next idle return; a kiosk without a display at once). A
// version that fails is removed and logged, and the version shown stays; one
// that could not be written (state folder full or read-only) is removed,
// logged once with its reason and left to be tried again.
class VersionIntake : public QObject {
    Q_OBJECT

public:
    // What shows the versions: the folder shown now, and a checked version to show.
    struct Shower {
        std::function<QString()> folder;
        std::function<void(const QString&)> offer;
    };
    // Fills the empty folder; base is the folder shown. Runs in the worker
    // thread; its result's ok means "filled" (the gate follows).
    using Fill = std::function<VersionPreparation::Result(const QString& folder, const QString& base)>;

    // faults (tests; not owned) makes writing the versions fail.
    VersionIntake(VersionStore& store, Shower shower, QString programPath, const fileio::FailureHook* faults = nullptr,
                  QObject* parent = nullptr);
    ~VersionIntake() override;

    const fileio::FailureHook* faults() const { return m_faults; }
    bool busy() const { return m_worker != nullptr; }
    // Prepares a version from source (named so in the log) whose content has
    // this fingerprint. keepShown: a kiosk that has taken no version yet keeps
    // what it shows as the version before, for a step back.
    void take(const QString& source, const QString& fingerprint, const Fill& fill, bool keepShown);
    // The shower shows the version it was offered: it becomes the current one.
    void shown(const QString& folder);

signals:
    // After each preparation: the version's folder, or why it was refused.
    void prepared(const QString& version);
    void refused(const QString& reason);
    // Not yet complete (not refused): tried again once its content changes.
    void waiting(const QString& fingerprint, const QString& reason);
    // Not written for want of room (or any failure to write the state folder).
    void notTaken(const QString& reason);

private:
    void finish(const QString& source, const QString& fingerprint, const QString& folder, const QString& shownCopy,
                const VersionPreparation::Result& result);

    VersionStore& m_store;
    Shower m_shower;
    QString m_programPath;
    QString m_offered;  // the version waiting to be shown
    QString m_notTaken; // why the content could not be written (logged once)
    const fileio::FailureHook* m_faults;
    QThread* m_worker = nullptr;
};
