// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiosks_window.h"

#include "fleet/mqtt_connection.h"
#include "platform/user_settings.h"
#include "workbench/workbench.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString kGeometryKey = QStringLiteral("Kiosks/geometry");
constexpr int kAgeRefreshMs = 10 * 1000;

// Numbers compare as numbers ("10" after "9"), anything else as text.
bool newer(const QString& version, const QString& than)
{
    bool isNumber = false, thanNumber = false;
    const qlonglong number = version.toLongLong(&isNumber);
    const qlonglong other = than.toLongLong(&thanNumber);
    if (isNumber && thanNumber)
        return number > other;
    return version > than;
}

// "45 s", "12 min", "3 h", "2 d".
QString ageText(qint64 seconds)
{
    if (seconds < 120)
        return QCoreApplication::translate("KiosksWindow", "%1 s").arg(qMax<qint64>(0, seconds));
    if (seconds < 7200)
        return QCoreApplication::translate("KiosksWindow", "%1 min").arg(seconds / 60);
    if (seconds < 2 * 86400)
        return QCoreApplication::translate("KiosksWindow", "%1 h").arg(seconds / 3600);
    return QCoreApplication::translate("KiosksWindow", "%1 d").arg(seconds / 86400);
}

QString timeText(const QDateTime& time)
{
    const QDateTime local = time.toLocalTime();
    return local.date() == QDate::currentDate() ? local.toString(QStringLiteral("HH:mm:ss"))
                                                : local.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}
} // namespace

KiosksWindow::KiosksWindow(Workbench& workbench) : SingleInstanceWindow(workbench, QStringLiteral("frmKiosks"))
{
    setWindowTitle(tr("Kiosks"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    m_brokerLabel = new QLabel(this);
    m_brokerLabel->setObjectName(QStringLiteral("brokerLabel"));
    m_brokerLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    top->addWidget(m_brokerLabel, 1);
    auto* brokerButton = new QPushButton(tr("Broker..."), this);
    brokerButton->setObjectName(QStringLiteral("brokerButton"));
    connect(brokerButton, &QPushButton::clicked, this, &KiosksWindow::editBroker);
    top->addWidget(brokerButton);
    layout->addLayout(top);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("kioskTree"));
    m_tree->setAccessibleName(tr("Kiosks"));
    m_tree->setRootIsDecorated(false);
    m_tree->setUniformRowHeights(true);
    m_tree->setHeaderLabels({tr("Kiosk"), tr("State"), tr("Since"), tr("Version"), tr("Latest"), tr("Last page"),
                             tr("Drawn"), tr("Restarts 24 h"), tr("Screen"), tr("Views today")});
    m_tree->setSortingEnabled(true);
    m_tree->sortByColumn(kColumnKiosk, Qt::AscendingOrder);
    layout->addWidget(m_tree, 1);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* row) { requestScreenshot(row->text(kColumnKiosk)); });
    resize(900, 400);
    restoreGeometry(openUserSettings()->value(kGeometryKey).toByteArray());
    m_ages.setInterval(kAgeRefreshMs);
    connect(&m_ages, &QTimer::timeout, this, &KiosksWindow::updateRows);
    m_ages.start();
}

void KiosksWindow::showKiosks()
{
    if (!m_connection) {
        const BrokerSettings broker = BrokerSettings::load(*openUserSettings());
        if (broker.enabled())
            connectTo(broker);
        else
            m_brokerLabel->setText(tr("No broker set: choose Broker... to set the one the kiosks report to."));
    }
    show();
    raise();
    activateWindow();
    if (!m_broker.enabled())
        editBroker();
}

void KiosksWindow::connectTo(const BrokerSettings& broker)
{
    delete m_connection;
    m_broker = broker;
    m_kiosks.clear();
    m_tree->clear();
    m_connectedAt = QDateTime();
    m_brokerLabel->setText(tr("Broker: %1 (connecting)").arg(broker.describe()));
    const QString id = QStringLiteral("zel-editor-%1-%2")
                           .arg(QCoreApplication::applicationPid())
                           .arg(QDateTime::currentMSecsSinceEpoch() % 100000);
    m_connection = new MqttConnection(broker, id, std::nullopt, this);
    connect(m_connection, &MqttConnection::connected, this, [this] {
        if (!m_connectedAt.isValid())
            m_connectedAt = QDateTime::currentDateTimeUtc();
        m_brokerLabel->setText(tr("Broker: %1").arg(m_broker.describe()));
    });
    connect(m_connection, &MqttConnection::outage, this,
            [this](const QString& reason) { m_brokerLabel->setText(tr("Broker: %1 (trying again)").arg(reason)); });
    connect(m_connection, &MqttConnection::message, this, &KiosksWindow::onMessage);
    m_connection->subscribe(broker.topic(QStringLiteral("+"), QStringLiteral("status")));
    m_connection->subscribe(broker.topic(QStringLiteral("+"), QStringLiteral("screenshot")));
    m_connection->start();
}

void KiosksWindow::editBroker()
{
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("brokerDialog"));
    dialog.setWindowTitle(tr("Broker"));
    auto* form = new QFormLayout(&dialog);
    BrokerSettings broker = m_broker.enabled() ? m_broker : BrokerSettings::load(*openUserSettings());
    auto* host = new QLineEdit(broker.host, &dialog);
    auto* port = new QSpinBox(&dialog);
    port->setRange(1, 65535);
    port->setValue(broker.port);
    auto* prefix = new QLineEdit(broker.prefix, &dialog);
    auto* caFile = new QLineEdit(broker.caFile, &dialog);
    caFile->setPlaceholderText(tr("none: no TLS"));
    auto* user = new QLineEdit(broker.user, &dialog);
    auto* password = new QLineEdit(broker.password, &dialog);
    password->setEchoMode(QLineEdit::Password);
    form->addRow(tr("Host:"), host);
    form->addRow(tr("Port:"), port);
    form->addRow(tr("Topic prefix:"), prefix);
    form->addRow(tr("TLS CA file:"), caFile);
    form->addRow(tr("User:"), user);
    form->addRow(tr("Password:"), password);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    bool accepted = false;
    workbench().focus().runModal(this, [&] { accepted = dialog.exec() == QDialog::Accepted; });
    if (!accepted)
        return;
    broker.host = host->text().trimmed();
    broker.port = port->value();
    broker.prefix = prefix->text().trimmed().isEmpty() ? BrokerSettings().prefix : prefix->text().trimmed();
    broker.caFile = caFile->text().trimmed();
    broker.user = user->text();
    broker.password = password->text();
    broker.save(*openUserSettings());
    if (broker.enabled())
        connectTo(broker);
}

void KiosksWindow::onMessage(const QString& topic, const QByteArray& payload)
{
    if (const QString kiosk = m_broker.kioskOf(topic, QStringLiteral("screenshot")); !kiosk.isEmpty()) {
        showScreenshot(kiosk, payload);
        return;
    }
    const QString kiosk = m_broker.kioskOf(topic, QStringLiteral("status"));
    if (kiosk.isEmpty())
        return;
    if (payload.isEmpty()) { // a retained status removed: the kiosk is gone from the fleet
        m_kiosks.remove(kiosk);
        updateRows();
        return;
    }
    Kiosk& entry = m_kiosks[kiosk];
    entry.health.kiosk = kiosk;
    if (payload.trimmed() == "offline") {
        if (entry.online || entry.since.isValid() || entry.reported)
            entry.since = QDateTime::currentDateTimeUtc();
        entry.online = false;
    } else {
        QString problem;
        std::optional<KioskHealth> health = KioskHealth::fromJson(payload, problem);
        if (!health)
            return;
        health->kiosk = kiosk;
        entry.health = *health;
        entry.reported = true;
        entry.online = true;
        entry.since = health->reported.addSecs(-health->uptimeSeconds);
    }
    updateRows();
}

QString KiosksWindow::latestVersion() const
{
    QString latest;
    for (const Kiosk& kiosk : m_kiosks)
        for (const QString& version : {kiosk.health.versionShown, kiosk.health.versionAvailable})
            if (!version.isEmpty() && (latest.isEmpty() || newer(version, latest)))
                latest = version;
    return latest;
}

void KiosksWindow::updateRows()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QString latest = latestVersion();
    m_tree->setSortingEnabled(false);
    for (int index = m_tree->topLevelItemCount() - 1; index >= 0; --index)
        if (!m_kiosks.contains(m_tree->topLevelItem(index)->text(kColumnKiosk)))
            delete m_tree->takeTopLevelItem(index);
    for (auto kiosk = m_kiosks.cbegin(); kiosk != m_kiosks.cend(); ++kiosk) {
        QTreeWidgetItem* row = rowOf(kiosk.key());
        if (!row) {
            row = new QTreeWidgetItem(m_tree);
            row->setText(kColumnKiosk, kiosk.key());
        }
        const KioskHealth& health = kiosk->health;
        row->setText(kColumnState, kiosk->online ? tr("online") : tr("offline"));
        row->setForeground(kColumnState, kiosk->online ? palette().text() : QBrush(Qt::red));
        row->setText(kColumnSince, kiosk->since.isValid()    ? timeText(kiosk->since)
                                   : m_connectedAt.isValid() ? tr("before %1").arg(timeText(m_connectedAt))
                                                             : QString());
        row->setText(kColumnVersion, health.versionShown);
        const bool behind = kiosk->reported && !latest.isEmpty() && health.versionShown != latest;
        row->setForeground(kColumnVersion, behind ? QBrush(Qt::red) : palette().text());
        row->setToolTip(kColumnVersion, behind ? tr("behind the latest version %1").arg(latest) : QString());
        row->setText(kColumnLatest, latest);
        row->setText(kColumnLastPage, health.lastPage);
        row->setText(kColumnAge, health.lastPageTime.isValid() ? ageText(health.lastPageTime.secsTo(now)) : QString());
        row->setText(kColumnRestarts, kiosk->reported ? QString::number(health.restarts.size()) : QString());
        QStringList restarts;
        for (const KioskHealth::Restart& restart : health.restarts)
            restarts.append(timeText(restart.time) + u' ' + restart.reason);
        row->setToolTip(kColumnRestarts, restarts.join(u'\n'));
        row->setText(kColumnScreen, !kiosk->reported ? QString() : health.screenOn ? tr("on") : tr("off (closed)"));
        row->setToolTip(kColumnScreen, health.openingHours.isEmpty() ? tr("always open") : health.openingHours);
        row->setText(kColumnViews, kiosk->reported ? QString::number(health.pageViewsTotal()) : QString());
    }
    m_tree->setSortingEnabled(true);
}

QTreeWidgetItem* KiosksWindow::rowOf(const QString& kiosk) const
{
    for (int index = 0; index < m_tree->topLevelItemCount(); ++index)
        if (m_tree->topLevelItem(index)->text(kColumnKiosk) == kiosk)
            return m_tree->topLevelItem(index);
    return nullptr;
}

void KiosksWindow::requestScreenshot(const QString& kiosk)
{
    if (!m_connection
        || !m_connection->publish(m_broker.topic(kiosk, QStringLiteral("command")), QByteArrayLiteral("screenshot")))
        m_brokerLabel->setText(tr("Broker: %1 (not connected: no screenshot asked for)").arg(m_broker.describe()));
}

void KiosksWindow::showScreenshot(const QString& kiosk, const QByteArray& jpeg)
{
    QPixmap picture;
    if (!picture.loadFromData(jpeg, "JPEG"))
        return;
    if (!m_screenshot) {
        m_screenshot = new QDialog(this);
        m_screenshot->setObjectName(QStringLiteral("screenshotDialog"));
        auto* layout = new QVBoxLayout(m_screenshot);
        auto* label = new QLabel(m_screenshot);
        label->setObjectName(QStringLiteral("screenshotLabel"));
        layout->addWidget(label);
    }
    m_screenshot->setWindowTitle(tr("%1 at %2").arg(kiosk, timeText(QDateTime::currentDateTimeUtc())));
    m_screenshot->findChild<QLabel*>(QStringLiteral("screenshotLabel"))->setPixmap(picture);
    m_screenshot->show();
    m_screenshot->raise();
}

qint64 KiosksWindow::pageViewsToday(const QString& page) const
{
    qint64 views = 0;
    for (const Kiosk& kiosk : m_kiosks)
        for (auto shown = kiosk.health.pageViewsToday.cbegin(); shown != kiosk.health.pageViewsToday.cend(); ++shown)
            if (shown.key().endsWith(QLatin1String(".htm"), Qt::CaseInsensitive)
                && shown.key().size() == page.size() + 4 && shown.key().startsWith(page))
                views += shown.value();
    return views;
}

bool KiosksWindow::hasPageViews() const
{
    for (const Kiosk& kiosk : m_kiosks)
        if (kiosk.reported)
            return true;
    return false;
}

void KiosksWindow::closeEvent(QCloseEvent* event)
{
    openUserSettings()->setValue(kGeometryKey, saveGeometry());
    SingleInstanceWindow::closeEvent(event);
}
