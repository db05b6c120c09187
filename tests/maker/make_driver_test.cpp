// The make driver: what a make visits, per-page reset, progress, references.
#include "maker_test_support.h"

#include "maker/page_maker.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class MakeDriver : public ::testing::Test {
protected:
    MakeDriver() : kiosk(makerConfiguration()) {}
    void SetUp() override { kiosk.openHeadless(); }

    QString write(const QString& relative, const QStringList& lines)
    {
        writeTextFile(kiosk.path(relative), lines);
        return kiosk.path(relative);
    }

    TemporaryKiosk kiosk;
    PageMaker maker;
};

TEST_F(MakeDriver, MakeAllVisitsPageFoldersAndFilesSortedByName)
{
    write(QStringLiteral("zoo/b.zel"), {QStringLiteral("#leaf")});
    write(QStringLiteral("zoo/a.zel"), {QStringLiteral("#leaf")});
    write(QStringLiteral("root/root.zel"), {QStringLiteral("#root")});
    write(QStringLiteral("news/today.zel"), {QStringLiteral("#leaf")});
    write(QStringLiteral("news/SHOUT.ZEL"), {QStringLiteral("#leaf")});
    write(QStringLiteral("news/notes.txt"), {QStringLiteral("#leaf")});
    write(QStringLiteral("top.zel"), {QStringLiteral("#leaf")});
    write(QStringLiteral("news/images/deep.zel"), {QStringLiteral("#leaf")});
    QStringList progress;
    std::vector<std::pair<int, int>> counts;
    maker.setProgressHandler([&](const QString& text) { progress.append(text); });
    maker.setCountHandler([&](int made, int total) { counts.emplace_back(made, total); });

    maker.makeAll();
    maker.run();

    EXPECT_EQ(progress.join(u'|').toStdString(),
              "Making page today in folder news|Making page root in folder root|Making page a in folder zoo|"
              "Making page b in folder zoo");
    EXPECT_EQ(counts, (std::vector<std::pair<int, int>>{{1, 4}, {2, 4}, {3, 4}, {4, 4}}));
    EXPECT_TRUE(QFile::exists(kiosk.path(QStringLiteral("zoo/a.htm"))));
    EXPECT_FALSE(QFile::exists(kiosk.path(QStringLiteral("news/SHOUT.htm"))));
    EXPECT_FALSE(QFile::exists(kiosk.path(QStringLiteral("top.htm"))));
    EXPECT_FALSE(QFile::exists(kiosk.path(QStringLiteral("news/images/deep.htm"))));
    EXPECT_TRUE(kiosk.messages.texts().isEmpty()) << kiosk.messages.texts().join(u'\n').toStdString();
}

TEST_F(MakeDriver, MakeOneMakesOnlyThatPageAndShowsItsProgress)
{
    const QString prices = write(QStringLiteral("sales/prices.zel"), {QStringLiteral("#leaf")});
    write(QStringLiteral("sales/other.zel"), {QStringLiteral("#leaf")});
    QStringList progress;
    maker.setProgressHandler([&](const QString& text) { progress.append(text); });

    maker.makeOne(prices);
    EXPECT_FALSE(QFile::exists(kiosk.path(QStringLiteral("sales/prices.htm")))) << "makeOne only records the page";
    maker.run();

    EXPECT_EQ(progress, QStringList{QStringLiteral("Making page prices in folder sales")});
    for (const char* made : {"sales/prices.htm", "sales/prices_con.htm", "sales/prices_nav.htm"})
        EXPECT_TRUE(QFile::exists(kiosk.path(QString::fromLatin1(made)))) << made;
    EXPECT_FALSE(QFile::exists(kiosk.path(QStringLiteral("sales/other.htm"))));
    EXPECT_EQ(maker.pagesMade(), 1);
    EXPECT_EQ(maker.pagesTotal(), 1);
}

TEST_F(MakeDriver, InvalidPageLeavesEmptyFilesAndShowsNoLineOfThePreviousPage)
{
    const QString good = write(QStringLiteral("news/good.zel"), {QStringLiteral("#leaf"), QStringLiteral("#title Good")});
    const QString bad = write(QStringLiteral("news/bad.zel"), {QStringLiteral("#Leaf"), QStringLiteral("#title Bad")});
    maker.makeOnePage(good);
    maker.makeOnePage(bad);

    EXPECT_EQ(kiosk.messages.texts(), QStringList{lineMessage(QStringLiteral("Invalid Zel Page"), QString(), bad)});
    for (const char* made : {"news/bad.htm", "news/bad_con.htm", "news/bad_nav.htm"}) {
        EXPECT_TRUE(QFile::exists(kiosk.path(QString::fromLatin1(made)))) << made;
        EXPECT_TRUE(readBytes(kiosk.path(QString::fromLatin1(made))).isEmpty()) << made;
    }
}

TEST_F(MakeDriver, NextPageInheritsNoTitleButtonsOrPictureNumbers)
{
    makePicture(kiosk.path(QStringLiteral("news/cat.jpg")), 40, 30);
    const QString first = write(QStringLiteral("news/first.zel"),
                                {QStringLiteral("#branch"), QStringLiteral("#title First"),
                                 QStringLiteral("#image cat.jpg"), QStringLiteral("#image cat.jpg"),
                                 QStringLiteral("#button first One")});
    const QString second = write(QStringLiteral("news/second.zel"),
                                 {QStringLiteral("#branch"), QStringLiteral("#image cat.jpg")});
    maker.makeOnePage(first);
    maker.makeOnePage(second);

    const QStringList main = readLines(kiosk.path(QStringLiteral("news/second.htm")));
    EXPECT_EQ(main.value(2).toStdString(), "<title> - Main</title>");
    const QStringList content = readLines(kiosk.path(QStringLiteral("news/second_con.htm")));
    EXPECT_TRUE(content.join(u'\n').contains(QStringLiteral("images\\second00001.jpg")));
    const QStringList navigation = readLines(kiosk.path(QStringLiteral("news/second_nav.htm")));
    EXPECT_FALSE(navigation.join(u'\n').contains(QStringLiteral("One")));
    EXPECT_TRUE(navigation.join(u'\n').contains(QStringLiteral("id=\"b8\" target=\"_top\">Back</a>")));
}

TEST_F(MakeDriver, MissingPictureUsesUpItsNumberAndRemakeOverwritesCopies)
{
    makePicture(kiosk.path(QStringLiteral("sales/a.jpg")), 40, 30);
    const QString prices = write(QStringLiteral("sales/prices.zel"),
                                 {QStringLiteral("#leaf"), QStringLiteral("#image a.jpg"),
                                  QStringLiteral("#image gone.jpg"), QStringLiteral("#image a.jpg")});
    maker.makeOnePage(prices);
    maker.makeOnePage(prices);

    EXPECT_TRUE(QFile::exists(kiosk.path(QStringLiteral("sales/images/prices00001.jpg"))));
    EXPECT_FALSE(QFile::exists(kiosk.path(QStringLiteral("sales/images/prices00002.jpg"))));
    EXPECT_TRUE(QFile::exists(kiosk.path(QStringLiteral("sales/images/prices00003.jpg"))));
    EXPECT_FALSE(QFile::exists(kiosk.path(QStringLiteral("sales/images/prices00004.jpg"))));
    EXPECT_EQ(kiosk.messages.texts().size(), 2);
}

TEST_F(MakeDriver, PictureNamesCannotLeaveThePageFolder)
{
    makePicture(kiosk.path(QStringLiteral("other/cat.jpg")), 40, 30);
    makePicture(kiosk.path(QStringLiteral("sales/sub/cat.jpg")), 40, 30);
    const QString prices =
        write(QStringLiteral("sales/prices.zel"),
              {QStringLiteral("#leaf"), QStringLiteral("#image ../other/cat.jpg"), QStringLiteral("#image sub/cat.jpg"),
               QStringLiteral("#image .."), QStringLiteral("#image \"/etc/passwd\"")});
    maker.makeOnePage(prices);

    const QString folder = kiosk.path(QStringLiteral("sales"));
    EXPECT_EQ(kiosk.messages.texts(),
              (QStringList{lineMessage(QStringLiteral("Image ") + folder + QStringLiteral("/../other/cat.jpg does not exist"),
                                       QStringLiteral("#image ../other/cat.jpg"), prices),
                           lineMessage(QStringLiteral("Image ") + folder + QStringLiteral("/sub/cat.jpg does not exist"),
                                       QStringLiteral("#image sub/cat.jpg"), prices),
                           lineMessage(QStringLiteral("Image ") + folder + QStringLiteral("/.. does not exist"),
                                       QStringLiteral("#image .."), prices),
                           lineMessage(QStringLiteral("Image ") + folder + QStringLiteral("//etc/passwd does not exist"),
                                       QStringLiteral("#image \"/etc/passwd\""), prices)}));
}

struct ReferenceRow {
    const char* name;
    const char* reference;
    const char* url;
    int messages;
};

class PageReferences : public MakeDriver, public ::testing::WithParamInterface<ReferenceRow> {};

TEST_P(PageReferences, BecomeRelativeLinks)
{
    write(QStringLiteral("sales/prices.zel"), {QStringLiteral("#leaf")});
    write(QStringLiteral("sales/offers.zel"), {QStringLiteral("#leaf")});
    const QString page = write(QStringLiteral("news/today.zel"),
                               {QStringLiteral("#branch"), QStringLiteral("#button ") + QString::fromLatin1(GetParam().reference)
                                                               + QStringLiteral(" Go")});
    write(QStringLiteral("news/same.zel"), {QStringLiteral("#leaf")});
    maker.makeOnePage(page);
    kiosk.messages.clear();
    EXPECT_EQ(maker.pageRefToURL(QString::fromLatin1(GetParam().reference)).toStdString(), GetParam().url);
    EXPECT_EQ(kiosk.messages.texts().size(), GetParam().messages) << kiosk.messages.texts().join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    References, PageReferences,
    ::testing::Values(ReferenceRow{"same_folder", "same", "same.htm", 0},
                      ReferenceRow{"backslash", "sales\\prices", "..\\sales\\prices.htm", 0},
                      ReferenceRow{"slash_written_as_backslash", "sales/offers", "..\\sales\\offers.htm", 0},
                      ReferenceRow{"capital_folder", "Sales\\prices", "..\\missing.html", 1},
                      ReferenceRow{"both_names_bad", "Sales\\Prices", "..\\missing.html", 2},
                      ReferenceRow{"bad_page_alone", "Same", "..\\missing.html", 1},
                      ReferenceRow{"backslash_before_slash", "sales/x\\prices", "..\\missing.html", 1},
                      ReferenceRow{"missing_page_still_linked", "sales\\gone", "..\\sales\\gone.htm", 1},
                      ReferenceRow{"missing_same_folder_page", "gone", "gone.htm", 1},
                      ReferenceRow{"nested_folder", "sales\\x\\y", "..\\missing.html", 1}),
    [](const ::testing::TestParamInfo<ReferenceRow>& info) { return std::string(info.param.name); });

} // namespace
