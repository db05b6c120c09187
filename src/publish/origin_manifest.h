// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

class PublishKey;

// The manifest of one published version of a kiosk system: what a kiosk
// fetches first and trusts only when the pinned key signed it.
//
// The signed file (manifest.json, and versions/<N>.json) is one JSON object
//   {"key": "<base64>", "payload": "<base64>", "signature": "<base64>"}
// key: the 32-byte Ed25519 public key; signature: the 64-byte detached
// signature of the payload's bytes; payload: the manifest itself as compact
// JSON (keys in alphabetical order, as QJsonDocument writes them):
//   {"check": {"findings": {"<kind>": <count>, ...}, "pages": <pages checked>},
//    "files": [{"path": "<relative/path>", "sha256": "<64 lower-case hex>",
//               "size": <bytes>}, ... sorted by path, no path twice],
//    "format": "zel-origin", "formatVersion": 1, "note": "<author's note>",
//    "time": "<UTC, ISO 8601, e.g. 2026-12-08T12:00:00Z>", "version": <N >= 1>}
// Each file's content lies in the origin as objects/<sha256>.
struct OriginManifest {
    struct File {
        QString path; // relative, forward slashes
        qint64 size = 0;
        QString sha256; // lower-case hex
        bool operator==(const File&) const = default;
    };

    static constexpr const char* kFormat = "zel-origin";
    static constexpr int kFormatVersion = 1;
    // A signed manifest larger than this is refused unread.
    static constexpr qint64 kLargestFile = 64 * 1024 * 1024;

    int version = 0;
    QDateTime time; // UTC, whole seconds
    QString note;
    int checkedPages = 0;
    QMap<QString, int> findings; // the check's count of each kind found
    QList<File> files;           // sorted by path

    // The canonical JSON bytes that are signed.
    QByteArray payload() const;
    // The signed file: the payload with key's signature and public key.
    QByteArray signedFile(const PublishKey& key) const;

    // The change file of the version signedFile holds against the version
    // before it, `from` (versions/<N>.changes.json):
    //   {"changed": [<file entries as in "files">, ...], "format": "zel-origin-changes",
    //    "formatVersion": 1, "from": <from's version>, "key": "<base64>",
    //    "manifest": {<the payload's members but "files">}, "removed": ["<path>", ...],
    //    "signature": "<base64>"}
    // It carries the signature of the whole manifest, so a kiosk that holds
    // version `from` rebuilds the signed file from it (signedFileFromChanges)
    // and verifies it as any, fetching a few entries instead of every file's.
    static QByteArray changesFile(const OriginManifest& from, const QByteArray& signedFile);
    // The signed file that changes make of base: byte for byte the one they
    // were written from, to be verified as any (verify); empty when changes
    // is not a change file from base's version (or is over kLargestFile).
    static QByteArray signedFileFromChanges(const QByteArray& changes, const OriginManifest& base);
    static constexpr const char* kChangesFormat = "zel-origin-changes";

    // What a signed file holds, or why it was refused (refusal empty when not).
    struct Verified;
    // Verifies a signed file. pinnedKey: the 32 bytes of the key it must be
    // signed with; empty takes the key the file names (the origin's own
    // reading of what it wrote). Refuses a file over kLargestFile, one that is
    // not such JSON, another key, a bad signature, another format, and a
    // version below 1, a file path pathProblem refuses, a bad size or hash,
    // files out of order or named twice.
    static Verified verify(const QByteArray& bytes, const QByteArray& pinnedKey);
};

struct OriginManifest::Verified {
    OriginManifest manifest;
    QByteArray key;     // the public key it was signed with
    QByteArray payload; // the signed bytes (the manifest's JSON)
    QString refusal;
    bool ok() const { return refusal.isEmpty(); }
};
