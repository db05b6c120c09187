// Page types, their directives and the paths derived from a page source.
#include "support/kiosk_fixture.h"

#include "pages/page_paths.h"
#include "pages/page_types.h"
#include "platform/runtime_error.h"
#include "platform/text_files.h"

#include <gtest/gtest.h>

namespace {

// A file without lines, or one whose first line is not exactly a page type,
// is invalid; the next line is "body" (the four page types, and one in
// capitals, are the made pages of page_files_test.cpp).
TEST(ReadPageType, OnlyAnExactPageTypeLineIsRecognised)
{
    TemporaryKiosk kiosk;
    for (const QByteArray& bytes : {QByteArray(), QByteArray("#leaf \r\nbody\r\n")}) {
        writeBytes(kiosk.path("page.zel"), bytes);
        const int handle = TextFiles::freeFile();
        TextFiles::openForInput(handle, kiosk.path("page.zel"));
        EXPECT_EQ(Support::readPageType(handle), PageType::Invalid) << bytes.constData();
        EXPECT_EQ(TextFiles::atEnd(handle) ? QString() : TextFiles::lineInput(handle), bytes.isEmpty() ? "" : "body");
        TextFiles::close(handle);
    }
}

// The html path of a page source is cut at the last dot of the whole path,
// even one in a folder's name. A missing page source is error 53; one without
// an extension is refused (the parts of a good one name the made pages and the
// maker's progress lines).
TEST(PagePaths, HtmlPathAndRefusedPageSources)
{
    EXPECT_EQ(Support::pageHtmlPath("/k/v1.2/page"), "/k/v1.htm");
    EXPECT_THROW(Support::stripExtension("/k/noext"), RuntimeError);
    TemporaryKiosk kiosk;
    const QString noExtension = kiosk.path("v1.0/page");
    writeTextFile(noExtension, {});
    QString folderName, pageName; // both splits share these checks
    EXPECT_EQ(raisedNumber([&] { Files::splitPageSourcePath(kiosk.path("none.zel"), folderName, pageName); }), 53);
    EXPECT_EQ(raisedNumber([&] { Files::splitPageSourcePath(noExtension, folderName, pageName); }), 5);
}

} // namespace
