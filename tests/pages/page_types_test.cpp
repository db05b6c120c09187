// Page types, their directives and the paths derived from a page source.
#include "support/kiosk_fixture.h"

#include "pages/page_paths.h"
#include "pages/page_types.h"
#include "platform/runtime_error.h"
#include "platform/text_files.h"

#include <gtest/gtest.h>

namespace {

// Only an exact page type line is recognised; the next line is "body", if any
// (the four page types in use, and a type line in capitals, are the made pages
// of page_files_test.cpp).
TEST(ReadPageType, RecognisesOnlyExactPageTypeLines)
{
    struct Row {
        const char* name;
        QByteArray bytes;
        PageType type;
        bool lineConsumed;
    };
    const Row rows[] = {
        {"leaf alone", "#leaf\r\n", PageType::Leaf, false},
        {"empty file", "", PageType::Invalid, false},
        {"trailing blank", "#leaf \r\nbody\r\n", PageType::Invalid, true},
        {"leading blank", " #leaf\r\nbody\r\n", PageType::Invalid, true},
        {"double hash", "##\r\nbody\r\n", PageType::Invalid, true},
    };
    TemporaryKiosk kiosk;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        writeBytes(kiosk.path("news/page.zel"), row.bytes);
        const int handle = TextFiles::freeFile();
        TextFiles::openForInput(handle, kiosk.path("news/page.zel"));
        EXPECT_EQ(Support::readPageType(handle), row.type);
        if (row.lineConsumed)
            EXPECT_EQ(TextFiles::lineInput(handle).toStdString(), "body");
        else
            EXPECT_TRUE(TextFiles::atEnd(handle));
        TextFiles::close(handle);
    }
}

TEST(PagePaths, HtmlPathOfAPageSource)
{
    EXPECT_EQ(Support::pageHtmlPath("C:\\kiosk\\news\\today.zel").toStdString(), "C:\\kiosk\\news\\today.htm");
    EXPECT_EQ(Support::pageHtmlPath("/k/v1.2/page").toStdString(), "/k/v1.htm");
    EXPECT_EQ(Support::stripExtension("a.b.c").toStdString(), "a.b");
    EXPECT_THROW(Support::stripExtension("/k/noext"), RuntimeError);
}

// A missing page source is error 53; one without an extension is refused (the
// parts of a good one name the made pages and the maker's progress lines).
TEST(PagePaths, SplittingRefusesMissingAndExtensionlessPageSources)
{
    TemporaryKiosk kiosk;
    const QString noExtension = kiosk.path("v1.0/page");
    writeTextFile(noExtension, {});
    QString drive, folderPath, baseName, extension, folderName, pageName;
    EXPECT_EQ(raisedNumber(
                  [&] { Files::splitFilePath(kiosk.path("news/none.zel"), drive, folderPath, baseName, extension); }),
              53);
    EXPECT_THROW(Files::splitPageSourcePath(noExtension, folderName, pageName), RuntimeError);
    EXPECT_THROW(Files::splitFilePath(noExtension, drive, folderPath, baseName, extension), RuntimeError);
}

} // namespace
