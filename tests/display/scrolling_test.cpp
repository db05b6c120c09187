// Leaf pages: Down (b7) and Up (b2) scroll the content frame by most of its
// height, keeping a line of overlap, and do nothing at either end. Selector
// pages: either half of Select (b2/b3) opens the highlighted row's page (the
// moves of the highlight are tried in touch_screen_test.cpp).
#include "kiosk_visit.h"

namespace {

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

// Select at a row (reached with Down) by either half of the Select button
// (the first row by b2 is a step of navigation_test.cpp).
const struct {
    int row;
    const char* button;
    const char* shop;
} kSelects[] = {{4, "b3", "shops/chemist.htm"}, {11, "b2", "shops/toyshop.htm"}};

TEST_F(Display, SelectOpensTheHighlightedRow)
{
    for (const auto& select : kSelects) {
        SCOPED_TRACE(select.shop);
        ASSERT_TRUE(kiosk.open("shops/directory.htm"));
        for (int i = 0; i < select.row; ++i)
            ASSERT_TRUE(kiosk.touch("b6"));
        EXPECT_EQ(kiosk.selectorRow().value(0).toInt(), select.row);
        EXPECT_TRUE(kiosk.touchAndWaitFor(select.button, select.shop)) << kiosk.shown().toStdString();
    }
    EXPECT_EQ(kiosk.scriptErrors(), QStringList());
}

} // namespace
