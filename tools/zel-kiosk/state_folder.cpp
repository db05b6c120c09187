// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "state_folder.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace StateFolder {

QString path()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    const QString folder = base + QStringLiteral("/zel-kiosk");
    QDir().mkpath(folder);
    return folder;
}

QString file(const QString& name) { return path() + u'/' + name; }

bool lock(QString& holder, QString& reason)
{
    holder.clear();
    const QByteArray name = QFile::encodeName(file(QStringLiteral("kiosk.lock")));
    // Kept open (and locked) for the life of the process; not handed to child processes.
    const int descriptor = ::open(name.constData(), O_RDWR | O_CREAT | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0644);
    struct stat info {};
    if (descriptor < 0 || ::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        reason =
            descriptor < 0 ? QString::fromLocal8Bit(std::strerror(errno)) : QStringLiteral("is not a regular file");
        if (descriptor >= 0)
            ::close(descriptor);
        return false;
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        char text[32] = {};
        const ssize_t read = ::pread(descriptor, text, sizeof text - 1, 0);
        holder = QString::number(read > 0 ? QByteArray(text, int(read)).trimmed().toLongLong() : 0);
        ::close(descriptor);
        return false;
    }
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    if (::ftruncate(descriptor, 0) != 0 || ::pwrite(descriptor, pid.constData(), size_t(pid.size()), 0) < 0) {
        // The lock holds without the number in it.
    }
    return true;
}

} // namespace StateFolder
