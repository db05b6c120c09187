// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "mqtt_connection.h"

#include "mosquitto_library.h"

#include <QMetaObject>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

// Rounds of the network loop a goodbye may take before the thread ends anyway.
constexpr int kGoodbyeRounds = 5;
constexpr int kLoopMs = 200;

// The library, once setUp has found it: a handle exists only then.
const MosquittoLibrary& library() { return *mosquittoLibrary(); }

QString errorText(int code)
{
    if (code == MOSQ_ERR_ERRNO)
        return QString::fromLocal8Bit(std::strerror(errno));
    return QString::fromUtf8(library().strerror(code));
}

} // namespace

MqttConnection::MqttConnection(BrokerSettings settings, QString clientId, std::optional<Will> will, QObject* parent)
    : QObject(parent), m_settings(std::move(settings)), m_clientId(std::move(clientId)), m_will(std::move(will))
{}

MqttConnection::~MqttConnection()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    if (m_handle)
        library().destroy(m_handle);
}

void MqttConnection::setRetryDelays(int firstMs, int maxMs)
{
    m_firstRetryMs = std::max(1, firstMs);
    m_maxRetryMs = std::max(m_firstRetryMs, maxMs);
}

void MqttConnection::start()
{
    if (m_thread.joinable())
        return;
    QString problem;
    if (!setUp(problem)) {
        QMetaObject::invokeMethod(
            this, [this, problem] { emit outage(m_settings.describe() + QStringLiteral(": ") + problem); },
            Qt::QueuedConnection);
        return;
    }
    m_thread = std::thread([this] { run(); });
}

bool MqttConnection::setUp(QString& problem)
{
    QString unloadable;
    if (!mosquittoLibrary(&unloadable)) {
        problem = unloadable;
        return false;
    }
    m_handle = library().newClient(m_clientId.toUtf8().constData(), true, this);
    if (!m_handle) {
        problem = errorText(MOSQ_ERR_ERRNO);
        return false;
    }
    library().threadedSet(m_handle, true);
    library().connectCallbackSet(m_handle, &MqttConnection::onConnect);
    library().disconnectCallbackSet(m_handle, &MqttConnection::onDisconnect);
    library().messageCallbackSet(m_handle, &MqttConnection::onMessage);
    int code = MOSQ_ERR_SUCCESS;
    if (!m_settings.user.isEmpty())
        code = library().usernamePwSet(m_handle, m_settings.user.toUtf8().constData(),
                                       m_settings.password.toUtf8().constData());
    if (code == MOSQ_ERR_SUCCESS && !m_settings.caFile.isEmpty())
        code =
            library().tlsSet(m_handle, m_settings.caFile.toLocal8Bit().constData(), nullptr, nullptr, nullptr, nullptr);
    if (code == MOSQ_ERR_SUCCESS && m_will) {
        const QByteArray topic = m_will->topic.toUtf8();
        code = library().willSet(m_handle, topic.constData(), int(m_will->payload.size()), m_will->payload.constData(),
                                 1, m_will->retain);
    }
    if (code != MOSQ_ERR_SUCCESS) {
        problem = errorText(code);
        return false;
    }
    return true;
}

void MqttConnection::subscribe(const QString& topicFilter)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_subscriptions.contains(topicFilter))
            return;
        m_subscriptions.append(topicFilter);
    }
    if (m_connected)
        library().subscribe(m_handle, nullptr, topicFilter.toUtf8().constData(), 1);
}

bool MqttConnection::publish(const QString& topic, const QByteArray& payload, bool retain)
{
    if (!m_handle || !m_connected)
        return false;
    return library().publish(m_handle, nullptr, topic.toUtf8().constData(), int(payload.size()), payload.constData(), 1,
                             retain)
           == MOSQ_ERR_SUCCESS;
}

void MqttConnection::run()
{
    const QByteArray host = m_settings.host.toUtf8();
    int delay = m_firstRetryMs;
    bool first = true;
    while (!m_stop) {
        m_refused = false;
        int code =
            first ? library().connectAsync(m_handle, host.constData(), m_settings.port, m_settings.keepAliveSeconds)
                  : library().reconnectAsync(m_handle);
        first = false;
        if (code == MOSQ_ERR_SUCCESS) {
            while (!m_stop && (code = library().loop(m_handle, kLoopMs, 1)) == MOSQ_ERR_SUCCESS)
                if (m_connected)
                    delay = m_firstRetryMs;
        }
        if (m_stop)
            break;
        const bool wasConnected = m_connected.exchange(false);
        if (wasConnected)
            m_outageReported = false;
        if (!m_refused)
            fail(code == MOSQ_ERR_SUCCESS ? QStringLiteral("connection lost") : errorText(code));
        waitBeforeRetry(delay);
        delay = std::min(delay * 2, m_maxRetryMs);
    }
    // A goodbye, so that the broker does not publish the last will.
    if (m_connected) {
        library().disconnect(m_handle);
        for (int round = 0; round < kGoodbyeRounds && library().loop(m_handle, kLoopMs, 1) == MOSQ_ERR_SUCCESS;
             ++round) {
        }
        m_connected = false;
    }
}

void MqttConnection::fail(const QString& reason)
{
    if (m_outageReported)
        return;
    m_outageReported = true;
    const QString text = m_settings.describe() + QStringLiteral(": ") + reason;
    QMetaObject::invokeMethod(
        this, [this, text] { emit outage(text); }, Qt::QueuedConnection);
}

void MqttConnection::waitBeforeRetry(int delayMs)
{
    std::unique_lock lock(m_mutex);
    m_wake.wait_for(lock, std::chrono::milliseconds(delayMs), [this] { return m_stop.load(); });
}

void MqttConnection::onConnect(mosquitto* handle, void* self, int code)
{
    auto* connection = static_cast<MqttConnection*>(self);
    if (code != 0) {
        connection->m_refused = true;
        connection->fail(QStringLiteral("refused: ") + QString::fromUtf8(library().connackString(code)));
        return;
    }
    QStringList subscriptions;
    {
        const std::lock_guard lock(connection->m_mutex);
        subscriptions = connection->m_subscriptions;
    }
    for (const QString& filter : subscriptions)
        library().subscribe(handle, nullptr, filter.toUtf8().constData(), 1);
    connection->m_connected = true;
    connection->m_outageReported = false;
    QMetaObject::invokeMethod(
        connection, [connection] { emit connection->connected(); }, Qt::QueuedConnection);
}

void MqttConnection::onDisconnect(mosquitto*, void* self, int)
{
    static_cast<MqttConnection*>(self)->m_connected = false;
}

void MqttConnection::onMessage(mosquitto*, void* self, const mosquitto_message* message)
{
    auto* connection = static_cast<MqttConnection*>(self);
    const QString topic = QString::fromUtf8(message->topic);
    const QByteArray payload(static_cast<const char*>(message->payload), message->payloadlen);
    QMetaObject::invokeMethod(
        connection, [connection, topic, payload] { emit connection->message(topic, payload); }, Qt::QueuedConnection);
}
