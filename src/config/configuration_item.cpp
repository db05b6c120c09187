// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/configuration_item.h"

#include "base/runtime_error.h"

void IntegerConfigurationItem::init(const QString& name, std::int16_t defaultValue, std::int16_t minimum,
                                    std::int16_t maximum)
{
    m_name = name;
    m_default = defaultValue;
    m_minimum = minimum;
    m_maximum = maximum;
    m_value = defaultValue;
}

void IntegerConfigurationItem::setValue(std::int16_t value)
{
    if (value < m_minimum || value > m_maximum)
        throw RuntimeError(RangeErrorNumber,
                           QStringLiteral("Configuration value %1 outside permitted range %2 to %3")
                               .arg(value)
                               .arg(m_minimum)
                               .arg(m_maximum),
                           QStringLiteral("KioskSystem.clsIntegerConfigurationItem"));
    m_value = value;
}

void StringConfigurationItem::init(const QString& name, const QString& defaultValue)
{
    m_name = name;
    m_default = defaultValue;
    m_value = defaultValue;
}
