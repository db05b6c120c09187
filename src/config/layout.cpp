// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/layout.h"

#include "config/configuration.h"
#include "config/layout_limits.h"
#include "base/int16.h"
#include "base/line_end.h"
#include "base/screen_size.h"
#include "runtime/error_handler.h"

namespace {

// The derivation of one kiosk system's layout.
class Derivation {
public:
    explicit Derivation(KioskSystem& kiosk) : m_kiosk(kiosk) {}
    void derivePageType(const QString& type, bool contentScrolls);
    void checkScreen(const ScreenSizeProvider& screen) const;

    std::int16_t value(const char* name) const { return m_kiosk.integerValue(QString::fromLatin1(name)); }
    std::int16_t addDerived(const QString& name, std::int16_t derived)
    {
        return m_kiosk.addInteger(name, derived, -32767, 32767).value();
    }

private:
    KioskSystem& m_kiosk;
};

void Derivation::derivePageType(const QString& type, bool contentScrolls)
{
    const std::int16_t width = value("screenwidth");
    const std::int16_t percentage = m_kiosk.integerValue(type + QStringLiteral("navigationpercentage"));
    // Percentages up to 100 times any valid width fit in 32 bits; only the
    // stored result must be a 16-bit value.
    const std::int16_t navigation =
        addDerived(type + QStringLiteral("NavigationWidth"), Int16::checked(std::int32_t(percentage) * width / 100));
    const std::int16_t content =
        addDerived(type + QStringLiteral("ContentWidth"), Int16::subtract(Int16::subtract(width, navigation), 4));
    addDerived(type + QStringLiteral("ButtonWidth"), Int16::subtract(navigation, value("navigationwidthadjustment")));
    const std::int16_t available =
        addDerived(type + QStringLiteral("ContentAvailableWidth"),
                   contentScrolls ? Int16::subtract(content, value("scrollbarwidth")) : content);
    addDerived(type + QStringLiteral("MaximumImageWidth"),
               Int16::subtract(available, Int16::multiply(2, value("minimumhorizontalspace"))));
}

void Derivation::checkScreen(const ScreenSizeProvider& screen) const
{
    const std::int16_t actualWidth = Int16::checked(screen.pixelSize().width());
    const std::int16_t actualHeight = Int16::checked(screen.pixelSize().height());
    const std::int16_t height = value("screenheight");
    if (height != actualHeight)
        raiseFatalProblem(QStringLiteral("Configuration File") + kCrLf
                          + QStringLiteral("Specified screen height = %1").arg(height) + kCrLf
                          + QStringLiteral("Actual screen height = %1").arg(actualHeight) + kCrLf
                          + QStringLiteral("Program will stop"));
    const std::int16_t width = value("screenwidth");
    const std::int16_t screens = value("screens");
    const std::int16_t required = Int16::multiply(screens, width);
    if (required != actualWidth)
        raiseFatalProblem(
            QStringLiteral("Configuration File") + kCrLf + QStringLiteral("Specified screen width = %1").arg(width)
            + kCrLf + QStringLiteral("Number of screens = %1").arg(screens) + kCrLf
            + QStringLiteral("Requires total screen width = %1 Total screen width = %2").arg(required).arg(actualWidth)
            + kCrLf + QStringLiteral("Program will stop"));
}

} // namespace

void deriveLayout(KioskSystem& kiosk, const ScreenSizeProvider* screen)
{
    // A value the layout cannot hold is refused naming its item, before
    // anything is derived from it.
    LayoutLimits::check(kiosk);
    Derivation layout(kiosk);
    layout.addDerived(QStringLiteral("navigationHeight"),
                      Int16::subtract(layout.value("screenheight"), layout.value("navigationheightadjustment")));
    layout.derivePageType(QStringLiteral("branch"), false);
    layout.derivePageType(QStringLiteral("leaf"), true);
    layout.derivePageType(QStringLiteral("root"), false);
    layout.derivePageType(QStringLiteral("selector"), true);
    configuration::list(kiosk);
    if (screen)
        layout.checkScreen(*screen);
}
