// The made pages on a real touch screen at every usual screen size, with
// pages harder than the sample's: a 60-character caption and a long word on
// buttons, a selector of 40 items under a title of three lines, a leaf page
// with a wide table and a long word, and pages with nothing in them. On every
// page the script runs without an error. Buttons take only their own touches and
// hold their captions; Up, Down, Page Up and Page Down move the highlight by
// a row or a screen and stop at the ends, the current row staying in view
// beside Select; a touch anywhere on a row opens its page in the whole window
// and Back comes back to that row; nothing scrolls sideways; left alone, the
// kiosk goes home.
#include "kiosk_visit.h"

namespace {

const QSize kScreens[] = {{800, 600}, {1024, 768}, {1280, 1024}, {1080, 1920}};

const QStringList kShops =
    QString("bakery bookshop butcher cafe chemist florist grocer hardware library museum post-office toyshop")
        .split(' ');

QString shopOfRow(int row) { return QStringLiteral("shops/%1.htm").arg(kShops.at(row % kShops.size())); }

std::map<QString, QStringList> hardPages()
{
    QStringList selector = {"#selector", "#title Every shop, stall and service of the harbour quarter and of the old "
                                         "town, listed street by street from the quay up to the castle gate"};
    for (int row = 0; row < 40; ++row)
        selector << QString("#item %1.jpg %1 <b>Item %2</b><br>%3")
                        .arg(kShops.at(row % kShops.size()))
                        .arg(row)
                        .arg(row % 3 ? "Open every day."
                                     : "A long description that wraps to several lines in the text column of the "
                                       "row, more than the row has room for at small sizes.");
    // A branch page whose text is far taller than its frame, which does not scroll.
    QStringList branch = QString("#branch\n#title Long captions\n"
                                 "#button castle Opening hours of the castle, its gardens and harbour museums\n"
                                 "#button walks Walks\n#button castle Lighthousepreservationsociety\n#para")
                             .split('\n');
    for (int line = 0; line < 30; ++line)
        branch << QString("Line %1 of a text that is much too long for one screen.").arg(line);
    const QStringList wide =
        QString("#leaf\n#title Timetable\n#html\n"
                "<table width=2400><tr><td>Monday</td><td>Tuesday</td><td>Wednesday</td><td>Thursday</td>"
                "<td>Friday</td><td>Saturday</td><td>Sunday</td><td>Holidays</td></tr></table>\n#para\n"
                "Supercalifragilisticexpialidociousandmoreletterstomakeitwiderthananyscreenofthekiosk "
                "www.ostervale.example/visitors/harbour/opening-hours/summer-timetable.html")
            .split('\n');
    // The hard pages, and pages with nothing for the script to work on.
    return {{"shops/long.zel", selector},
            {"visiting/long.zel", branch},
            {"news/wide.zel", wide},
            {"shops/empty.zel", {"#selector", "#title Nothing yet"}},
            {"shops/one.zel", {"#selector", "#item bakery.jpg bakery Only"}},
            {"news/empty.zel", {"#leaf"}},
            {"root/bare.zel", {"#root", "#title Bare"}}};
}

// Moves on the long selector, from the first row to the last and back: Up
// (b5) and Down (b6) move the highlight one row, Page Up (b4) and Page Down
// (b7) the rows on a screen; at either end they stop.
const QStringList kMoves = QString("b5 b6 b7 b7 b6 b4 b5 b7 b7 b7 b7 b7 b7 b7 b7 b7 b7 b7 b7 b7 b6 b4 b5 b4 b4 b4 b4"
                                   " b4 b4 b4 b4 b4 b4 b4 b4 b4 b4 b4")
                               .split(' ');

TEST(TouchScreen, EveryScreenSizeWorksByTouch)
{
    for (const QSize screen : kScreens) {
        SCOPED_TRACE(QString("%1x%2").arg(screen.width()).arg(screen.height()).toStdString());
        KioskVisit kiosk(screen);
        EXPECT_EQ(kiosk.makeMessages(), "");
        EXPECT_EQ(kiosk.addPages(hardPages()), "");

        // The wide leaf page: nothing wider than the column; at the top Up
        // looks disabled, and Down unless there is more below.
        ASSERT_TRUE(kiosk.open("news/wide.htm"));
        QVariantList leaf = kiosk.check("leafState()").toList();
        EXPECT_EQ(leaf.value(0).toString(), QString());
        EXPECT_TRUE(leaf.value(1).toBool());
        EXPECT_EQ(leaf.value(2).toBool(), !leaf.value(3).toBool());

        // The long selector: after every move exactly the expected row is
        // highlighted and stands beside Select.
        const QString selector = "shops/long.htm";
        ASSERT_TRUE(kiosk.open(selector));
        const int screenRows = kiosk.selectorRow().value(3).toInt();
        ASSERT_GE(screenRows, 2);
        int row = 0, lowest = 0;
        for (int move = 0; move < kMoves.size(); ++move) {
            SCOPED_TRACE(QString("move %1: %2").arg(move).arg(kMoves[move]).toStdString());
            ASSERT_TRUE(kiosk.touch(kMoves[move]));
            const int by = QList<int>{-screenRows, -1, 1, screenRows}.at(kMoves[move].back().digitValue() - 4);
            lowest = std::max(lowest, row = std::clamp(row + by, 0, 39));
            EXPECT_EQ(kiosk.selectorRow(), (QVariantList{QString::number(row), QString::number(row), "", screenRows}));
        }
        ASSERT_EQ(lowest, 39) << "the moves reach the last row";
        ASSERT_EQ(row, 0) << "and come back to the first";

        // A touch on the picture, then on the text of the current row, then on
        // the text of the row below, opens that row's page, and so does Select
        // there; Back shows the selector at the row it was left on.
        for (int i = 0; i < 20; ++i)
            ASSERT_TRUE(kiosk.touch("b6"));
        for (const auto& [touched, point] : {std::pair{20, 0}, {20, 2}, {21, 2}}) {
            SCOPED_TRACE(point ? "text" : "picture");
            const QVariantList at = kiosk.check(QStringLiteral("rowTargets(%1)").arg(touched)).toList();
            EXPECT_TRUE(kiosk.touchAtAndWaitFor(QPoint(at.value(point).toInt(), at.value(point + 1).toInt()),
                                                shopOfRow(touched)))
                << kiosk.shown().toStdString();
            EXPECT_TRUE(kiosk.touchAndWaitFor("b8", selector));
            EXPECT_TRUE(waitUntil([&] { return kiosk.selectorRow().value(0).toInt() == touched; }))
                << "Back shows the row touched";
            EXPECT_EQ(kiosk.selectorRow().value(2).toString(), "");
        }
        EXPECT_TRUE(kiosk.touchAndWaitFor("b3", shopOfRow(21))) << "the right half of Select";
        EXPECT_TRUE(kiosk.touchAndWaitFor("b8", selector));

        // Left alone, the kiosk goes home and forgets the remembered rows.
        kiosk.evaluate("idleSecondsBeforeHome = 0.2; noteTouch(); 0");
        EXPECT_TRUE(waitUntil([&] { return kiosk.shown() == "root/root.htm"; }));
        EXPECT_EQ(kiosk.evaluate("Object.keys(sessionStorage).join()").toString(), QString());
        EXPECT_EQ(kiosk.scriptErrors(), QStringList());

        // Every made page and the missing page: no navigation fault, the
        // style sheet and script loaded, every function runs from the
        // frameset and from either frame.
        const QStringList pages = kiosk.madePages() << QStringLiteral("missing.html");
        for (const QString& page : pages) {
            SCOPED_TRACE(page.toStdString());
            ASSERT_TRUE(kiosk.open(page));
            EXPECT_EQ(kiosk.navigationFaults(), "");
            EXPECT_EQ(kiosk.check("callEverything()").toString(), QStringLiteral("ok,ok,ok function true"));
            kiosk.evaluate(page.contains("empty") || page.contains("bare") ? "select(); goBack(); 0" : "goBack(); 0");
            kiosk.evaluate(QStringLiteral("0"));
            EXPECT_EQ(kiosk.shown(), page);
            EXPECT_EQ(kiosk.scriptErrors(), QStringList());
        }
    }
}

} // namespace
