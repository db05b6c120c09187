// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/recovery_copies.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <sys/file.h>
#include <unistd.h>

namespace {
const QString kCopySuffix = QStringLiteral(".zelrecovery");
const QString kLockSuffix = QStringLiteral(".lock");

QString sameFolderKey(const QString& folder)
{
    return QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(folder.trimmed())).absoluteFilePath());
}

// The run of a copy named RUN-N, and N.
std::pair<QString, int> runAndNumber(const QString& name)
{
    const qsizetype dash = name.lastIndexOf(u'-');
    return {name.left(dash), name.mid(dash + 1).toInt()};
}

// An exclusive lock on the file, held while the descriptor stays open
// (not inherited by outside programs); -1 when another process holds it or
// the file cannot be opened (errno says why).
int lockFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }
} // namespace

RecoveryCopies::RecoveryCopies(QString folder, const fileio::FailureHook* faults)
    : m_folder(std::move(folder)), m_faults(faults)
{
    m_run = QStringLiteral("run%1x%2")
                .arg(QCoreApplication::applicationPid())
                .arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0'));
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(m_folder).toStdString()), error);
    if (error) {
        m_unusable = QString::fromLocal8Bit(error.message().c_str());
        return;
    }
    m_lock = lockFile(m_folder + u'/' + m_run + kLockSuffix);
    if (m_lock < 0) {
        m_unusable = systemReason(errno);
        return;
    }
    fileio::removeDeadTemporaries(QFile::encodeName(m_folder).toStdString());
}

RecoveryCopies::~RecoveryCopies()
{
    if (m_lock < 0)
        return;
    QFile::remove(m_folder + u'/' + m_run + kLockSuffix);
    ::close(m_lock);
}

QString RecoveryCopies::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/ZEL_Editor/recovery");
}

QString RecoveryCopies::newName() { return m_run + u'-' + QString::number(m_nextCopy++); }

QString RecoveryCopies::copyPath(const QString& name) const { return m_folder + u'/' + name + kCopySuffix; }

QString RecoveryCopies::write(const QString& name, const Copy& copy)
{
    if (m_lock < 0)
        return m_unusable;
    const QJsonObject object{{QStringLiteral("kioskFolder"), copy.kioskFolder},
                             {QStringLiteral("pageSource"), copy.pageSource},
                             {QStringLiteral("pageType"), copy.pageType},
                             {QStringLiteral("text"), copy.text}};
    const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Compact);
    try {
        fileio::replaceFile(QFile::encodeName(copyPath(name)).toStdString(),
                            std::string_view(bytes.constData(), std::size_t(bytes.size())), m_faults);
    } catch (const fileio::FileError& error) {
        return QString::fromLocal8Bit(error.reason().c_str());
    }
    return {};
}

void RecoveryCopies::remove(const QString& name) { QFile::remove(copyPath(name)); }

// A run has ended when nobody holds its lock (or its lock file is gone).
bool RecoveryCopies::runHasEnded(const QString& run) const
{
    if (run == m_run)
        return false;
    const QString path = m_folder + u'/' + run + kLockSuffix;
    if (!QFileInfo::exists(path))
        return true;
    const int fd = lockFile(path);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

QList<RecoveryCopies::LeftCopy> RecoveryCopies::leftBehind(const QString& kioskFolder) const
{
    QStringList names = QDir(m_folder).entryList({u'*' + kCopySuffix}, QDir::Files);
    for (QString& name : names)
        name.chop(kCopySuffix.size());
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return runAndNumber(a) < runAndNumber(b); });
    QList<LeftCopy> found;
    const QString wanted = sameFolderKey(kioskFolder);
    for (const QString& name : names) {
        if (!runHasEnded(runAndNumber(name).first))
            continue;
        QFile file(copyPath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
        if (object.isEmpty())
            continue;
        Copy copy{object.value(QStringLiteral("kioskFolder")).toString(),
                  object.value(QStringLiteral("pageSource")).toString(),
                  std::int16_t(object.value(QStringLiteral("pageType")).toInt()),
                  object.value(QStringLiteral("text")).toString()};
        if (sameFolderKey(copy.kioskFolder) == wanted)
            found.append({name, copy});
    }
    return found;
}
