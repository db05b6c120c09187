// Selector pages: Page Up (b4), Up (b5), Down (b6) and Page Down (b7) move the
// highlighted row, which always stands beside the Select button (b2/b3);
// Select opens the highlighted row's page.
#include "display_fixture.h"

#include <QVariantMap>
#include <vector>

namespace {

const QString kDirectory = QStringLiteral("shops/directory.htm");
const int kItems = 12;

// The shop pages of the directory, in the order of its items.
const char* const kShops[kItems] = {"bakery",  "bookshop", "butcher", "cafe",    "chemist",     "florist",
                                    "grocer",  "hardware", "library", "museum",  "post-office", "toyshop"};

struct RowState {
    QStringList currentRows; // indexes of rows with class "current"
    int field = -1;          // the hidden field "row"
    double rowTop = 0;       // the current row's top in the content frame
    double rowHeight = 0;
    double selectTop = 0;    // the Select cell's top in the navigation frame
    double selectHeight = 0;
    int rowsOnScreen = 0;    // rows that fit from the Select button down
};

RowState rowState(KioskBrowser& browser)
{
    const QVariantMap answer =
        browser
            .evaluate(QStringLiteral(
                "(function () {"
                " var con = window.frames['con'], nav = window.frames['nav'].document;"
                " var rows = con.document.getElementById('sTable').rows, current = [], top = 0, height = 0;"
                " for (var i = 0; i < rows.length; ++i) if (rows[i].className === 'current') {"
                "   current.push(String(i)); var r = rows[i].getBoundingClientRect(); top = r.top; height = r.height; }"
                " var cell = nav.getElementById('b2').parentNode.getBoundingClientRect();"
                " return { current: current, field: con.document.getElementsByName('row')[0].value,"
                "   rowTop: top, rowHeight: height, selectTop: cell.top, selectHeight: cell.height,"
                "   rowsOnScreen: Math.floor((con.innerHeight - cell.top) / rows[0].getBoundingClientRect().height) };"
                "})()"))
            .toMap();
    RowState state;
    state.currentRows = answer.value(QStringLiteral("current")).toStringList();
    state.field = answer.value(QStringLiteral("field")).toString().toInt();
    state.rowTop = answer.value(QStringLiteral("rowTop")).toDouble();
    state.rowHeight = answer.value(QStringLiteral("rowHeight")).toDouble();
    state.selectTop = answer.value(QStringLiteral("selectTop")).toDouble();
    state.selectHeight = answer.value(QStringLiteral("selectHeight")).toDouble();
    state.rowsOnScreen = answer.value(QStringLiteral("rowsOnScreen")).toInt();
    return state;
}

enum Touch { PageUp, RowUp, RowDown, PageDown };

QString buttonOf(Touch touch)
{
    switch (touch) {
    case PageUp: return QStringLiteral("b4");
    case RowUp: return QStringLiteral("b5");
    case RowDown: return QStringLiteral("b6");
    case PageDown: return QStringLiteral("b7");
    }
    return QString();
}

struct MoveCase {
    const char* name;
    std::vector<Touch> touches;
    // The expected row, in whole rows and screens: rows + screens * rowsOnScreen,
    // kept within the table.
    int rows;
    int screens;
};

void PrintTo(const MoveCase& moveCase, std::ostream* out) { *out << moveCase.name; }

const MoveCase kMoveCases[] = {
    {"OpeningShowsTheFirstRow", {}, 0, 0},
    {"DownMovesOneRow", {RowDown}, 1, 0},
    {"DownTwiceThenUp", {RowDown, RowDown, RowUp}, 1, 0},
    {"UpOnTheFirstRowStays", {RowUp}, 0, 0},
    {"PageDownMovesAScreen", {PageDown}, 0, 1},
    {"PageDownTwiceThenUp", {PageDown, PageDown, RowUp}, -1, 2},
    {"PageDownStopsOnTheLastRow", {PageDown, PageDown, PageDown, PageDown, PageDown, PageDown}, kItems - 1, 0},
    {"DownOnTheLastRowStays", {PageDown, PageDown, PageDown, PageDown, PageDown, PageDown, RowDown}, kItems - 1, 0},
    {"PageUpStopsOnTheFirstRow", {RowDown, RowDown, PageUp}, 0, 0},
    {"PageUpFromTheLastRow", {PageDown, PageDown, PageDown, PageDown, PageDown, PageDown, PageUp}, kItems - 1, -1},
};

class SelectorMoves : public DisplayFixture<::testing::TestWithParam<MoveCase>> {};

TEST_P(SelectorMoves, HighlightMovesAndStaysBesideSelect)
{
    ASSERT_TRUE(open(kDirectory));
    RowState state = rowState(browser());
    ASSERT_GE(state.rowsOnScreen, 2);
    EXPECT_NEAR(state.rowHeight, state.selectHeight, 1.0) << "a row is as high as the Select button";

    for (Touch touch : GetParam().touches) {
        ASSERT_TRUE(browser().touch(buttonOf(touch)));
        state = rowState(browser());
        ASSERT_EQ(state.currentRows.size(), 1) << "exactly one row is highlighted";
        EXPECT_NEAR(state.rowTop, state.selectTop, 1.0) << "the current row stands beside Select";
    }

    const int expected =
        qBound(0, GetParam().rows + GetParam().screens * state.rowsOnScreen, kItems - 1);
    EXPECT_EQ(state.currentRows, QStringList{QString::number(expected)});
    EXPECT_EQ(state.field, expected);
    EXPECT_NEAR(state.rowTop, state.selectTop, 1.0);
    EXPECT_EQ(browser().scriptErrors(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(ShopDirectory, SelectorMoves, ::testing::ValuesIn(kMoveCases),
                         [](const ::testing::TestParamInfo<MoveCase>& info) { return std::string(info.param.name); });

struct SelectCase {
    const char* name;
    int downs;           // rows moved down with Down before selecting
    const char* button;  // either id of the double-height Select button
};

void PrintTo(const SelectCase& selectCase, std::ostream* out) { *out << selectCase.name; }

const SelectCase kSelectCases[] = {
    {"FirstRow", 0, "b2"},
    {"FifthRow", 4, "b2"},
    {"FifthRowByTheLowerHalfOfSelect", 4, "b3"},
    {"LastRow", kItems - 1, "b2"},
};

class SelectorSelect : public DisplayFixture<::testing::TestWithParam<SelectCase>> {};

TEST_P(SelectorSelect, SelectOpensTheCurrentRowsPage)
{
    ASSERT_TRUE(open(kDirectory));
    for (int i = 0; i < GetParam().downs; ++i)
        ASSERT_TRUE(browser().touch(QStringLiteral("b6")));
    const QString shop = QStringLiteral("shops/") + QString::fromLatin1(kShops[GetParam().downs]) + ".htm";
    EXPECT_TRUE(browser().touchAndWaitFor(QString::fromLatin1(GetParam().button), sample().path(shop)))
        << "shows " << browser().currentFile().toStdString();
    EXPECT_EQ(browser().scriptErrors(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(ShopDirectory, SelectorSelect, ::testing::ValuesIn(kSelectCases),
                         [](const ::testing::TestParamInfo<SelectCase>& info) { return std::string(info.param.name); });

} // namespace
