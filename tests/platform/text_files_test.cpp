#include "platform/text_codec.h"
#include "platform/text_files.h"
#include "platform/runtime_error.h"
#include "support/kiosk_fixture.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// What is written reads back as the same text, whatever encoding was wanted
// (the usual forms are those of the editor's pages in page_text_test.cpp).
TEST(TextCodec, EncodesInTheWantedFormWhereItReadsBack)
{
    using TextCodec::Encoding;
    const struct {
        const char* name;
        QString text;
        Encoding wanted;
        QByteArray bytes;
        Encoding found;
    } rows[] = {
        {"plain ASCII as UTF-8", QStringLiteral("a"), Encoding::Utf8, "a", Encoding::Windows1252},
        {"text starting with a mark keeps it", QStringLiteral("\ufeffa"), Encoding::Utf8,
         "\xef\xbb\xbf\xef\xbb\xbf\x61", Encoding::Utf8WithBom},
        {"single bytes looking like a mark", QStringLiteral("\u00ef\u00bb\u00bf"), Encoding::Windows1252,
         "\xc3\xaf\xc2\xbb\xc2\xbf", Encoding::Utf8},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(TextCodec::encode(row.text, row.wanted), row.bytes);
        const TextCodec::DecodedText read = TextCodec::decodeWithEncoding(row.bytes);
        EXPECT_EQ(read.text, row.text);
        EXPECT_EQ(read.encoding, row.found);
    }
}

// A failed open (a missing file: 53; a missing folder: 76) leaves its handle free.
TEST(TextFiles, HandlesAreRealLinesEndWithCrLfAndHtmlIsWindows1252WithReferences)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.htm"));
    const int first = TextFiles::freeFile();
    EXPECT_EQ(raisedNumber([&] { TextFiles::openForInput(first, dir.filePath("none.zel")); }), 53);
    EXPECT_EQ(
        raisedNumber([&] { TextFiles::openForOutput(first, dir.filePath("no/x.htm"), TextFiles::Encoding::Utf8); }),
        76);
    EXPECT_FALSE(TextFiles::isOpen(first));
    TextFiles::openForOutput(first, path, TextFiles::Encoding::Windows1252References);
    const int second = TextFiles::freeFile();
    EXPECT_NE(first, second);
    TextFiles::print(first, QStringLiteral("<p>"));
    TextFiles::printLine(first, QStringLiteral("caf\u00e9 \u20ac5 \u0394 \U0001F600</p>"));
    TextFiles::printLine(first, QString());
    TextFiles::close(first);
    EXPECT_FALSE(TextFiles::isOpen(first));
    const QByteArray written = "<p>caf\xe9 \x80"
                               "5 &#916; &#128512;</p>\r\n\r\n";
    EXPECT_EQ(readBytes(path), written);
    // Closing everything (the fatal report) drops unfinished output: the old file stays.
    TextFiles::openForOutput(first, path, TextFiles::Encoding::Utf8);
    TextFiles::printLine(first, QStringLiteral("unfinished"));
    TextFiles::closeAll();
    EXPECT_EQ(readBytes(path), written);

    TextFiles::openForInput(first, path);
    EXPECT_EQ(TextFiles::lineInput(first), QStringLiteral("<p>caf\u00e9 \u20ac5 &#916; &#128512;</p>"));
    EXPECT_EQ(TextFiles::lineInput(first), QString());
    EXPECT_TRUE(TextFiles::atEnd(first));
    EXPECT_THROW(TextFiles::lineInput(first), RuntimeError);
    TextFiles::close(first);
}

} // namespace
