// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileio/atomic_file.h"
#include "origin_manifest.h"

#include <QString>
#include <optional>

class PublishKey;

// Writes made kiosk systems to an origin folder, the folder any static web
// server serves to the kiosks (or rsync or Syncthing carries to them):
//   objects/<sha256>   the content of each file, named by its SHA-256
//   versions/<N>.json  the signed manifest of each version kept
//   versions/<N>.changes.json  what version N changed against N - 1, with
//                      its manifest's signature (OriginManifest::changesFile)
//   manifest.json      the signed manifest of the latest version
// Objects already there are not written again, so publishing a change of one
// page adds only that page's files. Every file is replaced atomically, the
// manifest last: a reader sees the old version or the new one whole.
class OriginWriter {
public:
    static constexpr int kDefaultKeep = 5;

    explicit OriginWriter(QString origin, const fileio::FailureHook* faults = nullptr);

    // The manifest in the origin now, verified with the key it names;
    // nothing when there is none. Throws RuntimeError (PathFileAccess)
    // naming manifest.json when it cannot be read or is refused.
    std::optional<OriginManifest::Verified> current() const;

    struct Result {
        int version = 0;
        int newObjects = 0;
        qint64 newBytes = 0;
        int removedVersions = 0;
        int removedObjects = 0;
    };
    // Publishes the files of kioskFolder (VersionFiles::list) as the version
    // after the origin's latest, with the note and the check's counts of
    // manifest, signed with key; then keeps the newest `keep` versions and
    // removes the objects that none of them names. Throws RuntimeError
    // naming the file when reading or writing fails; the manifest then stays
    // as it was. A manifest in the origin signed with another key is refused
    // (every kiosk pinning that key would refuse this version), and so are
    // an origin inside kioskFolder and a second publish to the same origin
    // while one runs.
    Result publish(const QString& kioskFolder, OriginManifest manifest, const PublishKey& key, int keep = kDefaultKeep);

    QString manifestPath() const;
    QString changesPath(int version) const;
    QString objectPath(const QString& sha256) const;

private:
    // The numbers of versions/<N>.json, the highest first.
    QList<int> versionNumbers() const;
    void prune(int keep, const QByteArray& publicKey, Result& result) const;

    QString m_origin;
    const fileio::FailureHook* m_faults;
};
