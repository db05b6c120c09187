#include "pages/support.h"
#include "support/name_rule_message.h"
#include "support/test_session.h"

#include <gtest/gtest.h>

namespace {

// Lower case letters, digits, '_' and '-' only; no other letter (capitals:
// dlg_insert_test.cpp).
TEST(NameRule, FolderAndPageNamesShareTheRule)
{
    const std::pair<QString, bool> rows[] = {{"my_page-2", true}, {QString::fromUtf8("caf\xc3\xa9"), false}};
    for (const auto& [text, valid] : rows) {
        TestSession session;
        EXPECT_EQ(Support::isValidFolderName(text), valid);
        EXPECT_EQ(Support::isValidPageName(text), valid);
        EXPECT_EQ(
            session.messages.texts(),
            (valid ? QStringList() : QStringList{nameRuleMessage(text, "folder"), nameRuleMessage(text, "page")}));
    }
}

// In the range, its ends included; anything else (also what is no number) falls back.
TEST(IntegerInRange, FallsBackOnAnythingOutsideTheRange)
{
    const std::pair<const char*, int> rows[] = {{"50", 50}, {"1", 1}, {"100", 100}, {"0", 0}, {"101", 0}, {"abc", 0}};
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(Support::integerInRange(text, 1, 100, 0), expected) << text;
}

} // namespace
