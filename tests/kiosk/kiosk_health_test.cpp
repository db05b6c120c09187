// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The kiosk's health on a real Mosquitto broker: reported while the broker
// is down (the pages go on), published once it comes, commands answered;
// and zel-kiosk itself killed: its last will says it is offline.
#include "health_reporter.h"
#include "kiosk_visit.h"
#include "support/mosquitto_broker.h"
#include "support/mqtt_listener.h"
#include "support/kiosk_fixture.h"
#include "support/web_wait.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

QJsonObject statusOf(const QByteArray& payload) { return QJsonDocument::fromJson(payload).object(); }

TEST(KioskHealthReport, ShowsPagesWithoutItsBrokerThenPublishesAndAnswersCommands)
{
    if (!MosquittoBroker::available())
        GTEST_SKIP() << "mosquitto is not installed (scripts/setup --test installs it)";
    KioskVisit visit;
    MosquittoBroker broker(visit.temporaryFolder());
    KioskSettings settings = quickSettings();
    settings.name = QStringLiteral("hall");
    settings.healthFile = visit.temporaryFolder() + QStringLiteral("/hall.prom");
    settings.broker = localBroker(broker.port());
    // The run before reported two restarts: the one of the last 24 h goes on.
    KioskHealth before;
    before.kiosk = QStringLiteral("hall");
    const QDateTime now = QDateTime::currentDateTimeUtc();
    before.restarts = {{now.addSecs(-25 * 3600), QStringLiteral("old")},
                       {now.addSecs(-3600), QStringLiteral("recent")}};
    QFile file(HealthReporter::statusPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(before.toJson()) > 0);
    file.close();
    // Made pages with #show lines: the one on show now is listed, the one over not.
    for (const auto& [page, show] :
         {std::pair{"news/fair.htm", "from:2000-01-01T00:00"}, {"news/gone.htm", "until:2001-01-01T00:00"}}) {
        QFile made(QDir(visit.player().folder()).filePath(page));
        ASSERT_TRUE(made.open(QIODevice::WriteOnly));
        made.write(QByteArray("<head>\r\n<meta name=\"kiosk-show\" content=\"") + show + "\">\r\n</head>\r\n");
    }
    HealthReporter reporter(visit.player(), settings);
    reporter.connection()->setRetryDelays(50, 400);
    reporter.start();
    const auto outages = [&] { return visit.log().filter(QStringLiteral("health: no broker")).size(); };
    ASSERT_TRUE(waitUntil([&] { return outages() == 1; }));
    EXPECT_TRUE(readBytes(settings.healthFile).contains("zel_kiosk_info{kiosk=\"hall\",shown=\"kiosk\""));
    const QJsonObject written = statusOf(readBytes(HealthReporter::statusPath()));
    EXPECT_EQ(written.value("kiosk").toString(), "hall");
    EXPECT_EQ(written.value("restarts24h").toInt(), 1);
    EXPECT_EQ(written.value("scheduledOnShow").toArray(), QJsonArray{"news\\fair.htm"});
    EXPECT_EQ(written.value("restarts").toArray().at(0).toObject().value("reason").toString(), "recent");
    visit.touch(QStringLiteral("b1"));
    ASSERT_TRUE(visit.waitForPage(QStringLiteral("visiting/visiting.htm")));

    ASSERT_TRUE(broker.start()) << broker.why().toStdString();
    MqttListener listener(localBroker(broker.port()), QStringLiteral("test/hall/#"));
    // The page drawn last and its view, as the page script reported it.
    EXPECT_TRUE(listener.waitPayload(QStringLiteral("test/hall/status"), [](const QByteArray& payload) {
        const QJsonObject status = statusOf(payload);
        return status.value("lastPage").toString() == "visiting\\visiting.htm"
               && status.value("pageViews").toObject().value("visiting\\visiting.htm").toInt() == 1;
    })) << listener.last.value("test/hall/status").constData();
    EXPECT_EQ(outages(), 1);

    listener.connection.publish(QStringLiteral("test/hall/command"), "screenshot");
    ASSERT_TRUE(listener.waitPayload(QStringLiteral("test/hall/screenshot"), [](const QByteArray&) { return true; }));
    const QImage shot = QImage::fromData(listener.last["test/hall/screenshot"], "JPEG");
    EXPECT_FALSE(shot.isNull());
    EXPECT_LE(shot.width(), 800);
    listener.connection.publish(QStringLiteral("test/hall/command"), "root");
    EXPECT_TRUE(visit.waitForPage(QStringLiteral("root/root.htm")));
}

// A broker that refuses the login: logged once however often it is tried,
// and the visitor goes on through the pages.
TEST(KioskHealthReport, ABrokerRefusingTheLoginIsLoggedOnceAndStopsNoPage)
{
    if (!MosquittoBroker::available())
        GTEST_SKIP() << "mosquitto is not installed (scripts/setup --test installs it)";
    KioskVisit visit;
    MosquittoBroker broker(visit.temporaryFolder(), QStringLiteral("hall"), QStringLiteral("right"));
    ASSERT_TRUE(broker.start()) << broker.why().toStdString();
    KioskSettings settings = quickSettings();
    settings.name = QStringLiteral("hall");
    settings.broker = localBroker(broker.port(), QStringLiteral("hall"), QStringLiteral("wrong"));
    HealthReporter reporter(visit.player(), settings);
    reporter.connection()->setRetryDelays(20, 40);
    reporter.start();
    const auto refusals = [&] { return visit.log().filter(QStringLiteral("health: no broker (tried again): ")); };
    ASSERT_TRUE(waitUntil([&] { return refusals().size() == 1; }));
    EXPECT_TRUE(refusals().front().contains(QStringLiteral("refused"))) << refusals().front().toStdString();
    visit.touch(QStringLiteral("b1"));
    EXPECT_TRUE(visit.waitForPage(QStringLiteral("visiting/visiting.htm")));
    EXPECT_EQ(refusals().size(), 1);
    EXPECT_FALSE(reporter.connection()->isConnected());
}

TEST(KioskHealthReport, AKilledKioskShowsOfflineByItsLastWill)
{
    if (!MosquittoBroker::available())
        GTEST_SKIP() << "mosquitto is not installed (scripts/setup --test installs it)";
    QTemporaryDir dir;
    const QString kiosk = dir.filePath("kiosk");
    makeSampleKiosk(kiosk);
    MosquittoBroker broker(dir.path());
    ASSERT_TRUE(broker.start()) << broker.why().toStdString();
    const QString topic = QStringLiteral("test/lobby/status");
    MqttListener listener(localBroker(broker.port()), topic);
    ServiceRun run(dir.path(),
                   {"kioskName=lobby", "brokerHost=127.0.0.1", "brokerPrefix=test",
                    QStringLiteral("brokerPort=%1").arg(broker.port())},
                   {kiosk});
    EXPECT_TRUE(listener.waitPayload(
        topic,
        [](const QByteArray& payload) { return statusOf(payload).value("lastPage").toString() == "root\\root.htm"; },
        60000))
        << listener.last.value(topic).constData();

    // --status --json carries the health the running kiosk reported.
    const KioskRun status = runKiosk({"--status", "--json"}, dir.path());
    EXPECT_EQ(statusOf(status.out.toUtf8()).value("health").toObject().value("kiosk").toString(), "lobby")
        << status.out.toStdString();

    run.process.kill();
    run.process.waitForFinished();
    EXPECT_TRUE(listener.waitPayload(topic, [](const QByteArray& payload) { return payload == "offline"; }));
}

} // namespace
