#include "pages/support.h"
#include "support/name_rule_message.h"
#include "support/test_session.h"

#include <gtest/gtest.h>

namespace {

TEST(NameRule, FolderAndPageNamesShareTheRule)
{
    struct Row {
        const char* name;
        QString text;
        bool valid;
    };
    const Row rows[] = {
        {"dash and digit", "page-2", true},
        {"underscore", "my_page", true},
        {"blank", "my page", false},
        {"dot", "page.zel", false},
        {"accented letter", QString::fromUtf8("caf\xc3\xa9"), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TestSession session;
        const RecordingMessages& messages = session.messages;
        EXPECT_EQ(Support::isValidFolderName(row.text), row.valid);
        EXPECT_EQ(Support::isValidPageName(row.text), row.valid);
        EXPECT_EQ(messages.texts(),
                  (row.valid ? QStringList()
                             : QStringList{nameRuleMessage(row.text, "folder"), nameRuleMessage(row.text, "page")}));
    }
}

TEST(IntegerInRange, FallsBackOnAnythingOutsideTheRange)
{
    const std::pair<const char*, int> rows[] = {{"50", 50}, {"0", 0},   {"101", 0}, {"abc", 0},   {"", 0}, {"70000", 0},
                                                {" 7 ", 7}, {"2.5", 2}, {"3.5", 4}, {"100", 100}, {"1", 1}};
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(Support::integerInRange(text, 1, 100, 0), expected) << text;
}

} // namespace
