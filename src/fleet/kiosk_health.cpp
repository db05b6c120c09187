// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiosk_health.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonValue timeValue(const QDateTime& time)
{
    return time.isValid() ? QJsonValue(time.toUTC().toString(Qt::ISODate)) : QJsonValue();
}

QDateTime readTime(const QJsonValue& value)
{
    QDateTime time = QDateTime::fromString(value.toString(), Qt::ISODate);
    return time.isValid() ? time.toUTC() : QDateTime();
}

qint64 readNumber(const QJsonValue& value, qint64 otherwise)
{
    return value.isDouble() ? qint64(value.toDouble()) : otherwise;
}

// A label value as the exposition format wants it: \, " and line breaks escaped.
QByteArray labelValue(const QString& text)
{
    QByteArray escaped;
    for (const char c : text.toUtf8()) {
        if (c == '\\' || c == '"')
            escaped += '\\';
        escaped += c == '\n' ? QByteArray("\\n") : QByteArray(1, c);
    }
    return escaped;
}

} // namespace

int KioskHealth::pageViewsTotal() const
{
    int total = 0;
    for (const int views : pageViewsToday)
        total += views;
    return total;
}

void KioskHealth::dropOldRestarts(const QDateTime& now)
{
    const QDateTime since = now.addSecs(-24 * 3600);
    restarts.removeIf([&](const Restart& restart) { return !restart.time.isValid() || restart.time < since; });
}

QByteArray KioskHealth::toJson() const
{
    QJsonArray restartList;
    for (const Restart& restart : restarts)
        restartList.append(
            QJsonObject{{QStringLiteral("time"), timeValue(restart.time)}, {QStringLiteral("reason"), restart.reason}});
    QJsonObject views;
    for (auto page = pageViewsToday.begin(); page != pageViewsToday.end(); ++page)
        views.insert(page.key(), page.value());
    const QJsonObject object{
        {QStringLiteral("kiosk"), kiosk},
        {QStringLiteral("state"), QStringLiteral("online")},
        {QStringLiteral("versionShown"), versionShown},
        {QStringLiteral("versionAvailable"), versionAvailable},
        {QStringLiteral("lastPage"), lastPage},
        {QStringLiteral("lastPageTime"), timeValue(lastPageTime)},
        {QStringLiteral("restarts24h"), int(restarts.size())},
        {QStringLiteral("restarts"), restartList},
        {QStringLiteral("screenOn"), screenOn},
        {QStringLiteral("openingHours"), openingHours},
        {QStringLiteral("uptimeSeconds"), double(uptimeSeconds)},
        {QStringLiteral("freeDiskBytes"), double(freeDiskBytes)},
        {QStringLiteral("playerMemoryBytes"), double(playerMemoryBytes)},
        {QStringLiteral("rendererMemoryBytes"), double(rendererMemoryBytes)},
        {QStringLiteral("pageViewsToday"), pageViewsTotal()},
        {QStringLiteral("pageViews"), views},
        {QStringLiteral("scheduledOnShow"), QJsonArray::fromStringList(scheduledOnShow)},
        {QStringLiteral("reported"), timeValue(reported)},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<KioskHealth> KioskHealth::fromJson(const QByteArray& json, QString& error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (!document.isObject()) {
        error = parseError.error != QJsonParseError::NoError ? parseError.errorString()
                                                             : QStringLiteral("not a JSON object");
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    KioskHealth health;
    health.kiosk = object.value(QStringLiteral("kiosk")).toString();
    if (health.kiosk.isEmpty()) {
        error = QStringLiteral("names no kiosk");
        return std::nullopt;
    }
    health.versionShown = object.value(QStringLiteral("versionShown")).toString();
    health.versionAvailable = object.value(QStringLiteral("versionAvailable")).toString();
    health.lastPage = object.value(QStringLiteral("lastPage")).toString();
    health.lastPageTime = readTime(object.value(QStringLiteral("lastPageTime")));
    for (const QJsonValue& value : object.value(QStringLiteral("restarts")).toArray()) {
        const QJsonObject restart = value.toObject();
        health.restarts.append(
            {readTime(restart.value(QStringLiteral("time"))), restart.value(QStringLiteral("reason")).toString()});
    }
    health.screenOn = object.value(QStringLiteral("screenOn")).toBool(true);
    health.openingHours = object.value(QStringLiteral("openingHours")).toString();
    health.uptimeSeconds = readNumber(object.value(QStringLiteral("uptimeSeconds")), 0);
    health.freeDiskBytes = readNumber(object.value(QStringLiteral("freeDiskBytes")), -1);
    health.playerMemoryBytes = readNumber(object.value(QStringLiteral("playerMemoryBytes")), -1);
    health.rendererMemoryBytes = readNumber(object.value(QStringLiteral("rendererMemoryBytes")), -1);
    const QJsonObject views = object.value(QStringLiteral("pageViews")).toObject();
    for (auto page = views.begin(); page != views.end(); ++page)
        if (page.value().isDouble() && page.value().toInt() > 0)
            health.pageViewsToday.insert(page.key(), page.value().toInt());
    for (const QJsonValue& page : object.value(QStringLiteral("scheduledOnShow")).toArray())
        health.scheduledOnShow.append(page.toString());
    health.reported = readTime(object.value(QStringLiteral("reported")));
    return health;
}

QByteArray KioskHealth::prometheusText() const
{
    const QByteArray kioskLabel = "kiosk=\"" + labelValue(kiosk) + '"';
    QByteArray text;
    const auto gauge = [&](const char* name, const char* help, qint64 value, const QByteArray& labels = {}) {
        text += QByteArray("# HELP ") + name + ' ' + help + "\n# TYPE " + name + " gauge\n";
        text += QByteArray(name) + '{' + kioskLabel + labels + "} " + QByteArray::number(value) + '\n';
    };
    gauge("zel_kiosk_info", "The versions the kiosk shows and has (always 1).", 1,
          ",shown=\"" + labelValue(versionShown) + "\",available=\"" + labelValue(versionAvailable) + '"');
    gauge("zel_kiosk_uptime_seconds", "Seconds since the kiosk started.", uptimeSeconds);
    gauge("zel_kiosk_screen_on", "1 within the opening hours, 0 outside them.", screenOn ? 1 : 0);
    gauge("zel_kiosk_restarts_24h", "Pages brought back to the root page in the last 24 hours.", restarts.size());
    gauge("zel_kiosk_last_page_rendered_timestamp_seconds", "When the page script last reported a page painted.",
          lastPageTime.isValid() ? lastPageTime.toSecsSinceEpoch() : 0);
    gauge("zel_kiosk_free_disk_bytes", "Free bytes on the kiosk's state folder.", freeDiskBytes);
    gauge("zel_kiosk_player_memory_bytes", "Resident memory of the kiosk process.", playerMemoryBytes);
    gauge("zel_kiosk_renderer_memory_bytes", "Resident memory of the render processes.", rendererMemoryBytes);
    gauge("zel_kiosk_page_views_today", "Pages shown to visitors since midnight.", pageViewsTotal());
    gauge("zel_kiosk_report_timestamp_seconds", "When this report was made.",
          reported.isValid() ? reported.toSecsSinceEpoch() : 0);
    return text;
}
