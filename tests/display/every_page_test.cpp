// Every made page of the sample, the missing page and odd pages an author may
// make: at 1280 x 1024 the navigation column has none of the faults
// KioskVisit::navigationFaults finds, the style sheet and script are loaded,
// and every function of the script runs from the frameset and from either
// frame without a script error.
#include "kiosk_visit.h"

namespace {

const QString kSamplePages = QStringLiteral(
    "news/news.htm news/today.htm root/root.htm shops/bakery.htm shops/bookshop.htm shops/butcher.htm shops/cafe.htm"
    " shops/chemist.htm shops/directory.htm shops/florist.htm shops/grocer.htm shops/hardware.htm shops/library.htm"
    " shops/museum.htm shops/post-office.htm shops/toyshop.htm visiting/castle.htm visiting/visiting.htm"
    " visiting/walks.htm");

// Pages with nothing for the script to work on.
const std::map<QString, QStringList> kOddPages = {
    {"shops/empty.zel", {"#selector", "#title Nothing yet"}},
    {"shops/one.zel", {"#selector", "#item bakery.jpg bakery Only"}},
    {"news/empty.zel", {"#leaf"}},
    {"root/bare.zel", {"#root", "#title Bare"}},
};

// Calls every function in each window; then Select and Back, which on the
// first page of a visit with nothing (or one shop page) to select may only stay.
const QString kCallEverything = QStringLiteral(
    "(function () { var out = [];"
    " [window, window.frames['con'], window.frames['nav']].forEach(function (w) { try {"
    "   w.init(); w.rowdown(); w.pagedown(); w.scrolldown(); w.rowup(); w.pageup(); w.scrollup(); w.init();"
    "   out.push('ok'); } catch (e) { out.push('threw ' + e); } });"
    " return out.join() + ' ' + typeof window.frames['nav'].goBack + ' '"
    "   + (getComputedStyle(window.frames['nav'].document.querySelector('a') || document.body).display != 'inline'); })()");

TEST_F(Display, EveryPageRunsEveryFunctionWithoutErrors)
{
    EXPECT_EQ(kiosk.madePages(), kSamplePages.split(u' '));
    EXPECT_EQ(kiosk.makeMessages(), QString());
    EXPECT_EQ(kiosk.addPages(kOddPages), QString());
    const QStringList pages = kiosk.madePages() << QStringLiteral("missing.html");
    for (const QString& page : pages) {
        SCOPED_TRACE(page.toStdString());
        ASSERT_TRUE(kiosk.open(page));
        EXPECT_EQ(kiosk.navigationFaults(), "");
        // The style sheet turns the buttons into blocks; the script is there.
        EXPECT_EQ(kiosk.evaluate(kCallEverything).toString(), QStringLiteral("ok,ok,ok function true"));
        kiosk.evaluate(page.contains("empty") || page.contains("bare") ? "select(); goBack(); 0" : "goBack(); 0");
        kiosk.evaluate(QStringLiteral("0"));
        EXPECT_EQ(kiosk.shown(), page);
        EXPECT_EQ(kiosk.scriptErrors(), QStringList());
    }
}

} // namespace
