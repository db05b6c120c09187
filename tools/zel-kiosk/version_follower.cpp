// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "version_follower.h"

#include "event_log.h"
#include "kiosk_player.h"
#include "version_store.h"

#include <QTimer>

VersionFollower::VersionFollower(QString published, VersionStore& store, KioskPlayer& player, int intervalMs,
                                 QString programPath, const fileio::FailureHook* faults, QObject* parent)
    : QObject(parent), m_published(std::move(published)), m_store(store), m_programPath(std::move(programPath)),
      m_timer(new QTimer(this)), m_intake(store,
                                          {[&player] { return player.folder(); },
                                           [&player](const QString& version) { player.offerVersion(version); }},
                                          m_programPath, faults)
{
    m_timer->setInterval(intervalMs);
    connect(m_timer, &QTimer::timeout, this, &VersionFollower::look);
    connect(&player, &KioskPlayer::versionShown, &m_intake, &VersionIntake::shown);
    connect(&m_intake, &VersionIntake::prepared, this, &VersionFollower::prepared);
    connect(&m_intake, &VersionIntake::refused, this, &VersionFollower::refused);
    connect(&m_intake, &VersionIntake::waiting, this, [this](const QString& fingerprint, const QString& reason) {
        m_waitingFor = fingerprint;
        EventLog::write(QStringLiteral("waiting: ") + reason + QStringLiteral("; nothing taken yet"));
    });
}

void VersionFollower::start()
{
    EventLog::write(QStringLiteral("following ") + m_published);
    m_store.removeUnfinished();
    m_timer->start();
}

void VersionFollower::look()
{
    if (m_intake.busy())
        return;
    const QString fingerprint = VersionPreparation::fingerprint(m_published);
    const QString previousLook = std::exchange(m_seen, fingerprint);
    if (fingerprint.isEmpty() || fingerprint != previousLook || fingerprint == m_store.lastSource()
        || fingerprint == m_waitingFor)
        return;
    // Cheap first: without its marker a copy is still on its way.
    if (!VersionPreparation::hasMarker(m_published)) {
        m_waitingFor = fingerprint;
        EventLog::write(QStringLiteral("waiting for ") + m_published + u'/' + VersionPreparation::markerName()
                        + QStringLiteral(", written last when a version is complete; nothing taken yet"));
        return;
    }
    m_intake.take(
        m_published, fingerprint,
        [published = m_published, program = m_programPath, faults = m_intake.faults()](const QString& folder,
                                                                                       const QString& base) {
            return VersionPreparation::prepare(published, base, folder, program, faults);
        },
        true);
}
