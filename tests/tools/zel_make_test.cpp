// zel-make as a script calls it: exit status, messages on standard error,
// progress on standard output.
#include "imaging/jpeg_size.h"
#include "support/check_kiosk.h"
#include "support/kiosk_fixture.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

class ZelMake : public ::testing::Test {
protected:
    ZelMake() : kiosk({"screenheight 706"})
    {
        writeTextFile(kiosk.path("root/root.zel"), {"#root", "#title Start", "#button news\\today Today"});
        writeTextFile(kiosk.path("news/today.zel"), {"#leaf", "#para", "Hello"});
    }
    TemporaryKiosk kiosk;
};

TEST_F(ZelMake, CleanKioskMakesEveryPageAndExitsZero)
{
    const MakeRun run = runZelMake({kiosk.folder()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.toStdString(), "Making page today in folder news\nMaking page root in folder root\n");
    EXPECT_EQ(run.err.toStdString(), "");
    EXPECT_TRUE(QFile::exists(kiosk.path("root/root_nav.htm")) && QFile::exists(kiosk.path("news/today.htm")));
    EXPECT_EQ(kiosk.logLines().value(kiosk.logLines().size() - 1).toStdString(), "log file closed");
}

// Named page sources are made in the given order only; faulty lines go to standard error.
TEST_F(ZelMake, NamedPageSourcesInOrderAndFaultyLinesExitOne)
{
    const QString other = kiosk.path("news/other.zel");
    writeTextFile(other, {"#leaf", "junk", "#button x y"});
    const MakeRun named = runZelMake({kiosk.folder(), kiosk.path("root/root.zel"), kiosk.path("news/today.zel")});
    EXPECT_EQ(named.exitCode, 0);
    EXPECT_EQ(named.out.toStdString(), "Making page root in folder root\nMaking page today in folder news\n");
    EXPECT_FALSE(QFile::exists(kiosk.path("news/other.htm")));
    const MakeRun faulty = runZelMake({kiosk.folder(), other});
    EXPECT_EQ(faulty.exitCode, 1);
    EXPECT_EQ(faulty.err.toStdString(), ("Expected valid directive\nIn line - junk\nIn file - " + other + "\n\n"
                                         "You can not put buttons on a leaf page\nIn line - #button x y\nIn file - " + other + "\n\n").toStdString());
}

// K stands for the kiosk folder; the configuration file is left (null), removed ("") or given this line.
TEST_F(ZelMake, FatalReportsStopWithExitTwoAndAClearMessage)
{
    const struct { const char* name; QStringList arguments; const char* configuration; const char* expectedStart; } rows[] = {
        {"no arguments", {}, nullptr, "Usage: zel-make KIOSK_FOLDER [PAGE_SOURCE ...]"},
        {"missing folder", {"Knowhere"}, nullptr, "Fatal Error - Kiosk System Folder - "},
        {"missing page source", {"K", "Knews/today.zel", "Knews/gone.zel"}, nullptr, "Page source - "},
        {"page source is a folder", {"K", "Knews"}, nullptr, "Page source - "},
        {"missing configuration", {"K"}, "", "The System has encountered a problem\nConfiguration File - "},
        {"bad configuration line", {"K"}, "buttons many", "The System has encountered a problem\nError processing configuration file"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.configuration && *row.configuration)
            writeTextFile(kiosk.path("configuration.txt"), {row.configuration});
        else if (row.configuration)
            QFile::remove(kiosk.path("configuration.txt"));
        const MakeRun run = runZelMake(QStringList(row.arguments).replaceInStrings("K", kiosk.folder()));
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.startsWith(row.expectedStart) && run.err.endsWith("\n\n")) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(kiosk.path("news/today.htm")));
    }
}

// Installed, the programs are reached through links in /usr/bin: the helper
// programs are still found beside the link's target.
TEST(ZelMakeLinked, FindsTheImageToolBesideTheProgramALinkPointsTo)
{
    TemporaryKiosk kiosk;
    QTemporaryDir bin;
    ASSERT_TRUE(QFile::link(ZEL_PROGRAM_DIR "/zel-make", bin.filePath("zel-make")));
    writeTextFile(kiosk.path("root/root.zel"), {"#root", "#image town.jpg"});
    QFile::copy(ZEL_SOURCE_DIR "/examples/sample/root/town.jpg", kiosk.path("root/town.jpg"));
    const MakeRun run = runZelMake({kiosk.folder()}, bin.filePath("zel-make"));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    std::int32_t height = 0, width = 0;
    Jpeg::GetSize(kiosk.path("root/images/root00001.jpg"), height, width);
    EXPECT_EQ(width, 946) << "resampled to the root page's image width, not copied unchanged (1200)";
}

TEST(ZelMakeBundled, SampleKioskMakesWithoutMessages)
{
    TemporaryKiosk kiosk;
    copySampleKiosk(kiosk.folder());
    const MakeRun run = runZelMake({kiosk.folder()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err.toStdString(), "");
    EXPECT_EQ(run.out.count("Making page "), 19);
}

} // namespace
