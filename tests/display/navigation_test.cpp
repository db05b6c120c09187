// Moving between pages as a visitor: the buttons of root and branch pages
// (whose links are written with backslashes), Home, Back, and the page shown
// for a badly named reference.
#include "display_fixture.h"

namespace {

struct LinkCase {
    const char* name;
    const char* from;
    const char* button;
    const char* to;
};

void PrintTo(const LinkCase& linkCase, std::ostream* out) { *out << linkCase.name; }

const LinkCase kLinkCases[] = {
    {"RootToBranchInAnotherFolder", "root/root.htm", "b1", "visiting/visiting.htm"},
    {"RootToBranchWhatsOn", "root/root.htm", "b2", "news/news.htm"},
    {"RootToSelector", "root/root.htm", "b3", "shops/directory.htm"},
    {"BranchToLeafInItsOwnFolder", "visiting/visiting.htm", "b3", "visiting/walks.htm"},
    {"BranchToLeafByFolderAndPage", "visiting/visiting.htm", "b2", "visiting/castle.htm"},
    {"BranchToLeafInAnotherFolder", "news/news.htm", "b3", "visiting/castle.htm"},
    {"BranchToLeafByFolderAndPageInItsOwnFolder", "news/news.htm", "b2", "news/today.htm"},
    {"HomeFromBranch", "visiting/visiting.htm", "b1", "root/root.htm"},
    {"HomeFromLeaf", "news/today.htm", "b1", "root/root.htm"},
    {"HomeFromSelector", "shops/directory.htm", "b1", "root/root.htm"},
    {"HomeFromShopLeaf", "shops/bakery.htm", "b1", "root/root.htm"},
};

class PageLinks : public DisplayFixture<::testing::TestWithParam<LinkCase>> {};

TEST_P(PageLinks, ButtonOpensItsPageInTheWholeWindow)
{
    const LinkCase& link = GetParam();
    ASSERT_TRUE(open(QString::fromLatin1(link.from)));
    EXPECT_TRUE(browser().touchAndWaitFor(QString::fromLatin1(link.button), sample().path(QString::fromLatin1(link.to))))
        << "shows " << browser().currentFile().toStdString();
    // The whole frameset changed, not just one frame.
    EXPECT_EQ(browser().evaluate(QStringLiteral("window.frames.length")).toInt(), 2);
    EXPECT_TRUE(browser()
                    .evaluate(QStringLiteral("window.frames['nav'].location.pathname"))
                    .toString()
                    .endsWith(QString::fromLatin1(link.to).chopped(4) + QStringLiteral("_nav.htm")));
    EXPECT_EQ(browser().scriptErrors(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Sample, PageLinks, ::testing::ValuesIn(kLinkCases),
                         [](const ::testing::TestParamInfo<LinkCase>& info) { return std::string(info.param.name); });

// Back is b8 on every page of the sample (the branch pages' last row).
const QString kBack = QStringLiteral("b8");

class BackButton : public DisplayFixture<> {};

TEST_F(BackButton, ReturnsThroughThePagesShownBefore)
{
    ASSERT_TRUE(open(QStringLiteral("root/root.htm")));
    ASSERT_TRUE(browser().touchAndWaitFor(QStringLiteral("b1"), sample().path(QStringLiteral("visiting/visiting.htm"))));
    ASSERT_TRUE(browser().touchAndWaitFor(QStringLiteral("b2"), sample().path(QStringLiteral("visiting/castle.htm"))));
    ASSERT_TRUE(browser().touch(QStringLiteral("b7"))); // scrolling is no page of its own
    EXPECT_TRUE(browser().touchAndWaitFor(kBack, sample().path(QStringLiteral("visiting/visiting.htm"))));
    EXPECT_TRUE(browser().touchAndWaitFor(kBack, sample().path(QStringLiteral("root/root.htm"))));
    EXPECT_EQ(browser().scriptErrors(), QStringList());
}

TEST_F(BackButton, ReturnsFromASelectedItemToTheSelector)
{
    ASSERT_TRUE(open(QStringLiteral("shops/directory.htm")));
    ASSERT_TRUE(browser().touch(QStringLiteral("b6")));
    ASSERT_TRUE(browser().touchAndWaitFor(QStringLiteral("b2"), sample().path(QStringLiteral("shops/bookshop.htm"))));
    EXPECT_TRUE(browser().touchAndWaitFor(kBack, sample().path(QStringLiteral("shops/directory.htm"))));
    // The selector starts again on its first row.
    EXPECT_EQ(browser().evaluate(QStringLiteral("window.frames['con'].document.getElementsByName('row')[0].value"))
                  .toString(),
              QStringLiteral("0"));
    EXPECT_EQ(browser().scriptErrors(), QStringList());
}

TEST_F(BackButton, OnTheFirstPageOfAVisitStays)
{
    ASSERT_TRUE(open(QStringLiteral("news/today.htm")));
    ASSERT_TRUE(browser().touch(kBack));
    EXPECT_EQ(browser().currentFile(), canonicalFile(sample().path(QStringLiteral("news/today.htm"))));
    EXPECT_EQ(browser().evaluate(QStringLiteral("document.readyState")).toString(), QStringLiteral("complete"));
    EXPECT_EQ(browser().scriptErrors(), QStringList());
}

// A page whose button names a page badly links to the shared missing page.
class MissingPage : public DisplayFixture<> {
protected:
    void SetUp() override
    {
        DisplayFixture::SetUp();
        const QString messages = sample().addPage(
            QStringLiteral("visiting/broken.zel"),
            {QStringLiteral("#branch"), QStringLiteral("#title Broken links"), QStringLiteral("#button Bad\\Name Broken")});
        ASSERT_FALSE(messages.isEmpty()) << "the maker reports the bad name";
        ASSERT_TRUE(open(QStringLiteral("visiting/broken.htm")));
        ASSERT_TRUE(browser().touchAndWaitFor(QStringLiteral("b2"), sample().path(QStringLiteral("missing.html"))));
    }
};

TEST_F(MissingPage, ShowsAFriendlyMessage)
{
    const QString text = browser().evaluate(QStringLiteral("window.frames['con'].document.body.innerText")).toString();
    EXPECT_TRUE(text.contains(QStringLiteral("not available"))) << text.toStdString();
    EXPECT_EQ(browser().scriptErrors(), QStringList());
}

TEST_F(MissingPage, BackReturnsToThePageWithTheBrokenLink)
{
    EXPECT_TRUE(browser().touchAndWaitFor(kBack, sample().path(QStringLiteral("visiting/broken.htm"))));
    EXPECT_EQ(browser().scriptErrors(), QStringList());
}

TEST_F(MissingPage, HomeReachesTheRootPage)
{
    EXPECT_TRUE(browser().touchAndWaitFor(QStringLiteral("b1"), sample().path(QStringLiteral("root/root.htm"))));
    EXPECT_EQ(browser().scriptErrors(), QStringList());
}

} // namespace
