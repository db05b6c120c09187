#include "version_follower.h"

#include "event_log.h"
#include "kiosk_player.h"
#include "version_preparation.h"
#include "version_store.h"

#include "fileio/atomic_file.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <QTimer>

VersionFollower::VersionFollower(QString published, VersionStore& store, KioskPlayer& player, int intervalMs,
                                 QString programPath, QObject* parent)
    : QObject(parent), m_published(std::move(published)), m_store(store), m_player(player),
      m_programPath(std::move(programPath)), m_timer(new QTimer(this))
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
    m_timer->start();
}

void VersionFollower::look()
{
    if (m_worker)
        return;
    const QString fingerprint = VersionPreparation::fingerprint(m_published);
    const QString previousLook = std::exchange(m_seen, fingerprint);
    if (fingerprint.isEmpty() || fingerprint != previousLook || fingerprint == m_store.lastSource())
        return;
    const QString folder = m_store.beginVersion();
    const QString base = m_player.folder();
    EventLog::write(QStringLiteral("preparing a new version from ") + m_published);
    QPointer<VersionFollower> self(this);
    m_worker = QThread::create([self, published = m_published, base, folder, program = m_programPath, fingerprint] {
        const VersionPreparation::Result result = VersionPreparation::prepare(published, base, folder, program);
        QMetaObject::invokeMethod(
            qApp,
            [self, fingerprint, folder, result] {
                if (self)
                    self->finish(fingerprint, folder, result.ok, result.reason);
            },
            Qt::QueuedConnection);
    });
    m_worker->start();
}

void VersionFollower::finish(const QString& fingerprint, const QString& folder, bool ok, const QString& reason)
{
    m_worker->wait();
    delete std::exchange(m_worker, nullptr);
    try {
        m_store.setLastSource(fingerprint);
        if (!ok) {
            m_store.discard(folder);
            EventLog::write(QStringLiteral("new version refused, the version shown stays: ") + reason);
            emit refused(reason);
            return;
        }
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
