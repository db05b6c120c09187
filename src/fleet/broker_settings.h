// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QSettings;

// Where the kiosks report their health: an MQTT broker and the topics under
// its prefix. A kiosk publishes to <prefix>/<kiosk name>/status (retained:
// its status as JSON, or "offline" as its last will), listens on
// <prefix>/<kiosk name>/command and answers a screenshot on
// <prefix>/<kiosk name>/screenshot.
struct BrokerSettings {
    QString host; // empty: no broker, no health reports
    int port = 1883;
    QString prefix = QStringLiteral("zel");
    QString caFile; // set: TLS, the broker's certificate checked against it
    QString user;   // set: a login with password
    QString password;
    int keepAliveSeconds = 30;

    bool enabled() const { return !host.isEmpty(); }
    // "<prefix>/<kiosk>/<leaf>"; kiosk "+" for every kiosk.
    QString topic(const QString& kiosk, const QString& leaf) const;
    // The kiosk named by a topic under the prefix with that leaf, or empty.
    QString kioskOf(const QString& topic, const QString& leaf) const;
    // "host:port", with " (TLS)" when a CA file is set.
    QString describe() const;

    // The desktop program's broker: the keys under Fleet/ of the settings store.
    static BrokerSettings load(QSettings& settings);
    void save(QSettings& settings) const;
};
