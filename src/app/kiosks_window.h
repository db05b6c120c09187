// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fleet/broker_settings.h"
#include "fleet/kiosk_health.h"
#include "workbench/single_instance_window.h"

#include <QDateTime>
#include <QMap>
#include <QTimer>

class MqttConnection;
class QDialog;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class Workbench;

// Tools > Kiosks: a window (not modal) with a row per kiosk that reports to
// the broker of the settings (Fleet/ keys, set with Broker...): its name,
// online or offline and since when, the version it shows against the latest
// any kiosk has (behind in red), the last page it drew and how long ago,
// its restarts in 24 h, its screen and its page views today. The rows come
// from the kiosks' retained statuses, so a kiosk that went quiet before the
// window opened is listed too. Double-click asks the kiosk for a screenshot
// and shows it when it arrives. One window for the workbench.
class KiosksWindow : public SingleInstanceWindow {
    Q_OBJECT
public:
    static constexpr int kColumnKiosk = 0;
    static constexpr int kColumnState = 1;
    static constexpr int kColumnSince = 2;
    static constexpr int kColumnVersion = 3;
    static constexpr int kColumnLatest = 4;
    static constexpr int kColumnLastPage = 5;
    static constexpr int kColumnAge = 6;
    static constexpr int kColumnRestarts = 7;
    static constexpr int kColumnScreen = 8;
    static constexpr int kColumnViews = 9;

    // Connects to the broker of the settings (none set: asks for one) and shows the window.
    void showKiosks();
    // Connects to this broker instead (the settings are left as they are).
    void connectTo(const BrokerSettings& broker);
    QTreeWidget* kioskTree() const { return m_tree; }
    QLabel* brokerLabel() const { return m_brokerLabel; }
    QTreeWidgetItem* rowOf(const QString& kiosk) const;
    // Asks the kiosk for a screenshot; it is shown when it arrives.
    void requestScreenshot(const QString& kiosk);
    QDialog* screenshotDialog() const { return m_screenshot; }
    // The views today of the page ("news\today", its made file news\today.htm), summed over every kiosk listed.
    qint64 pageViewsToday(const QString& page) const;
    bool hasPageViews() const;
    // The newest version any kiosk shows or has.
    QString latestVersion() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    explicit KiosksWindow(Workbench& workbench);
    friend class Workbench;

    struct Kiosk {
        KioskHealth health;
        bool reported = false; // a status was read (not only "offline")
        bool online = false;
        QDateTime since; // invalid: offline since before the window connected
    };

    void editBroker();
    void onMessage(const QString& topic, const QByteArray& payload);
    void showScreenshot(const QString& kiosk, const QByteArray& jpeg);
    void updateRows();

    BrokerSettings m_broker;
    MqttConnection* m_connection = nullptr;
    QDateTime m_connectedAt;
    QMap<QString, Kiosk> m_kiosks;
    QLabel* m_brokerLabel;
    QTreeWidget* m_tree;
    QDialog* m_screenshot = nullptr;
    QTimer m_ages; // the ages go on while nothing arrives
};
