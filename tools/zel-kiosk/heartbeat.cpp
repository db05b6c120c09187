// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "heartbeat.h"

#include "fileio/atomic_file.h"
#include "fileio/regular_file.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>

namespace {

constexpr std::size_t kMaximumBytes = 64 * 1024;
// Failed restarts in a row from which --status speaks of a loop: one is a restart that is still going on.
constexpr int kLoopFailures = 2;

QString stamp(const QDateTime& when) { return when.isValid() ? when.toUTC().toString(Qt::ISODate) : QString(); }

QDateTime fromStamp(const QString& text) { return QDateTime::fromString(text, Qt::ISODate); }

qint64 uptimeSeconds(const Heartbeat& beat) { return beat.started.isValid() ? beat.started.secsTo(beat.written) : 0; }

} // namespace

QString durationText(qint64 seconds)
{
    const qint64 days = seconds / 86400;
    seconds %= 86400;
    return QStringLiteral("%1 d %2:%3:%4")
        .arg(days)
        .arg(seconds / 3600, 2, 10, QChar(u'0'))
        .arg(seconds % 3600 / 60, 2, 10, QChar(u'0'))
        .arg(seconds % 60, 2, 10, QChar(u'0'));
}

void Heartbeat::write(const QString& path) const
{
    QStringList lines = {
        QStringLiteral("version: ") + version,
        QStringLiteral("pid: ") + QString::number(pid),
        QStringLiteral("started: ") + stamp(started),
        QStringLiteral("written: ") + stamp(written),
        QStringLiteral("shown: ") + shown,
        QStringLiteral("open: ") + openNow,
        QStringLiteral("restarts: ") + QString::number(restarts),
        QStringLiteral("last restart: ") + stamp(lastRestart),
        QStringLiteral("last restart reason: ") + lastRestartReason,
        QStringLiteral("failed restarts in a row: ") + QString::number(failing),
        QStringLiteral("last page: ") + lastPage,
        QStringLiteral("last page shown: ") + stamp(lastPageTime),
        QStringLiteral("heartbeat seconds: ") + QString::number(heartbeatSeconds),
    };
    if (!ended.isEmpty())
        lines.append(QStringLiteral("ended: ") + ended);
    fileio::replaceFile(QFile::encodeName(path).toStdString(), (lines.join(u'\n') + u'\n').toUtf8().toStdString());
}

std::optional<Heartbeat> Heartbeat::read(const QString& path)
{
    std::string bytes;
    if (!fileio::readRegularFile(QFile::encodeName(path).toStdString(), kMaximumBytes, bytes).empty())
        return std::nullopt;
    Heartbeat beat;
    const QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    for (QString line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")), Qt::SkipEmptyParts)) {
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        const QString key = colon < 0 ? line.chopped(line.endsWith(u':') ? 1 : 0) : line.left(colon);
        const QString value = colon < 0 ? QString() : line.mid(colon + 2);
        if (key == QLatin1String("version"))
            beat.version = value;
        else if (key == QLatin1String("pid"))
            beat.pid = value.toLongLong();
        else if (key == QLatin1String("started"))
            beat.started = fromStamp(value);
        else if (key == QLatin1String("written"))
            beat.written = fromStamp(value);
        else if (key == QLatin1String("shown"))
            beat.shown = value;
        else if (key == QLatin1String("open"))
            beat.openNow = value;
        else if (key == QLatin1String("restarts"))
            beat.restarts = value.toInt();
        else if (key == QLatin1String("last restart"))
            beat.lastRestart = fromStamp(value);
        else if (key == QLatin1String("last restart reason"))
            beat.lastRestartReason = value;
        else if (key == QLatin1String("failed restarts in a row"))
            beat.failing = value.toInt();
        else if (key == QLatin1String("last page"))
            beat.lastPage = value;
        else if (key == QLatin1String("last page shown"))
            beat.lastPageTime = fromStamp(value);
        else if (key == QLatin1String("ended"))
            beat.ended = value == QLatin1String("yes") ? QStringLiteral("by the quit keys") : value;
        else if (key == QLatin1String("heartbeat seconds"))
            beat.heartbeatSeconds = qMax(1, value.toInt());
    }
    if (!beat.written.isValid())
        return std::nullopt;
    return beat;
}

QString Heartbeat::state(const QDateTime& now) const
{
    if (!ended.isEmpty())
        return QStringLiteral("ended");
    if (pid > 0 && !fileio::processRunsSince(long(pid), std::time_t(written.toSecsSinceEpoch())))
        return QStringLiteral("gone");
    if (!written.isValid() || written.secsTo(now) > 3 * qint64(heartbeatSeconds))
        return QStringLiteral("silent");
    if (failing >= kLoopFailures)
        return QStringLiteral("restart loop");
    return QStringLiteral("running");
}

QString Heartbeat::stateText(const QDateTime& now) const
{
    const QString word = state(now);
    if (word == QLatin1String("ended"))
        return QStringLiteral("state: ended ") + ended;
    if (word == QLatin1String("gone"))
        return QStringLiteral("state: not running (process %1 is gone)").arg(pid);
    if (word == QLatin1String("silent"))
        return QStringLiteral("state: not running (no heartbeat for %1 s)").arg(written.secsTo(now));
    if (word == QLatin1String("restart loop"))
        return QStringLiteral("state: restart loop (%1 failed restarts in a row)").arg(failing);
    return QStringLiteral("state: running");
}

bool Heartbeat::alive(const QDateTime& now) const { return state(now) == QLatin1String("running"); }

QString Heartbeat::statusText(const QDateTime& now) const
{
    QStringList lines;
    lines << stateText(now) << QStringLiteral("version: ") + version << QStringLiteral("pid: ") + QString::number(pid)
          << QStringLiteral("started: ") + stamp(started)
          << QStringLiteral("uptime: ") + durationText(uptimeSeconds(*this))
          << QStringLiteral("last heartbeat: ") + stamp(written) << QStringLiteral("shown: ") + shown
          << QStringLiteral("open: ") + openNow << QStringLiteral("restarts: ") + QString::number(restarts)
          << QStringLiteral("failed restarts in a row: ") + QString::number(failing)
          << QStringLiteral("last restart: ") + (lastRestart.isValid() ? stamp(lastRestart) : QStringLiteral("none"))
          << QStringLiteral("last restart reason: ")
                 + (lastRestartReason.isEmpty() ? QStringLiteral("none") : lastRestartReason)
          << QStringLiteral("last page: ")
                 + (lastPage.isEmpty() ? QStringLiteral("none") : lastPage + u' ' + stamp(lastPageTime));
    return lines.join(u'\n') + u'\n';
}

QString Heartbeat::statusJson(const QDateTime& now) const
{
    const auto orNull = [](const QString& text) { return text.isEmpty() ? QJsonValue() : QJsonValue(text); };
    QJsonObject object{
        {QStringLiteral("state"), state(now)},
        {QStringLiteral("status"), stateText(now).mid(7)},
        {QStringLiteral("version"), version},
        {QStringLiteral("pid"), pid},
        {QStringLiteral("started"), orNull(stamp(started))},
        {QStringLiteral("uptimeSeconds"), uptimeSeconds(*this)},
        {QStringLiteral("lastHeartbeat"), orNull(stamp(written))},
        {QStringLiteral("shown"), shown},
        {QStringLiteral("open"), openNow == QLatin1String("yes")},
        {QStringLiteral("restarts"), restarts},
        {QStringLiteral("failedRestartsInARow"), failing},
        {QStringLiteral("lastRestart"), orNull(stamp(lastRestart))},
        {QStringLiteral("lastReason"), orNull(lastRestartReason)},
        {QStringLiteral("lastPage"), orNull(lastPage)},
        {QStringLiteral("lastPageTime"), orNull(stamp(lastPageTime))},
        {QStringLiteral("ended"), orNull(ended)},
    };
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
}
