// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/overview_window.h"
#include "support/window_fixture.h"

#include <QHeaderView>
#include <QTimer>
#include <QTreeWidget>

namespace {

// The main window's overview (Tools > Overview) over a root page, a leaf, a faulty branch and an invalid page.
class OverviewTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        writeTextFile(kiosk.path("root/root.zel"),
                      {"#root", "#title Welcome to the information kiosk of Ostervale", "#button news\\today News"});
        writeTextFile(kiosk.path("news/today.zel"), {"#leaf", "#title Today", "#TITLE Today's news"});
        writeTextFile(kiosk.path("news/broken.zel"), {"#branch", "#bogus", "#button news\\ghost Ghost"});
        writeTextFile(kiosk.path("news/nothing.zel"), {"#nothing"});
        mainWindow().openKioskSystem(kiosk.folder());
        trigger(main.get(), "overviewAction");
        overview = visibleWindows<OverviewWindow>().value(0);
        ASSERT_NE(overview, nullptr);
    }
    bool checked() const
    {
        return QTest::qWaitFor([&] { return !overview->isChecking(); }, 60000);
    }
    // The text in the column of the page source's row; "no row" without one.
    QString cell(const char* page, int column) const
    {
        const QTreeWidgetItem* row = overview->rowOf(kiosk.path(page));
        return row ? row->text(column) : "no row";
    }
    QStringList folders() const
    {
        QStringList names;
        for (int i = 0; i < overview->pageTree()->topLevelItemCount(); ++i)
            names.append(overview->pageTree()->topLevelItem(i)->text(0));
        return names;
    }

    OverviewWindow* overview = nullptr;
};

// The overview lists each folder and page with its type, its title (the last #title), whether it is made, and
// the check's number of findings for it once the check is done: each page is not made; the broken one has a faulty
// line and a dead end, the invalid one a faulty type line, and both are unreachable.
TEST_F(OverviewTest, ListsPagesWithTypesTitlesAndProblemCounts)
{
    EXPECT_EQ(overview->folderLabel()->text(), QDir::toNativeSeparators(kiosk.folder()));
    ASSERT_TRUE(checked());
    QStringList rows;
    for (const char* page : {"news/broken.zel", "news/nothing.zel", "news/today.zel", "root/root.zel"}) {
        QStringList columns{overview->rowOf(kiosk.path(page))->parent()->text(0)};
        for (int c = 0; c < 5; ++c)
            columns.append(cell(page, c));
        rows.append(columns.join('|'));
    }
    EXPECT_EQ(rows, (QStringList{"news|broken|branch||not made|4", "news|nothing|invalid||not made|3",
                                 "news|today|leaf|Today's news|not made|1",
                                 "root|root|root|Welcome to the information kiosk of Ostervale|not made|1"}));
    EXPECT_EQ(folders(), (QStringList{"news", "root"}));
    // Each column as wide as its header and its widest text.
    const QTreeWidget* tree = overview->pageTree();
    for (int column = 0; column < tree->columnCount() - 1; ++column)
        EXPECT_GE(tree->columnWidth(column), tree->header()->sectionSizeHint(column)) << column;
    EXPECT_GE(tree->columnWidth(2), tree->fontMetrics().horizontalAdvance(cell("root/root.zel", 2)));
}

// A save in an editor, a make, and a page source and a folder added from outside show in the overview without
// any command.
TEST_F(OverviewTest, FollowsSavesMakesAndFilesAddedFromOutside)
{
    ASSERT_TRUE(checked());
    EditorWindow* editor = EditorWindow::openOrRaise(workbench, kiosk.path("news/today.zel"));
    type(editor, "#title Saved title\n");
    ASSERT_TRUE(editor->saveFile());
    EXPECT_TRUE(QTest::qWaitFor([&] { return cell("news/today.zel", 2) == "Saved title"; }, 10000));
    editor->makeThisPage();
    EXPECT_TRUE(QTest::qWaitFor([&] { return cell("news/today.zel", 3) == "up to date"; }, 10000));

    writeTextFile(kiosk.path("news/extra.zel"), {"#leaf", "#title Extra"});
    writeTextFile(kiosk.path("sport/match.zel"), {"#selector", "#title Match"});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return cell("news/extra.zel", 2) == "Extra" && cell("sport/match.zel", 1) == "selector"; }, 10000));
    EXPECT_EQ(folders(), (QStringList{"news", "root", "sport"}));
    ASSERT_TRUE(checked());
    EXPECT_EQ(cell("news/extra.zel", 4), "2") << "unreachable and not made";
    QFile::remove(kiosk.path("news/nothing.zel"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return cell("news/nothing.zel", 0) == "no row"; }, 10000));
}

// Page folders removed or renamed from outside leave the overview promptly, even while a shell keeps making and
// removing files in the kiosk folder; a folder made under the name of one renamed is watched itself.
TEST_F(OverviewTest, FollowsFoldersRemovedOrRenamedFromOutside)
{
    ASSERT_TRUE(checked());
    QTimer shell; // a file made or removed every few milliseconds, more often than the pause for a save to settle
    QObject::connect(&shell, &QTimer::timeout, [&] {
        QFile::exists(kiosk.path("notes.txt")) ? void(QFile::remove(kiosk.path("notes.txt")))
                                               : writeTextFile(kiosk.path("notes.txt"), {"busy"});
    });
    shell.start(5);
    ASSERT_TRUE(QDir(kiosk.path("news")).removeRecursively());
    ASSERT_TRUE(QDir().rename(kiosk.path("root"), kiosk.path("start")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return folders() == QStringList{"start"}; }, 20000))
        << folders().join(' ').toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return cell("start/root.zel", 0) == "root"; }, 20000));
    shell.stop();
    ASSERT_TRUE(checked());

    ASSERT_TRUE(QDir().rename(kiosk.path("start"), kiosk.path("old")));
    writeTextFile(kiosk.path("start/again.zel"), {"#leaf"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return cell("start/again.zel", 0) == "again"; }, 20000));
    EXPECT_EQ(folders(), (QStringList{"old", "start"}));
    EXPECT_EQ(cell("start/root.zel", 0), "no row");
    writeTextFile(kiosk.path("start/second.zel"), {"#leaf"}); // seen by the watch of the new folder only
    EXPECT_TRUE(QTest::qWaitFor([&] { return cell("start/second.zel", 0) == "second"; }, 20000));
}

// The Schedule column: a page's #show lines and whether it is on show now; nothing for a page always on show (a root
// page, one without #show lines or with a wrong one).
TEST_F(OverviewTest, ScheduleColumnMarksThePagesOnShowNow)
{
    const int schedule = OverviewWindow::kColumnSchedule;
    writeTextFile(kiosk.path("news/fair.zel"), {"#branch", "#show from 2000-01-01", "#show Mon-Sun 00:00-00:00"});
    writeTextFile(kiosk.path("news/over.zel"), {"#leaf", "#show until 2001-01-01"});
    writeTextFile(kiosk.path("news/wrong.zel"), {"#leaf", "#show until 2001-02-30"});
    writeTextFile(kiosk.path("root/root.zel"), {"#root", "#show until 2001-01-01"});
    overview->refresh();
    EXPECT_EQ(overview->pageTree()->headerItem()->text(schedule), "Schedule");
    EXPECT_TRUE(QTest::qWaitFor([&] { return cell("news/over.zel", 0) == "over"; }, 20000));
    EXPECT_EQ(
        QStringList({cell("news/fair.zel", schedule), cell("news/over.zel", schedule), cell("news/wrong.zel", schedule),
                     cell("root/root.zel", schedule), cell("news/today.zel", schedule)}),
        (QStringList{"on show now: from 2000-01-01; Mon-Sun 00:00-00:00", "off show now: until 2001-01-01", "", "",
                     ""}));
}

// Page views a kiosk counted, copied back into the kiosk system folder, show per page (summed over the days and
// over the kiosks whose files were put one after the other); without them there is no Views column. (Which
// counts add up, and what is no regular file, is the overview data's own test.)
TEST_F(OverviewTest, ShowsThePageViewsOfAKioskWhenTheAuthorCopiedThemBack)
{
    const int views = OverviewWindow::kColumnViews;
    EXPECT_TRUE(overview->pageTree()->isColumnHidden(views));
    EXPECT_EQ(cell("news/today.zel", views), "");
    writeTextFile(kiosk.path("pageviews.csv"),
                  {"date,page,views", "2026-05-04,news\\today.htm,7", "2026-05-05,news\\today.htm,5",
                   "2026-05-05,root\\root.htm,2", "2026-05-05,gone\\page.htm,3", "not a line", "date,page,views",
                   "2026-05-05,news\\today.htm,1"});
    overview->refresh();
    EXPECT_FALSE(overview->pageTree()->isColumnHidden(views));
    EXPECT_EQ(overview->pageTree()->headerItem()->text(views), "Views");
    EXPECT_EQ(
        QStringList({cell("news/today.zel", views), cell("root/root.zel", views), cell("news/broken.zel", views)}),
        (QStringList{"13", "2", "0"}));
    EXPECT_EQ(overview->pageViewsLabel()->text(),
              "Page views " + QDir::toNativeSeparators(kiosk.path("pageviews.csv"))
                  + ": 1 line not counted (not a date, a page and a count of 0 or more)");
    QFile::remove(kiosk.path("pageviews.csv"));
    overview->refresh();
    EXPECT_TRUE(overview->pageTree()->isColumnHidden(views));
    EXPECT_TRUE(overview->pageViewsLabel()->isHidden());
}

// Left open at exit, the overview comes back with the first kiosk system of the next run.
TEST_F(OverviewTest, ShownAgainAfterOpenWhenOpenAtExit)
{
    main->close();
    main.reset();
    EXPECT_TRUE(OverviewWindow::wasOpenAtExit());
    mainWindow().openKioskSystem(kiosk.folder());
    EXPECT_EQ(visibleWindows<OverviewWindow>().size(), 1);
    trigger(main.get(), "overviewAction");
    visibleWindows<OverviewWindow>().value(0)->close();
    main->close();
    EXPECT_FALSE(OverviewWindow::wasOpenAtExit());
}

} // namespace
