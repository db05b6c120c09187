// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "gate_record.h"

#include "fileio/atomic_file.h"
#include "fileio/regular_file.h"

#include <QFile>

// One line per entry, its fields between tabs, a backslash, tab, CR or LF
// inside a field written as \\, \t, \r or \n:
//   zel-gate 1
//   global HASH
//   page PATH            then the page's lines:
//   input KEY VALUE
//   finding PAGE_SOURCE LINE KIND TEXT
//   made PATH VALUE      then the made page's lines:
//   named PATH VALUE REASON
//   file PATH STAMP VALUE
namespace {

const QString kFirstLine = QStringLiteral("zel-gate 1");
// A record this large belongs to no kiosk system.
constexpr std::size_t kLargestRecord = 512 * 1024 * 1024;

const QString kMark = QStringLiteral("\x01");

QString escaped(QString field)
{
    if (field.contains(u'\\'))
        field.replace(u'\\', QStringLiteral("\\\\"));
    field.replace(u'\t', QStringLiteral("\\t"));
    field.replace(u'\r', QStringLiteral("\\r"));
    field.replace(u'\n', QStringLiteral("\\n"));
    return field;
}

std::optional<QString> unescaped(QStringView field)
{
    if (!field.contains(u'\\'))
        return field.toString();
    QString text;
    text.reserve(field.size());
    for (qsizetype index = 0; index < field.size(); ++index) {
        const QChar c = field[index];
        if (c != u'\\') {
            text += c;
            continue;
        }
        if (++index == field.size())
            return std::nullopt;
        switch (field[index].unicode()) {
        case '\\':
            text += u'\\';
            break;
        case 't':
            text += u'\t';
            break;
        case 'r':
            text += u'\r';
            break;
        case 'n':
            text += u'\n';
            break;
        default:
            return std::nullopt;
        }
    }
    return text;
}

void line(QString& text, const QStringList& fields)
{
    for (qsizetype index = 0; index < fields.size(); ++index) {
        if (index > 0)
            text += u'\t';
        text += index == 0 ? fields[index] : escaped(fields[index]);
    }
    text += u'\n';
}

} // namespace

QString GateRecord::marked(QString text, const QString& folder) { return text.replace(folder + u'/', kMark); }

QString GateRecord::unmarked(QString text, const QString& folder) { return text.replace(kMark, folder + u'/'); }

void GateRecord::write(const QString& folder) const
{
    QString text = kFirstLine + u'\n';
    line(text, {QStringLiteral("global"), global});
    for (auto page = pages.cbegin(); page != pages.cend(); ++page) {
        line(text, {QStringLiteral("page"), page.key()});
        for (auto input = page->inputs.cbegin(); input != page->inputs.cend(); ++input)
            line(text, {QStringLiteral("input"), input.key(), input.value()});
        for (const Finding& finding : page->findings)
            line(text, {QStringLiteral("finding"), finding.pageSource, QString::number(finding.line), finding.kind,
                        finding.text});
    }
    for (auto page = madePages.cbegin(); page != madePages.cend(); ++page) {
        line(text, {QStringLiteral("made"), page.key(), page->value});
        for (const Named& file : page->named)
            line(text, {QStringLiteral("named"), file.path, file.value, file.reason});
    }
    for (auto file = files.cbegin(); file != files.cend(); ++file)
        line(text, {QStringLiteral("file"), file.key(), file->stamp, file->value});
    const QByteArray bytes = text.toUtf8();
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
    const QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    GateRecord record;
    Page* page = nullptr;
    MadePage* made = nullptr;
    bool first = true;
    for (const QStringView row : QStringView(text).split(u'\n', Qt::SkipEmptyParts)) {
        if (std::exchange(first, false)) {
            if (row != kFirstLine)
                return std::nullopt;
            continue;
        }
        const QList<QStringView> parts = row.split(u'\t');
        QStringList fields;
        for (qsizetype index = 1; index < parts.size(); ++index) {
            const std::optional<QString> field = unescaped(parts[index]);
            if (!field)
                return std::nullopt;
            fields.append(*field);
        }
        const QStringView kind = parts.front();
        if (kind == u"global" && fields.size() == 1) {
            record.global = fields[0];
        } else if (kind == u"page" && fields.size() == 1) {
            page = &record.pages[fields[0]];
        } else if (kind == u"input" && fields.size() == 2 && page) {
            page->inputs.insert(fields[0], fields[1]);
        } else if (kind == u"finding" && fields.size() == 4 && page) {
            page->findings.append(Finding{fields[0], fields[1].toInt(), fields[2], fields[3]});
        } else if (kind == u"made" && fields.size() == 2) {
            made = &record.madePages[fields[0]];
            made->value = fields[1];
        } else if (kind == u"named" && fields.size() == 3 && made) {
            made->named.append(Named{fields[0], fields[1], fields[2]});
        } else if (kind == u"file" && fields.size() == 3) {
            record.files.insert(fields[0], Stamped{fields[1], fields[2]});
        } else {
            return std::nullopt;
        }
    }
    if (record.global.isEmpty())
        return std::nullopt;
    return record;
}
