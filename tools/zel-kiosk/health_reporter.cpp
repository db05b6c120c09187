// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "health_reporter.h"

#include "version_store.h"

#include "event_log.h"
#include "kiosk_player.h"
#include "kiosk_screen.h"
#include "state_folder.h"

#include "fileio/atomic_file.h"
#include "fleet/mqtt_connection.h"
#include "pages/page_schedule.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QStorageInfo>
#include <QTimer>

namespace {

constexpr int kReportMs = 60 * 1000;
constexpr int kChangeDelayMs = 1000;

// Resident memory of a process from /proc, in bytes; -1 when unknown.
qint64 residentBytes(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (pid <= 0 || !status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}

// A pulled version by its published number, a followed one by its folder's name.
QString versionName(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    const int number = VersionStore::versionNumber(folder);
    return number > 0 ? QString::number(number) : QFileInfo(folder).fileName();
}

// The pages of the kiosk system shown whose #show lines have them on show
// at now, as their made main files carry them ("news\fair.htm").
QStringList scheduledOnShow(const QString& folder, const QDateTime& now)
{
    QStringList pages;
    if (folder.isEmpty())
        return pages;
    const QDir kiosk(folder);
    for (const QString& pageFolder : kiosk.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDir dir(kiosk.filePath(pageFolder));
        for (const QString& name : dir.entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name)) {
            if (name.endsWith(QLatin1String("_con.htm")) || name.endsWith(QLatin1String("_nav.htm")))
                continue;
            QFile file(dir.filePath(name));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const PageSchedule schedule = PageSchedule::ofMadePage(file.read(4096));
            if (!schedule.always() && schedule.isOnShowAt(now))
                pages.append(pageFolder + u'\\' + name);
        }
    }
    return pages;
}

} // namespace

HealthReporter::HealthReporter(KioskPlayer& player, KioskSettings settings, QObject* parent)
    : QObject(parent), m_player(player), m_settings(std::move(settings)), m_name(m_settings.kioskName()),
      m_minute(new QTimer(this)), m_soon(new QTimer(this))
{
    // The restarts of the runs before go on for their day: those the last
    // report named, and the one the heartbeat names (a run that ended unrecorded).
    QFile before(statusPath());
    QString unread;
    if (QFileInfo(before.fileName()).isFile() && before.size() < 1024 * 1024 && before.open(QIODevice::ReadOnly))
        if (const std::optional<KioskHealth> last = KioskHealth::fromJson(before.readAll(), unread))
            m_restarts = last->restarts;
    const Heartbeat& beat = m_player.heartbeat();
    const QDateTime lastRestart = beat.lastRestart.toUTC().addMSecs(-beat.lastRestart.time().msec());
    if (lastRestart.isValid() && !m_restarts.contains(KioskHealth::Restart{lastRestart, beat.lastRestartReason}))
        m_restarts.append({lastRestart, beat.lastRestartReason});
    m_minute->setInterval(kReportMs);
    connect(m_minute, &QTimer::timeout, this, &HealthReporter::report);
    m_soon->setSingleShot(true);
    m_soon->setInterval(kChangeDelayMs);
    connect(m_soon, &QTimer::timeout, this, &HealthReporter::report);
    // The opening hours and a waiting version are not signalled: looked at every second.
    auto* look = new QTimer(this);
    look->setInterval(1000);
    connect(look, &QTimer::timeout, this, [this] {
        if (m_player.isOpen() != m_wasOpen || m_player.waitingVersion() != m_wasWaiting)
            changed();
    });
    look->start();
    connect(&m_player, &KioskPlayer::restarted, this, [this](int screen, const QString& reason) {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        m_restarts.append({now.addMSecs(-now.time().msec()), QStringLiteral("screen %1: ").arg(screen) + reason});
        changed();
    });
    connect(&m_player, &KioskPlayer::versionShown, this, &HealthReporter::changed);
    connect(&m_player, &KioskPlayer::pageRendered, this, [this](int, const QString& page) {
        m_lastPage = page;
        m_lastPageTime = QDateTime::currentDateTimeUtc();
        changed();
    });

    if (!m_settings.broker.enabled())
        return;
    const QString status = m_settings.broker.topic(m_name, QStringLiteral("status"));
    m_connection = new MqttConnection(m_settings.broker, QStringLiteral("zel-kiosk-") + m_name,
                                      MqttConnection::Will{status, QByteArrayLiteral("offline"), true}, this);
    connect(m_connection, &MqttConnection::connected, this, [this] {
        EventLog::write(QStringLiteral("health: connected to the broker ") + m_settings.broker.describe());
        report();
    });
    connect(m_connection, &MqttConnection::outage, this, [](const QString& reason) {
        EventLog::write(QStringLiteral("health: no broker (tried again): ") + reason, {"health-broker", 4, {}, reason});
    });
    connect(m_connection, &MqttConnection::message, this, &HealthReporter::onCommand);
    m_connection->subscribe(m_settings.broker.topic(m_name, QStringLiteral("command")));
}

HealthReporter::~HealthReporter()
{
    if (m_connection)
        m_connection->publish(m_settings.broker.topic(m_name, QStringLiteral("status")), QByteArrayLiteral("offline"),
                              true);
}

QString HealthReporter::statusPath() { return StateFolder::file(QStringLiteral("health.json")); }

void HealthReporter::start()
{
    m_minute->start();
    if (m_connection)
        m_connection->start();
    report();
}

void HealthReporter::changed()
{
    if (!m_soon->isActive())
        m_soon->start();
}

KioskHealth HealthReporter::health() const
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    KioskHealth health;
    health.kiosk = m_name;
    health.versionShown = versionName(m_player.folder());
    health.versionAvailable =
        m_player.waitingVersion().isEmpty() ? health.versionShown : versionName(m_player.waitingVersion());
    health.lastPage = m_lastPage;
    health.lastPageTime = m_lastPageTime;
    health.restarts = m_restarts;
    health.dropOldRestarts(now);
    health.screenOn = m_player.isOpen();
    health.openingHours = m_settings.openingHoursText;
    health.uptimeSeconds = m_player.heartbeat().started.secsTo(now);
    health.freeDiskBytes = QStorageInfo(StateFolder::path()).bytesAvailable();
    health.playerMemoryBytes = residentBytes(QCoreApplication::applicationPid());
    qint64 renderers = -1;
    for (int index = 1; index <= m_player.screenCount(); ++index)
        if (const qint64 bytes = residentBytes(m_player.page(index)->renderProcessPid()); bytes >= 0)
            renderers = qMax<qint64>(renderers, 0) + bytes;
    health.rendererMemoryBytes = renderers;
    health.pageViewsToday = m_player.pageViews().day(QDate::currentDate());
    health.scheduledOnShow = scheduledOnShow(m_player.folder(), now);
    health.reported = now;
    return health;
}

void HealthReporter::report()
{
    m_soon->stop();
    m_wasOpen = m_player.isOpen();
    m_wasWaiting = m_player.waitingVersion();
    const KioskHealth now = health();
    m_restarts = now.restarts;
    const QByteArray json = now.toJson();
    writeFiles(now, json);
    if (m_connection)
        m_connection->publish(m_settings.broker.topic(m_name, QStringLiteral("status")), json, true);
}

void HealthReporter::writeFiles(const KioskHealth& health, const QByteArray& json)
{
    QList<std::pair<QString, QByteArray>> files{{statusPath(), json + '\n'}};
    if (!m_settings.healthFile.isEmpty())
        files.append({m_settings.healthFile, health.prometheusText()});
    for (const auto& [path, bytes] : files) {
        try {
            fileio::replaceFile(QFile::encodeName(path).toStdString(),
                                std::string_view(bytes.constData(), bytes.size()));
        } catch (const fileio::FileError& error) {
            EventLog::write(QStringLiteral("could not write ") + QString::fromStdString(error.path())
                            + QStringLiteral(": ") + QString::fromStdString(error.reason()));
        }
    }
}

QByteArray HealthReporter::screenshot(int maxWidth) const
{
    QImage image = m_player.screen(1)->grab().toImage();
    if (image.width() > maxWidth)
        image = image.scaledToWidth(maxWidth, Qt::SmoothTransformation);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB32).save(&buffer, "JPEG", 80);
    return jpeg;
}

void HealthReporter::onCommand(const QString& topic, const QByteArray& payload)
{
    if (topic != m_settings.broker.topic(m_name, QStringLiteral("command")))
        return;
    const QByteArray command = payload.trimmed();
    if (command == "screenshot") {
        m_connection->publish(m_settings.broker.topic(m_name, QStringLiteral("screenshot")), screenshot());
    } else if (command == "root") {
        EventLog::write(QStringLiteral("health: command \"root\": every screen back to the root page"));
        m_player.returnToRoot();
    } else {
        EventLog::write(QStringLiteral("health: unknown command ignored: ") + QString::fromUtf8(command.left(80)));
    }
}
