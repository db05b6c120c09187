// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/text_codec.h"
#include "text/text_files.h"
#include "base/runtime_error.h"
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
    TextFiles::Table files;
    const QString path = dir.filePath(QStringLiteral("out.htm"));
    const int first = files.freeFile();
    EXPECT_EQ(raisedNumber([&] { files.openForInput(first, dir.filePath("none.zel")); }), 53);
    EXPECT_EQ(raisedNumber([&] { files.openForOutput(first, dir.filePath("no/x.htm"), TextFiles::Encoding::Utf8); }),
              76);
    EXPECT_FALSE(files.isOpen(first));
    files.openForOutput(first, path, TextFiles::Encoding::Windows1252References);
    const int second = files.freeFile();
    EXPECT_NE(first, second);
    files.print(first, QStringLiteral("<p>"));
    files.printLine(first, QStringLiteral("caf\u00e9 \u20ac5 \u0394 \U0001F600</p>"));
    files.printLine(first, QString());
    files.close(first);
    EXPECT_FALSE(files.isOpen(first));
    const QByteArray written = "<p>caf\xe9 \x80"
                               "5 &#916; &#128512;</p>\r\n\r\n";
    EXPECT_EQ(readBytes(path), written);
    // Closing everything (the fatal report) drops unfinished output: the old file stays.
    files.openForOutput(first, path, TextFiles::Encoding::Utf8);
    files.printLine(first, QStringLiteral("unfinished"));
    files.closeAll();
    EXPECT_EQ(readBytes(path), written);

    files.openForInput(first, path);
    EXPECT_EQ(files.lineInput(first), QStringLiteral("<p>caf\u00e9 \u20ac5 &#916; &#128512;</p>"));
    EXPECT_EQ(files.lineInput(first), QString());
    EXPECT_TRUE(files.atEnd(first));
    EXPECT_THROW(files.lineInput(first), RuntimeError);
    files.close(first);
}

} // namespace
