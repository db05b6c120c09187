// Line classification and text escaping of the directive reader, for the
// lines the made pages of page_files_test.cpp do not already cover (empty
// lines, text, comments, "#", "##", names in capitals, markup in text).
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
        {"blank before hash", " #title x", "NOT DIRECTIVE", ""},
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
        {"a & \"b\"", "a & \"b\""},
        {"<<>>", "&lt;&lt;&gt;&gt;"},
        {"5 \xE2\x82\xAC", "5 \xE2\x82\xAC"},
    };
    for (const auto& [text, encoded] : rows)
        EXPECT_EQ(PageMaker::encode(QString::fromUtf8(text)).toStdString(), encoded) << text;
}
