// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/overview_window.h"
#include "check/kiosk_check.h"
#include "support/window_fixture.h"

#include <QTimer>
#include <QTreeWidget>
#include <sys/stat.h>

namespace {

class OverviewTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        writeTextFile(kiosk.path("root/root.zel"), {"#root", "#title Welcome", "#button news\\today News"});
        writeTextFile(kiosk.path("news/today.zel"), {"#leaf", "#title Today", "#TITLE Today's news"});
        writeTextFile(kiosk.path("news/broken.zel"), {"#branch", "#bogus", "#button news\\ghost Ghost"});
        writeTextFile(kiosk.path("news/nothing.zel"), {"#nothing"});
    }
    OverviewWindow& open()
    {
        mainWindow().openKioskSystem(kiosk.folder());
        trigger(main.get(), "overviewAction");
        auto windows = visibleWindows<OverviewWindow>();
        EXPECT_EQ(windows.size(), 1);
        return *windows.value(0);
    }
    static bool checked(OverviewWindow& overview)
    {
        return QTest::qWaitFor([&] { return !overview.isChecking(); }, 60000);
    }
    // "page|type|title|made|problems" for each page row, folders as "folder:".
    static QStringList rows(OverviewWindow& overview)
    {
        QStringList found;
        QTreeWidget* list = overview.pageTree();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QTreeWidgetItem* folder = list->topLevelItem(i);
            found.append(folder->text(0) + ":");
            for (int j = 0; j < folder->childCount(); ++j) {
                QStringList columns;
                for (int c = 0; c < 5; ++c)
                    columns.append(folder->child(j)->text(c));
                found.append(columns.join('|'));
            }
        }
        return found;
    }
    // The check's findings for the page source.
    int findingsFor(const QString& relative)
    {
        KioskCheck check(workbench.kioskSystem());
        check.run();
        int count = 0;
        for (const Finding& finding : check.findings())
            count += QDir::cleanPath(finding.pageSource) == QDir::cleanPath(kiosk.path(relative));
        return count;
    }
};

// The overview lists each folder and page with its type, its title (the last #title), whether it is made, and
// the check's number of findings for it once the check is done.
TEST_F(OverviewTest, ListsPagesWithTypesTitlesAndProblemCounts)
{
    OverviewWindow& overview = open();
    EXPECT_EQ(overview.folderLabel()->text(), QDir::toNativeSeparators(kiosk.folder()));
    ASSERT_TRUE(checked(overview));
    const int broken = findingsFor("news/broken.zel");
    EXPECT_GE(broken, 2) << "a faulty line and a dead end at least";
    EXPECT_EQ(rows(overview),
              (QStringList{"news:", QString("broken|branch||not made|%1").arg(broken),
                           QString("nothing|invalid||not made|%1").arg(findingsFor("news/nothing.zel")),
                           QString("today|leaf|Today's news|not made|%1").arg(findingsFor("news/today.zel")),
                           "root:", QString("root|root|Welcome|not made|%1").arg(findingsFor("root/root.zel"))}));
}

// A save in an editor, a make, and a page source and a folder added from outside show in the overview without
// any command.
TEST_F(OverviewTest, FollowsSavesMakesAndFilesAddedFromOutside)
{
    OverviewWindow& overview = open();
    ASSERT_TRUE(checked(overview));
    EditorWindow* editor = EditorWindow::openOrRaise(workbench, kiosk.path("news/today.zel"));
    ASSERT_NE(editor, nullptr);
    type(editor, "#title Saved title\n");
    ASSERT_TRUE(editor->saveFile());
    QTreeWidgetItem* today = overview.rowOf(kiosk.path("news/today.zel"));
    ASSERT_NE(today, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return today->text(2) == "Saved title"; }, 10000));

    editor->makeThisPage();
    EXPECT_TRUE(QTest::qWaitFor([&] { return today->text(3) == "up to date"; }, 10000)) << today->text(3).toStdString();

    writeTextFile(kiosk.path("news/extra.zel"), {"#leaf", "#title Extra"});
    writeTextFile(kiosk.path("sport/match.zel"), {"#selector", "#title Match"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return overview.rowOf(kiosk.path("news/extra.zel")); }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return overview.rowOf(kiosk.path("sport/match.zel")); }, 10000));
    EXPECT_EQ(overview.rowOf(kiosk.path("sport/match.zel"))->text(1), "selector");
    EXPECT_EQ(overview.rowOf(kiosk.path("news/extra.zel"))->text(2), "Extra");
    EXPECT_EQ(overview.rowOf(kiosk.path("news/extra.zel"))->parent()->text(0), "news");
    ASSERT_TRUE(checked(overview));
    EXPECT_EQ(overview.rowOf(kiosk.path("news/extra.zel"))->text(4), QString::number(findingsFor("news/extra.zel")));

    QFile::remove(kiosk.path("news/nothing.zel"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !overview.rowOf(kiosk.path("news/nothing.zel")); }, 10000));
}

// Page folders removed or renamed from outside leave the overview promptly, even while a shell keeps making and
// removing files in the kiosk folder; a folder made under the name of one renamed is watched itself.
TEST_F(OverviewTest, FollowsFoldersRemovedOrRenamedFromOutside)
{
    OverviewWindow& overview = open();
    ASSERT_TRUE(checked(overview));
    const auto folders = [&] {
        QStringList names;
        for (int i = 0; i < overview.pageTree()->topLevelItemCount(); ++i)
            names.append(overview.pageTree()->topLevelItem(i)->text(0));
        return names;
    };
    ASSERT_EQ(folders(), (QStringList{"news", "root"}));
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
    EXPECT_TRUE(QTest::qWaitFor([&] { return overview.rowOf(kiosk.path("start/root.zel")); }, 20000));
    EXPECT_EQ(overview.rowOf(kiosk.path("news/today.zel")), nullptr);
    shell.stop();
    ASSERT_TRUE(checked(overview));

    ASSERT_TRUE(QDir().rename(kiosk.path("start"), kiosk.path("old")));
    writeTextFile(kiosk.path("start/again.zel"), {"#leaf"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return overview.rowOf(kiosk.path("start/again.zel")); }, 20000));
    EXPECT_EQ(folders(), (QStringList{"old", "start"}));
    EXPECT_EQ(overview.rowOf(kiosk.path("start/root.zel")), nullptr);
    writeTextFile(kiosk.path("start/second.zel"), {"#leaf"}); // seen by the watch of the new folder only
    EXPECT_TRUE(QTest::qWaitFor([&] { return overview.rowOf(kiosk.path("start/second.zel")); }, 20000));
}

// Page views a kiosk counted, copied back into the kiosk system folder, show per page (summed over the days and
// over the kiosks whose files were put one after the other); without them there is no Views column. (Which
// counts add up is the overview data's own test.)
TEST_F(OverviewTest, ShowsThePageViewsOfAKioskWhenTheAuthorCopiedThemBack)
{
    OverviewWindow& overview = open();
    EXPECT_TRUE(overview.pageTree()->isColumnHidden(OverviewWindow::kColumnViews));
    EXPECT_EQ(overview.rowOf(kiosk.path("news/today.zel"))->text(OverviewWindow::kColumnViews), "");

    writeTextFile(kiosk.path("pageviews.csv"),
                  {"date,page,views", "2026-05-04,news\\today.htm,7", "2026-05-05,news\\today.htm,5",
                   "2026-05-05,root\\root.htm,2", "2026-05-05,gone\\page.htm,3", "not a line", "date,page,views",
                   "2026-05-05,news\\today.htm,1"});
    overview.refresh();
    EXPECT_FALSE(overview.pageTree()->isColumnHidden(OverviewWindow::kColumnViews));
    EXPECT_EQ(overview.pageTree()->headerItem()->text(OverviewWindow::kColumnViews), "Views");
    const auto views = [&](const char* page) {
        return overview.rowOf(kiosk.path(page))->text(OverviewWindow::kColumnViews);
    };
    EXPECT_EQ(views("news/today.zel"), "13");
    EXPECT_EQ(views("root/root.zel"), "2");
    EXPECT_EQ(views("news/broken.zel"), "0");
    EXPECT_EQ(overview.pageViewsLabel()->text(),
              "Page views " + QDir::toNativeSeparators(kiosk.path("pageviews.csv"))
                  + ": 1 line not counted (not a date, a page and a count of 0 or more)");

    QFile::remove(kiosk.path("pageviews.csv"));
    ASSERT_EQ(::mkfifo(qPrintable(kiosk.path("pageviews.csv")), 0600), 0);
    overview.refresh();
    EXPECT_TRUE(overview.pageTree()->isColumnHidden(OverviewWindow::kColumnViews));
    EXPECT_EQ(overview.pageViewsLabel()->text(),
              "Page views " + QDir::toNativeSeparators(kiosk.path("pageviews.csv")) + " is not a regular file");

    QFile::remove(kiosk.path("pageviews.csv"));
    overview.refresh();
    EXPECT_TRUE(overview.pageTree()->isColumnHidden(OverviewWindow::kColumnViews));
    EXPECT_TRUE(overview.pageViewsLabel()->isHidden());
}

// Left open at exit, the overview comes back with the first kiosk system of the next run.
TEST_F(OverviewTest, ShownAgainAfterOpenWhenOpenAtExit)
{
    open();
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
