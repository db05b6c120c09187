// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/layout_limits.h"

#include "config/configuration.h"
#include "config/kiosk_system.h"

#include <QStringList>
#include <cstdint>

namespace {

using Wide = std::int64_t;
constexpr Wide kLowest = -32768;
constexpr Wide kHighest = 32767;

// The values computed as the layout will compute them, but wide enough never
// to overflow, each held to its limit.
class LimitCheck {
public:
    explicit LimitCheck(const KioskSystem& kiosk) : m_kiosk(kiosk) {}

    Wide value(const QString& item) const { return m_kiosk.integerValue(item); }
    // The item as a formula shows it: "screenwidth 1280".
    QString named(const QString& item) const { return item + u' ' + QString::number(value(item)); }
    // Refuses a result outside low..high; quantity says what it is, formula
    // how it comes from items, which lists them.
    void require(Wide result, Wide low, Wide high, const QString& quantity, const QString& formula,
                 const QStringList& items) const;
    void checkPageType(const QString& type, bool contentScrolls) const;

private:
    const KioskSystem& m_kiosk;
};

void LimitCheck::require(Wide result, Wide low, Wide high, const QString& quantity, const QString& formula,
                         const QStringList& items) const
{
    if (result >= low && result <= high)
        return;
    // Of the items it comes from, the one configuration.txt set last went too far.
    QString blamed = items.first();
    KioskSystem::SettingLine line;
    for (const QString& item : items) {
        const KioskSystem::SettingLine set = m_kiosk.settingLine(item);
        if (set.number > line.number) {
            line = set;
            blamed = item;
        }
    }
    const QString where =
        line.number > 0 ? QStringLiteral(" (line %1 of configuration.txt)").arg(line.number) : QString();
    configuration::raiseBadLine(
        named(blamed) + where + QStringLiteral(" is outside what the layout can hold: ") + quantity
            + QStringLiteral(", ") + formula
            + QStringLiteral(", is %1 and must lie between %2 and %3").arg(result).arg(low).arg(high),
        line.text);
}

void LimitCheck::checkPageType(const QString& type, bool contentScrolls) const
{
    const QString percentage = type + QStringLiteral("navigationpercentage");
    const QString width = QStringLiteral("screenwidth");
    const QString widthAdjustment = QStringLiteral("navigationwidthadjustment");
    const QString scrollBar = QStringLiteral("scrollbarwidth");
    const QString space = QStringLiteral("minimumhorizontalspace");

    const Wide navigation = value(percentage) * value(width) / 100;
    const QString navigationFormula =
        named(percentage) + QStringLiteral(" * ") + named(width) + QStringLiteral(" / 100");
    require(navigation - value(widthAdjustment), kLowest, kHighest, QStringLiteral("the %1 button width").arg(type),
            u'(' + navigationFormula + QStringLiteral(") - ") + named(widthAdjustment),
            {width, percentage, widthAdjustment});

    Wide available = value(width) - navigation - 4;
    QString availableFormula = named(width) + QStringLiteral(" - (") + navigationFormula + QStringLiteral(") - 4");
    QStringList availableItems = {width, percentage};
    if (contentScrolls) {
        available -= value(scrollBar);
        availableFormula += QStringLiteral(" - ") + named(scrollBar);
        availableItems.append(scrollBar);
        require(available, kLowest, kHighest, QStringLiteral("the %1 available width").arg(type), availableFormula,
                availableItems);
    }
    require(available - 2 * value(space), kLowest, kHighest, QStringLiteral("the %1 widest picture").arg(type),
            availableFormula + QStringLiteral(" - 2 * ") + named(space), availableItems + QStringList{space});
}

} // namespace

namespace LayoutLimits {

void check(const KioskSystem& kiosk)
{
    const LimitCheck limits(kiosk);
    const QString height = QStringLiteral("screenheight");
    const QString heightAdjustment = QStringLiteral("navigationheightadjustment");
    limits.require(limits.value(height) - limits.value(heightAdjustment), LowestNavigationHeight,
                   HighestNavigationHeight, QStringLiteral("the navigation height"),
                   limits.named(height) + QStringLiteral(" - ") + limits.named(heightAdjustment),
                   {height, heightAdjustment});
    const QString space = QStringLiteral("minimumhorizontalspace");
    limits.require(2 * limits.value(space), kLowest, kHighest, QStringLiteral("the space on both sides of a picture"),
                   QStringLiteral("2 * ") + limits.named(space), {space});
    limits.checkPageType(QStringLiteral("branch"), false);
    limits.checkPageType(QStringLiteral("leaf"), true);
    limits.checkPageType(QStringLiteral("root"), false);
    limits.checkPageType(QStringLiteral("selector"), true);
}

} // namespace LayoutLimits
