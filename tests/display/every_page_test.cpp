// Every made page of the sample, the missing page and odd pages an author may
// make: at 1280 x 1024 the buttons fill the navigation column, the style sheet
// and script are loaded, and every function of the script runs from the
// frameset and from either frame without a script error. With ZEL_SHOT_FOLDER
// set, the screens are saved there as PNG files to be looked at.
#include "kiosk_visit.h"

#include <QDir>

namespace {

const QString kSamplePages = QStringLiteral(
    "news/news.htm news/today.htm root/root.htm shops/bakery.htm shops/bookshop.htm shops/butcher.htm shops/cafe.htm"
    " shops/chemist.htm shops/directory.htm shops/florist.htm shops/grocer.htm shops/hardware.htm shops/library.htm"
    " shops/museum.htm shops/post-office.htm shops/toyshop.htm visiting/castle.htm visiting/visiting.htm"
    " visiting/walks.htm");

// Pages with nothing for the script to work on.
const std::map<QString, QStringList> kOddPages = {
    {"shops/empty.zel", {"#selector", "#title Nothing yet"}}, {"shops/one.zel", {"#selector", "#item bakery.jpg bakery Only"}},
    {"news/empty.zel", {"#leaf"}},                             {"root/bare.zel", {"#root", "#title Bare"}},
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

// Which of these fails: every button face nearly as wide as the column and as
// high as its cell, the cells filling the frame, nothing below the frame.
const QString kNavigationColumn = QStringLiteral(
    "(function () { var nav = window.frames['nav'], links = nav.document.querySelectorAll('a.nav');"
    " var narrowest = 1, lowest = 1, total = 0, cells = nav.document.querySelectorAll('table.nav td');"
    " for (var i = 0; i < links.length; ++i) { if (!links[i].textContent) continue;"
    "   var a = links[i].getBoundingClientRect(), c = links[i].parentNode.getBoundingClientRect();"
    "   narrowest = Math.min(narrowest, a.width / nav.innerWidth); lowest = Math.min(lowest, a.height / c.height); }"
    " for (var j = 0; j < cells.length; ++j) total += cells[j].getBoundingClientRect().height;"
    " return (narrowest < 0.85 ? 'narrow ' : '') + (lowest < 0.8 ? 'low ' : '')"
    "   + (total < nav.innerHeight - 8 ? 'short ' : '')"
    "   + (nav.document.scrollingElement.scrollHeight > nav.innerHeight ? 'overflows' : ''); })()");

TEST_F(Display, EveryPageRunsEveryFunctionWithoutErrors)
{
    EXPECT_EQ(kiosk.madePages(), kSamplePages.split(u' '));
    EXPECT_EQ(kiosk.makeMessages(), QString());
    EXPECT_EQ(kiosk.addPages(kOddPages), QString());
    const QStringList pages = kiosk.madePages() << QStringLiteral("missing.html");
    for (const QString& page : pages) {
        SCOPED_TRACE(page.toStdString());
        ASSERT_TRUE(kiosk.open(page));
        EXPECT_EQ(kiosk.evaluate(kNavigationColumn).toString(), QString());
        const QImage screen = kiosk.grab();
        EXPECT_EQ(screen.size(), QSize(1280, 1024));
        if (const QString folder = qEnvironmentVariable("ZEL_SHOT_FOLDER"); !folder.isEmpty())
            EXPECT_TRUE(QDir().mkpath(folder) && screen.save(folder + u'/' + QString(page).replace(u'/', u'_') + ".png"));
        // The style sheet turns the buttons into blocks; the script is there.
        EXPECT_EQ(kiosk.evaluate(kCallEverything).toString(), QStringLiteral("ok,ok,ok function true"));
        kiosk.evaluate(page.contains("empty") || page.contains("bare") ? "select(); goBack(); 0" : "goBack(); 0");
        kiosk.evaluate(QStringLiteral("0"));
        EXPECT_EQ(kiosk.shown(), page);
        EXPECT_EQ(kiosk.scriptErrors(), QStringList());
    }
}

} // namespace
