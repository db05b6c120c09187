// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "origin_puller.h"

#include "event_log.h"
#include "version_intake.h"
#include "version_store.h"

#include "fileio/atomic_file.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSet>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kManifest = QStringLiteral("manifest.json");
constexpr int kTransferTimeoutMs = 30000;
constexpr int kLongestDelayMs = 10 * 60 * 1000;
constexpr int kPollsPerFullAsk = 10;
// With a version taken from the origin, polls ask for the change file of the
// next version (a missing one costs a "404"); every tenth that finds none
// asks for the manifest too, so an origin without change files is followed.
constexpr int kPollsPerManifest = 10;

enum class Outcome { Complete, NotModified, Unreachable, TooLarge, WriteFailed };

QString sha256(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QString fileSha256(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QString();
    return QString::fromLatin1(hash.result().toHex());
}

std::string local(const QString& path) { return QFile::encodeName(path).toStdString(); }

// "origin <version> <SHA-256 of the payload>": the version store's record of the content taken.
QString fingerprintOf(const OriginManifest::Verified& verified)
{
    return QStringLiteral("origin %1 %2").arg(verified.manifest.version).arg(sha256(verified.payload));
}

// The version number of such a fingerprint; 0 for another.
int versionOf(const QString& fingerprint)
{
    const QStringList parts = fingerprint.split(u' ');
    return parts.size() == 3 && parts.front() == u"origin" ? parts.at(1).toInt() : 0;
}

// The manifest kept in a pulled version's folder, verified with key (any key when empty).
OriginManifest::Verified keptManifest(const QString& folder, const QByteArray& key = QByteArray())
{
    QFile file(folder + u'/' + VersionStore::manifestName());
    if (folder.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > OriginManifest::kLargestFile)
        return {};
    return OriginManifest::verify(file.readAll(), key);
}

QSet<QString> objectsOf(const OriginManifest& manifest)
{
    QSet<QString> objects;
    objects.reserve(manifest.files.size());
    for (const OriginManifest::File& file : manifest.files)
        objects.insert(file.sha256);
    return objects;
}

// Clears a folder holding a version dropped before for the files paths (and
// the folders they lie in): everything else in it is removed. Returns the
// files of paths that are there (of whatever kind); nullopt when the folder
// could not be cleared.
std::optional<QSet<QByteArray>> cleared(const QByteArray& top, const QSet<QByteArray>& paths)
{
    QSet<QByteArray> folders;
    for (const QByteArray& path : paths)
        for (qsizetype slash = path.indexOf('/'); slash >= 0; slash = path.indexOf('/', slash + 1))
            folders.insert(path.left(slash));
    namespace fs = std::filesystem;
    QSet<QByteArray> present;
    std::error_code error;
    for (fs::recursive_directory_iterator it(top.toStdString(), error), end; !error && it != end; it.increment(error)) {
        const std::string& path = it->path().native();
        const QByteArray relative = QByteArray::fromStdString(path.substr(std::size_t(top.size()) + 1));
        if (it->is_directory() && !it->is_symlink()) {
            if (folders.contains(relative))
                continue;
            it.disable_recursion_pending();
            fs::remove_all(it->path(), error);
        } else if (paths.contains(relative)) {
            present.insert(relative);
        } else if (::unlink(path.c_str()) != 0) {
            error.assign(errno, std::generic_category());
        }
    }
    return error ? std::nullopt : std::optional(present);
}

// Whether target is the very file source (a link to it).
bool isLinkOf(const QByteArray& target, const QByteArray& source)
{
    struct stat linked {};
    struct stat object {};
    return ::lstat(target.constData(), &linked) == 0 && ::stat(source.constData(), &object) == 0
           && S_ISREG(linked.st_mode) && linked.st_dev == object.st_dev && linked.st_ino == object.st_ino;
}

// Fills folder with the manifest's files, each linked (or, where the file
// system has no links, copied) from the cache, and keeps the signed manifest
// beside them. A link is one system call: the object is neither read nor
// hashed again (it was checked when it came), and the gate knows a file it
// shares with the version before by its stamp. Where the store has a spare
// (a version dropped), the version is assembled in it: its files that are
// links to the objects named stay, all else goes.
VersionPreparation::Result assembled(const QString& folder, const QString& cache, const QByteArray& signedBytes,
                                     const QList<OriginManifest::File>& files, const VersionStore& store,
                                     const fileio::FailureHook* faults)
{
    VersionPreparation::Result result;
    const QByteArray top = QFile::encodeName(folder), objects = QFile::encodeName(cache);
    QSet<QByteArray> present;
    if (store.reuseSpare(folder)) {
        QSet<QByteArray> paths;
        paths.reserve(files.size());
        for (const OriginManifest::File& file : files)
            paths.insert(QFile::encodeName(file.path));
        const std::optional<QSet<QByteArray>> kept = cleared(top, paths);
        if (!kept) {
            result.retry = true;
            result.reason = QStringLiteral("could not clear ") + folder;
            return result;
        }
        present = *kept;
    }
    QSet<QByteArray> made; // the folders made so far
    try {
        for (const OriginManifest::File& file : files) {
            const QByteArray path = QFile::encodeName(file.path);
            const QByteArray target = top + '/' + path;
            const QByteArray source = objects + '/' + file.sha256.toLatin1();
            const auto clash = [&] {
                result.reason = file.path
                                + QStringLiteral(" cannot be placed in the version: a file and a folder "
                                                 "of that name");
                return result;
            };
            if (present.contains(path)) {
                if (isLinkOf(target, source))
                    continue;
                if (::unlink(target.constData()) != 0 && errno != ENOENT)
                    throw fileio::FileError(errno, target.toStdString());
            }
            const QByteArray parent = target.left(target.lastIndexOf('/'));
            if (parent != top && !made.contains(parent)) {
                if (!QDir().mkpath(QFile::decodeName(parent)))
                    return clash();
                made.insert(parent);
            }
            if (faults)
                fileio::failIfInjected(faults, "write", target.toStdString());
            if (::link(source.constData(), target.constData()) == 0)
                continue;
            if (errno == EEXIST)
                return clash();
            fileio::copyFile(source.toStdString(), target.toStdString(), faults);
        }
        fileio::replaceFile(local(folder + u'/' + VersionStore::manifestName()), signedBytes.toStdString(), faults);
    } catch (const fileio::FileError& error) {
        result.retry = true;
        result.reason = QStringLiteral("could not write ") + QString::fromStdString(error.path()).replace(folder, cache)
                        + QStringLiteral(": ") + QString::fromStdString(error.reason());
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace

OriginPuller::OriginPuller(Options options, VersionStore& store, VersionIntake& intake, QObject* parent)
    : QObject(parent), m_options(std::move(options)), m_store(store), m_intake(intake), m_timer(new QTimer(this))
{
    if (isUrl(m_options.origin)) {
        m_base = QUrl(m_options.origin.endsWith(u'/') ? m_options.origin : m_options.origin + u'/');
        m_network = new QNetworkAccessManager(this);
        m_network->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    } else {
        const QUrl url(m_options.origin);
        m_folder = url.isLocalFile() ? url.toLocalFile() : m_options.origin;
    }
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &OriginPuller::poll);
    connect(&m_intake, &VersionIntake::prepared, this, [this](const QString& version) {
        m_handled = m_pending ? m_pending->digest : QString();
        if (m_pending) {
            m_taken = m_pending->manifest;
            m_keptObjects.insert(version, objectsOf(m_pending->manifest));
        }
        m_etag = m_newEtag;
        m_pending.reset();
        pruneCache(version);
        endPoll();
    });
    connect(&m_intake, &VersionIntake::refused, this, [this] {
        m_handled = m_pending ? m_pending->digest : QString();
        m_etag = m_newEtag;
        m_pending.reset();
        endPoll();
    });
    connect(&m_intake, &VersionIntake::notTaken, this, [this] {
        m_pending.reset();
        endPoll();
    });
}

OriginPuller::~OriginPuller()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

QByteArray OriginPuller::parseKey(const QString& text)
{
    const auto decoded =
        QByteArray::fromBase64Encoding(text.trimmed().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    return decoded && decoded.decoded.size() == 32 ? decoded.decoded : QByteArray();
}

bool OriginPuller::isUrl(const QString& origin)
{
    return origin.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
           || origin.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

QString OriginPuller::objectPath(const QString& sha256) const { return m_options.cache + u'/' + sha256; }

void OriginPuller::start()
{
    EventLog::write(QStringLiteral("pulling from ") + m_options.origin);
    m_store.removeUnfinished();
    QDir().mkpath(m_options.cache);
    if (const OriginManifest::Verified shown = keptManifest(m_store.current(), m_options.key);
        shown.ok() && fingerprintOf(shown) == m_store.lastSource()) {
        m_taken = shown.manifest;
        m_keptObjects.insert(m_store.current(), objectsOf(shown.manifest));
    }
    poll();
}

int OriginPuller::nextDelayMs() const
{
    const qint64 delay = qint64(m_options.intervalMs) << std::min(m_failures, 4);
    return int(std::max<qint64>(m_options.intervalMs, std::min<qint64>(delay, kLongestDelayMs)));
}

void OriginPuller::poll()
{
    if (m_polling)
        return;
    if (m_intake.busy()) {
        m_timer->start(m_options.intervalMs);
        return;
    }
    m_polling = true;
    if (m_taken)
        pollChanges();
    else
        pollManifest();
}

void OriginPuller::reached(const QString& failure)
{
    if (failure.isEmpty() || failure == QLatin1String("304")) {
        if (std::exchange(m_failures, 0) > 0)
            EventLog::write(QStringLiteral("origin ") + m_options.origin + QStringLiteral(" reached again"));
        m_lastFailure.clear();
    }
}

void OriginPuller::pollManifest()
{
    auto buffer = std::make_shared<QBuffer>();
    buffer->open(QIODevice::WriteOnly);
    fetch(kManifest, m_options.largestManifest, buffer.get(), [this, buffer](const QString& failure) {
        reached(failure);
        if (!failure.isEmpty())
            return endPoll(failure);
        handleManifest(buffer->data());
    });
}

// The change file of the version after the one taken: none yet is nothing
// new (but at every tenth poll the manifest is asked); one that does not
// rebuild a manifest from the version taken sends the poll to the manifest.
void OriginPuller::pollChanges()
{
    auto buffer = std::make_shared<QBuffer>();
    buffer->open(QIODevice::WriteOnly);
    const QString changes = QStringLiteral("versions/%1.changes.json").arg(m_taken->version + 1);
    fetch(changes, m_options.largestManifest, buffer.get(), [this, buffer](const QString& failure) {
        reached(m_missing ? QString() : failure);
        if (m_missing)
            return ++m_polls % kPollsPerManifest == 0 ? pollManifest() : endPoll();
        if (!failure.isEmpty())
            return endPoll(failure);
        const QByteArray signedFile = OriginManifest::signedFileFromChanges(buffer->data(), *m_taken);
        if (signedFile.isEmpty())
            return pollManifest();
        handleManifest(signedFile);
    });
}

// Fetches the origin's file relative into `into` (resuming after what it
// holds), at most largest bytes in all; done gets "" once it is complete or
// unchanged, else why not. Too large and unwritable are refusals of their
// own (refuse, or a not-taken version); the rest are failures to reach the origin.
void OriginPuller::fetch(const QString& relative, qint64 largest, QIODevice* into, const Done& done)
{
    const auto finish = [this, done, relative, largest](Outcome outcome, const QString& reason) {
        switch (outcome) {
        case Outcome::Complete:
            return done(QString());
        case Outcome::NotModified:
            return done(QStringLiteral("304"));
        case Outcome::TooLarge:
            refuse(relative + QStringLiteral(" is larger than %1 bytes").arg(largest));
            return;
        case Outcome::WriteFailed:
            m_pending.reset();
            m_handled.clear();
            EventLog::write(QStringLiteral("new version from ") + m_options.origin
                                + QStringLiteral(" not taken, tried again at each poll: could not write ") + reason,
                            {"not-taken", 4, m_options.origin, reason});
            return endPoll();
        case Outcome::Unreachable:
            return done(reason);
        }
    };
    m_missing = false;
    const qint64 offset = into->size();
    if (!m_network) {
        // A folder: read at once, the result delivered from the event loop (no recursion over thousands of objects).
        QFile source(m_folder + u'/' + relative);
        Outcome outcome = Outcome::Complete;
        QString reason;
        // Never waits on a FIFO or reads a device at the name.
        if (!QFileInfo(source.fileName()).isFile() || !source.open(QIODevice::ReadOnly)) {
            m_missing = !QFileInfo::exists(source.fileName()) && QFileInfo(source.fileName()).dir().exists();
            outcome = Outcome::Unreachable;
            reason = source.fileName() + QStringLiteral(": ")
                     + (QFileInfo::exists(source.fileName()) && !QFileInfo(source.fileName()).isFile()
                            ? QStringLiteral("not a regular file")
                        : source.errorString().isEmpty() ? QStringLiteral("No such file or directory")
                                                         : source.errorString());
        } else if (source.size() > largest) {
            outcome = Outcome::TooLarge;
        } else {
            const QByteArray bytes = source.read(largest + 1);
            m_fetchedBytes += bytes.size();
            into->seek(0);
            if (auto* file = qobject_cast<QFile*>(into))
                file->resize(0);
            if (bytes.size() > largest)
                outcome = Outcome::TooLarge;
            else if (into->write(bytes) != bytes.size()) {
                outcome = Outcome::WriteFailed;
                reason = into->errorString();
            }
        }
        QTimer::singleShot(0, this, [finish, outcome, reason] { finish(outcome, reason); });
        return;
    }
    QNetworkRequest request(m_base.resolved(QUrl(relative)));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(kTransferTimeoutMs);
    // A server's ETag may miss a change (nginx's: the time in whole seconds
    // and the size): every tenth poll asks without it.
    if (relative == kManifest && ++m_manifestAsks % kPollsPerFullAsk != 0 && !m_etag.isEmpty() && !m_pending)
        request.setRawHeader("If-None-Match", m_etag);
    if (offset > 0)
        request.setRawHeader("Range", "bytes=" + QByteArray::number(offset) + '-');
    QNetworkReply* reply = m_network->get(request);
    m_reply = reply;
    struct State {
        bool started = false;
        Outcome refused = Outcome::Complete;
    };
    auto state = std::make_shared<State>();
    const auto read = [this, reply, into, offset, largest, state] {
        if (!state->started) {
            state->started = true;
            // A server that ignores the range sends the whole object again.
            if (offset > 0 && reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 206) {
                into->seek(0);
                if (auto* file = qobject_cast<QFile*>(into))
                    file->resize(0);
            }
        }
        const QByteArray bytes = reply->readAll();
        m_fetchedBytes += bytes.size();
        if (state->refused != Outcome::Complete)
            return;
        if (into->size() + bytes.size() > largest)
            state->refused = Outcome::TooLarge;
        else if (into->write(bytes) != bytes.size())
            state->refused = Outcome::WriteFailed;
        if (state->refused != Outcome::Complete)
            reply->abort();
    };
    connect(reply, &QNetworkReply::readyRead, this, read);
    connect(reply, &QNetworkReply::finished, this, [this, reply, read, state, into, relative, finish] {
        reply->deleteLater();
        if (state->refused == Outcome::Complete && reply->error() == QNetworkReply::NoError)
            read();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (state->refused != Outcome::Complete)
            return finish(state->refused, into->errorString());
        if (status == 304)
            return finish(Outcome::NotModified, QString());
        if (reply->error() != QNetworkReply::NoError) {
            m_missing = status == 404;
            return finish(Outcome::Unreachable, reply->url().toString() + QStringLiteral(": ") + reply->errorString());
        }
        if (relative == kManifest)
            m_newEtag = reply->rawHeader("ETag");
        finish(Outcome::Complete, QString());
    });
}

void OriginPuller::handleManifest(const QByteArray& bytes)
{
    const QString digest = sha256(bytes);
    if (m_pending && m_pending->digest == digest)
        return fetchObjects();
    m_pending.reset();
    if (digest == m_handled) {
        m_etag = m_newEtag;
        return endPoll();
    }
    const OriginManifest::Verified verified = OriginManifest::verify(bytes, m_options.key);
    m_pending = Pending{verified.manifest, bytes, digest, fingerprintOf(verified)};
    if (!verified.ok())
        return refuse(QStringLiteral("the manifest is refused: ") + verified.refusal);
    const int version = verified.manifest.version;
    const QString taken = m_store.lastSource();
    const int takenVersion = std::max(versionOf(taken), m_store.shownVersion());
    if (m_pending->fingerprint == taken) {
        m_handled = digest;
        m_etag = m_newEtag;
        m_pending.reset();
        return endPoll();
    }
    if (version < takenVersion)
        return refuse(QStringLiteral("version %1 is older than version %2 taken (a replayed manifest)")
                          .arg(version)
                          .arg(takenVersion));
    if (version == takenVersion)
        return refuse(QStringLiteral("version %1 differs from the version %1 taken").arg(version));
    try {
        m_store.setAvailable(version);
    } catch (const fileio::FileError&) {
        // A full state folder: the version is not taken either, and that is logged.
    }
    fetchObjects();
}

void OriginPuller::fetchObjects()
{
    const QList<OriginManifest::File>& files = m_pending->manifest.files;
    for (; m_pending->next < files.size(); ++m_pending->next) {
        const OriginManifest::File& file = files.at(m_pending->next);
        struct stat object {};
        if (::stat(QFile::encodeName(objectPath(file.sha256)).constData(), &object) == 0 && S_ISREG(object.st_mode)
            && object.st_size == file.size)
            continue;
        const QString part = objectPath(file.sha256) + QStringLiteral(".part");
        if (QFileInfo(part).size() >= file.size)
            QFile::remove(part);
        auto into = std::make_shared<QFile>(part);
        if (!into->open(QIODevice::WriteOnly | QIODevice::Append)) {
            EventLog::write(QStringLiteral("new version from ") + m_options.origin
                                + QStringLiteral(" not taken, tried again at each poll: could not write ") + part
                                + QStringLiteral(": ") + into->errorString(),
                            {"not-taken", 4, m_options.origin, into->errorString()});
            m_pending.reset();
            return endPoll();
        }
        fetch(QStringLiteral("objects/") + file.sha256, file.size, into.get(),
              [this, into, file](const QString& failure) {
                  into->close();
                  if (!failure.isEmpty())
                      return endPoll(failure);
                  checkObject(file);
              });
        return;
    }
    assemble();
}

void OriginPuller::checkObject(const OriginManifest::File& file)
{
    const QString part = objectPath(file.sha256) + QStringLiteral(".part");
    const qint64 size = QFileInfo(part).size();
    if (size != file.size) {
        QFile::remove(part);
        return refuse(QStringLiteral("objects/%1 (%2) is truncated: %3 of %4 bytes")
                          .arg(file.sha256, file.path)
                          .arg(size)
                          .arg(file.size));
    }
    if (fileSha256(part) != file.sha256) {
        QFile::remove(part);
        return refuse(
            QStringLiteral("objects/%1 (%2) does not hold what its SHA-256 names").arg(file.sha256, file.path));
    }
    if (!QFile::rename(part, objectPath(file.sha256))) {
        QFile::remove(part);
        return endPoll(QStringLiteral("could not name ") + objectPath(file.sha256));
    }
    ++m_fetchedObjects;
    ++m_pending->next;
    fetchObjects();
}

void OriginPuller::assemble()
{
    const QString source = m_options.origin + QStringLiteral(" version %1").arg(m_pending->manifest.version);
    m_intake.take(
        source, m_pending->fingerprint,
        [cache = m_options.cache, bytes = m_pending->bytes, files = m_pending->manifest.files,
         version = m_pending->manifest.version, store = &m_store,
         faults = m_intake.faults()](const QString& folder, const QString&) {
            const VersionPreparation::Result result = assembled(folder, cache, bytes, files, *store, faults);
            if (result.ok)
                VersionStore::knowVersionNumber(folder, version);
            return result;
        },
        false);
}

// Keeps the objects of the versions kept and of the one just taken; removes
// the rest, partial downloads too. The objects each kept version names are
// known from when it was taken (or read once from its manifest).
void OriginPuller::pruneCache(const QString& taken)
{
    const QStringList kept = {m_store.current(), m_store.previous(), taken};
    m_keptObjects.removeIf([&kept](const auto& entry) { return !kept.contains(entry.key()); });
    QSet<QString> named;
    for (const QString& folder : kept) {
        if (folder.isEmpty())
            continue;
        auto objects = m_keptObjects.find(folder);
        if (objects == m_keptObjects.end())
            objects = m_keptObjects.insert(folder, objectsOf(keptManifest(folder).manifest));
        named.unite(*objects);
    }
    QDirIterator it(m_options.cache, QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        if (!named.contains(it.fileName()))
            QFile::remove(it.filePath());
    }
}

void OriginPuller::refuse(const QString& reason)
{
    const QString refusal = (m_pending ? m_pending->digest : QString()) + reason;
    if (std::exchange(m_lastRefusal, refusal) != refusal) {
        EventLog::write(QStringLiteral("new version from ") + m_options.origin
                            + QStringLiteral(" refused, the version shown stays: ") + reason,
                        {"refused", 4, m_options.origin, reason});
        try {
            m_store.setRefused(m_store.lastSource(), m_options.origin, reason);
        } catch (const fileio::FileError&) {
            // The state folder is full: the log line says it all.
        }
    }
    m_handled = m_pending ? m_pending->digest : QString();
    m_etag = m_newEtag;
    m_pending.reset();
    endPoll();
}

void OriginPuller::endPoll(const QString& failure)
{
    if (failure == QLatin1String("304")) {
        // Unchanged: a version whose objects were not all fetched goes on.
        if (m_pending)
            return fetchObjects();
    } else if (!failure.isEmpty()) {
        ++m_failures;
        if (std::exchange(m_lastFailure, failure) != failure)
            EventLog::write(QStringLiteral("origin ") + m_options.origin
                            + QStringLiteral(" not reached, the version shown stays, asked again later: ") + failure);
    }
    m_polling = false;
    m_timer->start(nextDelayMs());
    emit polled();
}
