// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/page_schedule.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

QDateTime clock(const QDate& date, const QTime& time) { return QDateTime(date, time, Qt::UTC); }

// A date (yyyy-MM-dd) and an optional time of day; invalid when either is wrong.
QDateTime clockOf(const QString& date, const QString& time, bool endOfDay)
{
    const QDate day = QDate::fromString(date, QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid())
        return {};
    if (time.isEmpty())
        return endOfDay ? clock(day.addDays(1), QTime(0, 0)) : clock(day, QTime(0, 0));
    const QTime at = QTime::fromString(time, QStringLiteral("H:mm"));
    return at.isValid() ? clock(day, at) : QDateTime();
}

QString clockText(const QDateTime& clock) { return clock.toString(QStringLiteral("yyyy-MM-ddTHH:mm")); }

} // namespace

bool PageSchedule::isShowLine(const QString& line, QString* arguments)
{
    if (!line.startsWith(u'#'))
        return false;
    qsizetype blank = line.indexOf(u' ');
    if (blank < 0)
        blank = line.size();
    if (line.mid(1, blank - 1).toLower() != QLatin1String("show"))
        return false;
    if (arguments)
        *arguments = line.mid(blank + 1).trimmed();
    return true;
}

bool PageSchedule::addLine(const QString& arguments, PageSchedule& schedule, QString& error)
{
    static const QRegularExpression range(QStringLiteral(R"(^(?:from\s+(\S+)(?:\s+(\d{1,2}:\d{2}))?)?\s*)"
                                                         R"((?:until\s+(\S+)(?:\s+(\d{1,2}:\d{2}))?)?$)"),
                                          QRegularExpression::CaseInsensitiveOption);
    PageSchedule result = schedule;
    const QString text = arguments.trimmed();
    const QRegularExpressionMatch match = range.match(text);
    if (text.isEmpty()) {
        error = QStringLiteral("no date or time given");
        return false;
    }
    static const QRegularExpression dated(QStringLiteral(R"(^(from|until)(\s|$))"),
                                          QRegularExpression::CaseInsensitiveOption);
    if (dated.match(text).hasMatch()) {
        if (!match.hasMatch()) {
            error = u'"' + text + QStringLiteral("\" is not of the form from 2026-12-01 10:00 until 2026-12-24 18:00");
            return false;
        }
        for (const int part : {1, 3}) {
            if (!match.hasCaptured(part))
                continue;
            const QDateTime moment = clockOf(match.captured(part), match.captured(part + 1), part == 3);
            if (!moment.isValid()) {
                const QString written = (match.captured(part) + u' ' + match.captured(part + 1)).trimmed();
                error = u'"' + written + QStringLiteral("\" is no date and time of the form 2026-12-24 18:00");
                return false;
            }
            std::optional<QDateTime>& end = part == 1 ? result.m_from : result.m_until;
            end = !end ? moment : part == 1 ? std::max(*end, moment) : std::min(*end, moment);
        }
        if (result.m_from && result.m_until && *result.m_until <= *result.m_from) {
            error = QStringLiteral("it ends at ") + clockText(*result.m_until).replace(u'T', u' ')
                    + QStringLiteral(", not after it starts at ") + clockText(*result.m_from).replace(u'T', u' ');
            return false;
        }
    } else {
        OpeningHours hours;
        if (!OpeningHours::parse(text, hours, error, QString()))
            return false;
        if (hours.alwaysOpen()) {
            error = QStringLiteral("no date or time given");
            return false;
        }
        result.m_hours.add(hours);
    }
    result.m_text.append(text);
    schedule = result;
    return true;
}

PageSchedule PageSchedule::ofLines(const QStringList& lines, QList<LineError>* errors)
{
    PageSchedule schedule;
    bool wrong = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QString arguments;
        if (!isShowLine(lines.at(i), &arguments))
            continue;
        QString error;
        if (!addLine(arguments, schedule, error)) {
            wrong = true;
            if (errors)
                errors->append(LineError{int(i + 1), error});
        }
    }
    return wrong ? PageSchedule() : schedule;
}

QDateTime PageSchedule::clockTime(const QDateTime& when)
{
    const QDateTime local = when.toLocalTime();
    return clock(local.date(), QTime(local.time().hour(), local.time().minute()));
}

QDateTime PageSchedule::parseMoment(const QString& text)
{
    static const QRegularExpression form(QStringLiteral(R"(^\s*(\d{4}-\d{2}-\d{2})(?:[T\s]+(\d{1,2}:\d{2}))?\s*$)"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return {};
    const QDateTime at = clockOf(match.captured(1), match.captured(2), false);
    return at.isValid() ? QDateTime(at.date(), at.time()) : QDateTime();
}

bool PageSchedule::onShowAtClock(const QDateTime& clock) const
{
    if ((m_from && clock < *m_from) || (m_until && clock >= *m_until))
        return false;
    return m_hours.isOpen(clock);
}

bool PageSchedule::isOnShowAt(const QDateTime& when) const { return always() || onShowAtClock(clockTime(when)); }

bool PageSchedule::isOverAt(const QDateTime& when) const { return m_until && clockTime(when) >= *m_until; }

bool PageSchedule::everOnShow() const
{
    if (always())
        return true;
    // On show at all means on show at a "from" or at an opening in the week after it.
    const QDateTime start = m_from ? *m_from : m_until ? m_until->addDays(-8) : clock(QDate(2026, 1, 5), QTime(0, 0));
    if (onShowAtClock(start))
        return true;
    for (int day = 0; day <= 7; ++day)
        for (const OpeningHours::Span& span : m_hours.spans())
            if (onShowAtClock(clock(start.date().addDays(day), span.opens)))
                return true;
    return false;
}

std::optional<QDateTime> PageSchedule::firstStrandedMoment(const PageSchedule& page, const QList<PageSchedule>& targets,
                                                           const QDateTime& from)
{
    if (targets.isEmpty())
        return std::nullopt;
    for (const PageSchedule& target : targets)
        if (target.always())
            return std::nullopt;
    // Such a moment starts where a target goes off show or the page comes on
    // show; the week repeats after every "from" and "until".
    const QDateTime start = clockTime(from);
    QList<QDateTime> anchors{start};
    QList<QTime> times;
    QList<PageSchedule> all = targets;
    all.append(page);
    for (const PageSchedule& schedule : all) {
        for (const auto& end : {schedule.m_from, schedule.m_until})
            if (end)
                anchors.append(*end);
        for (const OpeningHours::Span& span : schedule.m_hours.spans())
            times << span.opens << span.closes;
    }
    QList<QDateTime> moments = anchors;
    for (const QDateTime& anchor : anchors)
        for (int day = 0; day <= 7; ++day)
            for (const QTime& time : times)
                moments.append(clock(anchor.date().addDays(day), time));
    std::sort(moments.begin(), moments.end());
    for (const QDateTime& moment : moments) {
        if (moment < start || !page.onShowAtClock(moment))
            continue;
        if (std::none_of(targets.begin(), targets.end(),
                         [&](const PageSchedule& target) { return target.onShowAtClock(moment); }))
            return moment;
    }
    return std::nullopt;
}

PageSchedule PageSchedule::fromAttribute(const QString& attribute)
{
    PageSchedule schedule;
    for (const QString& part : attribute.split(u' ', Qt::SkipEmptyParts)) {
        const QString value = part.section(u':', 1);
        if (part.startsWith(QLatin1String("from:")) || part.startsWith(QLatin1String("until:"))) {
            const QDateTime moment = clockOf(value.left(10), value.mid(11), false);
            if (moment.isValid())
                (part.startsWith(u'f') ? schedule.m_from : schedule.m_until) = moment;
        } else if (part.startsWith(QLatin1String("week:"))) {
            const QStringList week = value.split(u'/');
            OpeningHours::Span span;
            bool number = false;
            span.days = week.value(0).toInt(&number) & 0x7f;
            span.opens = QTime::fromString(week.value(1), QStringLiteral("HH:mm"));
            span.closes = QTime::fromString(week.value(2), QStringLiteral("HH:mm"));
            if (number && span.days && span.opens.isValid() && span.closes.isValid())
                schedule.m_hours.add(span);
        }
    }
    if (!schedule.always())
        schedule.m_text.append(attribute);
    return schedule;
}

PageSchedule PageSchedule::ofMadePage(const QByteArray& mainFile)
{
    static const QRegularExpression meta(QStringLiteral(R"re(<meta name="kiosk-show" content="([^"]*)">)re"));
    const QRegularExpressionMatch match = meta.match(QString::fromLatin1(mainFile));
    return match.hasMatch() ? fromAttribute(match.captured(1)) : PageSchedule();
}

QString PageSchedule::toAttribute() const
{
    if (always())
        return QString();
    QStringList parts;
    if (m_from)
        parts.append(QStringLiteral("from:") + clockText(*m_from));
    if (m_until)
        parts.append(QStringLiteral("until:") + clockText(*m_until));
    for (const OpeningHours::Span& span : m_hours.spans())
        parts.append(QStringLiteral("week:") + QString::number(span.days) + u'/'
                     + span.opens.toString(QStringLiteral("HH:mm")) + u'/'
                     + span.closes.toString(QStringLiteral("HH:mm")));
    return parts.join(u' ');
}
