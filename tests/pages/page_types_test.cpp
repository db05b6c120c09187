// Page types, their directives and the paths derived from a page source.
#include "support/kiosk_fixture.h"

#include "pages/page_paths.h"
#include "pages/page_types.h"
#include "platform/runtime_error.h"
#include "platform/text_files.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

struct TypeRow {
    const char* name;
    QByteArray bytes;
    PageType type;
    bool lineConsumed;
};

class ReadPageType : public ::testing::TestWithParam<TypeRow> {};

TEST_P(ReadPageType, RecognisesOnlyExactPageTypeLines)
{
    TemporaryKiosk kiosk;
    const QString path = kiosk.path(QStringLiteral("news/page.zel"));
    writeBytes(path, GetParam().bytes);
    const int handle = TextFiles::freeFile();
    TextFiles::openForInput(handle, path);
    EXPECT_EQ(Support::readPageType(handle), GetParam().type);
    if (GetParam().lineConsumed)
        EXPECT_EQ(TextFiles::lineInput(handle).toStdString(), "body");
    else
        EXPECT_TRUE(TextFiles::atEnd(handle));
    TextFiles::close(handle);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadPageType,
    ::testing::Values(TypeRow{"leaf", "#leaf\r\nbody\r\n", PageType::Leaf, true},
                      TypeRow{"branch", "#branch\r\nbody\r\n", PageType::Branch, true},
                      TypeRow{"root_lf", "#root\nbody\n", PageType::Root, true},
                      TypeRow{"selector_cr", "#selector\rbody\r", PageType::Selector, true},
                      TypeRow{"empty_file", "", PageType::Invalid, false},
                      TypeRow{"capitals", "#LEAF\r\nbody\r\n", PageType::Invalid, true},
                      TypeRow{"trailing_blank", "#leaf \r\nbody\r\n", PageType::Invalid, true},
                      TypeRow{"leading_blank", " #leaf\r\nbody\r\n", PageType::Invalid, true},
                      TypeRow{"double_hash", "##\r\nbody\r\n", PageType::Invalid, true}),
    [](const ::testing::TestParamInfo<TypeRow>& info) { return std::string(info.param.name); });

TEST(ReadPageTypeOnly, LeafAloneIsValidWithEmptyBody)
{
    TemporaryKiosk kiosk;
    const QString path = kiosk.path(QStringLiteral("news/page.zel"));
    writeBytes(path, "#leaf\r\n");
    const int handle = TextFiles::freeFile();
    TextFiles::openForInput(handle, path);
    EXPECT_EQ(Support::readPageType(handle), PageType::Leaf);
    EXPECT_TRUE(TextFiles::atEnd(handle));
    TextFiles::close(handle);
}

TEST(PageTypeDirective, MapsCodesBackToText)
{
    const std::vector<std::pair<std::int16_t, const char*>> rows = {
        {0, "##"}, {1, "#leaf"}, {2, "#branch"}, {3, "#root"}, {4, "#selector"}, {5, "##"}, {-1, "##"}};
    for (const auto& [code, text] : rows)
        EXPECT_EQ(Support::pageTypeDirective(code).toStdString(), text) << code;
    EXPECT_EQ(std::int16_t(PageType::Selector), 4);
}

TEST(PagePaths, HtmlPathAndRootLink)
{
    EXPECT_EQ(Support::pageHtmlPath(QStringLiteral("C:\\kiosk\\news\\today.zel")).toStdString(),
              "C:\\kiosk\\news\\today.htm");
    EXPECT_EQ(Support::pageHtmlPath(QStringLiteral("/k/v1.2/page")).toStdString(), "/k/v1.htm");
    EXPECT_EQ(Support::stripExtension(QStringLiteral("a.b.c")).toStdString(), "a.b");
    EXPECT_EQ(Support::rootPageLink().toStdString(), "root\\root.htm");
    EXPECT_THROW(Support::stripExtension(QStringLiteral("/k/noext")), RuntimeError);
}

TEST(PagePaths, SplitsAnExistingPageSource)
{
    TemporaryKiosk kiosk;
    const QString path = kiosk.path(QStringLiteral("news/today.zel"));
    writeTextFile(path, {QStringLiteral("#leaf")});
    QString drive, folderPath, baseName, extension, folderName, pageName;
    Files::splitFilePath(path, drive, folderPath, baseName, extension);
    EXPECT_EQ(drive.toStdString(), "/");
    EXPECT_EQ(folderPath.toStdString(), kiosk.path(QStringLiteral("news")).toStdString());
    EXPECT_EQ(baseName.toStdString(), "today");
    EXPECT_EQ(extension.toStdString(), "zel");
    Files::splitPageSourcePath(path, folderName, pageName);
    EXPECT_EQ(folderName.toStdString(), "news");
    EXPECT_EQ(pageName.toStdString(), "today");
}

TEST(PagePaths, SplitFailsForMissingFilesAndNamesWithoutExtension)
{
    TemporaryKiosk kiosk;
    QString a, b, c, d;
    try {
        Files::splitFilePath(kiosk.path(QStringLiteral("news/none.zel")), a, b, c, d);
        ADD_FAILURE() << "no error for a missing file";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), 53);
    }
    const QString noExtension = kiosk.path(QStringLiteral("v1.0/page"));
    writeTextFile(noExtension, {});
    EXPECT_THROW(Files::splitPageSourcePath(noExtension, a, b), RuntimeError);
    EXPECT_THROW(Files::splitFilePath(noExtension, a, b, c, d), RuntimeError);
}

} // namespace
