// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// The health of one kiosk as it reports it: published as one JSON object
// (retained, so that a window opened later sees it), written as a Prometheus
// textfile and printed by zel-kiosk --status --json. Times are UTC, ISO 8601;
// a number not known (no /proc, no render process) is -1.
struct KioskHealth {
    struct Restart {
        QDateTime time;
        QString reason;
        bool operator==(const Restart&) const = default;
    };

    QString kiosk;            // its name, unique under the broker's prefix
    QString versionShown;     // the version on the screens
    QString versionAvailable; // the newest version the kiosk has (waiting for the next idle return), or the shown one
    QString lastPage;         // the last page the page script reported painted, relative to the kiosk system
    QDateTime lastPageTime;
    QList<Restart> restarts; // pages brought back to the root page in the 24 h before the report
    bool screenOn = true;    // false outside the opening hours (covered black, switched off where possible)
    QString openingHours;    // as set; empty: always open
    qint64 uptimeSeconds = 0;
    qint64 freeDiskBytes = -1;         // on the kiosk's state folder
    qint64 playerMemoryBytes = -1;     // resident, the kiosk process
    qint64 rendererMemoryBytes = -1;   // resident, its render processes together
    QMap<QString, int> pageViewsToday; // page: views since midnight
    QStringList scheduledOnShow;       // the pages with #show lines on show at the report ("news\fair.htm")
    QDateTime reported;

    int pageViewsTotal() const;
    // Restarts before now - 24 h dropped.
    void dropOldRestarts(const QDateTime& now);

    QByteArray toJson() const;
    // Reads a status; nullopt with error set when the bytes are no JSON
    // object or it names no kiosk. Unknown keys are ignored, so that a
    // newer kiosk's status is read too.
    static std::optional<KioskHealth> fromJson(const QByteArray& json, QString& error);
    // The gauges for node_exporter's textfile collector, labelled with the kiosk's name.
    QByteArray prometheusText() const;

    bool operator==(const KioskHealth&) const = default;
};
