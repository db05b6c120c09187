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

struct GoodLine {
    const char* name;
    QStringList lines;
    const char* item;
    int expected;
};

class ConfigurationLineAccepted : public ::testing::TestWithParam<GoodLine> {};

TEST_P(ConfigurationLineAccepted, SetsTheItem)
{
    const GoodLine& c = GetParam();
    TemporaryKiosk kiosk(c.lines);
    kiosk.openHeadless();
    EXPECT_TRUE(kiosk.messages.entries().empty()) << kiosk.messages.texts().join("|").toStdString();
    EXPECT_EQ(configuration::integerValue(QString::fromLatin1(c.item)), c.expected);
    EXPECT_EQ(kiosk.ending.endCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, ConfigurationLineAccepted, ::testing::Values(
    GoodLine{"name_in_capitals", {"SCREENWIDTH 1024"}, "screenwidth", 1024},
    GoodLine{"value_trimmed", {"screenwidth    1024   "}, "screenwidth", 1024},
    GoodLine{"comment_in_first_column", {"'screenwidth 99", "buttons 9"}, "buttons", 9},
    GoodLine{"blank_and_empty_lines_skipped", {"", "    ", "buttons 9"}, "buttons", 9},
    GoodLine{"half_goes_down_to_even", {"screenwidth 1024.5"}, "screenwidth", 1024},
    GoodLine{"half_goes_up_to_even", {"screenwidth 1025.5"}, "screenwidth", 1026},
    GoodLine{"later_line_wins", {"buttons 9", "buttons 12"}, "buttons", 12},
    GoodLine{"negative_adjustment", {"navigationwidthadjustment -32000"}, "navigationwidthadjustment", -32000},
    GoodLine{"defaults_without_settings", {}, "leafnavigationpercentage", 12}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadLine {
    const char* name;
    const char* line;
    const char* descriptionLine;
};

class ConfigurationLineRefused : public ::testing::TestWithParam<BadLine> {};

TEST_P(ConfigurationLineRefused, EndsTheProgramNamingTheLine)
{
    const BadLine& c = GetParam();
    const QString line = QString::fromLatin1(c.line);
    TemporaryKiosk kiosk({QStringLiteral("buttons 9"), line});
    EXPECT_TRUE(endsProgram([&] { kiosk.openHeadless(); }));
    const QString report = badLineReport(QString::fromLatin1(c.descriptionLine), line);
    ASSERT_EQ(kiosk.messages.entries().size(), 1u);
    EXPECT_EQ(kiosk.messages.entries()[0].kind, RecordingMessages::Entry::Exclamation);
    EXPECT_EQ(kiosk.messages.texts()[0], QStringLiteral("The System has encountered a problem") + kCrLf + report);
    EXPECT_EQ(kiosk.ending.endCount(), 1);
    // The log holds the report after nothing else, then the closing line.
    QStringList expectedLog = report.split(kCrLf);
    expectedLog.append(QStringLiteral("log file closed"));
    EXPECT_EQ(kiosk.logLines(), expectedLog);
}

INSTANTIATE_TEST_SUITE_P(Table, ConfigurationLineRefused, ::testing::Values(
    BadLine{"screens_out_of_range", "screens 7", "Configuration value 7 outside permitted range 1 to 6"},
    BadLine{"buttons_below_minimum", "buttons 3", "Configuration value 3 outside permitted range 4 to 32767"},
    BadLine{"adjustment_below_minimum", "navigationheightadjustment -32768",
            "Configuration value -32768 outside permitted range -32767 to 32767"},
    BadLine{"equals_sign", "screenwidth = 1024", "Type mismatch"},
    BadLine{"number_too_large", "screenwidth 40000", "Overflow"},
    BadLine{"no_space", "screenwidth", "Invalid procedure call or argument"},
    BadLine{"leading_blank", " screenwidth 1024", " is not configurable"},
    BadLine{"indented_comment", "  'screenwidth 1024", " is not configurable"},
    BadLine{"derived_item", "navigationHeight 10", "navigationheight is not configurable"},
    BadLine{"unknown_name", "colour red", "colour is not configurable"}),
    [](const auto& info) { return std::string(info.param.name); });

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
    kiosk.openHeadless();
    EXPECT_TRUE(endsProgram([] { configuration::addInteger(QStringLiteral("BUTTONS"), 1, 0, 2); }));
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
