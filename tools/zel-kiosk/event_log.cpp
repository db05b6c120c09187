// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "event_log.h"

#include "state_folder.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 kRotateBytes = 1024 * 1024;

// One event, one line: line breaks and other control characters of a target become spaces.
QString oneLine(QString event)
{
    for (QChar& character : event)
        if (character.category() == QChar::Other_Control)
            character = u' ';
    return event;
}

} // namespace

namespace EventLog {

QString path() { return StateFolder::file(QStringLiteral("kiosk.log")); }

void write(const QString& event)
{
    const QString log = path();
    const QFileInfo info(log);
    if (info.isFile() && info.size() > kRotateBytes) {
        QFile::remove(log + QStringLiteral(".1"));
        QFile::rename(log, log + QStringLiteral(".1"));
    }
    // A log that cannot be written must not stop the kiosk, nor may a FIFO or
    // a device at its name hold it: opened without waiting, written only
    // when it is a regular file.
    const int descriptor =
        ::open(QFile::encodeName(log).constData(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
    if (descriptor < 0)
        return;
    struct stat opened {};
    if (::fstat(descriptor, &opened) == 0 && S_ISREG(opened.st_mode)) {
        const QByteArray line =
            (QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-ddThh:mm:ssZ ")) + oneLine(event) + u'\n')
                .toUtf8();
        // A full disk loses the line, not the kiosk.
        [[maybe_unused]] const ssize_t written = ::write(descriptor, line.constData(), size_t(line.size()));
    }
    ::close(descriptor);
}

QList<Journal::Field> journalFields(const QString& text, const Event& event)
{
    QList<Journal::Field> fields{{"MESSAGE", oneLine(text)},
                                 {"PRIORITY", QString::number(event.priority)},
                                 {"SYSLOG_IDENTIFIER", QStringLiteral("zel-kiosk")},
                                 {"ZEL_EVENT", QString::fromLatin1(event.kind)}};
    if (!event.version.isEmpty())
        fields.append({"ZEL_VERSION", event.version});
    if (!event.reason.isEmpty())
        fields.append({"ZEL_REASON", oneLine(event.reason)});
    return fields;
}

void write(const QString& text, const Event& event)
{
    write(text);
    Journal::send(Journal::entry(journalFields(text, event)));
}

} // namespace EventLog
