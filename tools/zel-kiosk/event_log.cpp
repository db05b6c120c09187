#include "event_log.h"

#include "state_folder.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr qint64 kRotateBytes = 1024 * 1024;

} // namespace

namespace EventLog {

QString path() { return StateFolder::file(QStringLiteral("kiosk.log")); }

void write(const QString& event)
{
    const QString log = path();
    if (QFileInfo(log).size() > kRotateBytes) {
        QFile::remove(log + QStringLiteral(".1"));
        QFile::rename(log, log + QStringLiteral(".1"));
    }
    QFile file(log);
    // A log that cannot be written must not stop the kiosk.
    if (!file.open(QIODevice::Append))
        return;
    const QString line =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss ")) + event + QStringLiteral("\r\n");
    file.write(line.toUtf8());
}

} // namespace EventLog
