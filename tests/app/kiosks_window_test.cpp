// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/kiosks_window.h"
#include "app/overview_window.h"
#include "platform/user_settings.h"
#include "support/mosquitto_broker.h"
#include "support/mqtt_listener.h"
#include "support/window_fixture.h"

#include <QBuffer>
#include <QDialog>
#include <QImage>
#include <QTreeWidget>

namespace {

QByteArray status(const char* kiosk, const char* shown, int views)
{
    KioskHealth health;
    health.kiosk = QString::fromLatin1(kiosk);
    health.versionShown = QString::fromLatin1(shown);
    health.versionAvailable = QStringLiteral("12");
    health.lastPage = QStringLiteral("news\\news.htm");
    health.lastPageTime = QDateTime::currentDateTimeUtc().addSecs(-330);
    health.pageViewsToday = {{QStringLiteral("root\\root.htm"), views}};
    health.reported = QDateTime::currentDateTimeUtc();
    health.uptimeSeconds = 60;
    return health.toJson();
}

// Tools > Kiosks over a real broker holding three kiosks' retained statuses:
// one current, one behind (in red), one gone offline; a double-click asks a
// kiosk for its screenshot, shown when it comes; the overview sums the
// kiosks' page views of today.
TEST_F(WindowTest, KiosksWindowListsEveryKioskFromTheRetainedStatuses)
{
    if (!MosquittoBroker::available())
        GTEST_SKIP() << "mosquitto is not installed (scripts/setup --test installs it)";
    QTemporaryDir dir;
    MosquittoBroker broker(dir.path());
    ASSERT_TRUE(broker.start()) << broker.why().toStdString();
    MqttListener kiosks(localBroker(broker.port()), QStringLiteral("test/+/command"));
    ASSERT_TRUE(kiosks.waitConnected());
    const QList<std::pair<const char*, QByteArray>> statuses = {{"test/hall/status", status("hall", "12", 3)},
                                                                {"test/lobby/status", status("lobby", "9", 4)},
                                                                {"test/gone/status", "offline"}};
    for (const auto& [topic, payload] : statuses)
        ASSERT_TRUE(kiosks.connection.publish(QString::fromLatin1(topic), payload, true));
    localBroker(broker.port()).save(*openUserSettings());

    writeTextFile(kiosk.path("root/root.zel"), {"#root", "#title Welcome"});
    mainWindow().openKioskSystem(kiosk.folder());
    trigger(main.get(), "kiosksAction");
    KiosksWindow* window = visibleWindows<KiosksWindow>().value(0);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(waitFor([&] { return window->kioskTree()->topLevelItemCount() == 3; }));
    const struct {
        const char* kiosk;
        const char* state;
        const char* version;
        bool red;
    } rows[] = {{"hall", "online", "12", false}, {"lobby", "online", "9", true}, {"gone", "offline", "", false}};
    for (const auto& row : rows) {
        const QTreeWidgetItem* item = window->rowOf(QString::fromLatin1(row.kiosk));
        ASSERT_NE(item, nullptr) << row.kiosk;
        EXPECT_EQ(item->text(KiosksWindow::kColumnState), row.state) << row.kiosk;
        EXPECT_EQ(item->text(KiosksWindow::kColumnVersion), row.version) << row.kiosk;
        EXPECT_EQ(item->foreground(KiosksWindow::kColumnVersion).color() == QColor(Qt::red), row.red) << row.kiosk;
    }
    EXPECT_EQ(window->rowOf("hall")->text(KiosksWindow::kColumnAge), "5 min");
    EXPECT_EQ(window->rowOf("lobby")->text(KiosksWindow::kColumnViews), "4");
    // The overview's Views column sums them.
    trigger(main.get(), "overviewAction");
    const OverviewWindow* overview = visibleWindows<OverviewWindow>().value(0);
    ASSERT_NE(overview, nullptr);
    ASSERT_NE(overview->rowOf(kiosk.path("root/root.zel")), nullptr);
    EXPECT_EQ(overview->rowOf(kiosk.path("root/root.zel"))->text(OverviewWindow::kColumnViews), "7");

    clickItem(window->kioskTree(), window->kioskTree()->visualItemRect(window->rowOf("lobby")), true);
    ASSERT_TRUE(kiosks.waitPayload("test/lobby/command", [](const QByteArray& p) { return p == "screenshot"; }));
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG");
    kiosks.connection.publish("test/lobby/screenshot", jpeg);
    ASSERT_TRUE(waitFor([&] { return window->screenshotDialog() && window->screenshotDialog()->isVisible(); }));
    EXPECT_TRUE(window->screenshotDialog()->windowTitle().startsWith("lobby at "));

    // A kiosk going offline while the window looks: since when it is known.
    kiosks.connection.publish("test/hall/status", "offline", true);
    ASSERT_TRUE(waitFor([&] { return window->rowOf("hall")->text(KiosksWindow::kColumnState) == "offline"; }));
    EXPECT_FALSE(window->rowOf("hall")->text(KiosksWindow::kColumnSince).startsWith("before"));
    EXPECT_TRUE(window->rowOf("gone")->text(KiosksWindow::kColumnSince).startsWith("before "));
}

} // namespace
