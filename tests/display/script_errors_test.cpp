// No page of the sample, and no odd page an author may make, draws a script
// error: every page loads its style sheet and script, and every function of
// the script runs without throwing from the frameset and from either frame.
#include "display_fixture.h"

namespace {

// Every made page of the sample; the first test keeps the list complete.
const char* const kSamplePages[] = {
    "news/news.htm",        "news/today.htm",      "root/root.htm",        "shops/bakery.htm",
    "shops/bookshop.htm",   "shops/butcher.htm",   "shops/cafe.htm",       "shops/chemist.htm",
    "shops/directory.htm",  "shops/florist.htm",   "shops/grocer.htm",     "shops/hardware.htm",
    "shops/library.htm",    "shops/museum.htm",    "shops/post-office.htm", "shops/toyshop.htm",
    "visiting/castle.htm",  "visiting/visiting.htm", "visiting/walks.htm",
};

class SampleScripts : public DisplayFixture<> {};

TEST_F(SampleScripts, ListNamesEveryMadePage)
{
    QStringList listed;
    for (const char* page : kSamplePages)
        listed.append(QString::fromLatin1(page));
    EXPECT_EQ(sample().madePages(), listed);
    EXPECT_TRUE(sample().makeMessages().isEmpty()) << sample().makeMessages().toStdString();
}

// Calls every function that stays on the page, in the window given, and
// answers "ok" or what was thrown.
QString callEverything(KioskBrowser& browser, const QString& window)
{
    return browser
        .evaluate(QStringLiteral("(function () { try { var w = %1;"
                                 " w.init(); w.rowdown(); w.pagedown(); w.scrolldown(); w.rowup(); w.pageup();"
                                 " w.scrollup(); w.init(); return 'ok'; } catch (e) { return 'threw ' + e; } })()")
                      .arg(window))
        .toString();
}

const QString kWindows[] = {QStringLiteral("window"), QStringLiteral("window.frames['con']"),
                            QStringLiteral("window.frames['nav']")};

class PageScripts : public DisplayFixture<::testing::TestWithParam<const char*>> {
protected:
    void expectQuietPage(const QString& relative)
    {
        ASSERT_TRUE(open(relative));
        // The shared files are found one folder up: the style sheet is applied
        // and the script is there in all three documents.
        EXPECT_EQ(browser().evaluate(QStringLiteral("typeof window.frames['nav'].goBack + typeof window.frames['con'].init"
                                                    " + typeof window.select"))
                      .toString(),
                  QStringLiteral("functionfunctionfunction"));
        EXPECT_NE(browser()
                      .evaluate(QStringLiteral("getComputedStyle(window.frames['nav'].document.getElementById('b1'))"
                                               ".display"))
                      .toString(),
                  QStringLiteral("inline"));
        for (const QString& window : kWindows)
            EXPECT_EQ(callEverything(browser(), window), QStringLiteral("ok")) << window.toStdString();
        EXPECT_EQ(browser().scriptErrors(), QStringList());
    }
};

TEST_P(PageScripts, PageAndEveryFunctionRunWithoutErrors) { expectQuietPage(QString::fromLatin1(GetParam())); }

INSTANTIATE_TEST_SUITE_P(Sample, PageScripts, ::testing::ValuesIn(kSamplePages),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

// Pages an author may make that have nothing for the script to work on.
struct OddPage {
    const char* name;
    const char* source;
    std::initializer_list<const char*> lines;
    bool nothingToSelect;
};

void PrintTo(const OddPage& page, std::ostream* out) { *out << page.name; }

const OddPage kOddPages[] = {
    {"EmptySelector", "shops/empty.zel", {"#selector", "#title Nothing yet"}, true},
    {"SelectorWithOneItem", "shops/one.zel", {"#selector", "#item bakery.jpg bakery The only shop"}, false},
    {"EmptyLeaf", "news/empty.zel", {"#leaf"}, true},
    {"RootWithoutButtons", "root/bare.zel", {"#root", "#title Bare"}, true},
};

class OddPageScripts : public DisplayFixture<::testing::TestWithParam<OddPage>> {};

TEST_P(OddPageScripts, EveryFunctionRunsWithoutErrors)
{
    QStringList lines;
    for (const char* line : GetParam().lines)
        lines.append(QString::fromLatin1(line));
    const QString source = QString::fromLatin1(GetParam().source);
    EXPECT_EQ(sample().addPage(source, lines), QString());
    ASSERT_TRUE(open(source.chopped(4) + QStringLiteral(".htm")));
    for (const QString& window : kWindows)
        EXPECT_EQ(callEverything(browser(), window), QStringLiteral("ok")) << window.toStdString();
    // Back on the first page of a visit, and Select with nothing to select, stay.
    const QString stay = GetParam().nothingToSelect ? QStringLiteral("select(); goBack();") : QStringLiteral("goBack();");
    EXPECT_EQ(browser().evaluate(QStringLiteral("(function () { try { %1 return 'ok'; } catch (e) { return 'threw ' + e; } })()")
                                     .arg(stay))
                  .toString(),
              QStringLiteral("ok"));
    browser().evaluate(QStringLiteral("0"));
    EXPECT_EQ(browser().currentFile(), canonicalFile(sample().path(source.chopped(4) + QStringLiteral(".htm"))));
    EXPECT_EQ(browser().scriptErrors(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Authored, OddPageScripts, ::testing::ValuesIn(kOddPages),
                         [](const ::testing::TestParamInfo<OddPage>& info) { return std::string(info.param.name); });

TEST_F(SampleScripts, MissingPageRunsWithoutErrors)
{
    ASSERT_TRUE(browser().load(sample().path(QStringLiteral("missing.html"))));
    for (const QString& window : kWindows)
        EXPECT_EQ(callEverything(browser(), window), QStringLiteral("ok")) << window.toStdString();
    EXPECT_EQ(browser().scriptErrors(), QStringList());
}

} // namespace
