// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "origin_manifest.h"

#include "publish_key.h"
#include "version_files.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

namespace {

QJsonDocument compact(const QJsonObject& object) { return QJsonDocument(object); }

// A JSON number that is a whole number from 0 to 2^53.
bool isCount(const QJsonValue& value)
{
    const double number = value.toDouble(-1);
    return value.isDouble() && number >= 0 && number <= 9007199254740992.0 && std::floor(number) == number;
}

QByteArray base64(const QJsonValue& value)
{
    const auto decoded =
        QByteArray::fromBase64Encoding(value.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    return value.isString() && decoded ? *decoded : QByteArray();
}

// 64 lower-case hexadecimal digits.
bool isSha256(const QString& text)
{
    return text.size() == 64 && std::all_of(text.begin(), text.end(), [](QChar c) {
               return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
           });
}

QString fileProblem(const QJsonValue& value, OriginManifest::File& file)
{
    const QJsonObject object = value.toObject();
    const QJsonValue path = object.value(u"path"), size = object.value(u"size");
    file = {path.toString(), qint64(size.toDouble()), object.value(u"sha256").toString()};
    if (!value.isObject() || !path.isString())
        return QStringLiteral("a file without a path");
    if (const QString problem = VersionFiles::pathProblem(file.path); !problem.isEmpty())
        return QStringLiteral("the file path \"") + file.path + QStringLiteral("\" holds ") + problem;
    if (!isCount(size) || !isSha256(file.sha256))
        return QStringLiteral("no size or SHA-256 for ") + file.path;
    return QString();
}

QJsonObject fileEntry(const OriginManifest::File& file)
{
    return QJsonObject{{"path", file.path}, {"sha256", file.sha256}, {"size", file.size}};
}

// A JSON value as QJsonDocument writes it compactly.
QByteArray compactJson(const QJsonValue& value)
{
    const QByteArray list = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return list.mid(1, list.size() - 2);
}

// A file entry as QJsonDocument writes it compactly: by hand for a path of
// printable ASCII without a quote or a backslash (nearly every one), so that
// the thousands of a large version cost no JSON objects.
QByteArray entryJson(const OriginManifest::File& file)
{
    if (!std::all_of(file.path.begin(), file.path.end(),
                     [](QChar c) { return c >= u' ' && c < QChar(0x7f) && c != u'"' && c != u'\\'; }))
        return compactJson(fileEntry(file));
    return "{\"path\":\"" + file.path.toLatin1() + "\",\"sha256\":\"" + file.sha256.toLatin1()
           + "\",\"size\":" + QByteArray::number(file.size) + '}';
}

} // namespace

QByteArray OriginManifest::changesFile(const OriginManifest& from, const QByteArray& signedFile)
{
    const QJsonObject outer = QJsonDocument::fromJson(signedFile).object();
    QJsonObject payload = QJsonDocument::fromJson(base64(outer.value(u"payload"))).object();
    const QJsonArray files = payload.take(u"files").toArray();
    QMap<QString, File> before;
    for (const File& file : from.files)
        before.insert(file.path, file);
    QJsonArray changed, removed;
    for (const QJsonValue& value : files) {
        File file;
        fileProblem(value, file);
        if (before.take(file.path) != file)
            changed.append(value);
    }
    for (const QString& path : before.keys())
        removed.append(path);
    return compact(QJsonObject{{"changed", changed},
                               {"format", kChangesFormat},
                               {"formatVersion", kFormatVersion},
                               {"from", from.version},
                               {"key", outer.value(u"key")},
                               {"manifest", payload},
                               {"removed", removed},
                               {"signature", outer.value(u"signature")}})
        .toJson(QJsonDocument::Compact);
}

QByteArray OriginManifest::signedFileFromChanges(const QByteArray& changes, const OriginManifest& base)
{
    if (changes.size() > kLargestFile)
        return QByteArray();
    const QJsonObject object = QJsonDocument::fromJson(changes).object();
    if (object.value(u"format").toString() != QLatin1String(kChangesFormat)
        || object.value(u"formatVersion").toInt() != kFormatVersion || object.value(u"from").toInt() != base.version
        || base.version < 1 || !object.value(u"manifest").isObject())
        return QByteArray();
    // The payload as QJsonDocument would write it, its file list joined from the entries' texts.
    QMap<QString, QByteArray> files;
    for (const File& file : base.files)
        files.insert(file.path, entryJson(file));
    for (const QJsonValue& path : object.value(u"removed").toArray())
        files.remove(path.toString());
    for (const QJsonValue& value : object.value(u"changed").toArray())
        files.insert(value.toObject().value(u"path").toString(), compactJson(value));
    QByteArray list = "[";
    for (const QByteArray& entry : std::as_const(files))
        list += (list.size() > 1 ? "," : "") + entry;
    list += ']';
    const QString mark = QStringLiteral("\x01files\x01");
    QJsonObject manifest = object.value(u"manifest").toObject();
    manifest.insert(u"files", mark);
    QByteArray payload = compact(manifest).toJson(QJsonDocument::Compact);
    const QByteArray placeholder = "\"files\":" + compactJson(mark);
    const qsizetype at = payload.indexOf(placeholder);
    if (at < 0)
        return QByteArray();
    payload.replace(at, placeholder.size(), "\"files\":" + list);
    return compact(QJsonObject{{"key", object.value(u"key")},
                               {"payload", QString::fromLatin1(payload.toBase64())},
                               {"signature", object.value(u"signature")}})
        .toJson(QJsonDocument::Compact);
}

QByteArray OriginManifest::payload() const
{
    QJsonObject counts;
    for (auto it = findings.begin(); it != findings.end(); ++it)
        counts.insert(it.key(), it.value());
    QJsonArray list;
    for (const File& file : files)
        list.append(fileEntry(file));
    return compact(QJsonObject{{"check", QJsonObject{{"findings", counts}, {"pages", checkedPages}}},
                               {"files", list},
                               {"format", kFormat},
                               {"formatVersion", kFormatVersion},
                               {"note", note},
                               {"time", time.toUTC().toString(Qt::ISODate)},
                               {"version", version}})
        .toJson(QJsonDocument::Compact);
}

QByteArray OriginManifest::signedFile(const PublishKey& key) const
{
    const QByteArray bytes = payload();
    return compact(QJsonObject{{"key", QString::fromLatin1(key.publicKey().toBase64())},
                               {"payload", QString::fromLatin1(bytes.toBase64())},
                               {"signature", QString::fromLatin1(key.sign(bytes).toBase64())}})
        .toJson(QJsonDocument::Compact);
}

OriginManifest::Verified OriginManifest::verify(const QByteArray& bytes, const QByteArray& pinnedKey)
{
    Verified result;
    const auto refuse = [&result](const QString& reason) {
        result.refusal = reason;
        return result;
    };
    if (bytes.size() > kLargestFile)
        return refuse(QStringLiteral("the manifest is larger than %1 bytes").arg(kLargestFile));
    const QJsonObject outer = QJsonDocument::fromJson(bytes).object();
    const QByteArray payload = base64(outer.value(u"payload"));
    result.key = base64(outer.value(u"key"));
    if (payload.isEmpty() || result.key.isEmpty() || !outer.value(u"signature").isString())
        return refuse(QStringLiteral("not a signed manifest"));
    if (!pinnedKey.isEmpty() && result.key != pinnedKey)
        return refuse(QStringLiteral("signed with another key (") + QString::fromLatin1(result.key.toBase64()) + u')');
    if (!PublishKey::verify(payload, base64(outer.value(u"signature")), result.key))
        return refuse(QStringLiteral("the signature does not match the manifest"));
    result.payload = payload;

    const QJsonObject object = QJsonDocument::fromJson(payload).object();
    if (object.value(u"format").toString() != QLatin1String(kFormat)
        || object.value(u"formatVersion").toInt() != kFormatVersion)
        return refuse(QStringLiteral("not a manifest of format %1 %2").arg(kFormat).arg(kFormatVersion));
    OriginManifest& manifest = result.manifest;
    manifest.version = object.value(u"version").toInt();
    manifest.time = QDateTime::fromString(object.value(u"time").toString(), Qt::ISODate);
    manifest.note = object.value(u"note").toString();
    const QJsonObject check = object.value(u"check").toObject();
    manifest.checkedPages = check.value(u"pages").toInt();
    const QJsonObject counts = check.value(u"findings").toObject();
    for (auto it = counts.begin(); it != counts.end(); ++it)
        manifest.findings.insert(it.key(), it.value().toInt());
    if (manifest.version < 1 || !manifest.time.isValid())
        return refuse(QStringLiteral("no version number or time"));
    for (const QJsonValue& value : object.value(u"files").toArray()) {
        File file;
        if (const QString problem = fileProblem(value, file); !problem.isEmpty())
            return refuse(problem);
        if (!manifest.files.isEmpty() && !(manifest.files.last().path < file.path))
            return refuse(QStringLiteral("the files are not in order or named twice: ") + file.path);
        manifest.files.append(file);
    }
    return result;
}
