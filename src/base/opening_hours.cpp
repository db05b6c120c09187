// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/opening_hours.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// 1 (Monday) to 7, or 0 when the word is no day name.
int dayNumber(const QString& word)
{
    static const QStringList names = {QStringLiteral("mon"), QStringLiteral("tue"), QStringLiteral("wed"),
                                      QStringLiteral("thu"), QStringLiteral("fri"), QStringLiteral("sat"),
                                      QStringLiteral("sun")};
    return int(names.indexOf(word.trimmed().toLower())) + 1;
}

// The bits of a day list such as "Mon-Fri" or "Sat,Sun"; 0 when it is wrong.
int dayBits(const QString& text)
{
    int bits = 0;
    for (const QString& part : text.split(u',')) {
        const QStringList ends = part.split(u'-');
        if (ends.size() > 2)
            return 0;
        const int first = dayNumber(ends.front());
        const int last = dayNumber(ends.back());
        if (first == 0 || last == 0)
            return 0;
        // A range may wrap past Sunday: Sat-Mon.
        for (int day = first;; day = day % 7 + 1) {
            bits |= 1 << (day - 1);
            if (day == last)
                break;
        }
    }
    return bits;
}

bool dayInSet(int bits, int day) { return (bits >> (day - 1)) & 1; }

} // namespace

bool OpeningHours::parse(const QString& text, OpeningHours& hours, QString& error, const QString& what)
{
    static const QRegularExpression entryPattern(
        QStringLiteral(R"(^\s*(?:([A-Za-z,\-\s]+?)\s+)?(\d{1,2}:\d{2})\s*-\s*(\d{1,2}:\d{2})\s*$)"));
    OpeningHours result;
    for (const QString& entry : text.split(u';', Qt::SkipEmptyParts)) {
        if (entry.trimmed().isEmpty())
            continue;
        const QRegularExpressionMatch match = entryPattern.match(entry);
        Span span;
        if (match.hasMatch()) {
            span.opens = QTime::fromString(match.captured(2), QStringLiteral("H:mm"));
            span.closes = QTime::fromString(match.captured(3), QStringLiteral("H:mm"));
            if (!match.captured(1).isEmpty())
                span.days = dayBits(match.captured(1));
        }
        if (!match.hasMatch() || !span.opens.isValid() || !span.closes.isValid() || span.days == 0) {
            error = (what.isEmpty() ? QString() : what + QStringLiteral(": ")) + u'"' + entry.trimmed()
                    + QStringLiteral("\" is not of the form [Mon-Fri] 08:00-18:00");
            return false;
        }
        result.m_spans.append(span);
    }
    hours = result;
    return true;
}

bool OpeningHours::isOpen(const QDateTime& when) const
{
    if (m_spans.isEmpty())
        return true;
    const int today = when.date().dayOfWeek();
    const int yesterday = today == 1 ? 7 : today - 1;
    const QTime now = when.time();
    for (const Span& span : m_spans) {
        if (span.opens < span.closes) {
            if (dayInSet(span.days, today) && now >= span.opens && now < span.closes)
                return true;
        } else {
            // Past midnight: open from today's opening on, or still open from yesterday's.
            if (dayInSet(span.days, today) && now >= span.opens)
                return true;
            if (dayInSet(span.days, yesterday) && now < span.closes)
                return true;
        }
    }
    return false;
}
