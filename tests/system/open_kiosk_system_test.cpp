// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/kiosk_fixture.h"
#include "system/open_kiosk_system.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

// The open takes the real screen's size (warning when it is smaller) unless it
// is headless (no screen), then derives the layout from it; the worked values
// for 1280 x 1024 are those of the log below. Configuration lines and items
// ("name = value" lines of the log) have "|" between them.
TEST(OpenKioskSystem, ItemsAfterTheOpen)
{
    const QString warning =
        "Warning your screen is NOT the same size as required for the Kiosk System\r\n"
        "Some pages may NOT display correctly\r\n\r\nRequired width is 1280 actual width is 1024\r\n"
        "Required height is 1024 actual height is 768";
    const struct {
        const char *name, *configuration;
        QSize screen;
        const char* items;
    } rows[] = {
        {"smaller screen: warned, then used", "screens 2|remotescreen 2", QSize(1024, 768),
         "screens = 1|remotescreen = 1|screenwidth = 1024|screenheight = 768|mode = 2|navigationHeight = 762|"
         "leafNavigationWidth = 122|selectorContentAvailableWidth = 744"},
        {"headless keeps the configured screens", "screens 2|screenwidth 800|screenheight 600", QSize(),
         "screens = 2|remotescreen = 0|mode = 2|navigationHeight = 594|leafNavigationWidth = 96"},
        {"navigation share above a quarter", "branchnavigationpercentage 26|rootnavigationpercentage 100",
         QSize(1280, 1024), "branchNavigationWidth = 332|rootNavigationWidth = 1280|rootContentWidth = -4"},
        {"no scroll bar, no space", "scrollbarwidth 0|minimumhorizontalspace 0", QSize(1280, 1024),
         "leafContentAvailableWidth = 1123|leafMaximumImageWidth = 1123"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TemporaryKiosk kiosk(QString(row.configuration).split('|'));
        row.screen.isValid() ? kiosk.open(row.screen) : kiosk.openHeadless();
        EXPECT_EQ(kiosk.messages.texts(), row.screen.width() == 1024 ? QStringList{warning} : QStringList());
        for (const QString& item : QString(row.items).split('|'))
            EXPECT_TRUE(kiosk.logLines().contains(item)) << item.toStdString();
    }
}

// Opened headless from the folder given with blanks around it and without the separator.
TEST(OpenKioskSystem, LogListsAllThirtyEightItemsInStoreOrder)
{
    TemporaryKiosk kiosk;
    const auto system = openKioskSystemHeadless(kiosk.session.session(), "  " + kiosk.folder().chopped(1) + "  ");
    const QStringList expected =
        QStringList{"kioskSystemFolder = " + kiosk.folder(),
                    "logFileNumber = " + QString::number(system->integerValue("logFileNumber")),
                    "rootFilePath = " + kiosk.folder() + "root" + QDir::separator() + "root.htm"}
        + QString("mode = 2, buttons = 8, screenwidth = 1280, screenheight = 1024, screens = 1, remotescreen = 0, "
                  "leafnavigationpercentage = 12, branchnavigationpercentage = 25, rootnavigationpercentage = 25, "
                  "selectornavigationpercentage = 25, navigationheightadjustment = 6, navigationwidthadjustment = 4, "
                  "scrollbarwidth = 20, minimumhorizontalspace = 5, navigationHeight = 1018, "
                  "branchNavigationWidth = 320, branchContentWidth = 956, branchButtonWidth = 316, "
                  "branchContentAvailableWidth = 956, branchMaximumImageWidth = 946, leafNavigationWidth = 153, "
                  "leafContentWidth = 1123, leafButtonWidth = 149, leafContentAvailableWidth = 1103, "
                  "leafMaximumImageWidth = 1093, rootNavigationWidth = 320, rootContentWidth = 956, "
                  "rootButtonWidth = 316, rootContentAvailableWidth = 956, rootMaximumImageWidth = 946, "
                  "selectorNavigationWidth = 320, selectorContentWidth = 956, selectorButtonWidth = 316, "
                  "selectorContentAvailableWidth = 936, selectorMaximumImageWidth = 926")
              .split(", ");
    EXPECT_EQ(kiosk.logLines(), expected);
}

// configuration.txt may set kioskSystemFolder (stored kiosk systems do), but
// a move to another folder is never silent: the open says so, naming both
// folders, and the log keeps it. "~/" is the folder opened, "@/" another one.
TEST(OpenKioskSystem, ConfigurationThatMovesTheFolderIsTold)
{
    const struct {
        const char *name, *value, *folder;
        bool moved;
    } rows[] = {
        {"another folder", "@/", "@/", true},
        {"another folder without the separator", "@", "@/", true},
        {"the same folder", "~/", "~/", false},
        {"the same folder without the separator", "~", "~/", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir otherDir;
        const QString other = otherDir.path() + "/";
        TemporaryKiosk kiosk;
        const auto here = [&](const QString& text) {
            return QString(text)
                .replace("~/", kiosk.folder())
                .replace('~', kiosk.folder().chopped(1))
                .replace("@/", other)
                .replace('@', other.chopped(1));
        };
        writeTextFile(kiosk.path("configuration.txt"), {"kioskSystemFolder " + here(row.value)});
        const KioskSystem& system = kiosk.open(QSize(1280, 1024));
        EXPECT_EQ(system.folder(), here(row.folder));
        const QString message =
            "Kiosk System Folder - " + kiosk.folder() + " is moved to " + other + " by configuration.txt";
        EXPECT_EQ(kiosk.messages.texts(), row.moved ? QStringList{message} : QStringList());
        EXPECT_EQ(kiosk.logLines().contains(message), row.moved);
    }
}

} // namespace
