// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the kiosks' reading of a signed manifest: any bytes,
// as the whole file and as the payload of a file signed with the pinned key
// (so that the checks behind the signature are reached), must end in a
// manifest or a refusal, never in a crash or a hang; a manifest accepted reads
// back the same when written again. Its seeds are payloads of real publishes.
#include "publish/origin_manifest.h"
#include "publish/publish_key.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdint>
#include <cstdlib>

namespace {

// A key of this run's own; its file is not kept.
PublishKey makeKey()
{
    const QString path =
        QDir::temp().filePath(QStringLiteral("zel-fuzz-key-%1").arg(QCoreApplication::applicationPid()));
    PublishKey key = PublishKey::create(path);
    QFile::remove(path);
    return key;
}

const PublishKey& fuzzKey()
{
    static const PublishKey key = makeKey();
    return key;
}

QString base64(const QByteArray& bytes) { return QString::fromLatin1(bytes.toBase64()); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const PublishKey& key = fuzzKey();
    if (OriginManifest::verify(bytes, key.publicKey()).ok())
        std::abort(); // nothing unsigned by the key may pass
    const QByteArray file = QJsonDocument(QJsonObject{{"key", base64(key.publicKey())},
                                                      {"payload", base64(bytes)},
                                                      {"signature", base64(key.sign(bytes))}})
                                .toJson(QJsonDocument::Compact);
    const OriginManifest::Verified verified = OriginManifest::verify(file, key.publicKey());
    if (verified.ok()) {
        const OriginManifest::Verified again =
            OriginManifest::verify(verified.manifest.signedFile(key), key.publicKey());
        if (!again.ok() || again.manifest.version != verified.manifest.version
            || again.manifest.files != verified.manifest.files || again.manifest.note != verified.manifest.note)
            std::abort();
    }
    return 0;
}
