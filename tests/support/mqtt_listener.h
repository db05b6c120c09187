// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A test's own client of a broker (header only: for the test programs that
// link the fleet library): what arrives on its subscriptions, the last
// payload of each topic kept, and messages to send.

#include "fleet/mqtt_connection.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QMap>
#include <QTimer>
#include <functional>

inline BrokerSettings localBroker(int port, const QString& user = {}, const QString& password = {})
{
    BrokerSettings broker;
    broker.host = QStringLiteral("127.0.0.1");
    broker.port = port;
    broker.prefix = QStringLiteral("test");
    broker.user = user;
    broker.password = password;
    broker.keepAliveSeconds = 5;
    return broker;
}

// Runs the event loop until condition holds (true) or timeoutMs passed (false).
inline bool waitFor(const std::function<bool()>& condition, int timeoutMs = 30000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

class MqttListener {
public:
    MqttListener(const BrokerSettings& broker, const QString& filter, const QString& id = QStringLiteral("listener"))
        : connection(broker, id)
    {
        connection.setRetryDelays(50, 500);
        QObject::connect(&connection, &MqttConnection::message, &connection,
                         [this](const QString& topic, const QByteArray& payload) {
                             last[topic] = payload;
                             ++count[topic];
                         });
        connection.subscribe(filter);
        connection.start();
    }
    bool waitConnected()
    {
        return waitFor([this] { return connection.isConnected(); });
    }
    // Waits until the topic's last payload satisfies the test.
    bool waitPayload(const QString& topic, const std::function<bool(const QByteArray&)>& test, int timeoutMs = 30000)
    {
        return waitFor([&] { return last.contains(topic) && test(last[topic]); }, timeoutMs);
    }

    MqttConnection connection;
    QMap<QString, QByteArray> last;
    QMap<QString, int> count;
};
