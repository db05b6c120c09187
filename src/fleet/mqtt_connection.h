// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "broker_settings.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

struct mosquitto;

// A connection to an MQTT broker (libmosquitto) that keeps itself up: its
// network runs on a thread of its own, and what arrives (a connection, an
// outage, a message) is delivered as signals on the thread that made the
// object. A broker that is down, unreachable or refuses the login is tried
// again after a pause doubling from firstRetryMs up to maxRetryMs; an outage
// is reported once (outage) until the connection is up again. The
// subscriptions are renewed on every connection. TLS when the settings name
// a CA file; user and password when they name a user. The last will is set
// before every connection: the broker publishes it when the connection is
// lost without a goodbye (a killed process, a cable pulled) within 1.5 times
// the keep-alive.
class MqttConnection : public QObject {
    Q_OBJECT

public:
    struct Will {
        QString topic;
        QByteArray payload;
        bool retain = true;
    };

    // clientId must be unique on the broker: a second client with the same
    // id pushes the first one off.
    MqttConnection(BrokerSettings settings, QString clientId, std::optional<Will> will = std::nullopt,
                   QObject* parent = nullptr);
    // Says goodbye to the broker (so that no will is published) and ends the
    // network thread within about a second.
    ~MqttConnection() override;

    void setRetryDelays(int firstMs, int maxMs);
    // Starts connecting; returns at once.
    void start();
    void subscribe(const QString& topicFilter);
    // Sends at QoS 1; false when not connected now (the message is dropped).
    bool publish(const QString& topic, const QByteArray& payload, bool retain = false);
    bool isConnected() const { return m_connected; }
    const BrokerSettings& settings() const { return m_settings; }

signals:
    void connected();
    // The first failure of an outage: "broker.example:1883: connection refused".
    void outage(const QString& reason);
    void message(const QString& topic, const QByteArray& payload);

private:
    void run();
    bool setUp(QString& problem);
    void fail(const QString& reason);
    void waitBeforeRetry(int delayMs);
    static void onConnect(mosquitto* handle, void* self, int code);
    static void onDisconnect(mosquitto* handle, void* self, int code);
    static void onMessage(mosquitto* handle, void* self, const struct mosquitto_message* message);

    BrokerSettings m_settings;
    QString m_clientId;
    std::optional<Will> m_will;
    mosquitto* m_handle = nullptr;
    std::thread m_thread;
    std::mutex m_mutex; // guards m_subscriptions and the retry wait
    std::condition_variable m_wake;
    QStringList m_subscriptions;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_refused{false}; // the broker answered the connection with a refusal
    bool m_outageReported = false;      // network thread only
    int m_firstRetryMs = 1000;
    int m_maxRetryMs = 30000;
};
