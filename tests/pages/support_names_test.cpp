#include "pages/support.h"
#include "support/recording_messages.h"

#include <gtest/gtest.h>

namespace {

QString nameMessage(const QString& name, const QString& kind)
{
    return name + " is not a valid " + kind + " name\r\nA valid " + kind
           + " name may only contain\r\n\r\n lower case letters,\r\n digits,\r\n underscores(_) and dashes(-)";
}

struct NameCase {
    const char* name;
    QString text;
    bool valid;
};

class NameRule : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameRule, FolderAndPageNamesShareTheRule)
{
    const NameCase& c = GetParam();
    RecordingMessages messages;
    EXPECT_EQ(Support::isValidFolderName(c.text), c.valid);
    EXPECT_EQ(Support::isValidPageName(c.text), c.valid);
    if (c.valid)
        EXPECT_TRUE(messages.entries().empty());
    else
        EXPECT_EQ(messages.texts(), (QStringList{nameMessage(c.text, "folder"), nameMessage(c.text, "page")}));
}

INSTANTIATE_TEST_SUITE_P(Table, NameRule, ::testing::Values(
    NameCase{"plain", "news", true},
    NameCase{"dash_and_digit", "page-2", true},
    NameCase{"underscore", "my_page", true},
    NameCase{"capital_letter", "News", false},
    NameCase{"blank", "my page", false},
    NameCase{"dot", "page.zel", false},
    NameCase{"accented_letter", QString::fromUtf8("caf\xc3\xa9"), false},
    NameCase{"empty", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NameRule, EmptyNameMessageStartsWithTheBlank)
{
    RecordingMessages messages;
    Support::isValidPageName(QString());
    EXPECT_TRUE(messages.texts().value(0).startsWith(" is not a valid page name\r\n"));
}

struct RangeCase {
    const char* text;
    int expected;
};

TEST(IntegerInRange, FallsBackOnAnythingOutsideTheRange)
{
    const RangeCase cases[] = {{"50", 50}, {"0", 0}, {"101", 0}, {"abc", 0}, {"", 0}, {"70000", 0},
                               {" 7 ", 7}, {"2.5", 2}, {"3.5", 4}, {"100", 100}, {"1", 1}};
    for (const auto& c : cases)
        EXPECT_EQ(Support::integerInRange(QString::fromLatin1(c.text), 1, 100, 0), c.expected) << c.text;
}

} // namespace
