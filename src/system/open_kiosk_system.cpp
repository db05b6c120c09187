// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/open_kiosk_system.h"

#include "platform/problem.h"
#include "config/configuration.h"
#include "fileio/replacement_journal.h"
#include "config/layout.h"
#include "base/int16.h"
#include "base/line_end.h"
#include "platform/messages.h"
#include "base/screen_size.h"
#include "platform/session.h"
#include "runtime/error_handler.h"

#include <QCoreApplication>
#include <QFile>

namespace {

QString openLabel(const QString& folder) { return QStringLiteral("openKioskSystem(") + folder + QStringLiteral(")"); }

void useRealScreen(KioskSystem& kiosk, const ScreenSizeProvider& screen)
{
    kiosk.setIntegerValue(QStringLiteral("remotescreen"), 1);
    kiosk.setIntegerValue(QStringLiteral("screens"), 1);
    const std::int16_t actualWidth = Int16::checked(screen.pixelSize().width());
    const std::int16_t actualHeight = Int16::checked(screen.pixelSize().height());
    const std::int16_t width = kiosk.integerValue(QStringLiteral("screenwidth"));
    const std::int16_t height = kiosk.integerValue(QStringLiteral("screenheight"));
    if (width != actualWidth || height != actualHeight) {
        kiosk.session().messages().show(
            QCoreApplication::translate("OpenKioskSystem",
                                        "Warning your screen is NOT the same size as required for the Kiosk System")
                + kCrLf + QCoreApplication::translate("OpenKioskSystem", "Some pages may NOT display correctly") + kCrLf
                + kCrLf
                + QCoreApplication::translate("OpenKioskSystem", "Required width is %1 actual width is %2")
                      .arg(width)
                      .arg(actualWidth)
                + kCrLf
                + QCoreApplication::translate("OpenKioskSystem", "Required height is %1 actual height is %2")
                      .arg(height)
                      .arg(actualHeight),
            MessageIcon::None);
        kiosk.setIntegerValue(QStringLiteral("screenwidth"), actualWidth);
        kiosk.setIntegerValue(QStringLiteral("screenheight"), actualHeight);
        // The screen's size, not a line of configuration.txt, is what the layout is held to now.
        kiosk.forgetSettingLine(QStringLiteral("screenwidth"));
        kiosk.forgetSettingLine(QStringLiteral("screenheight"));
    }
}

// Without a screen, the configured one is kept and not checked.
std::unique_ptr<KioskSystem> openKioskSystem(Session& session, const QString& folder, const ScreenSizeProvider* screen,
                                             configuration::LogFile log)
{
    auto kiosk = std::make_unique<KioskSystem>(session);
    inProcedure(
        QStringLiteral("frmKioskSystem"), [&] { return openLabel(folder); },
        [&] {
            ProblemBoxes problems(kiosk->session().messages());
            configuration::openConfiguration(*kiosk, folder, problems, log);
            if (screen)
                useRealScreen(*kiosk, *screen);
            kiosk->setIntegerValue(QStringLiteral("mode"), 2);
            deriveLayout(*kiosk, screen);
            // A make killed while it put a page's files in place left the
            // rest of them recorded: put them in place (an open that writes
            // nothing, for the check, leaves them).
            if (log == configuration::LogFile::Create)
                fileio::completeInterruptedGroupsBelow(QFile::encodeName(kiosk->folder()).toStdString());
        });
    return kiosk;
}

} // namespace

std::unique_ptr<KioskSystem> openKioskSystemRunState(Session& session, const QString& folder,
                                                     const ScreenSizeProvider& screen)
{
    return openKioskSystem(session, folder, &screen, configuration::LogFile::Create);
}

std::unique_ptr<KioskSystem> openKioskSystemHeadless(Session& session, const QString& folder, bool withLog)
{
    return openKioskSystem(session, folder, nullptr,
                           withLog ? configuration::LogFile::Create : configuration::LogFile::None);
}
