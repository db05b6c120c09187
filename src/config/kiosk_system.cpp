// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/kiosk_system.h"

#include "base/line_end.h"
#include "base/runtime_error.h"
#include "runtime/error_handler.h"

KioskSystem::KioskSystem(Session& session) : m_session(session) {}

KioskSystem::~KioskSystem() = default;

IntegerConfigurationItem& KioskSystem::addInteger(const QString& name, std::int16_t defaultValue, std::int16_t minimum,
                                                  std::int16_t maximum)
{
    try {
        auto item = std::make_unique<IntegerConfigurationItem>();
        item->init(name, defaultValue, minimum, maximum);
        return static_cast<IntegerConfigurationItem&>(m_items.add(std::move(item)));
    } catch (const RuntimeError& error) {
        raiseFatalProblem(
            QStringLiteral("Error No. %1 in configuration.addInteger when adding %2").arg(error.number()).arg(name)
            + kCrLf + error.description());
    }
}

StringConfigurationItem& KioskSystem::addString(const QString& name, const QString& defaultValue)
{
    auto item = std::make_unique<StringConfigurationItem>();
    item->init(name, defaultValue);
    return static_cast<StringConfigurationItem&>(m_items.add(std::move(item)));
}

template <class Item>
Item& KioskSystem::itemOfKind(const QString& name) const
{
    auto* item = dynamic_cast<Item*>(m_items.find(name));
    if (!item)
        Errors::raise(Errors::InvalidArgument);
    return *item;
}

IntegerConfigurationItem& KioskSystem::integerItem(const QString& name) const
{
    return itemOfKind<IntegerConfigurationItem>(name);
}

StringConfigurationItem& KioskSystem::stringItem(const QString& name) const
{
    return itemOfKind<StringConfigurationItem>(name);
}

QString KioskSystem::stringValue(const QString& name) const { return stringItem(name).value(); }

QString KioskSystem::folder() const { return stringValue(QStringLiteral("kioskSystemFolder")); }

KioskSystem& handedKioskSystem(KioskSystem* kiosk)
{
    if (!kiosk)
        Errors::raise(Errors::InvalidArgument);
    return *kiosk;
}
