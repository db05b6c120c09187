// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "broker_settings.h"

#include <QSettings>

QString BrokerSettings::topic(const QString& kiosk, const QString& leaf) const
{
    return prefix + u'/' + kiosk + u'/' + leaf;
}

QString BrokerSettings::kioskOf(const QString& topic, const QString& leaf) const
{
    const QString start = prefix + u'/';
    const QString end = u'/' + leaf;
    if (!topic.startsWith(start) || !topic.endsWith(end) || topic.size() <= start.size() + end.size())
        return QString();
    const QString kiosk = topic.mid(start.size(), topic.size() - start.size() - end.size());
    return kiosk.contains(u'/') ? QString() : kiosk;
}

QString BrokerSettings::describe() const
{
    return host + u':' + QString::number(port) + (caFile.isEmpty() ? QString() : QStringLiteral(" (TLS)"));
}

BrokerSettings BrokerSettings::load(QSettings& settings)
{
    BrokerSettings broker;
    settings.beginGroup(QStringLiteral("Fleet"));
    broker.host = settings.value(QStringLiteral("host")).toString().trimmed();
    broker.port = settings.value(QStringLiteral("port"), broker.port).toInt();
    if (broker.port < 1 || broker.port > 65535)
        broker.port = 1883;
    const QString prefix = settings.value(QStringLiteral("prefix")).toString().trimmed();
    if (!prefix.isEmpty())
        broker.prefix = prefix;
    broker.caFile = settings.value(QStringLiteral("caFile")).toString();
    broker.user = settings.value(QStringLiteral("user")).toString();
    broker.password = settings.value(QStringLiteral("password")).toString();
    settings.endGroup();
    return broker;
}

void BrokerSettings::save(QSettings& settings) const
{
    settings.beginGroup(QStringLiteral("Fleet"));
    settings.setValue(QStringLiteral("host"), host);
    settings.setValue(QStringLiteral("port"), port);
    settings.setValue(QStringLiteral("prefix"), prefix);
    settings.setValue(QStringLiteral("caFile"), caFile);
    settings.setValue(QStringLiteral("user"), user);
    settings.setValue(QStringLiteral("password"), password);
    settings.endGroup();
}
