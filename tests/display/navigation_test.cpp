// Moving between pages as a visitor: the buttons of root and branch pages
// (whose links are written with backslashes), Home (b1), Back (b8 on every
// page of the sample), and the page shown for a badly named reference.
#include "kiosk_visit.h"

namespace {

// One visit, step by step: open a page first when "open" is set, touch the
// button, and the whole window shows "shows". (A branch's buttons to leaves of
// its own folder and Home from a leaf: frm_view_page_test.cpp.)
const struct {
    const char* name;
    const char* open;
    const char* button;
    const char* shows;
} kSteps[] = {
    {"RootToWhatsOn", "root/root.htm", "b2", "news/news.htm"},
    {"LeafInOtherFolder", nullptr, "b3", "visiting/castle.htm"},
    {"BackAcrossFolders", nullptr, "b8", "news/news.htm"},
    {"LeafByFolderAndPage", nullptr, "b2", "news/today.htm"},
    {"RootToBranch", "root/root.htm", "b1", "visiting/visiting.htm"},
    {"HomeFromBranch", nullptr, "b1", "root/root.htm"},
    {"RootToSelector", nullptr, "b3", "shops/directory.htm"},
    {"SelectFirstShop", nullptr, "b2", "shops/bakery.htm"},
    {"BackToSelector", nullptr, "b8", "shops/directory.htm"},
    {"HomeFromSelector", nullptr, "b1", "root/root.htm"},
    {"BrokenLink", "visiting/broken.htm", "b2", "missing.html"},
    {"BackFromMissing", nullptr, "b8", "visiting/broken.htm"},
    {"BrokenLinkAgain", "visiting/broken.htm", "b2", "missing.html"},
    {"HomeFromMissing", nullptr, "b1", "root/root.htm"},
};

TEST_F(Display, ButtonsHomeAndBackOpenWholePages)
{
    // A branch page whose button names a page badly links to the shared missing page.
    EXPECT_NE(kiosk.addPages({{"visiting/broken.zel", {"#branch", "#title Broken links", "#button Bad\\Name Broken"}}}),
              "")
        << "the maker reports the bad name";
    for (const auto& step : kSteps) {
        SCOPED_TRACE(step.name);
        if (step.open)
            ASSERT_TRUE(kiosk.open(step.open));
        const QString shows = step.shows;
        EXPECT_TRUE(shows == kiosk.shown() ? kiosk.touch(step.button) : kiosk.touchAndWaitFor(step.button, shows));
        EXPECT_EQ(kiosk.shown(), shows);
        if (shows == "missing.html")
            EXPECT_TRUE(kiosk.evaluate("frames['con'].document.body.innerText").toString().contains("not available"));
    }
    EXPECT_EQ(kiosk.scriptErrors(), QStringList());
}

// Down (b7) and Up (b2) scroll a leaf page's content frame by most of its
// height, keeping a line of overlap, and do nothing at either end.
const char* const kLeafPages[] = {"news/today.htm", "visiting/castle.htm", "visiting/walks.htm"};

TEST_F(Display, LeafPagesScrollByMostOfAScreenAndStopAtTheEnds)
{
    const QString state = QStringLiteral("(function () { var c = window.frames['con'], d = c.document.scrollingElement;"
                                         " return [c.scrollY, c.innerHeight, d.scrollHeight - d.clientHeight]; })()");
    for (const char* page : kLeafPages) {
        SCOPED_TRACE(page);
        ASSERT_TRUE(kiosk.open(QString::fromLatin1(page)));
        const QVariantList start = kiosk.evaluate(state).toList();
        const int visible = start.value(1).toInt(), maximum = start.value(2).toInt();
        ASSERT_GT(maximum, 0) << "the sample page must be long enough to scroll";
        // Down to the end, then Up to the top: every step but the last moves
        // most of a screen and keeps a line of the previous one in view.
        for (int y = 0, end = maximum, steps = 0; steps < 40; ++steps) {
            ASSERT_TRUE(kiosk.touch(end ? QStringLiteral("b7") : QStringLiteral("b2")));
            const int now = kiosk.evaluate(state).toList().value(0).toInt(), moved = std::abs(now - y);
            if (y == end) {
                EXPECT_EQ(now, end) << "at the end the button does nothing";
                if (end == 0)
                    break;
                end = 0;
            } else {
                EXPECT_TRUE(moved > 0 && (now == end || (moved >= visible / 2 && moved < visible - 20))) << moved;
            }
            y = now;
        }
    }
    EXPECT_EQ(kiosk.scriptErrors(), QStringList());
}

} // namespace
