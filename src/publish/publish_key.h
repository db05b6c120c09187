// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fileio/atomic_file.h"

#include <QByteArray>
#include <QString>

// The author's Ed25519 key pair that signs every published version. Kept in
// one file of the user's data folder (the 64 bytes of libsodium's secret key,
// which holds the public key too), mode 0600: the private key never leaves
// the author's machine. Kiosks pin the public key, given to them as base64.
class PublishKey {
public:
    // ~/.local/share/zel/publish-key (the generic data folder's "zel/publish-key").
    static QString defaultPath();

    // Reads the key file at path. Throws RuntimeError naming the path when it
    // is missing (FileNotFound), cannot be read, is not a regular file of 64
    // bytes (a link is not followed), or others than its owner may read or
    // write it (PathFileAccess); the description says how to restore it.
    static PublishKey load(const QString& path);
    // Makes a new key pair and writes it to path (mode 0600, replaced
    // atomically, a link there refused; its folder made when missing).
    // Throws RuntimeError naming the path when it cannot be written.
    static PublishKey create(const QString& path, const fileio::FailureHook* faults = nullptr);

    // The 32 bytes of the public key, and as base64.
    QByteArray publicKey() const;
    QString publicKeyText() const;
    // The detached Ed25519 signature (64 bytes) of message.
    QByteArray sign(const QByteArray& message) const;

    // Whether signature is public key's valid signature of message.
    static bool verify(const QByteArray& message, const QByteArray& signature, const QByteArray& publicKey);

private:
    explicit PublishKey(QByteArray secret) : m_secret(std::move(secret)) {}
    QByteArray m_secret;
};
