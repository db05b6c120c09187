// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiosk_settings.h"

#include "platform/user_settings.h"
#include "text/text_files.h"

#include <QFileInfo>
#include <QSet>
#include <unistd.h>
#include <tuple>

namespace {

// A settings file is a few lines; anything larger is not one.
constexpr qint64 kMaximumSettingsSize = 1024 * 1024;

// The value as written: a value wholly in double quotes loses them and its
// backslash escapes (\" and \\).
QString unquoted(const QString& value)
{
    if (value.size() < 2 || !value.startsWith(u'"') || !value.endsWith(u'"'))
        return value;
    QString text;
    for (qsizetype at = 1; at < value.size() - 1; ++at) {
        if (value[at] == u'\\' && at + 1 < value.size() - 1)
            ++at;
        text += value[at];
    }
    return text;
}

bool readSeconds(const QString& key, const QString& value, int& seconds, QString& error)
{
    bool ok = false;
    const int read = value.toInt(&ok);
    if (!ok || read < 1 || read > 86400) {
        error = key + QStringLiteral(": \"") + value + QStringLiteral("\" is not a number of seconds from 1 to 86400");
        return false;
    }
    seconds = read;
    return true;
}

// The health report's keys: true when key is one of them (error set when its value is wrong).
bool takeHealth(KioskSettings& settings, const QString& key, const QString& value, QString& error)
{
    const QList<std::pair<const char*, QString*>> texts = {{"kioskName", &settings.name},
                                                           {"healthFile", &settings.healthFile},
                                                           {"brokerHost", &settings.broker.host},
                                                           {"brokerPrefix", &settings.broker.prefix},
                                                           {"brokerCaFile", &settings.broker.caFile},
                                                           {"brokerUser", &settings.broker.user},
                                                           {"brokerPassword", &settings.broker.password}};
    for (const auto& [name, text] : texts)
        if (key == QLatin1String(name)) {
            *text = value;
            // A name or prefix goes into topics: no MQTT wildcard and no level separator in a name.
            if ((key == QLatin1String("kioskName") && value.contains(u'/'))
                || ((key == QLatin1String("kioskName") || key == QLatin1String("brokerPrefix"))
                    && (value.isEmpty() || value.contains(u'+') || value.contains(u'#'))))
                error = key + QStringLiteral(": \"") + value + QStringLiteral("\" is not a topic name");
            return true;
        }
    if (key == QLatin1String("brokerPort")) {
        bool ok = false;
        settings.broker.port = value.toInt(&ok);
        if (!ok || settings.broker.port < 1 || settings.broker.port > 65535)
            error = key + QStringLiteral(": \"") + value + QStringLiteral("\" is not a port from 1 to 65535");
        return true;
    }
    return false;
}

// Takes one key's value into settings; false with error set when it is wrong.
bool take(KioskSettings& settings, const QString& key, const QString& value, QString& error)
{
    if (key == QLatin1String("quitKeys")) {
        settings.quitKeys = QKeySequence::fromString(value, QKeySequence::PortableText);
        if (settings.quitKeys.isEmpty() || settings.quitKeys.count() != 1) {
            error = QStringLiteral("quitKeys: \"") + value
                    + QStringLiteral("\" is not one key combination such as Ctrl+Alt+Shift+Q");
            return false;
        }
        return true;
    }
    if (key == QLatin1String("openingHours")) {
        settings.openingHoursText = value;
        return OpeningHours::parse(value, settings.hours, error);
    }
    if (takeHealth(settings, key, value, error))
        return error.isEmpty();
    if (key == QLatin1String("idleSeconds"))
        return readSeconds(key, value, settings.idleSeconds, error);
    if (key == QLatin1String("watchdogSeconds"))
        return readSeconds(key, value, settings.watchdogSeconds, error);
    if (key == QLatin1String("followSeconds"))
        return readSeconds(key, value, settings.followSeconds, error);
    if (key == QLatin1String("pullSeconds"))
        return readSeconds(key, value, settings.pullSeconds, error);
    if (key == QLatin1String("heartbeatSeconds"))
        return readSeconds(key, value, settings.heartbeatSeconds, error);
    for (const auto& [name, target, lowest] : {std::tuple{"speechVolume", &settings.speechVolume, 0},
                                               std::tuple{"speechRate", &settings.speechRate, -100}}) {
        if (key != QLatin1String(name))
            continue;
        bool ok = false;
        *target = value.toInt(&ok);
        if (!ok || *target < lowest || *target > 100) {
            error = key + QStringLiteral(": \"") + value + QStringLiteral("\" is not a number from ")
                    + QString::number(lowest) + QStringLiteral(" to 100");
            return false;
        }
        return true;
    }
    if (key == QLatin1String("restartLimit")) {
        bool ok = false;
        settings.restartLimit = value.toInt(&ok);
        if (!ok || settings.restartLimit < 1 || settings.restartLimit > 1000) {
            error = key + QStringLiteral(": \"") + value + QStringLiteral("\" is not a number from 1 to 1000");
            return false;
        }
        return true;
    }
    error = key
            + QStringLiteral(" is not a setting of the kiosk (quitKeys, openingHours, idleSeconds, "
                             "watchdogSeconds, followSeconds, pullSeconds, heartbeatSeconds, restartLimit, kioskName, "
                             "healthFile, brokerHost, brokerPort, brokerPrefix, brokerCaFile, brokerUser, "
                             "brokerPassword, speechVolume, speechRate)");
    return false;
}

} // namespace

QString KioskSettings::kioskName() const
{
    if (!name.isEmpty())
        return name;
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) != 0 || host[0] == 0)
        return QStringLiteral("kiosk");
    return QString::fromLocal8Bit(host);
}

bool KioskSettings::load(KioskSettings& settings, QString& error)
{
    return read(openUserSettings()->fileName(), settings, error);
}

bool KioskSettings::read(const QString& path, KioskSettings& settings, QString& error)
{
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) {
        settings = KioskSettings();
        return true;
    }
    QByteArray bytes;
    const QString reason = TextFiles::readAuthorFile(path, bytes, kMaximumSettingsSize);
    if (!reason.isEmpty()) {
        error = path + u' ' + TextFiles::afterFileName(reason);
        return false;
    }
    KioskSettings read;
    QSet<QString> seen;
    bool inKiosk = false;
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        QString line = QString::fromUtf8(lines[index]).trimmed();
        if (index == 0 && line.startsWith(QChar(0xfeff)))
            line = line.mid(1).trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inKiosk = line == QLatin1String("[Kiosk]");
            continue;
        }
        if (!inKiosk)
            continue;
        const QString where = path + QStringLiteral(" line %1: ").arg(index + 1);
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) {
            error = where + u'"' + line + QStringLiteral("\" is not a key=value line");
            return false;
        }
        const QString key = line.left(equals).trimmed();
        if (seen.contains(key)) {
            error = where + key + QStringLiteral(" is set a second time");
            return false;
        }
        seen.insert(key);
        if (!take(read, key, unquoted(line.mid(equals + 1).trimmed()), error)) {
            error.prepend(where);
            return false;
        }
    }
    settings = read;
    return true;
}
