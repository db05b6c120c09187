// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "version_intake.h"

#include <QObject>
#include <QString>

class KioskPlayer;
class QTimer;
class VersionStore;

// Follows a published copy of the kiosk system. Every interval it takes the
// folder's fingerprint; once the content has stayed the same for two looks,
// differs from what was last taken, and the publish step's marker says the
// copy is complete (a copy without it is waited for, never taken), a new
// version is prepared and checked beside the running one (VersionIntake:
// offered to the player, which shows it at the next return to the root page
// after inactivity; refused and logged, the running version staying; or,
// for want of room in the state folder, tried again at each look).
class VersionFollower : public QObject {
    Q_OBJECT

public:
    // faults (tests; not owned) makes writing the versions fail.
    VersionFollower(QString published, VersionStore& store, KioskPlayer& player, int intervalMs, QString programPath,
                    const fileio::FailureHook* faults = nullptr, QObject* parent = nullptr);

    // Removes what an earlier run left unfinished, then looks at every interval.
    void start();
    // One look at the published folder (the timer's work).
    void look();
    bool preparing() const { return m_intake.busy(); }

signals:
    // After each preparation: the version's folder, or the reason it was refused.
    void prepared(const QString& version);
    void refused(const QString& reason);

private:
    QString m_published;
    VersionStore& m_store;
    QString m_programPath;
    QTimer* m_timer;
    QString m_seen;       // the fingerprint of the last look
    QString m_waitingFor; // content found incomplete: looked at again once it changes
    VersionIntake m_intake;
};
