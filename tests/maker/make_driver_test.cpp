// The make driver: what a make visits, its progress, references. Making one
// named page is zel-make's (tests/tools).
#include "maker_test_support.h"

#include "maker/page_maker.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class MakeDriver : public ::testing::Test {
protected:
    MakeDriver() : kiosk(makerConfiguration()), maker(kiosk.openHeadless()) {}
    // Writes the page source and returns its path.
    QString write(const QString& relative, const QStringList& lines = {"#leaf"})
    {
        writeTextFile(kiosk.path(relative), lines);
        return kiosk.path(relative);
    }
    bool exists(const QString& relative) const { return QFile::exists(kiosk.path(relative)); }

    TemporaryKiosk kiosk;
    PageMaker maker;
};

// Page sources have the suffix "zel" in any letter case; hidden files, folders
// named like pages and files outside the page folders are no page sources. A
// page source that is no regular file is reported and passed over.
TEST_F(MakeDriver, MakeAllVisitsPageFoldersAndFilesSortedByName)
{
    for (const char* source : {"zoo/b.zel", "zoo/a.zel", "news/today.zel", "news/SHOUT.ZEL", "news/notes.txt",
                               "top.zel", "news/images/deep.zel", "news/.draft.zel", "news/old.zel/x"})
        write(source);
    write("root/root.zel", {"#root"});
    ASSERT_EQ(::mkfifo(qPrintable(kiosk.path("news/pipe.zel")), 0600), 0);
    QStringList progress;
    std::vector<std::pair<int, int>> counts;
    maker.setProgressHandler([&](const QString& text) { progress.append(text); });
    maker.setCountHandler([&](int made, int total) { counts.emplace_back(made, total); });

    maker.makeAll();
    EXPECT_FALSE(exists("zoo/a.htm")) << "makeAll only records what to make";
    maker.run();

    EXPECT_EQ(progress.join(u'|').toStdString(), "Making page pipe in folder news|Making page SHOUT in folder news|"
                                                 "Making page today in folder news|Making page root in folder root|"
                                                 "Making page a in folder zoo|Making page b in folder zoo");
    EXPECT_EQ(counts, (std::vector<std::pair<int, int>>{{1, 6}, {2, 6}, {3, 6}, {4, 6}, {5, 6}}));
    EXPECT_TRUE(exists("zoo/a.htm") && exists("news/SHOUT.htm"));
    for (const char* skipped : {"top.htm", "news/images/deep.htm", "news/.draft.htm", "news/old.htm", "news/pipe.htm"})
        EXPECT_FALSE(exists(skipped)) << skipped;
    EXPECT_EQ(kiosk.messages.texts(), QStringList{"Page source - " + kiosk.path("news/pipe.zel")
                                                  + " is not a regular file - the page was not made"});
}

// pageRefToURL after making news/today; the count of messages it draws (the
// plain forms, and a missing page linked with its message, are in the made
// pages of page_files_test.cpp).
TEST_F(MakeDriver, PageReferencesBecomeRelativeLinks)
{
    write("sales/prices.zel");
    write("news/same.zel");
    write("sales/deals.ZEL");
    write("news/intro.Zel");
    maker.makeOnePage(write("news/today.zel", {"#branch"}));
    struct Row {
        const char* name;
        const char* reference;
        const char* url;
        int messages;
    };
    const Row rows[] = {
        {"both names bad", "Sales\\Prices", "..\\missing.html", 2},
        {"bad page alone", "Same", "..\\missing.html", 1},
        {"backslash before slash", "sales/x\\prices", "..\\missing.html", 1},
        {"nested folder", "sales\\x\\y", "..\\missing.html", 1},
        {"page source in capitals", "sales\\deals", "..\\sales\\deals.htm", 0},
        {"same folder, mixed case", "intro", "intro.htm", 0},
    };
    for (const Row& row : rows) {
        kiosk.messages.clear();
        EXPECT_EQ(maker.pageRefToURL(row.reference).toStdString(), row.url) << row.name;
        EXPECT_EQ(kiosk.messages.texts().size(), row.messages)
            << row.name << kiosk.messages.texts().join(u'\n').toStdString();
    }
}

} // namespace
