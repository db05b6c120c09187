// The kiosk check through zel-make --check, on a kiosk system with one of each
// finding and on the sample kiosk system.
#include "support/check_kiosk.h"
#include "support/kiosk_fixture.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(ZelMakeCheck, ListsEveryFindingSortedAndWritesNothing)
{
    TemporaryKiosk kiosk;
    writeKioskWithEveryFinding(kiosk);
    const auto before = folderSnapshot(kiosk.folder());

    const MakeRun run = runZelMake({"--check", kiosk.folder()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.toStdString(), "");
    const QStringList expected = expectedFindingLines(kiosk.folder())
                                 << "Checked 6 pages: 13 findings (1 faulty line, 1 dead end, 4 picture, 4 out of "
                                    "date, 1 unreachable, 2 may not fit)";
    EXPECT_EQ(run.out.toStdString(), (expected.join(u'\n') + u'\n').toStdString());
    // Same files, same times, same bytes: no log, no HTML, no images folder.
    EXPECT_TRUE(folderSnapshot(kiosk.folder()) == before);
}

TEST(ZelMakeCheck, SampleKioskHasNoFindingsOnceMade)
{
    TemporaryKiosk kiosk;
    copySampleKiosk(kiosk.folder());
    const MakeRun unmade = runZelMake({"--check", kiosk.folder()});
    EXPECT_EQ(unmade.exitCode, 1);
    EXPECT_TRUE(unmade.out.endsWith("Checked 19 pages: 19 findings (19 out of date)\n")) << unmade.out.toStdString();

    ASSERT_EQ(runZelMake({kiosk.folder()}).exitCode, 0);
    const auto before = folderSnapshot(kiosk.folder());
    const MakeRun made = runZelMake({"--check", kiosk.folder()});
    EXPECT_EQ(made.exitCode, 0);
    EXPECT_EQ(made.out.toStdString(), "Checked 19 pages: no findings\n");
    EXPECT_TRUE(folderSnapshot(kiosk.folder()) == before);
}

TEST(ZelMakeCheck, UsageErrorsExitTwo)
{
    for (const QStringList& arguments : {QStringList{"--check"}, QStringList{"--check", "a", "b"}}) {
        const MakeRun run = runZelMake(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains("zel-make --check KIOSK_FOLDER")) << run.err.toStdString();
    }
}
