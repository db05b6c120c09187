#include "app/core/open_kiosk_system.h"
#include "config/configuration.h"
#include "support/kiosk_fixture.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(OpenKioskSystem, SmallerScreenWarnsThenUsesTheRealSize)
{
    TemporaryKiosk kiosk({QStringLiteral("screens 2"), QStringLiteral("remotescreen 2")});
    kiosk.open(QSize(1024, 768));
    EXPECT_EQ(kiosk.messages.texts(),
              QStringList{QStringLiteral("Warning your screen is NOT the same size as required for the Kiosk System\r\n"
                                         "Some pages may NOT display correctly\r\n\r\n"
                                         "Required width is 1280 actual width is 1024\r\n"
                                         "Required height is 1024 actual height is 768")});
    const QStringList log = kiosk.logLines();
    for (const char* line : {"screens = 1", "remotescreen = 1", "screenwidth = 1024", "screenheight = 768", "mode = 2",
                             "navigationHeight = 762", "leafNavigationWidth = 122"})
        EXPECT_TRUE(log.contains(QString::fromLatin1(line))) << line;
    EXPECT_EQ(kiosk.session.endCount(), 0);
}

TEST(OpenKioskSystem, FolderIsTrimmedAndEndsWithTheSeparator)
{
    TemporaryKiosk kiosk;
    QString given = kiosk.folder();
    given.chop(1);
    kiosk.messages.clear();
    const auto system = openKioskSystemHeadless(QStringLiteral("  ") + given + QStringLiteral("  "));
    EXPECT_EQ(system->folder(), kiosk.folder());
    EXPECT_EQ(system->stringValue(QStringLiteral("rootFilePath")),
              kiosk.folder() + QStringLiteral("root") + QDir::separator() + QStringLiteral("root.htm"));
}

TEST(OpenKioskSystem, MissingFolderEndsAtOnceWithoutLog)
{
    TemporaryKiosk kiosk;
    const QString missing = kiosk.path(QStringLiteral("gone"));
    EXPECT_TRUE(endsProgram([&] { (void)openKioskSystemHeadless(missing); }));
    EXPECT_EQ(kiosk.messages.entries().size(), 1u);
    EXPECT_EQ(kiosk.messages.entries()[0].kind, RecordingMessages::Entry::Ok);
    EXPECT_EQ(kiosk.messages.texts()[0], QStringLiteral("Fatal Error - Kiosk System Folder - ") + missing
                                             + QDir::separator() + QStringLiteral(" does NOT exist\r\nProgram will stop"));
    EXPECT_TRUE(QDir(kiosk.folder()).entryList({QStringLiteral("log*")}).isEmpty());
}

TEST(OpenKioskSystem, MissingConfigurationFileIsAFatalReport)
{
    TemporaryKiosk kiosk;
    QFile::remove(kiosk.path(QStringLiteral("configuration.txt")));
    EXPECT_TRUE(endsProgram([&] { kiosk.open(); }));
    const QString text = QStringLiteral("Configuration File - ") + kiosk.path(QStringLiteral("configuration.txt"))
                         + QStringLiteral(" does NOT exist\r\nProgram will stop");
    EXPECT_EQ(kiosk.messages.texts().value(0), QStringLiteral("The System has encountered a problem\r\n") + text);
    EXPECT_EQ(kiosk.logLines(), (QStringList{text.split("\r\n")[0], "Program will stop", "log file closed"}));
}

TEST(OpenKioskSystem, HeadlessKeepsTheConfiguredScreen)
{
    TemporaryKiosk kiosk({QStringLiteral("screens 2"), QStringLiteral("screenwidth 800"), QStringLiteral("screenheight 600")});
    kiosk.openHeadless();
    EXPECT_TRUE(kiosk.messages.entries().empty());
    EXPECT_EQ(configuration::integerValue(QStringLiteral("screens")), 2);
    EXPECT_EQ(configuration::integerValue(QStringLiteral("remotescreen")), 0);
    EXPECT_EQ(configuration::integerValue(QStringLiteral("leafNavigationWidth")), 96);
    EXPECT_EQ(configuration::integerValue(QStringLiteral("mode")), 2);
}

} // namespace
