#include "heartbeat.h"

#include "fileio/atomic_file.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

namespace {

QString stamp(const QDateTime& when) { return when.isValid() ? when.toString(Qt::ISODate) : QString(); }

QDateTime fromStamp(const QString& text) { return QDateTime::fromString(text, Qt::ISODate); }

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
        QStringLiteral("heartbeat seconds: ") + QString::number(heartbeatSeconds),
    };
    if (ended)
        lines.append(QStringLiteral("ended: yes"));
    fileio::replaceFile(QFile::encodeName(path).toStdString(),
                        (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8().toStdString());
}

std::optional<Heartbeat> Heartbeat::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    Heartbeat beat;
    const QString text = QString::fromUtf8(file.readAll());
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
        else if (key == QLatin1String("ended"))
            beat.ended = value == QLatin1String("yes");
        else if (key == QLatin1String("heartbeat seconds"))
            beat.heartbeatSeconds = qMax(1, value.toInt());
    }
    if (!beat.written.isValid())
        return std::nullopt;
    return beat;
}

bool Heartbeat::alive(const QDateTime& now) const
{
    return !ended && written.isValid() && written.secsTo(now) <= 3 * qint64(heartbeatSeconds);
}

QString Heartbeat::statusText(const QDateTime& now) const
{
    QStringList lines;
    if (ended)
        lines << QStringLiteral("state: ended by the quit keys");
    else
        lines << (alive(now) ? QStringLiteral("state: running")
                             : QStringLiteral("state: not running (no heartbeat for %1 s)").arg(written.secsTo(now)));
    lines << QStringLiteral("version: ") + version << QStringLiteral("pid: ") + QString::number(pid)
          << QStringLiteral("started: ") + stamp(started)
          << QStringLiteral("uptime: ") + durationText(started.isValid() ? started.secsTo(written) : 0)
          << QStringLiteral("last heartbeat: ") + stamp(written) << QStringLiteral("shown: ") + shown
          << QStringLiteral("open: ") + openNow << QStringLiteral("restarts: ") + QString::number(restarts)
          << QStringLiteral("last restart: ") + (lastRestart.isValid() ? stamp(lastRestart) : QStringLiteral("none"))
          << QStringLiteral("last restart reason: ")
                 + (lastRestartReason.isEmpty() ? QStringLiteral("none") : lastRestartReason);
    return lines.join(u'\n') + u'\n';
}
