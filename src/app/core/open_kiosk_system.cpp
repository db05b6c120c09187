#include "app/core/open_kiosk_system.h"

#include "config/configuration.h"
#include "config/layout.h"
#include "platform/int16.h"
#include "platform/line_end.h"
#include "platform/messages.h"
#include "platform/screen_size.h"
#include "runtime/error_handler.h"

namespace {

QString openLabel(const QString& folder)
{
    return QStringLiteral("openKioskSystem(") + folder + QStringLiteral(")");
}

void useRealScreen(const ScreenSizeProvider& screen)
{
    using namespace configuration;
    setIntegerValue(QStringLiteral("remotescreen"), 1);
    setIntegerValue(QStringLiteral("screens"), 1);
    const std::int16_t actualWidth = Int16::checked(screen.pixelSize().width());
    const std::int16_t actualHeight = Int16::checked(screen.pixelSize().height());
    const std::int16_t width = integerValue(QStringLiteral("screenwidth"));
    const std::int16_t height = integerValue(QStringLiteral("screenheight"));
    if (width != actualWidth || height != actualHeight) {
        Messages::show(QStringLiteral("Warning your screen is NOT the same size as required for the Kiosk System") + kCrLf
                       + QStringLiteral("Some pages may NOT display correctly") + kCrLf + kCrLf
                       + QStringLiteral("Required width is %1 actual width is %2").arg(width).arg(actualWidth) + kCrLf
                       + QStringLiteral("Required height is %1 actual height is %2").arg(height).arg(actualHeight));
        setIntegerValue(QStringLiteral("screenwidth"), actualWidth);
        setIntegerValue(QStringLiteral("screenheight"), actualHeight);
    }
}

} // namespace

void openKioskSystemRunState(const QString& folder, const ScreenSizeProvider& screen)
{
    withErrorPath(QStringLiteral("frmKioskSystem"), [&] { return openLabel(folder); }, [&] {
        configuration::openConfiguration(folder);
        useRealScreen(screen);
        configuration::setIntegerValue(QStringLiteral("mode"), 2);
        deriveLayout(&screen);
    });
}

void openKioskSystemHeadless(const QString& folder, bool withLog)
{
    withErrorPath(QStringLiteral("frmKioskSystem"), [&] { return openLabel(folder); }, [&] {
        configuration::openConfiguration(folder,
                                         withLog ? configuration::LogFile::Create : configuration::LogFile::None);
        configuration::setIntegerValue(QStringLiteral("mode"), 2);
        deriveLayout(nullptr);
    });
}
