// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "version_store.h"

#include "fileio/atomic_file.h"
#include "fileio/regular_file.h"
#include "publish/origin_manifest.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>

namespace {

const QString kPreparingPrefix = QStringLiteral(".preparing-");
const QString kSpare = QStringLiteral(".spare");

// The stamp of a file (device, inode, size, modification time): the same
// stamp is the same content; empty when there is no regular file.
QByteArray stampOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return QByteArray();
    return QByteArray::number(quint64(info.st_dev)) + ' ' + QByteArray::number(quint64(info.st_ino)) + ' '
           + QByteArray::number(qint64(info.st_size)) + ' ' + QByteArray::number(qint64(info.st_mtim.tv_sec)) + '.'
           + QByteArray::number(qint64(info.st_mtim.tv_nsec));
}

// A whole version folder (thousands of files) gone with one system call per
// entry; on a failure Qt's removal goes on with the rest.
void removeTree(const QString& path)
{
    std::error_code error;
    std::filesystem::remove_all(QFile::encodeName(path).toStdString(), error);
    if (error)
        QDir(path).removeRecursively();
}

} // namespace

VersionStore::VersionStore(QString root) : m_root(QDir::cleanPath(std::move(root)))
{
    QDir().mkpath(m_root);
    read();
}

void VersionStore::read()
{
    // Never waits on a FIFO or reads a device at the name.
    std::string bytes;
    if (!fileio::readRegularFile(QFile::encodeName(m_root + QStringLiteral("/state.txt")).toStdString(), 64 * 1024,
                                 bytes)
             .empty())
        return;
    const QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")), Qt::SkipEmptyParts)) {
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        if (colon < 0)
            continue;
        const QString key = line.left(colon);
        const QString value = line.mid(colon + 2);
        if (key == QLatin1String("current"))
            m_current = value;
        else if (key == QLatin1String("previous"))
            m_previous = value;
        else if (key == QLatin1String("source"))
            m_source = value;
        else if (key == QLatin1String("refused"))
            m_refused = value;
        else if (key == QLatin1String("not taken"))
            m_notTaken = value;
        else if (key == QLatin1String("origin"))
            m_origin = value;
        else if (key == QLatin1String("kiosk"))
            m_kiosk = value;
        else if (key == QLatin1String("available"))
            m_available = value.toInt();
    }
}

void VersionStore::write() const
{
    const QString text =
        QStringLiteral("current: ") + m_current + QStringLiteral("\r\nprevious: ") + m_previous
        + QStringLiteral("\r\nsource: ") + m_source + QStringLiteral("\r\n")
        + (m_refused.isEmpty() ? QString() : QStringLiteral("refused: ") + m_refused + QStringLiteral("\r\n"))
        + (m_notTaken.isEmpty() ? QString() : QStringLiteral("not taken: ") + m_notTaken + QStringLiteral("\r\n"))
        + (m_origin.isEmpty()
               ? QString()
               : QStringLiteral("kiosk: ") + m_kiosk + QStringLiteral("\r\norigin: ") + m_origin
                     + QStringLiteral("\r\navailable: ") + QString::number(m_available) + QStringLiteral("\r\n"));
    fileio::replaceFile(QFile::encodeName(m_root + QStringLiteral("/state.txt")).toStdString(),
                        text.toUtf8().toStdString());
}

QString VersionStore::existing(const QString& name) const
{
    if (name.isEmpty() || name.contains(u'/') || name.startsWith(u'.'))
        return QString();
    const QString path = m_root + u'/' + name;
    return QFileInfo(path).isDir() ? path : QString();
}

QString VersionStore::current() const { return existing(m_current); }

QString VersionStore::previous() const { return existing(m_previous); }

namespace {

// The numbers of the versions whose manifests were read or written, by the
// manifest's stamp: a version's manifest is never changed once written, and
// reading its thousands of entries again for each health report or status
// would cost more than all else a kiosk does between versions.
struct KnownNumbers {
    QMutex mutex;
    QHash<QByteArray, int> numbers;

    void insert(const QByteArray& stamp, int number)
    {
        const QMutexLocker lock(&mutex);
        if (numbers.size() >= 64)
            numbers.clear();
        numbers.insert(stamp, number);
    }
};

KnownNumbers& knownNumbers()
{
    static KnownNumbers known;
    return known;
}

} // namespace

int VersionStore::versionNumber(const QString& folder)
{
    const QString path = folder + u'/' + manifestName();
    const QByteArray stamp = folder.isEmpty() ? QByteArray() : stampOf(path);
    if (stamp.isEmpty())
        return 0;
    KnownNumbers& known = knownNumbers();
    {
        const QMutexLocker lock(&known.mutex);
        if (const auto it = known.numbers.constFind(stamp); it != known.numbers.constEnd())
            return *it;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > OriginManifest::kLargestFile)
        return 0;
    const OriginManifest::Verified kept = OriginManifest::verify(file.readAll(), QByteArray());
    const int number = kept.ok() ? kept.manifest.version : 0;
    known.insert(stamp, number);
    return number;
}

void VersionStore::knowVersionNumber(const QString& folder, int number)
{
    if (const QByteArray stamp = stampOf(folder + u'/' + manifestName()); !stamp.isEmpty())
        knownNumbers().insert(stamp, number);
}

void VersionStore::setPulling(const QString& kioskName, const QString& origin)
{
    if (kioskName == m_kiosk && origin == m_origin)
        return;
    m_kiosk = kioskName;
    m_origin = origin;
    write();
}

void VersionStore::setAvailable(int version)
{
    if (version == m_available)
        return;
    m_available = version;
    write();
}

void VersionStore::setLastSource(const QString& fingerprint)
{
    m_source = fingerprint;
    m_refused.clear();
    m_notTaken.clear();
    write();
}

namespace {

QString stateLine(const QString& published, const QString& reason)
{
    QString line =
        QDateTime::currentDateTimeUtc().toString(Qt::ISODate) + u' ' + published + QStringLiteral(": ") + reason;
    return line.replace(u'\r', u' ').replace(u'\n', u' ');
}

} // namespace

void VersionStore::setRefused(const QString& fingerprint, const QString& published, const QString& reason)
{
    m_source = fingerprint;
    m_refused = stateLine(published, reason);
    m_notTaken.clear();
    write();
}

void VersionStore::setNotTaken(const QString& published, const QString& reason)
{
    m_notTaken = stateLine(published, reason);
    write();
}

void VersionStore::removeUnfinished()
{
    const QDir root(m_root);
    for (const QString& name : root.entryList({kPreparingPrefix + u'*'}, QDir::Dirs | QDir::Hidden))
        removeTree(root.filePath(name));
}

QString VersionStore::beginVersion()
{
    removeUnfinished();
    const QDir root(m_root);
    const QString path = root.filePath(kPreparingPrefix + QString::number(QDateTime::currentMSecsSinceEpoch()));
    root.mkpath(path);
    return path;
}

QString VersionStore::completeVersion(const QString& preparing)
{
    QString name = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    const QString stem = name;
    for (int extra = 2; QFileInfo::exists(m_root + u'/' + name); ++extra)
        name = stem + u'-' + QString::number(extra);
    const QString path = m_root + u'/' + name;
    if (!QDir().rename(preparing, path))
        throw fileio::FileError(EIO, QFile::encodeName(path).toStdString());
    return path;
}

bool VersionStore::reuseSpare(const QString& preparing) const
{
    return QFileInfo(preparing).absolutePath() == m_root
           && ::rename(QFile::encodeName(m_root + u'/' + kSpare).constData(), QFile::encodeName(preparing).constData())
                  == 0;
}

void VersionStore::discard(const QString& version)
{
    if (QFileInfo(version).absolutePath() == m_root && version != current() && version != previous())
        removeTree(version);
}

void VersionStore::setCurrent(const QString& version, const QString& keep)
{
    const QString name = QFileInfo(version).fileName();
    if (name != m_current) {
        m_previous = m_current;
        m_current = name;
    }
    write();
    const QDir root(m_root);
    bool spared = false;
    for (const QString& other : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString path = root.filePath(other);
        if (other == m_current || other == m_previous || path == keep)
            continue;
        if (!spared && QFileInfo(path + u'/' + manifestName()).isFile()) {
            removeTree(root.filePath(kSpare));
            spared = ::rename(QFile::encodeName(path).constData(), QFile::encodeName(root.filePath(kSpare)).constData())
                     == 0;
            if (spared)
                continue;
        }
        removeTree(path);
    }
}

bool VersionStore::stepBack()
{
    if (previous().isEmpty())
        return false;
    std::swap(m_current, m_previous);
    write();
    return true;
}
