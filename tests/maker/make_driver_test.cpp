// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The make driver: what a make visits and its progress. Making one named page
// is zel-make's (tests/tools).
#include "support/recording_problems.h"
#include "maker_test_support.h"

#include "maker/page_maker.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// Page sources have the suffix "zel" in any letter case; hidden files, folders
// named like pages and files outside the page folders are no page sources. A
// page source that is no regular file is reported and passed over.
TEST(MakeDriver, MakeAllVisitsPageFoldersAndFilesSortedByName)
{
    TemporaryKiosk kiosk(makerConfiguration());
    SessionProblems problems(kiosk.session.session());
    PageMaker maker(kiosk.openHeadless(), problems);
    for (const char* source : {"zoo/b.zel", "zoo/a.zel", "news/today.zel", "news/SHOUT.ZEL", "news/notes.txt",
                               "top.zel", "news/images/deep.zel", "news/.draft.zel", "news/old.zel/x"})
        writeTextFile(kiosk.path(source), {"#leaf"});
    writeTextFile(kiosk.path("root/root.zel"), {"#root"});
    ASSERT_EQ(::mkfifo(qPrintable(kiosk.path("news/pipe.zel")), 0600), 0);
    QStringList progress;
    std::vector<std::pair<int, int>> counts;
    maker.setProgressHandler([&](const QString& text) { progress.append(text); });
    maker.setCountHandler([&](int made, int total) { counts.emplace_back(made, total); });

    maker.makeAll();
    EXPECT_FALSE(QFile::exists(kiosk.path("zoo/a.htm"))) << "makeAll only records what to make";
    maker.run();

    EXPECT_EQ(progress.join(u'|').toStdString(), "Making page pipe in folder news|Making page SHOUT in folder news|"
                                                 "Making page today in folder news|Making page root in folder root|"
                                                 "Making page a in folder zoo|Making page b in folder zoo");
    EXPECT_EQ(counts, (std::vector<std::pair<int, int>>{{1, 6}, {2, 6}, {3, 6}, {4, 6}, {5, 6}}));
    EXPECT_TRUE(QFile::exists(kiosk.path("zoo/a.htm")) && QFile::exists(kiosk.path("news/SHOUT.htm")));
    for (const char* skipped : {"top.htm", "news/images/deep.htm", "news/.draft.htm", "news/old.htm", "news/pipe.htm"})
        EXPECT_FALSE(QFile::exists(kiosk.path(skipped))) << skipped;
    EXPECT_EQ(kiosk.messages.texts(), QStringList{"Page source - " + kiosk.path("news/pipe.zel")
                                                  + " is not a regular file - the page was not made"});
}

} // namespace
