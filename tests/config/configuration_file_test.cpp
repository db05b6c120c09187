#include "config/configuration.h"
#include "platform/runtime_error.h"
#include "support/kiosk_fixture.h"

#include <gtest/gtest.h>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString badLineReport(const QString& description, const QString& line)
{
    return QStringLiteral("Error processing configuration file") + kCrLf + description + kCrLf
           + QStringLiteral("The error occurred in the following line") + kCrLf + kCrLf + line;
}

TEST(ConfigurationFile, AcceptedLinesSetTheirItem)
{
    const struct { const char* name; QStringList lines; const char* item; int expected; } rows[] = {
        {"name in capitals", {"SCREENWIDTH 1024"}, "screenwidth", 1024},
        {"value trimmed", {"screenwidth    1024   "}, "screenwidth", 1024},
        {"comment in first column", {"'screenwidth 99", "buttons 9"}, "buttons", 9},
        {"blank and empty lines skipped", {"", "    ", "buttons 9"}, "buttons", 9},
        {"half goes down to even", {"screenwidth 1024.5"}, "screenwidth", 1024},
        {"half goes up to even", {"screenwidth 1025.5"}, "screenwidth", 1026},
        {"later line wins", {"buttons 9", "buttons 12"}, "buttons", 12},
        {"negative adjustment", {"navigationwidthadjustment -32000"}, "navigationwidthadjustment", -32000},
        {"defaults without settings", {}, "leafnavigationpercentage", 12}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TemporaryKiosk kiosk(row.lines);
        kiosk.openHeadless();
        EXPECT_TRUE(kiosk.messages.entries().empty()) << kiosk.messages.texts().join("|").toStdString();
        EXPECT_EQ(configuration::integerValue(QString::fromLatin1(row.item)), row.expected);
    }
}

TEST(ConfigurationFile, RefusedLinesEndTheProgramNamingTheLine)
{
    const struct { const char* line; const char* description; } rows[] = {
        {"screens 7", "Configuration value 7 outside permitted range 1 to 6"},
        {"buttons 3", "Configuration value 3 outside permitted range 4 to 32767"},
        {"navigationheightadjustment -32768", "Configuration value -32768 outside permitted range -32767 to 32767"},
        {"screenwidth = 1024", "Type mismatch"},
        {"screenwidth 40000", "Overflow"},
        {"screenwidth", "Invalid procedure call or argument"},
        {" screenwidth 1024", " is not configurable"},
        {"  'screenwidth 1024", " is not configurable"},
        {"navigationHeight 10", "navigationheight is not configurable"},
        {"colour red", "colour is not configurable"}};
    for (const auto& row : rows) {
        const QString line = QString::fromLatin1(row.line);
        SCOPED_TRACE(row.line);
        TemporaryKiosk kiosk({QStringLiteral("buttons 9"), line});
        EXPECT_TRUE(endsProgram([&] { kiosk.openHeadless(); }));
        const QString report = badLineReport(QString::fromLatin1(row.description), line);
        ASSERT_EQ(kiosk.messages.entries().size(), 1u);
        EXPECT_EQ(kiosk.messages.entries()[0].kind, RecordingMessages::Entry::Exclamation);
        EXPECT_EQ(kiosk.messages.texts()[0], QStringLiteral("The System has encountered a problem") + kCrLf + report);
        EXPECT_EQ(kiosk.session.endCount(), 1);
        // The log holds the report and then the closing line.
        EXPECT_EQ(kiosk.logLines(), report.split(kCrLf) + QStringList{QStringLiteral("log file closed")});
    }
}

TEST(ConfigurationFile, RunStateItemsAreConfigurableToo)
{
    TemporaryKiosk kiosk({QStringLiteral("rootfilepath  /elsewhere/root.htm ")});
    kiosk.openHeadless();
    EXPECT_EQ(configuration::stringValue(QStringLiteral("rootFilePath")), QStringLiteral("/elsewhere/root.htm"));
}

TEST(ConfigurationFile, ReadsWindows1252AndLfOnlyFiles)
{
    TemporaryKiosk kiosk;
    writeBytes(kiosk.path(QStringLiteral("configuration.txt")), QByteArray("'caf\xe9\nbuttons 11\rscreens 2\n"));
    kiosk.openHeadless();
    EXPECT_EQ(configuration::integerValue(QStringLiteral("buttons")), 11);
    EXPECT_EQ(configuration::integerValue(QStringLiteral("screens")), 2);
}

TEST(ConfigurationStore, DuplicateIntegerIsAFatalReport)
{
    TemporaryKiosk kiosk;
    KioskSystem& system = kiosk.openHeadless();
    EXPECT_TRUE(endsProgram([&] { system.addInteger(QStringLiteral("BUTTONS"), 1, 0, 2); }));
    EXPECT_EQ(kiosk.messages.texts().value(0),
              QStringLiteral("The System has encountered a problem\r\nError No. 457 in configuration.addInteger "
                             "when adding BUTTONS\r\nThis key is already associated with an element of this collection"));
}

TEST(ConfigurationStore, RangeErrorCarriesItsOwnNumberAndSource)
{
    clsIntegerConfigurationItem item;
    item.init(QStringLiteral("remotescreen"), 0, 1, 6);
    EXPECT_EQ(item.value(), 0); // the default is not checked against the range
    try {
        item.setValue(7);
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), -2147220480);
        EXPECT_EQ(e.source(), QStringLiteral("KioskSystem.clsIntegerConfigurationItem"));
        EXPECT_EQ(e.description(), QStringLiteral("Configuration value 7 outside permitted range 1 to 6"));
    }
    EXPECT_EQ(item.value(), 0);
}

} // namespace
