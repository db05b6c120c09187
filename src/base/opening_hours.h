// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QTime>

// When the kiosk is open to visitors. Written as entries separated by ";",
// each an optional day or day range and a time span:
//     08:00-20:00                      every day
//     Mon-Fri 08:00-18:00; Sat 10:00-14:00
//     Fri,Sat 18:00-02:00              a span ending at or before its start runs past midnight
// Day names are the English three-letter ones, in any letter case. An empty
// text means always open.
class OpeningHours {
public:
    // Always open.
    OpeningHours() = default;
    // Reads the text; on a mistake returns false and sets error to a
    // sentence naming the part that is wrong, starting with what ("opening
    // hours: ...", nothing for "").
    static bool parse(const QString& text, OpeningHours& hours, QString& error,
                      const QString& what = QStringLiteral("opening hours"));

    // By the date and time of day that when carries (the kiosk's local time).
    bool isOpen(const QDateTime& when) const;
    bool alwaysOpen() const { return m_spans.isEmpty(); }

    struct Span {
        int days = 0x7f; // bit 0 Monday ... bit 6 Sunday: the days the span opens on
        QTime opens;
        QTime closes; // at or before opens: the next day
    };
    const QList<Span>& spans() const { return m_spans; }
    // The spans of both.
    void add(const OpeningHours& other) { m_spans.append(other.m_spans); }
    void add(const Span& span) { m_spans.append(span); }

private:
    QList<Span> m_spans;
};
