// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kiosk_settings.h"

#include "fleet/kiosk_health.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class KioskPlayer;
class MqttConnection;
class QTimer;

// Tells the world how the kiosk is: its health (KioskHealth) at the start,
// a second after anything in it changes, and every minute, written whole to
// health.json in the state folder (read by zel-kiosk --status), to the
// settings' healthFile as a Prometheus textfile, and, when a broker is set,
// published retained on <prefix>/<name>/status with the last will "offline".
// The command topic takes "screenshot" (the first screen as a JPEG at most
// 800 pixels wide, published on <prefix>/<name>/screenshot) and "root"
// (every screen back to its root page). The broker is best effort: one that
// is down, unreachable or refuses the login is logged once per outage and
// tried again, and the kiosk goes on showing its pages. The restarts of
// the last 24 h go on from the last report of the run before.
class HealthReporter : public QObject {
    Q_OBJECT

public:
    // The player must outlive the reporter.
    HealthReporter(KioskPlayer& player, KioskSettings settings, QObject* parent = nullptr);
    // A kiosk ending on purpose says "offline" itself (no will is sent then).
    ~HealthReporter() override;

    void start();
    KioskHealth health() const;
    // Reports now: the state folder's file, the textfile, the broker.
    void report();
    // The broker's connection; nullptr without a broker.
    MqttConnection* connection() const { return m_connection; }
    // A JPEG of the first screen, at most maxWidth pixels wide.
    QByteArray screenshot(int maxWidth = 800) const;

    // The state folder's health.json.
    static QString statusPath();

private:
    void changed();
    void onCommand(const QString& topic, const QByteArray& payload);
    void writeFiles(const KioskHealth& health, const QByteArray& json);

    KioskPlayer& m_player;
    KioskSettings m_settings;
    QString m_name;
    MqttConnection* m_connection = nullptr;
    QTimer* m_minute;
    QTimer* m_soon; // a change is reported a second later, several changes once
    QList<KioskHealth::Restart> m_restarts;
    QString m_lastPage;
    QDateTime m_lastPageTime;
    bool m_wasOpen = true;
    QString m_wasWaiting;
};
