// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/configuration_items.h"

#include <QHash>
#include <QString>
#include <cstdint>

class Session;

// The open kiosk system: its configuration items (the run-state items,
// configuration.txt and the derived layout, in store order) and the session
// it was opened in. openKioskSystemRunState / openKioskSystemHeadless build
// one and hand it to their caller, which keeps it as long as the kiosk system
// is open (the main window, zel-make, a test). The page maker, the layout, the
// folder export and the kiosk check read their items through it.
class KioskSystem {
public:
    explicit KioskSystem(Session& session);
    ~KioskSystem();
    KioskSystem(const KioskSystem&) = delete;
    KioskSystem& operator=(const KioskSystem&) = delete;

    Session& session() const { return m_session; }
    const ConfigurationItems& items() const { return m_items; }

    // Creates, initialises and adds an item. A duplicate name in addInteger is
    // a fatal report ("Error No. 457 in configuration.addInteger when adding ...").
    IntegerConfigurationItem& addInteger(const QString& name, std::int16_t defaultValue, std::int16_t minimum,
                                         std::int16_t maximum);
    StringConfigurationItem& addString(const QString& name, const QString& defaultValue);

    // Access by item name, in any letter case. A missing item (or one of the
    // other kind) raises Invalid argument (5).
    IntegerConfigurationItem& integerItem(const QString& name) const;
    StringConfigurationItem& stringItem(const QString& name) const;
    std::int16_t integerValue(const QString& name) const { return integerItem(name).value(); }
    QString stringValue(const QString& name) const;
    void setIntegerValue(const QString& name, std::int16_t value) const { integerItem(name).setValue(value); }

    // The kioskSystemFolder item: the folder opened, ending with the
    // separator, unless configuration.txt sets it to something else.
    QString folder() const;
    // The folder the kiosk system was opened from (ending with the
    // separator), and the line of its configuration.txt that set
    // kioskSystemFolder last (0: none); both kept by openConfiguration.
    const QString& openedFolder() const { return m_openedFolder; }
    int folderLine() const { return m_folderLine; }
    void setOpenedFolder(const QString& folder) { m_openedFolder = folder; }
    void setFolderLine(int line) { m_folderLine = line; }

    // The line of configuration.txt that set an item last (number 0 and no
    // text: none, or the value was replaced since, as the real screen size
    // replaces the configured one). Names in any letter case.
    struct SettingLine {
        int number = 0;
        QString text;
    };
    SettingLine settingLine(const QString& name) const { return m_settingLines.value(name.toLower()); }
    void setSettingLine(const QString& name, const SettingLine& line) { m_settingLines.insert(name.toLower(), line); }
    void forgetSettingLine(const QString& name) { m_settingLines.remove(name.toLower()); }

private:
    template <class Item>
    Item& itemOfKind(const QString& name) const;

    Session& m_session;
    ConfigurationItems m_items;
    QString m_openedFolder;
    int m_folderLine = 0;
    QHash<QString, SettingLine> m_settingLines;
};

// The kiosk system a long-lived part (the page maker, the kiosk check) was
// handed; Invalid argument (5) when it was given none yet.
KioskSystem& handedKioskSystem(KioskSystem* kiosk);
