// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "origin_writer.h"

#include "base/runtime_error.h"
#include "publish_key.h"
#include "version_files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

std::string local(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The SHA-256 (hex) and size of a file; throws RuntimeError naming it when it cannot be read.
OriginManifest::File hashed(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        Errors::raiseAccessError(path, file.errorString());
    return {QString(), file.size(), QString::fromLatin1(hash.result().toHex())};
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > OriginManifest::kLargestFile)
        Errors::raiseAccessError(path, file.errorString());
    return file.readAll();
}

void makeFolder(const QString& path)
{
    if (!QDir().mkpath(path))
        Errors::raise(Errors::PathNotFound,
                      Errors::standardDescription(Errors::PathNotFound) + QStringLiteral(": ") + path);
}

// An exclusive lock on the origin's ".zel-publish-lock" while a publish writes
// it, so that two publishes at once cannot take one version number.
class PublishLock {
public:
    explicit PublishLock(const QString& origin)
    {
        const QString path = origin + QStringLiteral("/.zel-publish-lock");
        m_descriptor = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_descriptor < 0)
            Errors::raiseFileError(fileio::FileError(errno, local(path)));
        if (::flock(m_descriptor, LOCK_EX | LOCK_NB) != 0) {
            ::close(m_descriptor);
            Errors::raise(Errors::PathFileAccess,
                          QStringLiteral("Another publish to ") + origin + QStringLiteral(" is running"));
        }
    }
    ~PublishLock() { ::close(m_descriptor); }
    PublishLock(const PublishLock&) = delete;
    PublishLock& operator=(const PublishLock&) = delete;

private:
    int m_descriptor = -1;
};

} // namespace

OriginWriter::OriginWriter(QString origin, const fileio::FailureHook* faults)
    : m_origin(std::move(origin)), m_faults(faults)
{}

QString OriginWriter::manifestPath() const { return m_origin + QStringLiteral("/manifest.json"); }

QString OriginWriter::changesPath(int version) const
{
    return m_origin + QStringLiteral("/versions/%1.changes.json").arg(version);
}

QString OriginWriter::objectPath(const QString& sha256) const
{
    return m_origin + QStringLiteral("/objects/") + sha256;
}

std::optional<OriginManifest::Verified> OriginWriter::current() const
{
    if (!QFileInfo::exists(manifestPath()))
        return std::nullopt;
    OriginManifest::Verified verified = OriginManifest::verify(readAll(manifestPath()), QByteArray());
    if (!verified.ok())
        Errors::raise(Errors::PathFileAccess, manifestPath() + QStringLiteral(" is refused: ") + verified.refusal);
    return verified;
}

OriginWriter::Result OriginWriter::publish(const QString& kioskFolder, OriginManifest manifest, const PublishKey& key,
                                           int keep)
{
    Result result;
    const QString kiosk = QFileInfo(kioskFolder).canonicalFilePath();
    if (!kiosk.isEmpty() && (QFileInfo(m_origin).absoluteFilePath() + u'/').startsWith(kiosk + u'/'))
        Errors::raise(Errors::InvalidArgument, QStringLiteral("The origin ") + m_origin
                                                   + QStringLiteral(" lies in the kiosk system folder ") + kioskFolder
                                                   + QStringLiteral(": it would publish itself"));
    makeFolder(m_origin);
    const PublishLock lock(m_origin);
    const std::optional<OriginManifest::Verified> latest = current();
    if (latest && latest->key != key.publicKey())
        Errors::raise(Errors::PathFileAccess,
                      manifestPath() + QStringLiteral(" is signed with another key (")
                          + QString::fromLatin1(latest->key.toBase64())
                          + QStringLiteral("), which the kiosks pin: copy the key file that made it back to ")
                          + PublishKey::defaultPath());
    for (const QString& folder :
         {m_origin, m_origin + QStringLiteral("/objects"), m_origin + QStringLiteral("/versions")}) {
        makeFolder(folder);
        fileio::removeDeadTemporaries(local(folder));
    }

    // After the latest manifest and every version kept, so that no number is used twice.
    const QList<int> versions = versionNumbers();
    manifest.version = std::max(latest ? latest->manifest.version : 0, versions.isEmpty() ? 0 : versions.first()) + 1;
    manifest.files.clear();
    for (const QString& path : VersionFiles::list(kioskFolder)) {
        const QString source = kioskFolder + u'/' + path;
        OriginManifest::File file = hashed(source);
        file.path = path;
        const QString object = objectPath(file.sha256);
        // An object already there is used only when it is whole and holds what its name says.
        if (!QFileInfo(object).isFile() || QFileInfo(object).size() != file.size
            || hashed(object).sha256 != file.sha256) {
            Errors::translatingFileErrors([&] { fileio::copyFile(local(source), local(object), m_faults); });
            // The copy is the content named, or the file changed while it was published.
            if (hashed(object).sha256 != file.sha256) {
                QFile::remove(object);
                Errors::raise(Errors::PathFileAccess, source + QStringLiteral(" changed while it was published"));
            }
            ++result.newObjects;
            result.newBytes += file.size;
        }
        manifest.files.append(file);
    }
    manifest.time = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch(), Qt::UTC);
    const QByteArray signedBytes = manifest.signedFile(key);
    const std::string bytes = signedBytes.toStdString();
    Errors::translatingFileErrors([&] {
        if (latest && latest->manifest.version == manifest.version - 1)
            fileio::replaceFile(local(changesPath(manifest.version)),
                                OriginManifest::changesFile(latest->manifest, signedBytes).toStdString(), m_faults);
        fileio::replaceFile(local(m_origin + QStringLiteral("/versions/%1.json").arg(manifest.version)), bytes,
                            m_faults);
        fileio::replaceFile(local(manifestPath()), bytes, m_faults);
    });
    result.version = manifest.version;
    prune(keep, key.publicKey(), result);
    return result;
}

QList<int> OriginWriter::versionNumbers() const
{
    QList<int> numbers;
    for (const QString& name :
         QDir(m_origin + QStringLiteral("/versions")).entryList({QStringLiteral("*.json")}, QDir::Files)) {
        bool number = false;
        const int version = name.chopped(5).toInt(&number);
        if (number && version > 0)
            numbers.append(version);
    }
    std::sort(numbers.begin(), numbers.end(), std::greater<int>());
    return numbers;
}

// Removes the versions older than the newest `keep`, then the objects that
// no kept version names. A kept version that cannot be read keeps every object.
void OriginWriter::prune(int keep, const QByteArray& publicKey, Result& result) const
{
    const QDir versions(m_origin + QStringLiteral("/versions"));
    const QList<int> numbers = versionNumbers();
    QSet<QString> named;
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        const QString path = versions.filePath(QString::number(numbers.at(i)) + QStringLiteral(".json"));
        if (i >= std::max(keep, 1)) {
            QFile::remove(changesPath(numbers.at(i)));
            result.removedVersions += QFile::remove(path) ? 1 : 0;
            continue;
        }
        const OriginManifest::Verified kept = OriginManifest::verify(readAll(path), publicKey);
        if (!kept.ok())
            return;
        for (const OriginManifest::File& file : kept.manifest.files)
            named.insert(file.sha256);
    }
    QDir objects(m_origin + QStringLiteral("/objects"));
    for (const QString& name : objects.entryList(QDir::Files | QDir::Hidden))
        if (!named.contains(name) && !fileio::isOwnTemporaryName(local(name)))
            result.removedObjects += objects.remove(name) ? 1 : 0;
}
