// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "gate_record.h"

#include "fileio/atomic_file.h"
#include "fileio/regular_file.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr int kFormat = 1;
// A record this large belongs to no kiosk system.
constexpr std::size_t kLargestRecord = 256 * 1024 * 1024;

const QString kMark = QStringLiteral("\x01");

QJsonArray strings(const QStringList& list) { return QJsonArray::fromStringList(list); }

} // namespace

QString GateRecord::marked(QString text, const QString& folder) { return text.replace(folder + u'/', kMark); }

QString GateRecord::unmarked(QString text, const QString& folder) { return text.replace(kMark, folder + u'/'); }

void GateRecord::write(const QString& folder) const
{
    QJsonObject pageObjects;
    for (auto page = pages.cbegin(); page != pages.cend(); ++page) {
        QJsonObject inputs;
        for (auto input = page->inputs.cbegin(); input != page->inputs.cend(); ++input)
            inputs.insert(input.key(), input.value());
        QJsonArray findings;
        for (const Finding& finding : page->findings)
            findings.append(strings({finding.pageSource, QString::number(finding.line), finding.kind, finding.text}));
        pageObjects.insert(page.key(),
                           QJsonObject{{QStringLiteral("inputs"), inputs}, {QStringLiteral("findings"), findings}});
    }
    QJsonObject madeObjects;
    for (auto page = madePages.cbegin(); page != madePages.cend(); ++page) {
        QJsonArray named;
        for (const Named& file : page->named)
            named.append(strings({file.path, file.value, file.reason}));
        madeObjects.insert(page.key(),
                           QJsonObject{{QStringLiteral("value"), page->value}, {QStringLiteral("named"), named}});
    }
    const QJsonObject top{{QStringLiteral("format"), kFormat},
                          {QStringLiteral("global"), global},
                          {QStringLiteral("pages"), pageObjects},
                          {QStringLiteral("made"), madeObjects}};
    const QByteArray bytes = QJsonDocument(top).toJson(QJsonDocument::Compact);
    fileio::replaceFile(QFile::encodeName(folder + u'/' + fileName()).toStdString(),
                        std::string_view(bytes.constData(), bytes.size()));
}

std::optional<GateRecord> GateRecord::read(const QString& folder)
{
    std::string bytes;
    if (folder.isEmpty()
        || !fileio::readRegularFile(QFile::encodeName(folder + u'/' + fileName()).toStdString(), kLargestRecord, bytes)
                .empty())
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(bytes));
    const QJsonObject top = document.object();
    if (!document.isObject() || top.value(QStringLiteral("format")).toInt() != kFormat)
        return std::nullopt;
    GateRecord record;
    record.global = top.value(QStringLiteral("global")).toString();
    if (record.global.isEmpty())
        return std::nullopt;
    const QJsonObject pageObjects = top.value(QStringLiteral("pages")).toObject();
    for (auto page = pageObjects.begin(); page != pageObjects.end(); ++page) {
        const QJsonObject object = page.value().toObject();
        Page& entry = record.pages[page.key()];
        const QJsonObject inputs = object.value(QStringLiteral("inputs")).toObject();
        for (auto input = inputs.begin(); input != inputs.end(); ++input)
            entry.inputs.insert(input.key(), input.value().toString());
        for (const QJsonValue finding : object.value(QStringLiteral("findings")).toArray()) {
            const QJsonArray fields = finding.toArray();
            if (fields.size() != 4)
                return std::nullopt;
            entry.findings.append(Finding{fields[0].toString(), fields[1].toString().toInt(), fields[2].toString(),
                                          fields[3].toString()});
        }
    }
    const QJsonObject madeObjects = top.value(QStringLiteral("made")).toObject();
    for (auto page = madeObjects.begin(); page != madeObjects.end(); ++page) {
        const QJsonObject object = page.value().toObject();
        MadePage& entry = record.madePages[page.key()];
        entry.value = object.value(QStringLiteral("value")).toString();
        for (const QJsonValue named : object.value(QStringLiteral("named")).toArray()) {
            const QJsonArray fields = named.toArray();
            if (fields.size() != 3)
                return std::nullopt;
            entry.named.append(Named{fields[0].toString(), fields[1].toString(), fields[2].toString()});
        }
    }
    return record;
}
