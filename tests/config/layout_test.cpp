#include "config/configuration.h"
#include "config/layout.h"
#include "platform/screen_size.h"
#include "support/kiosk_fixture.h"

#include <gtest/gtest.h>

namespace {

std::array<int, 5> derivedFor(const char* type)
{
    std::array<int, 5> values{};
    const char* suffixes[] = {"NavigationWidth", "ContentWidth", "ButtonWidth", "ContentAvailableWidth",
                              "MaximumImageWidth"};
    for (int i = 0; i < 5; ++i)
        values[i] = configuration::integerValue(QString::fromLatin1(type) + QString::fromLatin1(suffixes[i]));
    return values;
}

// The worked values for 1280 x 1024 are those of the log below.
TEST(Layout, MatchesTheWorkedValuesForSmallerScreens)
{
    const struct { int width, height, navigationHeight; std::array<int, 5> branch, leaf, root, selector; } rows[] = {
        {1024, 768, 762, {256, 764, 252, 764, 754}, {122, 898, 118, 878, 868}, {256, 764, 252, 764, 754}, {256, 764, 252, 744, 734}},
        {800, 600, 594, {200, 596, 196, 596, 586}, {96, 700, 92, 680, 670}, {200, 596, 196, 596, 586}, {200, 596, 196, 576, 566}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.width);
        TemporaryKiosk kiosk({QStringLiteral("screenwidth %1").arg(row.width), QStringLiteral("screenheight %1").arg(row.height)});
        kiosk.open(QSize(row.width, row.height));
        EXPECT_TRUE(kiosk.messages.entries().empty());
        EXPECT_EQ(configuration::integerValue(QStringLiteral("navigationHeight")), row.navigationHeight);
        EXPECT_EQ(derivedFor("branch"), row.branch);
        EXPECT_EQ(derivedFor("leaf"), row.leaf);
        EXPECT_EQ(derivedFor("root"), row.root);
        EXPECT_EQ(derivedFor("selector"), row.selector);
    }
}

TEST(Layout, NavigationShareAboveAQuarterDoesNotOverflow)
{
    TemporaryKiosk kiosk({QStringLiteral("branchnavigationpercentage 26"), QStringLiteral("rootnavigationpercentage 100")});
    kiosk.open();
    EXPECT_EQ(kiosk.session.endCount(), 0);
    EXPECT_EQ(configuration::integerValue(QStringLiteral("branchNavigationWidth")), 332);
    EXPECT_EQ(configuration::integerValue(QStringLiteral("rootNavigationWidth")), 1280);
    EXPECT_EQ(configuration::integerValue(QStringLiteral("rootContentWidth")), -4); // stored as it comes
}

TEST(Layout, ZeroScrollBarAndSpaceLeaveTheWidthsEqual)
{
    TemporaryKiosk kiosk({QStringLiteral("scrollbarwidth 0"), QStringLiteral("minimumhorizontalspace 0")});
    kiosk.open();
    EXPECT_EQ(configuration::integerValue(QStringLiteral("leafContentAvailableWidth")), 1123);
    EXPECT_EQ(configuration::integerValue(QStringLiteral("leafMaximumImageWidth")), 1123);
}

TEST(Layout, ExtremeAdjustmentOverflowsAndIsReportedAsTheOpen)
{
    TemporaryKiosk kiosk({QStringLiteral("navigationheightadjustment -32767")});
    EXPECT_TRUE(endsProgram([&] { kiosk.open(); }));
    EXPECT_EQ(kiosk.messages.texts().value(0),
              QStringLiteral("The System has encountered a problem\r\nRuntime error 6 in frmKioskSystem.openKioskSystem(")
                  + kiosk.folder() + QStringLiteral(")\r\nOverflow"));
}

TEST(Layout, LogListsAllThirtyEightItemsInStoreOrder)
{
    TemporaryKiosk kiosk;
    kiosk.open();
    const QStringList log = kiosk.logLines();
    ASSERT_EQ(log.size(), 38);
    const QStringList expected = {
        "kioskSystemFolder = " + kiosk.folder(), "logFileNumber = " + QString::number(configuration::integerValue("logFileNumber")),
        "rootFilePath = " + kiosk.folder() + "root/root.htm", "mode = 2", "buttons = 8", "screenwidth = 1280",
        "screenheight = 1024", "screens = 1", "remotescreen = 1", "leafnavigationpercentage = 12",
        "branchnavigationpercentage = 25", "rootnavigationpercentage = 25", "selectornavigationpercentage = 25",
        "navigationheightadjustment = 6", "navigationwidthadjustment = 4", "scrollbarwidth = 20",
        "minimumhorizontalspace = 5", "navigationHeight = 1018", "branchNavigationWidth = 320",
        "branchContentWidth = 956", "branchButtonWidth = 316", "branchContentAvailableWidth = 956",
        "branchMaximumImageWidth = 946", "leafNavigationWidth = 153", "leafContentWidth = 1123",
        "leafButtonWidth = 149", "leafContentAvailableWidth = 1103", "leafMaximumImageWidth = 1093",
        "rootNavigationWidth = 320", "rootContentWidth = 956", "rootButtonWidth = 316",
        "rootContentAvailableWidth = 956", "rootMaximumImageWidth = 946", "selectorNavigationWidth = 320",
        "selectorContentWidth = 956", "selectorButtonWidth = 316", "selectorContentAvailableWidth = 936",
        "selectorMaximumImageWidth = 926"};
    EXPECT_EQ(log, expected);
}

TEST(Layout, ScreenMismatchIsFatal)
{
    const struct { QStringList configuration; QSize screen; const char* report; } rows[] = {
        {{}, QSize(1280, 768),
         "Configuration File\r\nSpecified screen height = 1024\r\nActual screen height = 768\r\nProgram will stop"},
        {{"screens 2", "screenwidth 640", "screenheight 768"}, QSize(1024, 768),
         "Configuration File\r\nSpecified screen width = 640\r\nNumber of screens = 2\r\n"
         "Requires total screen width = 1280 Total screen width = 1024\r\nProgram will stop"}};
    for (const auto& row : rows) {
        TemporaryKiosk kiosk(row.configuration);
        KioskSystem system(kiosk.session.session());
        configuration::openConfiguration(system, kiosk.folder());
        const FixedScreenSize screen(row.screen);
        EXPECT_TRUE(endsProgram([&] { deriveLayout(system, &screen); }));
        EXPECT_EQ(kiosk.messages.texts().value(0),
                  QStringLiteral("The System has encountered a problem\r\n") + QString::fromLatin1(row.report));
    }
}

} // namespace
