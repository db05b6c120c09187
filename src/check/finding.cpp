// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/finding.h"

#include <QMap>
#include <algorithm>

QString Finding::toLine() const
{
    return pageSource + u':' + QString::number(line) + QStringLiteral(": ") + kind + QStringLiteral(": ") + text;
}

namespace {

QString escaped(const QString& field)
{
    QString text;
    text.reserve(field.size());
    for (const QChar c : field) {
        switch (c.unicode()) {
        case u'\\':
            text += QStringLiteral("\\\\");
            break;
        case u'\t':
            text += QStringLiteral("\\t");
            break;
        case u'\r':
            text += QStringLiteral("\\r");
            break;
        case u'\n':
            text += QStringLiteral("\\n");
            break;
        default:
            // NUL and the other control characters would break the line for
            // a reader that takes text, or ends a string at NUL.
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                text += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'));
            else
                text += c;
        }
    }
    return text;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

std::optional<QString> unescaped(QStringView field)
{
    QString text;
    text.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != u'\\') {
            text += field[i];
            continue;
        }
        if (++i == field.size())
            return std::nullopt;
        switch (field[i].unicode()) {
        case u'\\':
            text += u'\\';
            break;
        case u't':
            text += u'\t';
            break;
        case u'r':
            text += u'\r';
            break;
        case u'n':
            text += u'\n';
            break;
        case u'x': {
            const int high = i + 1 < field.size() ? hexDigit(field[i + 1]) : -1;
            const int low = i + 2 < field.size() ? hexDigit(field[i + 2]) : -1;
            if (high < 0 || low < 0)
                return std::nullopt;
            text += QChar(char16_t(high * 16 + low));
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return text;
}

} // namespace

QString Finding::toRecord() const
{
    return escaped(pageSource) + u'\t' + QString::number(line) + u'\t' + escaped(kind) + u'\t' + escaped(text);
}

std::optional<Finding> Finding::fromRecord(QStringView record)
{
    const QList<QStringView> fields = record.split(u'\t');
    if (fields.size() != 4)
        return std::nullopt;
    bool number = false;
    const int line = fields[1].toInt(&number);
    const std::optional<QString> pageSource = unescaped(fields[0]);
    const std::optional<QString> kind = unescaped(fields[2]);
    const std::optional<QString> text = unescaped(fields[3]);
    if (!number || line < 0 || !pageSource || !kind || kind->isEmpty() || !text)
        return std::nullopt;
    return Finding{*pageSource, line, *kind, *text};
}

QString FindingKind::of(Problem::Kind kind)
{
    switch (kind) {
    case Problem::Kind::MissingPage:
        return DeadEnd;
    case Problem::Kind::MissingPicture:
    case Problem::Kind::NotJpeg:
    case Problem::Kind::PictureSize:
        return Picture;
    case Problem::Kind::InvalidTime:
        return InvalidTime;
    case Problem::Kind::FaultyLine:
    case Problem::Kind::PictureFile:
    case Problem::Kind::PictureCopy:
    case Problem::Kind::RefusedPage:
    case Problem::Kind::BadName:
    case Problem::Kind::KioskFolder:
        break;
    }
    return FaultyLine;
}

QList<QString> FindingKind::all()
{
    return {DeadEnd,     Stranded,       FaultyLine,      InvalidTime, Picture, OutOfDate,         Over,
            NeverOnShow, Unreachable,    MayNotFit,       Unreadable,  BadName, NoTextAlternative, LowContrast,
            OutOfReach,  CutOffEnlarged, SmallTouchTarget};
}

void sortFindings(QList<Finding>& findings)
{
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
        if (a.pageSource != b.pageSource)
            return a.pageSource < b.pageSource;
        return a.line < b.line;
    });
}

QString countLine(int pagesChecked, const QList<Finding>& findings)
{
    QString line = QStringLiteral("Checked %1 page%2: ").arg(pagesChecked).arg(pagesChecked == 1 ? "" : "s");
    if (findings.isEmpty())
        return line + QStringLiteral("no findings");
    QMap<QString, int> byKind;
    for (const Finding& finding : findings)
        ++byKind[finding.kind];
    QStringList parts;
    for (const QString& kind : FindingKind::all())
        if (byKind.value(kind) > 0)
            parts.append(QString::number(byKind.value(kind)) + u' ' + kind);
    return line + QString::number(findings.size())
           + (findings.size() == 1 ? QStringLiteral(" finding (") : QStringLiteral(" findings ("))
           + parts.join(QStringLiteral(", ")) + u')';
}
