// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/opening_hours.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// When a page is on show, from the #show lines of its page source:
//     #show from 2026-12-01 10:00         on show from then on (a date alone: from its start)
//     #show until 2026-12-24 18:00        off show from then on (a date alone: after that day)
//     #show from 2026-12-01 until 2026-12-24
//     #show Mon-Fri 11:30-14:00; Sat 10:00-14:00   days and times of day, as opening hours
// A page is on show when it is past every "from", before every "until" and,
// with days and times, inside one of them. Times are the kiosk's local time,
// compared as the clock shows them (date and time of day), so that the
// kiosk's pages, the check and the kiosk judge a moment alike. A page without
// #show lines, or with a line that is wrong, is always on show.
class PageSchedule {
public:
    // A #show line that cannot be read: its 1-based line number and why.
    struct LineError {
        int line = 0;
        QString message;
    };

    // Always on show.
    PageSchedule() = default;

    // The schedule of a page source's lines (the page-type line first);
    // errors receives each wrong #show line, and then the schedule is always.
    static PageSchedule ofLines(const QStringList& lines, QList<LineError>* errors = nullptr);
    // The arguments of one #show line added to schedule; false with error set
    // when they are wrong (schedule unchanged).
    static bool addLine(const QString& arguments, PageSchedule& schedule, QString& error);
    // True for a page source line that is a #show line (name in any case).
    static bool isShowLine(const QString& line, QString* arguments = nullptr);

    bool always() const { return !m_from && !m_until && m_hours.alwaysOpen(); }
    // The clock time from which it is off show for good, if any.
    const std::optional<QDateTime>& until() const { return m_until; }
    bool isOnShowAt(const QDateTime& when) const;
    // Past its last "until" at when.
    bool isOverAt(const QDateTime& when) const;
    // On show at some moment at all.
    bool everOnShow() const;
    // The first moment from "from" on at which the page is on show and each
    // target (the pages its buttons and items lead to) is off show; none
    // when there is none or no target. A clock time in local time.
    static std::optional<QDateTime> firstStrandedMoment(const PageSchedule& page, const QList<PageSchedule>& targets,
                                                        const QDateTime& from);

    // The #show lines' arguments as written, joined by "; " (the overview).
    QString text() const { return m_text.join(QStringLiteral("; ")); }
    // The form the kiosk pages' script reads (a data-show attribute), ""
    // when always: "from:2026-12-01T10:00 until:2026-12-25T00:00
    // week:31/11:30/14:00", a week entry naming its days as bits (1 Monday
    // ... 64 Sunday), and the times at which it opens and closes.
    QString toAttribute() const;
    // What toAttribute wrote (a made page's "kiosk-show" meta element); parts
    // it cannot read are left out.
    static PageSchedule fromAttribute(const QString& attribute);
    // The schedule a made page's main file carries (always when none).
    static PageSchedule ofMadePage(const QByteArray& mainFile);

    // The clock time a moment shows in local time, as a moment in UTC for
    // plain arithmetic (no summer time in between).
    static QDateTime clockTime(const QDateTime& when);
    // "2026-12-24 15:00" (also "2026-12-24T15:00", a date alone at 00:00) in
    // local time; invalid when it is none.
    static QDateTime parseMoment(const QString& text);

private:
    bool onShowAtClock(const QDateTime& clock) const;

    std::optional<QDateTime> m_from; // clock times
    std::optional<QDateTime> m_until;
    OpeningHours m_hours;
    QStringList m_text;
};
