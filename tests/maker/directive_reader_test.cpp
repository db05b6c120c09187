// Line classification and text escaping of the directive reader.
#include "maker/page_maker.h"

#include <gtest/gtest.h>

TEST(DirectiveReader, ClassifiesLinesIntoDirectiveAndArguments)
{
    struct Row {
        const char* name;
        const char* line;
        const char* directive;
        const char* arguments;
    };
    const Row rows[] = {
        {"empty line", "", "IGNORE", ""},
        {"plain text", "Hello", "NOT DIRECTIVE", ""},
        {"blank before hash", " #title x", "NOT DIRECTIVE", ""},
        {"upper case name, trimmed", "#TITLE  Welcome  ", "title", "Welcome"},
        {"name alone", "#para", "para", ""},
        {"comment", "# note", "", "note"},
        {"hash alone", "#", "", ""},
        {"double hash", "##", "#", ""},
        {"tab belongs to the name", "#title\tx", "title\tx", ""},
        {"arguments keep inner blanks", "#button a  b c", "button", "a  b c"},
        {"trailing blank only", "#break ", "break", ""},
    };
    for (const Row& row : rows) {
        QString arguments = "left over";
        EXPECT_EQ(PageMaker::classifyLine(row.line, arguments).toStdString(), row.directive) << row.name;
        EXPECT_EQ(arguments.toStdString(), row.arguments) << row.name;
    }
}

TEST(DirectiveReader, EncodeEscapesOnlyAngleBrackets)
{
    const std::pair<const char*, const char*> rows[] = {
        {"", ""},
        {"plain", "plain"},
        {"<b>", "&lt;b&gt;"},
        {"a & \"b\"", "a & \"b\""},
        {">x<", "&gt;x&lt;"},
        {"<<>>", "&lt;&lt;&gt;&gt;"},
        {"5 \xE2\x82\xAC", "5 \xE2\x82\xAC"},
    };
    for (const auto& [text, encoded] : rows)
        EXPECT_EQ(PageMaker::encode(QString::fromUtf8(text)).toStdString(), encoded) << text;
}
