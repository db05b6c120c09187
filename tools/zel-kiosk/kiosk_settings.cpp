#include "kiosk_settings.h"

#include "platform/user_settings.h"

#include <QSettings>

namespace {

// The INI format reads an unquoted value with commas as a list: "Sat,Sun 10:00-14:00".
QString text(QSettings& store, const QString& key)
{
    const QVariant value = store.value(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

bool readSeconds(QSettings& store, const QString& key, int minimum, int& value, QString& error)
{
    if (!store.contains(key))
        return true;
    bool ok = false;
    const int read = text(store, key).trimmed().toInt(&ok);
    if (!ok || read < minimum || read > 86400) {
        error = key + QStringLiteral(": \"") + text(store, key) + QStringLiteral("\" is not a number of seconds from ")
                + QString::number(minimum) + QStringLiteral(" to 86400");
        return false;
    }
    value = read;
    return true;
}

} // namespace

bool KioskSettings::load(KioskSettings& settings, QString& error)
{
    const std::unique_ptr<QSettings> store = openUserSettings();
    store->beginGroup(QStringLiteral("Kiosk"));
    KioskSettings read;
    if (store->contains(QStringLiteral("quitKeys"))) {
        const QString keys = text(*store, QStringLiteral("quitKeys"));
        read.quitKeys = QKeySequence::fromString(keys, QKeySequence::PortableText);
        if (read.quitKeys.isEmpty() || read.quitKeys.count() != 1) {
            error = QStringLiteral("quitKeys: \"") + keys
                    + QStringLiteral("\" is not one key combination such as Ctrl+Alt+Shift+Q");
            return false;
        }
    }
    if (!OpeningHours::parse(text(*store, QStringLiteral("openingHours")), read.hours, error))
        return false;
    if (!readSeconds(*store, QStringLiteral("idleSeconds"), 1, read.idleSeconds, error)
        || !readSeconds(*store, QStringLiteral("watchdogSeconds"), 1, read.watchdogSeconds, error)
        || !readSeconds(*store, QStringLiteral("followSeconds"), 1, read.followSeconds, error)
        || !readSeconds(*store, QStringLiteral("heartbeatSeconds"), 1, read.heartbeatSeconds, error))
        return false;
    if (store->contains(QStringLiteral("restartLimit"))) {
        bool ok = false;
        read.restartLimit = text(*store, QStringLiteral("restartLimit")).trimmed().toInt(&ok);
        if (!ok || read.restartLimit < 1 || read.restartLimit > 1000) {
            error = QStringLiteral("restartLimit: \"") + text(*store, QStringLiteral("restartLimit"))
                    + QStringLiteral("\" is not a number from 1 to 1000");
            return false;
        }
    }
    settings = read;
    return true;
}
