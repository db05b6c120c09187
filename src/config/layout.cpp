#include "config/layout.h"

#include "config/configuration.h"
#include "platform/int16.h"
#include "platform/line_end.h"
#include "platform/screen_size.h"
#include "runtime/error_handler.h"

namespace {

std::int16_t value(const char* name) { return configuration::integerValue(QString::fromLatin1(name)); }

std::int16_t addDerived(const QString& name, std::int16_t derived)
{
    return configuration::addInteger(name, derived, -32767, 32767).value();
}

void derivePageType(const QString& type, bool contentScrolls)
{
    const std::int16_t width = value("screenwidth");
    const std::int16_t percentage = configuration::integerValue(type + QStringLiteral("navigationpercentage"));
    // Percentages up to 100 times any valid width fit in 32 bits; only the
    // stored result must be a 16-bit value.
    const std::int16_t navigation =
        addDerived(type + QStringLiteral("NavigationWidth"), Int16::checked(std::int32_t(percentage) * width / 100));
    const std::int16_t content = addDerived(type + QStringLiteral("ContentWidth"),
                                            Int16::subtract(Int16::subtract(width, navigation), 4));
    addDerived(type + QStringLiteral("ButtonWidth"), Int16::subtract(navigation, value("navigationwidthadjustment")));
    const std::int16_t available =
        addDerived(type + QStringLiteral("ContentAvailableWidth"),
                   contentScrolls ? Int16::subtract(content, value("scrollbarwidth")) : content);
    addDerived(type + QStringLiteral("MaximumImageWidth"),
               Int16::subtract(available, Int16::multiply(2, value("minimumhorizontalspace"))));
}

void checkScreen(const ScreenSizeProvider& screen)
{
    const std::int16_t actualWidth = Int16::checked(screen.pixelSize().width());
    const std::int16_t actualHeight = Int16::checked(screen.pixelSize().height());
    const std::int16_t height = value("screenheight");
    if (height != actualHeight)
        fatalError(QStringLiteral("Configuration File") + kCrLf + QStringLiteral("Specified screen height = %1").arg(height)
                   + kCrLf + QStringLiteral("Actual screen height = %1").arg(actualHeight) + kCrLf
                   + QStringLiteral("Program will stop"));
    const std::int16_t width = value("screenwidth");
    const std::int16_t screens = value("screens");
    const std::int16_t required = Int16::multiply(screens, width);
    if (required != actualWidth)
        fatalError(QStringLiteral("Configuration File") + kCrLf + QStringLiteral("Specified screen width = %1").arg(width)
                   + kCrLf + QStringLiteral("Number of screens = %1").arg(screens) + kCrLf
                   + QStringLiteral("Requires total screen width = %1 Total screen width = %2").arg(required).arg(actualWidth)
                   + kCrLf + QStringLiteral("Program will stop"));
}

} // namespace

void deriveLayout(const ScreenSizeProvider* screen)
{
    addDerived(QStringLiteral("navigationHeight"),
               Int16::subtract(value("screenheight"), value("navigationheightadjustment")));
    derivePageType(QStringLiteral("branch"), false);
    derivePageType(QStringLiteral("leaf"), true);
    derivePageType(QStringLiteral("root"), false);
    derivePageType(QStringLiteral("selector"), true);
    configuration::list();
    if (screen)
        checkScreen(*screen);
}
