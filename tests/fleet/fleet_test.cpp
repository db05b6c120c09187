// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The health record as it travels (JSON there and back, anything else
// refused), its Prometheus text, and the broker connection against a real
// Mosquitto: retained messages, a wrong login and a broker that comes late.
#include "fleet/kiosk_health.h"
#include "support/mosquitto_broker.h"
#include "support/mqtt_listener.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

KioskHealth fullHealth()
{
    KioskHealth health;
    health.kiosk = QStringLiteral("hall \"west\"\\1");
    health.versionShown = QStringLiteral("7");
    health.versionAvailable = QStringLiteral("8");
    health.lastPage = QStringLiteral("news\\today.htm");
    health.lastPageTime = QDateTime(QDate(2026, 5, 4), QTime(8, 0, 12), Qt::UTC);
    health.restarts = {{QDateTime(QDate(2026, 5, 4), QTime(7, 0), Qt::UTC), QStringLiteral("screen 1: crashed")}};
    health.screenOn = false;
    health.openingHours = QStringLiteral("Mon-Fri 08:00-18:00");
    health.uptimeSeconds = 3600;
    health.freeDiskBytes = 5000000000;
    health.playerMemoryBytes = 100 << 20;
    health.rendererMemoryBytes = 200 << 20;
    health.pageViewsToday = {{QStringLiteral("root\\root.htm"), 3}, {QStringLiteral("news\\today.htm"), 2}};
    health.scheduledOnShow = {QStringLiteral("news\\fair.htm")};
    health.reported = QDateTime(QDate(2026, 5, 4), QTime(9, 0), Qt::UTC);
    return health;
}

TEST(KioskHealth, ReadsBackWhatItWritesAndRefusesWhatIsNoStatus)
{
    const struct {
        const char* name;
        KioskHealth health;
    } rows[] = {{"every field", fullHealth()}, {"a name only", [] {
                                                    KioskHealth health;
                                                    health.kiosk = QStringLiteral("k");
                                                    return health;
                                                }()}};
    for (const auto& row : rows) {
        QString error;
        const std::optional<KioskHealth> read = KioskHealth::fromJson(row.health.toJson(), error);
        ASSERT_TRUE(read) << row.name << ": " << error.toStdString();
        EXPECT_EQ(*read, row.health) << row.name;
    }
    const struct {
        const char* name;
        QByteArray bytes;
    } faults[] = {{"the last will", "offline"},
                  {"an array", "[1]"},
                  {"no kiosk", "{\"versionShown\":\"1\"}"},
                  {"an empty kiosk", "{\"kiosk\":\"\"}"},
                  {"a number for a kiosk", "{\"kiosk\":7}"}};
    for (const auto& fault : faults) {
        QString error;
        EXPECT_FALSE(KioskHealth::fromJson(fault.bytes, error)) << fault.name;
        EXPECT_FALSE(error.isEmpty()) << fault.name;
    }
    // Cut off anywhere, a status is refused or read, never more.
    const QByteArray json = fullHealth().toJson();
    for (qsizetype size = 0; size < json.size(); ++size) {
        QString error;
        EXPECT_FALSE(KioskHealth::fromJson(json.left(size), error)) << size;
    }
}

TEST(KioskHealth, PrometheusTextEscapesTheLabelsAndDropsRestartsOlderThanADay)
{
    KioskHealth health = fullHealth();
    const QByteArray text = health.prometheusText();
    EXPECT_TRUE(text.contains("zel_kiosk_info{kiosk=\"hall \\\"west\\\"\\\\1\",shown=\"7\",available=\"8\"} 1\n"))
        << text.constData();
    EXPECT_TRUE(text.contains("zel_kiosk_page_views_today{kiosk=\"hall \\\"west\\\"\\\\1\"} 5\n"));
    EXPECT_TRUE(text.contains("zel_kiosk_screen_on{kiosk=\"hall \\\"west\\\"\\\\1\"} 0\n"));
    EXPECT_TRUE(text.contains("# TYPE zel_kiosk_restarts_24h gauge\n"));
    health.dropOldRestarts(health.restarts.front().time.addSecs(24 * 3600));
    EXPECT_EQ(health.restarts.size(), 1);
    health.dropOldRestarts(health.restarts.front().time.addSecs(24 * 3600 + 1));
    EXPECT_TRUE(health.restarts.isEmpty());
}

TEST(BrokerSettings, NamesTheKioskOfATopicUnderItsPrefixOnly)
{
    BrokerSettings broker;
    const struct {
        const char* topic;
        const char* kiosk;
    } rows[] = {{"zel/hall/status", "hall"}, {"zel/hall/command", ""}, {"other/hall/status", ""},
                {"zel/a/b/status", ""},      {"zel//status", ""},      {"zel/status", ""},
                {"zelx/hall/status", ""}};
    for (const auto& row : rows)
        EXPECT_EQ(broker.kioskOf(QString::fromLatin1(row.topic), QStringLiteral("status")),
                  QString::fromLatin1(row.kiosk))
            << row.topic;
}

class Broker : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!MosquittoBroker::available())
            GTEST_SKIP() << "mosquitto is not installed (scripts/setup --test installs it)";
    }
    QTemporaryDir dir;
};

// A retained message reaches a client that subscribes later; a wrong
// password is one outage however often it is tried, and the right one
// connects; a broker that starts late is found.
TEST_F(Broker, RetainedMessagesAWrongLoginAndALateBroker)
{
    MosquittoBroker broker(dir.path(), QStringLiteral("kiosk"), QStringLiteral("right"));
    ASSERT_TRUE(broker.start()) << broker.why().toStdString();
    {
        MqttConnection publisher(localBroker(broker.port(), QStringLiteral("kiosk"), QStringLiteral("right")), "pub");
        publisher.start();
        ASSERT_TRUE(waitFor([&] { return publisher.isConnected(); }));
        ASSERT_TRUE(publisher.publish(QStringLiteral("test/a/status"), "kept", true));
    }
    MqttListener listener(localBroker(broker.port(), QStringLiteral("kiosk"), QStringLiteral("right")),
                          QStringLiteral("test/+/status"));
    EXPECT_TRUE(listener.waitPayload(QStringLiteral("test/a/status"), [](const QByteArray& p) { return p == "kept"; }));

    MqttConnection wrong(localBroker(broker.port(), QStringLiteral("kiosk"), QStringLiteral("wrong")), "wrong");
    wrong.setRetryDelays(20, 40);
    QSignalSpy outages(&wrong, &MqttConnection::outage);
    wrong.start();
    ASSERT_TRUE(waitFor([&] { return outages.size() >= 1; }));
    EXPECT_TRUE(outages.front().front().toString().contains(QStringLiteral("refused")))
        << outages.front().front().toString().toStdString();
    // Several more tries (20 to 40 ms apart) while the listener asks the broker for its own round trip.
    listener.connection.publish(QStringLiteral("test/b/status"), "ping");
    ASSERT_TRUE(listener.waitPayload(QStringLiteral("test/b/status"), [](const QByteArray& p) { return p == "ping"; }));
    EXPECT_EQ(outages.size(), 1);
    EXPECT_FALSE(wrong.isConnected());

    broker.stop();
    ASSERT_TRUE(waitFor([&] { return !listener.connection.isConnected(); }));
    ASSERT_TRUE(broker.start()) << broker.why().toStdString();
    EXPECT_TRUE(listener.waitConnected());
}

// Over TLS the broker's certificate is checked against the CA named: a
// connection without that CA never gets through.
TEST_F(Broker, TlsConnectsWithTheBrokersCaOnly)
{
    MosquittoBroker broker(dir.path());
    const QString ca = broker.useTls();
    ASSERT_FALSE(ca.isEmpty()) << broker.why().toStdString();
    ASSERT_TRUE(broker.start()) << broker.why().toStdString();
    BrokerSettings tls = localBroker(broker.port());
    tls.caFile = ca;
    MqttListener listener(tls, QStringLiteral("test/#"));
    EXPECT_TRUE(listener.waitConnected());
    EXPECT_EQ(tls.describe(), QStringLiteral("127.0.0.1:%1 (TLS)").arg(broker.port()));

    for (const QString& other : {QString(), QString::fromLatin1(ZEL_SOURCE_DIR "/tests/fleet/fleet_test.cpp")}) {
        BrokerSettings wrong = tls;
        wrong.caFile = other;
        MqttConnection connection(wrong, QStringLiteral("wrong"));
        connection.setRetryDelays(20, 40);
        QSignalSpy outages(&connection, &MqttConnection::outage);
        connection.start();
        EXPECT_TRUE(waitFor([&] { return outages.size() == 1; })) << other.toStdString();
        EXPECT_FALSE(connection.isConnected());
    }
}

} // namespace
