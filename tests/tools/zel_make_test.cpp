// zel-make as a script calls it: exit status, messages on standard error,
// progress on standard output.
#include "imaging/jpeg_size.h"
#include "support/check_kiosk.h"
#include "support/kiosk_fixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

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

// Faults of files and folders: exit 1 when only messages were shown, 2 after a fatal report.
TEST(ZelMakeFaults, EachFaultGivesAClearMessageAndTheRightExitStatus)
{
    const auto makePicture = [](const QString& path) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QProcess::execute("convert", {"-size", "64x48", "xc:steelblue", path});
    };
    const struct { const char* name; std::function<void(TemporaryKiosk&)> setup; const char* page; int exitCode; QString err; } rows[] = {
        {"kioskSystemFolder names a missing folder", [](TemporaryKiosk& k) { writeTextFile(k.path("configuration.txt"), {"kioskSystemFolder /nowhere/zel/"}); },
         nullptr, 1, "Kiosk System Folder - /nowhere/zel/ does NOT exist - no pages were made"},
        {"configuration.txt is a folder", [](TemporaryKiosk& k) { QFile::remove(k.path("configuration.txt")), QDir().mkdir(k.path("configuration.txt")); },
         nullptr, 2, "configuration.txt is a folder\nProgram will stop"},
        {"configuration.txt is a FIFO", [](TemporaryKiosk& k) { QFile::remove(k.path("configuration.txt")), mkfifo(qPrintable(k.path("configuration.txt")), 0600); },
         nullptr, 2, "configuration.txt is not a regular file\nProgram will stop"},
        {"configuration.txt links to /dev/zero", [](TemporaryKiosk& k) { QFile::remove(k.path("configuration.txt")), QFile::link("/dev/zero", k.path("configuration.txt")); },
         nullptr, 2, "configuration.txt is not a regular file\nProgram will stop"},
        {"page source is a FIFO", [](TemporaryKiosk& k) { mkfifo(qPrintable(k.path("news/pipe.zel")), 0600); },
         "news/pipe.zel", 1, "pipe.zel is not a regular file - the page was not made"},
        {"page source is a FIFO in Make All", [](TemporaryKiosk& k) { mkfifo(qPrintable(k.path("news/pipe.zel")), 0600); },
         nullptr, 1, "pipe.zel is not a regular file - the page was not made"},
        {"images is a file", [&](TemporaryKiosk& k) { makePicture(k.path("news/cat.jpg")), writeBytes(k.path("news/images"), "x"); },
         "news/today.zel", 2, "Runtime error 75 in dlgMakePage.scaleImage\nPath/File access error: "},
        {"images is a file in Make All, after a page made", [&](TemporaryKiosk& k) {
             writeTextFile(k.path("a/first.zel"), {"#leaf"}), makePicture(k.path("news/cat.jpg")), writeBytes(k.path("news/images"), "x");
         }, nullptr, 2, "Runtime error 75 in dlgMakePage.scaleImage\nPath/File access error: "},
        {"damaged picture", [&](TemporaryKiosk& k) {
             makePicture(k.path("news/cat.jpg"));
             writeBytes(k.path("news/cat.jpg"), readBytes(k.path("news/cat.jpg")).left(300));
             writeBytes(k.path("news/images/today00001.jpg"), "older copy");
         }, "news/today.zel", 1, " could not be resampled: "},
        {"logFileNumber 3", [](TemporaryKiosk& k) { writeTextFile(k.path("configuration.txt"), {"logFileNumber 3"}), writeTextFile(k.path("news/today.zel"), {"#leaf"}); }, nullptr, 0, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TemporaryKiosk kiosk({"screenheight 706"});
        writeTextFile(kiosk.path("root/root.zel"), {"#root"});
        writeTextFile(kiosk.path("news/today.zel"), {"#leaf", "#image cat.jpg"});
        row.setup(kiosk);
        const MakeRun run = runZelMake(row.page ? QStringList{kiosk.folder(), kiosk.path(row.page)} : QStringList{kiosk.folder()});
        EXPECT_EQ(run.exitCode, row.exitCode);
        EXPECT_TRUE(run.err.contains(row.err)) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(kiosk.path("news/images/today00001.jpg")));
        // Even a make that ends at a fatal report leaves none of its temporaries.
        for (QDirIterator it(kiosk.folder(), {".zel-tmp-*", ".zel-copy-*"}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
            ADD_FAILURE() << it.next().toStdString();
        if (row.exitCode == 0) {
            EXPECT_EQ(kiosk.logLines().value(1), "logFileNumber = 3");
            EXPECT_EQ(kiosk.logLines().last(), "log file closed");
            EXPECT_FALSE(readBytes(kiosk.path("root/root.htm")).contains("log file"));
        }
    }
}

// A kiosk with pages and pictures, made once with the title Old and then
// changed to New. Every page file is either the old or the new one, whole.
class ZelMakeRuns : public ::testing::Test {
protected:
    ZelMakeRuns() : kiosk({"screenheight 706"})
    {
        QProcess::execute("convert", {"-size", "1200x900", "plasma:", kiosk.path("picture.jpg")});
        writeTextFile(kiosk.path("root/root.zel"), {"#root"});
        writePages("Old");
        EXPECT_EQ(runZelMake({kiosk.folder()}).exitCode, 0);
        writePages("New", 2);
    }
    // Each page shows its picture pictures times: a later version with more
    // pictures links to copies that no make has made yet.
    void writePages(const QString& title, int pictures = 1)
    {
        latest = ">" + title + "<";
        for (int folder = 0; folder < 3; ++folder)
            for (int page = 0; page < 8; ++page) {
                const QString name = QString("f%1/p%2").arg(folder).arg(page);
                QStringList lines{"#leaf", "#title " + title};
                for (int n = 0; n < pictures; ++n)
                    lines << "#image p" + QString::number(page) + ".jpg";
                writeTextFile(kiosk.path(name + ".zel"), lines);
                QFile::copy(kiosk.path("picture.jpg"), kiosk.path(name + ".jpg"));
            }
    }
    QString latest;
    // Fails the test for a page file that is not whole; counts the new ones.
    int checkWholePages(const char* title = nullptr) const
    {
        int fresh = 0;
        for (QDirIterator it(kiosk.folder(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = it.next();
            const QByteArray bytes = readBytes(path);
            EXPECT_FALSE(path.contains(".zel-tmp-") && !title) << path.toStdString();
            // Copies of the killed make may still be in the making; after a whole make none is left.
            if (path.contains("/.zel-resample-") || path.contains("/.zel-copy-")) {
                EXPECT_TRUE(title && !*title) << path.toStdString();
                continue;
            }
            if (path.endsWith(".htm")) {
                EXPECT_TRUE(bytes.endsWith("</html>\r\n")) << path.toStdString();
                if (path.endsWith("_con.htm") && !path.contains("root")) {
                    EXPECT_TRUE(bytes.contains(">Old<") || bytes.contains(">New")) << path.toStdString();
                    EXPECT_TRUE(!title || bytes.contains(title)) << path.toStdString();
                    fresh += bytes.contains(latest.toLatin1());
                    // Every picture the page shows is there.
                    static const QRegularExpression source(R"re(src="images\\([^"]+)")re");
                    for (auto match = source.globalMatch(QString::fromLatin1(bytes)); match.hasNext();)
                        EXPECT_TRUE(QFileInfo::exists(QFileInfo(path).path() + "/images/" + match.next().captured(1))) << path.toStdString();
                }
            } else if (path.contains("/images/") && !path.endsWith("/.zel-copies")) {
                EXPECT_TRUE(bytes.startsWith("\xFF\xD8") && bytes.endsWith("\xFF\xD9")) << path.toStdString();
            }
        }
        return fresh;
    }
    TemporaryKiosk kiosk;
};

// kill -9 at several points of a make: the pages are old or new, never cut;
// the next make finishes them and clears what the killed runs left.
TEST_F(ZelMakeRuns, KilledMakeLeavesEveryPageOldOrNewWhole)
{
    // Killed after some pages have started, or some time into the make; each
    // time the pages gain a picture, so copies are still being made.
    const struct { int progressLines; int milliseconds; } kills[] = {{1, 0}, {4, 0}, {9, 0}, {17, 0}, {1, 150}, {1, 400}};
    int version = 0;
    for (const auto& kill : kills) {
        SCOPED_TRACE(QString("%1 lines, %2 ms").arg(kill.progressLines).arg(kill.milliseconds).toStdString());
        writePages("New" + QString::number(++version), version + 1);
        QProcess process;
        process.start(ZEL_PROGRAM_DIR "/zel-make", {kiosk.folder()});
        QByteArray out;
        while (out.count('\n') < kill.progressLines && process.waitForReadyRead(60000))
            out += process.readAllStandardOutput();
        if (kill.milliseconds)
            process.waitForFinished(kill.milliseconds);
        process.kill();
        process.waitForFinished();
        const int fresh = checkWholePages("");
        EXPECT_LT(fresh, 24); // killed before the make ended
    }
    EXPECT_EQ(runZelMake({kiosk.folder()}).exitCode, 0);
    EXPECT_EQ(checkWholePages(qPrintable(latest)), 24);
}

// Two makes of one kiosk at once both finish, each with its own log.
TEST_F(ZelMakeRuns, TwoMakesAtOnceBothFinish)
{
    QProcess first, second;
    first.start(ZEL_PROGRAM_DIR "/zel-make", {kiosk.folder()});
    second.start(ZEL_PROGRAM_DIR "/zel-make", {kiosk.folder()});
    for (QProcess* process : {&first, &second}) {
        ASSERT_TRUE(process->waitForFinished(120000));
        EXPECT_EQ(process->exitCode(), 0);
        EXPECT_EQ(process->readAllStandardError().toStdString(), "");
    }
    EXPECT_EQ(checkWholePages(qPrintable(latest)), 24);
    EXPECT_EQ(QDir(kiosk.folder()).entryList({"log*.txt"}).size(), 3);
}

// A full disk while pages are written: exit 2 with "Disk full", the path and
// the reason; the pages made before stay whole.
TEST(ZelMakeDiskFull, FullDiskKeepsThePreviousPages)
{
    QTemporaryDir mountPoint;
    if (::mount("tmpfs", qPrintable(mountPoint.path()), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "tmpfs cannot be mounted here";
    {
        const QString kiosk = mountPoint.path() + "/kiosk/";
        writeTextFile(kiosk + "configuration.txt", {"screenheight 706"});
        writeTextFile(kiosk + "root/root.zel", {"#root", "#title Old"});
        EXPECT_EQ(runZelMake({kiosk}).exitCode, 0);
        const QByteArray old = readBytes(kiosk + "root/root_con.htm");
        writeTextFile(kiosk + "root/root.zel", {"#root", "#title New", "#para", QString(300000, 'x')});
        struct statvfs space {};
        statvfs(qPrintable(kiosk), &space);
        writeBytes(mountPoint.path() + "/filler", QByteArray(qsizetype(space.f_bavail * space.f_frsize) - 96 * 1024, 'f'));
        const MakeRun run = runZelMake({kiosk});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains("Runtime error 61 in dlgMakePage.makeOnePage(") && run.err.contains("Disk full: " + kiosk + "root/root")
                    && run.err.contains("(No space left on device)")) << run.err.toStdString();
        EXPECT_EQ(readBytes(kiosk + "root/root_con.htm"), old);
        EXPECT_EQ(QDir(kiosk + "root").entryList(QDir::Hidden | QDir::Files).filter(".zel-tmp-"), QStringList());
    }
    ::umount(qPrintable(mountPoint.path()));
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
