// Line classification and text escaping of the directive reader.
#include "maker/page_maker.h"

#include <gtest/gtest.h>

namespace {

struct LineRow {
    const char* name;
    const char* line;
    const char* directive;
    const char* arguments;
};

class LineClassification : public ::testing::TestWithParam<LineRow> {};

TEST_P(LineClassification, GivesDirectiveAndArguments)
{
    QString arguments = QStringLiteral("left over");
    EXPECT_EQ(PageMaker::classifyLine(QString::fromUtf8(GetParam().line), arguments).toStdString(),
              GetParam().directive);
    EXPECT_EQ(arguments.toStdString(), GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineClassification,
    ::testing::Values(LineRow{"empty_line", "", "IGNORE", ""}, LineRow{"plain_text", "Hello", "NOT DIRECTIVE", ""},
                      LineRow{"blank_before_hash", " #title x", "NOT DIRECTIVE", ""},
                      LineRow{"upper_case_name_trimmed", "#TITLE  Welcome  ", "title", "Welcome"},
                      LineRow{"name_alone", "#para", "para", ""},
                      LineRow{"comment", "# note", "", "note"}, LineRow{"hash_alone", "#", "", ""},
                      LineRow{"double_hash", "##", "#", ""},
                      LineRow{"tab_belongs_to_name", "#title\tx", "title\tx", ""},
                      LineRow{"arguments_keep_inner_blanks", "#button a  b c", "button", "a  b c"},
                      LineRow{"trailing_blank_only", "#break ", "break", ""}),
    [](const ::testing::TestParamInfo<LineRow>& info) { return std::string(info.param.name); });

struct EncodeRow {
    const char* name;
    const char* text;
    const char* encoded;
};

class Encoding : public ::testing::TestWithParam<EncodeRow> {};

TEST_P(Encoding, EscapesOnlyAngleBrackets)
{
    EXPECT_EQ(PageMaker::encode(QString::fromUtf8(GetParam().text)).toStdString(), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Encoding,
    ::testing::Values(EncodeRow{"empty", "", ""}, EncodeRow{"plain", "plain", "plain"},
                      EncodeRow{"tag", "<b>", "&lt;b&gt;"}, EncodeRow{"ampersand_and_quotes", "a & \"b\"", "a & \"b\""},
                      EncodeRow{"brackets_at_ends", ">x<", "&gt;x&lt;"}, EncodeRow{"doubled", "<<>>", "&lt;&lt;&gt;&gt;"},
                      EncodeRow{"euro_kept", "5 \xE2\x82\xAC", "5 \xE2\x82\xAC"}),
    [](const ::testing::TestParamInfo<EncodeRow>& info) { return std::string(info.param.name); });

} // namespace
