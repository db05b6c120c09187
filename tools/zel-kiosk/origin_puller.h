// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/origin_manifest.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QUrl>
#include <optional>

class QIODevice;
class QNetworkAccessManager;
class QNetworkReply;
class QTimer;
class VersionIntake;
class VersionStore;

// Pulls the versions an author publishes to an origin: a web server's URL
// (http, https: the manifest asked for with If-None-Match, so that an
// unchanged one costs a "304 Not Modified") or a folder (a path or a file://
// URL) that rsync or Syncthing fills. Each poll reads manifest.json (every
// tenth without If-None-Match, as an ETag may miss a change) or, once a
// version was taken from the origin, the next version's change file
// (versions/<N>.changes.json), from which the new manifest is rebuilt and
// verified as if fetched whole (manifest.json is read when there is none,
// at every tenth poll); a new
// version signed with the pinned key has the objects the kiosk lacks fetched
// into its object cache (content-addressed: a version that changed one page
// costs that page's files), each checked for its size and SHA-256, then is
// assembled from the cache and taken as any new version (VersionIntake: the
// gate, then the switch). Refused, logged once and never shown, the version
// shown staying: a manifest over the size limit, not signed with the pinned
// key, a version older than the one taken (a replayed manifest) or of the
// same number with other content; an object that is larger, shorter
// (truncated) or other than the manifest says. Paths that would leave the
// version folder are refused by the manifest's verification. An origin that
// cannot be reached leaves the version shown, and is asked again after the
// interval doubled at each failure, up to 16 times it (at most ten minutes).
// A download cut off is kept as "<sha256>.part" and resumed (an HTTP range)
// at the next poll; it becomes an object only whole and checked.
class OriginPuller : public QObject {
    Q_OBJECT

public:
    struct Options {
        QString origin; // URL or folder
        QByteArray key; // the pinned public key, 32 bytes
        QString cache;  // the object cache folder
        int intervalMs = 60000;
        qint64 largestManifest = OriginManifest::kLargestFile;
    };
    OriginPuller(Options options, VersionStore& store, VersionIntake& intake, QObject* parent = nullptr);
    ~OriginPuller() override;

    // The 32 bytes of a public key given as base64; empty when it is not one.
    static QByteArray parseKey(const QString& text);
    // Whether origin names a web server (http or https) rather than a folder.
    static bool isUrl(const QString& origin);

    // Removes unfinished versions, polls now and then after each interval.
    void start();
    // One poll now; nothing while one runs.
    void poll();
    bool polling() const { return m_polling; }
    // The delay before the next poll.
    int nextDelayMs() const;
    // What the downloads fetched: bytes (manifests included) and objects.
    qint64 fetchedBytes() const { return m_fetchedBytes; }
    int fetchedObjects() const { return m_fetchedObjects; }

signals:
    // The end of each poll, whatever came of it.
    void polled();

private:
    struct Pending {
        OriginManifest manifest;
        QByteArray bytes; // the signed manifest
        QString digest;   // of bytes
        QString fingerprint;
        qsizetype next = 0; // the first file whose object may be missing
    };
    using Done = std::function<void(const QString& failure)>;

    void fetch(const QString& relative, qint64 largest, QIODevice* into, const Done& done);
    void pollManifest();
    void pollChanges();
    void reached(const QString& failure);
    void handleManifest(const QByteArray& bytes);
    void fetchObjects();
    void checkObject(const OriginManifest::File& file);
    void assemble();
    void pruneCache(const QString& taken);
    void refuse(const QString& reason);
    void endPoll(const QString& failure = QString());
    QString objectPath(const QString& sha256) const;

    Options m_options;
    VersionStore& m_store;
    VersionIntake& m_intake;
    QString m_folder; // a folder origin, or empty
    QUrl m_base;      // a web origin, ending with "/"
    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QTimer* m_timer;
    bool m_polling = false;
    QByteArray m_etag, m_newEtag;
    QString m_handled; // the digest of the last manifest taken, refused or found unchanged
    QString m_lastRefusal, m_lastFailure;
    std::optional<Pending> m_pending;
    int m_failures = 0;
    int m_polls = 0;
    int m_manifestAsks = 0;
    bool m_missing = false;                      // the last fetch found no such file
    std::optional<OriginManifest> m_taken;       // the manifest of the version last taken from the origin
    QHash<QString, QSet<QString>> m_keptObjects; // the objects each kept version's folder names
    qint64 m_fetchedBytes = 0;
    int m_fetchedObjects = 0;
};
