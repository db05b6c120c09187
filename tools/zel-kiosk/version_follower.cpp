// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "version_follower.h"

#include "event_log.h"
#include "kiosk_player.h"
#include "version_preparation.h"
#include "version_store.h"

#include "fileio/atomic_file.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QThread>
#include <QTimer>

VersionFollower::VersionFollower(QString published, VersionStore& store, KioskPlayer& player, int intervalMs,
                                 QString programPath, const fileio::FailureHook* faults, QObject* parent)
    : QObject(parent), m_published(std::move(published)), m_store(store), m_player(player),
      m_programPath(std::move(programPath)), m_timer(new QTimer(this)), m_faults(faults)
{
    m_timer->setInterval(intervalMs);
    connect(m_timer, &QTimer::timeout, this, &VersionFollower::look);
    connect(&m_player, &KioskPlayer::versionShown, this, [this](const QString& folder) {
        if (folder != m_offered)
            return;
        m_offered.clear();
        try {
            m_store.setCurrent(folder);
        } catch (const fileio::FileError& error) {
            EventLog::write(QStringLiteral("could not write ") + QString::fromStdString(error.path())
                            + QStringLiteral(": ") + QString::fromStdString(error.reason()));
        }
    });
}

VersionFollower::~VersionFollower()
{
    if (m_worker) {
        m_worker->wait();
        delete m_worker;
    }
}

void VersionFollower::start()
{
    EventLog::write(QStringLiteral("following ") + m_published);
    m_store.removeUnfinished();
    m_timer->start();
}

void VersionFollower::look()
{
    if (m_worker)
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
    const QString folder = m_store.beginVersion();
    // A kiosk that has taken no version yet keeps what it shows as the version before.
    const QString shownCopy = m_store.current().isEmpty() ? folder + QStringLiteral("-shown") : QString();
    const QString base = m_player.folder();
    if (m_notTaken.isEmpty())
        EventLog::write(QStringLiteral("preparing a new version from ") + m_published);
    QPointer<VersionFollower> self(this);
    m_worker = QThread::create([self, published = m_published, base, folder, shownCopy, program = m_programPath,
                                fingerprint, faults = m_faults] {
        VersionPreparation::Result result = VersionPreparation::prepare(published, base, folder, program, faults);
        if (result.ok && !shownCopy.isEmpty() && !VersionPreparation::copyTree(base, shownCopy, result.reason, faults))
            result.note = QStringLiteral("the version shown is not kept for a step back: ") + result.reason;
        QMetaObject::invokeMethod(
            qApp,
            [self, fingerprint, folder, shownCopy, result] {
                if (self)
                    self->finish(fingerprint, folder, shownCopy, result);
            },
            Qt::QueuedConnection);
    });
    m_worker->start();
}

void VersionFollower::finish(const QString& fingerprint, const QString& folder, const QString& shownCopy,
                             const VersionPreparation::Result& result)
{
    m_worker->wait();
    delete std::exchange(m_worker, nullptr);
    try {
        if (!result.note.isEmpty())
            EventLog::write(result.note);
        if (result.waiting) {
            m_waitingFor = fingerprint;
            m_store.discard(folder);
            m_store.discard(shownCopy);
            EventLog::write(QStringLiteral("waiting: ") + result.reason + QStringLiteral("; nothing taken yet"));
            return;
        }
        if (result.retry) {
            m_store.discard(folder);
            m_store.discard(shownCopy);
            if (std::exchange(m_notTaken, result.reason) != result.reason)
                EventLog::write(QStringLiteral("new version in ") + m_published
                                    + QStringLiteral(" not taken, tried again at each look: ") + result.reason,
                                {"not-taken", 4, m_published, result.reason});
            try {
                m_store.setNotTaken(m_published, result.reason);
            } catch (const fileio::FileError&) {
                // The state folder is full: the log line says it all.
            }
            return;
        }
        m_notTaken.clear();
        if (!result.ok) {
            m_store.setRefused(fingerprint, m_published, result.reason);
            m_store.discard(folder);
            m_store.discard(shownCopy);
            EventLog::write(QStringLiteral("new version in ") + m_published
                                + QStringLiteral(" refused, the version shown stays: ") + result.reason,
                            {"refused", 4, m_published, result.reason});
            emit refused(result.reason);
            return;
        }
        m_store.setLastSource(fingerprint);
        if (QFileInfo(shownCopy).isDir())
            m_store.setCurrent(m_store.completeVersion(shownCopy));
        const QString version = m_store.completeVersion(folder);
        // A version offered earlier and not yet shown is replaced.
        if (!m_offered.isEmpty())
            m_store.discard(m_offered);
        m_offered = version;
        m_player.offerVersion(version);
        emit prepared(version);
    } catch (const fileio::FileError& error) {
        EventLog::write(QStringLiteral("new version not taken: ") + QString::fromStdString(error.path())
                        + QStringLiteral(": ") + QString::fromStdString(error.reason()));
    }
}
