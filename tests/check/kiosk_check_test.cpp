// The kiosk check through zel-make --check: a line per finding and the count
// on standard output, exit 1 with findings and 0 without, and nothing written
// (its usage: zel_make_test.cpp).
// Each kind of finding, in its order: frm_check_kiosk_system_test.cpp.
#include "support/check_kiosk.h"
#include "support/kiosk_fixture.h"

#include <gtest/gtest.h>

TEST(ZelMakeCheck, SampleKioskHasNoFindingsOnceMade)
{
    TemporaryKiosk kiosk;
    copySampleKiosk(kiosk.folder());
    const auto copied = folderSnapshot(kiosk.folder());
    const MakeRun unmade = runZelMake({"--check", kiosk.folder()});
    EXPECT_EQ(unmade.exitCode, 1);
    EXPECT_EQ(unmade.err.toStdString(), "");
    EXPECT_TRUE(unmade.out.startsWith(kiosk.folder() + "news/news.zel:1: out of date: Page has never been made\n"));
    EXPECT_TRUE(unmade.out.endsWith("Checked 19 pages: 19 findings (19 out of date)\n")) << unmade.out.toStdString();
    EXPECT_TRUE(folderSnapshot(kiosk.folder()) == copied) << "no log, no HTML";

    ASSERT_EQ(runZelMake({kiosk.folder()}).exitCode, 0);
    const auto before = folderSnapshot(kiosk.folder());
    const MakeRun made = runZelMake({"--check", kiosk.folder()});
    EXPECT_EQ(made.exitCode, 0);
    EXPECT_EQ(made.out.toStdString(), "Checked 19 pages: no findings\n");
    EXPECT_TRUE(folderSnapshot(kiosk.folder()) == before);
}
