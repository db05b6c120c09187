// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>

// The common face of the two item kinds: a name and a value shown as text.
class ConfigurationItem {
public:
    virtual ~ConfigurationItem() = default;
    virtual QString name() const = 0;
    virtual QString valueText() const = 0;
    virtual QString className() const = 0;
};

// One 16-bit integer parameter with its permitted range. init() does not check
// the default against the range; setValue() does.
class IntegerConfigurationItem : public ConfigurationItem {
public:
    // The error number setValue raises for a value outside the range.
    static constexpr std::int32_t RangeErrorNumber = -2147220480;

    void init(const QString& name, std::int16_t defaultValue, std::int16_t minimum, std::int16_t maximum);
    QString name() const override { return m_name; }
    std::int16_t value() const { return m_value; }
    std::int16_t defaultValue() const { return m_default; }
    std::int16_t minimum() const { return m_minimum; }
    std::int16_t maximum() const { return m_maximum; }
    // Stores the value when minimum <= value <= maximum; otherwise raises the
    // range error ("Configuration value 7 outside permitted range 1 to 6") and
    // keeps the old value.
    void setValue(std::int16_t value);
    QString valueText() const override { return QString::number(m_value); }
    QString className() const override { return QStringLiteral("clsIntegerConfigurationItem"); }

private:
    QString m_name;
    std::int16_t m_default = 0;
    std::int16_t m_minimum = 0;
    std::int16_t m_maximum = 0;
    std::int16_t m_value = 0;
};

// One text parameter; any value is accepted.
class StringConfigurationItem : public ConfigurationItem {
public:
    void init(const QString& name, const QString& defaultValue);
    QString name() const override { return m_name; }
    const QString& value() const { return m_value; }
    void setValue(const QString& value) { m_value = value; }
    QString valueText() const override { return m_value; }
    QString className() const override { return QStringLiteral("clsStringConfigurationItem"); }

private:
    QString m_name;
    QString m_default;
    QString m_value;
};
