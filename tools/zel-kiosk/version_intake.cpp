// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "version_intake.h"

#include "event_log.h"
#include "version_store.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QThread>

VersionIntake::VersionIntake(VersionStore& store, Shower shower, QString programPath, const fileio::FailureHook* faults,
                             QObject* parent)
    : QObject(parent), m_store(store), m_shower(std::move(shower)), m_programPath(std::move(programPath)),
      m_faults(faults)
{}

VersionIntake::~VersionIntake()
{
    if (m_worker) {
        m_worker->wait();
        delete m_worker;
    }
}

void VersionIntake::take(const QString& source, const QString& fingerprint, const Fill& fill, bool keepShown)
{
    if (m_worker)
        return;
    const QString folder = m_store.beginVersion();
    const QString shownCopy = keepShown && m_store.current().isEmpty() ? folder + QStringLiteral("-shown") : QString();
    const QString base = m_shower.folder();
    if (m_notTaken.isEmpty())
        EventLog::write(QStringLiteral("preparing a new version from ") + source);
    QPointer<VersionIntake> self(this);
    m_worker = QThread::create([self, fill, source, base, folder, shownCopy, program = m_programPath, fingerprint,
                                faults = m_faults] {
        VersionPreparation::Result result = fill(folder, base);
        if (result.ok && !result.waiting && !result.retry) {
            const QString note = result.note;
            result = VersionPreparation::gate(folder, program, source, base);
            result.note = note;
        }
        if (result.ok && !shownCopy.isEmpty() && !VersionPreparation::copyTree(base, shownCopy, result.reason, faults))
            result.note = QStringLiteral("the version shown is not kept for a step back: ") + result.reason;
        QMetaObject::invokeMethod(
            qApp,
            [self, source, fingerprint, folder, shownCopy, result] {
                if (self)
                    self->finish(source, fingerprint, folder, shownCopy, result);
            },
            Qt::QueuedConnection);
    });
    m_worker->start();
}

void VersionIntake::shown(const QString& folder)
{
    if (folder != m_offered)
        return;
    m_offered.clear();
    try {
        m_store.setCurrent(folder);
    } catch (const fileio::FileError& error) {
        EventLog::write(QStringLiteral("could not write ") + QString::fromStdString(error.path()) + QStringLiteral(": ")
                        + QString::fromStdString(error.reason()));
    }
}

void VersionIntake::finish(const QString& source, const QString& fingerprint, const QString& folder,
                           const QString& shownCopy, const VersionPreparation::Result& result)
{
    m_worker->wait();
    delete std::exchange(m_worker, nullptr);
    try {
        if (!result.note.isEmpty())
            EventLog::write(result.note);
        if (result.waiting || result.retry || !result.ok) {
            m_store.discard(folder);
            m_store.discard(shownCopy);
        }
        if (result.waiting) {
            emit waiting(fingerprint, result.reason);
            return;
        }
        if (result.retry) {
            if (std::exchange(m_notTaken, result.reason) != result.reason)
                EventLog::write(QStringLiteral("new version in ") + source
                                    + QStringLiteral(" not taken, tried again at each look: ") + result.reason,
                                {"not-taken", 4, source, result.reason});
            try {
                m_store.setNotTaken(source, result.reason);
            } catch (const fileio::FileError&) {
                // The state folder is full: the log line says it all.
            }
            emit notTaken(result.reason);
            return;
        }
        m_notTaken.clear();
        if (!result.ok) {
            m_store.setRefused(fingerprint, source, result.reason);
            EventLog::write(QStringLiteral("new version in ") + source
                                + QStringLiteral(" refused, the version shown stays: ") + result.reason,
                            {"refused", 4, source, result.reason});
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
        m_shower.offer(version);
        emit prepared(version);
    } catch (const fileio::FileError& error) {
        EventLog::write(QStringLiteral("new version not taken: ") + QString::fromStdString(error.path())
                        + QStringLiteral(": ") + QString::fromStdString(error.reason()));
        emit notTaken(QString::fromStdString(error.reason()));
    }
}
