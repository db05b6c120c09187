// Leaf pages: Down (b7) and Up (b2) scroll the content frame by most of its
// height, keeping a line of overlap, and do nothing at either end. Selector
// pages: Page Up (b4), Up (b5), Down (b6) and Page Down (b7) move the
// highlighted row, which always stands beside Select (b2/b3); Select opens
// the highlighted row's page.
#include "kiosk_visit.h"

#include <QVariantMap>

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

const QString kDirectory = QStringLiteral("shops/directory.htm");

// The current rows' numbers, the hidden field "row", how far the current row
// stands from the Select cell (top and height), and the rows that fit on screen.
const QString kRowState = QStringLiteral(
    "(function () { var con = window.frames['con'], rows = con.document.getElementById('sTable').rows;"
    " var cell = window.frames['nav'].document.getElementById('b2').parentNode.getBoundingClientRect();"
    " var current = [], off = 999;"
    " for (var i = 0; i < rows.length; ++i) if (rows[i].className === 'current') { current.push(i);"
    "   var r = rows[i].getBoundingClientRect(); off = Math.abs(r.top - cell.top) + Math.abs(r.height - cell.height); }"
    " return [current.join(), con.document.getElementsByName('row')[0].value, off,"
    "   Math.floor((con.innerHeight - cell.top) / rows[0].getBoundingClientRect().height)]; })()");

// Each step touches a button and moves the row by rows + screens * (rows on a
// screen), kept within the dozen items; the steps run one after another.
const struct { const char* name; const char* button; int rows, screens; } kMoves[] = {
    {"UpOnTheFirstRowStays", "b5", -1, 0}, {"DownMovesOneRow", "b6", 1, 0},    {"DownAgain", "b6", 1, 0},
    {"UpMovesOneRow", "b5", -1, 0},        {"PageDownMovesAScreen", "b7", 0, 1}, {"PageDownAgain", "b7", 0, 1},
    {"PageDownToTheEnd", "b7", 0, 1},      {"PageDownStopsAtTheEnd", "b7", 0, 1}, {"DownOnTheLastRowStays", "b6", 1, 0},
    {"PageUpMovesAScreen", "b4", 0, -1},   {"PageUpAgain", "b4", 0, -1},       {"PageUpStopsOnTheFirstRow", "b4", 0, -1},
};

// Select at a row (reached with Down) by either half of the Select button.
const struct { int row; const char* button; const char* shop; } kSelects[] = {{0, "b2", "shops/bakery.htm"}, {4, "b3", "shops/chemist.htm"}, {11, "b2", "shops/toyshop.htm"}};

TEST_F(Display, SelectorMovesKeepTheHighlightBesideSelectAndSelectOpensTheRow)
{
    ASSERT_TRUE(kiosk.open(kDirectory));
    QVariantList state = kiosk.evaluate(kRowState).toList();
    EXPECT_EQ(state.at(0).toString(), QStringLiteral("0")) << "opening shows the first row";
    const int rowsOnScreen = state.at(3).toInt();
    ASSERT_GE(rowsOnScreen, 2);
    for (int row = 0; const auto& step : kMoves) {
        SCOPED_TRACE(step.name);
        ASSERT_TRUE(kiosk.touch(QString::fromLatin1(step.button)));
        row = qBound(0, row + step.rows + step.screens * rowsOnScreen, 11);
        state = kiosk.evaluate(kRowState).toList();
        EXPECT_EQ(state.at(0).toString(), QString::number(row)) << "exactly this row is highlighted";
        EXPECT_EQ(state.at(1).toString(), QString::number(row));
        EXPECT_LE(state.at(2).toDouble(), 2.0) << "the current row stands beside Select";
    }
    for (const auto& select : kSelects) {
        SCOPED_TRACE(select.shop);
        ASSERT_TRUE(kiosk.open(kDirectory));
        for (int i = 0; i < select.row; ++i)
            ASSERT_TRUE(kiosk.touch(QStringLiteral("b6")));
        EXPECT_TRUE(kiosk.touchAndWaitFor(QString::fromLatin1(select.button), QString::fromLatin1(select.shop))) << kiosk.shown().toStdString();
    }
    EXPECT_EQ(kiosk.scriptErrors(), QStringList());
}

} // namespace
