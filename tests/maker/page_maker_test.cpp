// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What a make leaves on disk when writing fails, at links planted at output
// names, for unchanged pages and dead temporaries, and for names that need
// escaping in attributes; and a make that stops while it puts pages in place:
// killed between the renames of a page's three files, or ended by a runtime
// error at a later page. What Make All visits, and the make inside a host
// that is not the desktop program.
#include "support/recording_problems.h"
#include "maker_test_support.h"

#include "base/runtime_error.h"
#include "maker/page_maker.h"
#include "support/executable_script.h"
#include "support/check_kiosk.h"
#include "support/folder_state.h"
#include "system/open_kiosk_system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>

namespace {

class MakerOnDisk : public ::testing::Test {
protected:
    MakerOnDisk() : kiosk(makerConfiguration())
    {
        maker.setKioskSystem(kiosk.openHeadless());
        makePicture(kiosk.path("news/cat.jpg"), 40, 30); // the test session has no image tool: pictures are copied
    }
    QString writePage(const QString& title)
    {
        writeTextFile(kiosk.path("news/today.zel"), {"#leaf", "#title " + title, "#image cat.jpg"});
        return kiosk.path("news/today.zel");
    }
    // The files of the page folder but its source and copy record, which a make may change.
    std::map<std::string, std::string> pageFolder() const
    {
        std::map<std::string, std::string> files = folderState(kiosk.path("news"));
        files.erase("today.zel");
        files.erase("images/.zel-copies");
        return files;
    }

    TemporaryKiosk kiosk;
    SessionProblems problems{kiosk.session.session()};
    PageMaker maker{problems};
};

// A write, sync, close or rename that fails ends the make with the path and the
// reason; the page keeps its previous files whole and no temporary stays. Both
// ways of making: the page alone (files synced one by one, copies in place) and
// the make dialog's run (pages synced in groups, copies made in the background).
TEST_F(MakerOnDisk, FailedWritesKeepThePreviousPage)
{
    const struct {
        const char* operation;
        int error;
        QString target;
        QString report;
    } rows[] = {
        {"write", ENOSPC, "today_con.htm", "Runtime error 61 in dlgMakePage.makeOnePage("},
        {"sync", ENOSPC, "today_con.htm", "Runtime error 61 in dlgMakePage.makeOnePage("},
        {"close", EIO, "today.htm", "Runtime error 75 in dlgMakePage.makeOnePage("},
        {"rename", EACCES, "today_con.htm", "Runtime error 75 in dlgMakePage.makeOnePage("},
        {"write", ENOSPC, "today00001.jpg", "Runtime error 61 in dlgMakePage.scaleImage"},
    };
    maker.makeOnePage(writePage("Old"));
    const auto old = pageFolder();
    for (const bool grouped : {false, true}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(grouped ? "grouped " : "alone ") + row.operation + " " + row.target.toStdString());
            kiosk.messages.clear();
            // A run whose file operations fail as the row says; copies made in the background are written under
            // a temporary name first.
            TestSession run(
                {.fileFaults =
                     [&](std::string_view operation, const std::string& target) {
                         const QString path = QString::fromStdString(target);
                         const bool copy = grouped && path.contains("/.zel-copy-") && row.target.endsWith(".jpg");
                         return operation == row.operation && (path.endsWith(row.target) || copy) ? row.error : 0;
                     },
                 .messages = &kiosk.messages});
            const std::unique_ptr<KioskSystem> failing = openKioskSystemHeadless(run.session(), kiosk.folder(), false);
            maker.setKioskSystem(*failing);
            QFile::remove(kiosk.path("news/images/.zel-copies")); // the copy is made anew, not kept
            EXPECT_TRUE(endsProgram([&] {
                grouped ? (maker.makeOne(writePage("New")), maker.run()) : maker.makeOnePage(writePage("New"));
            }));
            const QString report = kiosk.messages.texts().value(0);
            // Grouped pages are synced and renamed together after the page, in the run.
            const bool atCommit =
                grouped && (row.operation == std::string_view("sync") || row.operation == std::string_view("rename"));
            EXPECT_TRUE(report.contains(atCommit ? row.report.section('.', 0, 0) : row.report)
                        && report.contains(row.target + " (" + QString::fromLocal8Bit(std::strerror(row.error))))
                << report.toStdString();
            EXPECT_TRUE(pageFolder() == old) << "the old page whole, no temporary";
        }
    }
}

// A link at an output name stays: the made file replaces what it leads to,
// keeping its mode; alone and in a run whose copies are made in the background.
TEST_F(MakerOnDisk, LinksAtOutputNamesLeadTheMadeFilesAndModesStay)
{
    for (const bool inRun : {false, true}) {
        SCOPED_TRACE(inRun ? "in a run" : "one page");
        QDir().mkpath(kiosk.path("news/images"));
        const QStringList names{"news/today_con.htm", "news/today.htm", "news/images/today00001.jpg"};
        const auto outside = [&](const QString& name) { return kiosk.path("outside-" + QFileInfo(name).fileName()); };
        for (const QString& name : names) {
            QFile::remove(kiosk.path(name));
            writeBytes(outside(name), "old");
            ASSERT_EQ(::chmod(qPrintable(outside(name)), 0640), 0);
            ASSERT_TRUE(QFile::link(outside(name), kiosk.path(name)));
        }
        QFile::remove(kiosk.path("news/images/.zel-copies"));
        const QString title = inRun ? "Run" : "Alone";
        inRun ? (maker.makeOne(writePage(title)), maker.run()) : maker.makeOnePage(writePage(title));
        for (const QString& name : names) {
            EXPECT_TRUE(QFileInfo(kiosk.path(name)).isSymLink()) << name.toStdString();
            EXPECT_NE(readBytes(outside(name)), "old") << name.toStdString();
            struct stat info {};
            EXPECT_TRUE(::stat(qPrintable(outside(name)), &info) == 0 && (info.st_mode & 07777) == 0640)
                << name.toStdString();
        }
        EXPECT_TRUE(readBytes(outside("today_con.htm")).contains(title.toUtf8()));
        EXPECT_TRUE(readBytes(outside("today00001.jpg")).startsWith("\xFF\xD8"));
    }
}

// A make that gives a page file exactly the bytes it has leaves the file in
// place and only renews its time; other bytes replace it.
TEST_F(MakerOnDisk, UnchangedPageFilesAreKeptWithANewTime)
{
    const QString content = kiosk.path("news/today_con.htm");
    const auto makeAndGetInode = [&](const QString& title) {
        maker.makeOne(writePage(title));
        maker.run();
        struct stat info {};
        return ::stat(qPrintable(content), &info) == 0 ? info.st_ino : ino_t(0);
    };
    const ino_t first = makeAndGetInode("Same");
    setModified(content, QDateTime::currentDateTime().addSecs(-3600));
    EXPECT_EQ(makeAndGetInode("Same"), first) << "the same file, not a new one";
    EXPECT_GT(QFileInfo(content).lastModified(), QDateTime::currentDateTime().addSecs(-60)) << "its time renewed";
    EXPECT_NE(makeAndGetInode("Other"), first);
    EXPECT_TRUE(readBytes(content).contains("Other"));
    EXPECT_EQ(filesUnder(kiosk.path("news")).filter(".zel-tmp-"), QStringList());
}

// Dead temporaries of our own pattern go (also one whose process number a
// later process took over); other files and live runs' stay.
TEST_F(MakerOnDisk, DeadTemporariesAreRemovedByTheNextMake)
{
    const QStringList dead = {".zel-tmp-999999999-abcdef", ".zel-resample-Ab12Cd", ".zel-copy-999999999-1.jpg"};
    // An unlocked tool temporary written just now may be about to be locked by its run.
    const QStringList kept = {".zel-resample-FrEsH1", ".zel-tmp-" + QString::number(getpid()) + "-abcdef",
                              ".zel-tmp-notes", "keep.zel-tmp-1-abcdef"};
    for (const QString& name : dead + kept)
        writeBytes(kiosk.path("news/images/" + name), "x");
    for (const QString& name : dead)
        setModified(kiosk.path("news/images/" + name), QDateTime::currentDateTime().addSecs(-60));
    // Made before the process of its number started: that number has been taken over since.
    const QString reused = kiosk.path("news/images/.zel-copy-" + QString::number(getpid()) + "-2.jpg");
    writeBytes(reused, "x");
    setModified(reused, QDateTime::currentDateTime().addDays(-1));
    maker.makeOnePage(writePage("Clean"));
    EXPECT_EQ(filesUnder(kiosk.path("news/images")), kept + QStringList{"today00001.jpg"});
}

// src and href values escape '"', '&', '<' and '>'; plain names stay as they are.
TEST_F(MakerOnDisk, AttributeValuesAreEscaped)
{
    const QString page = kiosk.path("news/q\"on&<x>.zel");
    writeTextFile(page, {"#leaf", "#image a\"b&c.jpg middle", "#alt Tom & \"Jerry\" <3", "#image cat.jpg left"});
    maker.makeOnePage(page);
    const QByteArray main = readBytes(kiosk.path("news/q\"on&<x>.htm"));
    EXPECT_TRUE(main.contains("<frame src=\"q&quot;on&amp;&lt;x&gt;_con.htm\"")) << main.toStdString();
    const QByteArray content = readBytes(kiosk.path("news/q\"on&<x>_con.htm"));
    EXPECT_TRUE(content.contains("<img src=\"a&quot;b&amp;c.jpg\" alt=\"\">")) << content.toStdString();
    EXPECT_TRUE(content.contains("<img src=\"images\\q&quot;on&amp;&lt;x&gt;00002.jpg\" align=left"))
        << content.toStdString();
    EXPECT_TRUE(content.contains(" alt=\"Tom &amp; &quot;Jerry&quot; &lt;3\">")) << content.toStdString();
}

// Pages of every kind of group: root and branch pages change all three files
// between two makes, a leaf page only its main and content files (its
// navigation bar stays the same bytes). Every changed file carries the
// generation ("G1", "G2") of the make that wrote it.
const QStringList kPages = {"news/a", "news/b", "news/c", "root/root"};

void writeGeneration(TemporaryKiosk& kiosk, const QString& generation)
{
    writeTextFile(kiosk.path("root/root.zel"),
                  {"#root", "#title Root " + generation, "#button news\\a A " + generation});
    writeTextFile(kiosk.path("news/a.zel"),
                  {"#branch", "#title A " + generation, "#button b B " + generation, "#button c C " + generation});
    writeTextFile(kiosk.path("news/b.zel"),
                  {"#leaf", "#title B " + generation, "#para", "Text " + generation, "#image cat.jpg"});
    writeTextFile(kiosk.path("news/c.zel"), {"#branch", "#title C " + generation, "#button b B " + generation});
}

// A page's files as a visitor's browser loads them (main, content, navigation), each "G1", "G2", or "-" for a
// file both makes write alike.
QStringList pageState(TemporaryKiosk& kiosk, const QString& page)
{
    QStringList state;
    for (const char* suffix : {".htm", "_con.htm", "_nav.htm"}) {
        const QByteArray bytes = readBytes(kiosk.path(page + suffix));
        state.append(bytes.contains(" G1") ? "G1" : bytes.contains(" G2") ? "G2" : "-");
    }
    return state;
}

// Files of one make only.
bool consistent(const QStringList& state) { return state.contains("G1") != state.contains("G2"); }

// The files of the page folders (not of their images folders) named .zel-<kind>...
QStringList leftovers(TemporaryKiosk& kiosk, const QString& kind)
{
    return filesUnder(kiosk.folder()).filter(QRegularExpression("^(news|root)/\\.zel-" + kind));
}

constexpr int kStopped = 3, kFinished = 4, kFailed = 5;

// Makes everything in a child process that ends at once (as if killed) just
// before the stop-th rename of a page file; returns how it ended.
int makeStoppedAtRename(KioskSystem& system, int stop)
{
    const pid_t child = ::fork();
    if (child == 0) {
        int renames = 0;
        TestSession run({.fileFaults = [&](std::string_view operation, const std::string& target) {
            if (operation == "rename" && target.ends_with(".htm") && ++renames == stop)
                ::_exit(kStopped);
            return 0;
        }});
        try {
            // The kiosk system of this run, whose file operations stop.
            const std::unique_ptr<KioskSystem> opened =
                openKioskSystemHeadless(run.session(), system.openedFolder(), false);
            SessionProblems problems(opened->session());
            PageMaker maker(*opened, problems);
            maker.makeAll(), maker.run();
        } catch (...) {
            ::_exit(kFailed);
        }
        ::_exit(kFinished);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// At every rename of the page files of a Make All the make is stopped. Before
// any repair a visitor can meet at most one page whose files come from two
// makes, and then only an old main file with a new content file (the content
// and navigation files are renamed before the main file). The next open of the
// kiosk system, or the next make (here of a page of the other folder), completes
// that page and the others the stopped make was putting in place with it: every
// page is then whole and consistent, and a page that had a new file is new.
TEST_F(MakerOnDisk, AStopAtEveryRenameLeavesOnlyConsistentPagesAfterTheNextOpenOrMake)
{
    KioskSystem& system = kiosk.openHeadless();
    maker.setKioskSystem(system);
    int stop = 1;
    for (;; ++stop) {
        SCOPED_TRACE("stopped at rename " + std::to_string(stop));
        writeGeneration(kiosk, "G1");
        maker.makeAll(), maker.run();
        for (const QString& page : kPages)
            ASSERT_EQ(pageState(kiosk, page).filter("G1").size(), page == "news/b" ? 2 : 3) << page.toStdString();
        writeGeneration(kiosk, "G2");
        const int end = makeStoppedAtRename(system, stop);
        ASSERT_TRUE(end == kStopped || end == kFinished) << end;
        if (end == kFinished)
            break;

        QString mixed;
        QStringList newBefore;
        for (const QString& page : kPages) {
            const QStringList state = pageState(kiosk, page);
            if (state.contains("G2"))
                newBefore.append(page);
            if (consistent(state))
                continue;
            EXPECT_TRUE(mixed.isEmpty()) << "two mixed pages: " << mixed.toStdString() << ", " << page.toStdString();
            mixed = page;
            EXPECT_TRUE(state[0] == "G1" && state[1] == "G2")
                << page.toStdString() << ": " << state.join(' ').toStdString();
        }

        if (stop % 2) {
            const std::unique_ptr<KioskSystem> reopened =
                openKioskSystemHeadless(kiosk.session.session(), kiosk.folder());
        } else {
            // A make of one page of the other folder.
            maker.makeOne(kiosk.path("root/root.zel"));
            maker.run();
        }
        // The pages the stopped make was putting in place at that moment are
        // completed with it; a page that was new stays new.
        for (const QString& page : kPages) {
            const QStringList state = pageState(kiosk, page);
            EXPECT_TRUE(consistent(state)) << page.toStdString() << ": " << state.join(' ').toStdString();
            if (newBefore.contains(page)) {
                EXPECT_FALSE(state.contains("G1")) << page.toStdString() << ": " << state.join(' ').toStdString();
            }
        }
        EXPECT_EQ(leftovers(kiosk, "journal-"), QStringList());
        maker.makeAll(), maker.run();
        for (const QString& page : kPages)
            EXPECT_FALSE(pageState(kiosk, page).contains("G1")) << page.toStdString();
        EXPECT_EQ(leftovers(kiosk, ""), QStringList());
    }
    EXPECT_EQ(stop, 3 + 2 + 3 + 3 + 1) << "every rename of the four pages was tried";
}

// A runtime error at page 3 of a Make All (its content file or its picture
// copy cannot be written) ends the make after pages 1 and 2 were put in
// place with their pictures; page 3 and later keep their old files. Both
// with pictures made in place and in the background.
TEST_F(MakerOnDisk, ARuntimeErrorAtAPageKeepsThePagesMadeBeforeIt)
{
    const struct {
        const char* name;
        QString target; // the write that fails ends with this
    } rows[] = {
        {"content file of page 3", "/p3_con.htm"},
        {"picture copy of page 3", "/p300001.jpg"},
    };
    const auto write = [&](const QString& generation) {
        for (int page = 1; page <= 4; ++page)
            writeTextFile(kiosk.path(QString("news/p%1.zel").arg(page)),
                          {"#leaf", "#title P " + generation, "#image cat.jpg"});
    };
    KioskSystem& system = kiosk.openHeadless();
    for (const int runs : {PageMaker::InPlace, 2}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(row.name) + (runs == PageMaker::InPlace ? ", in place" : ", background"));
            QDir(kiosk.path("news")).removeRecursively();
            makePicture(kiosk.path("news/cat.jpg"), 40, 30);
            write("G1");
            maker.setKioskSystem(system);
            maker.makeAll(), maker.run();
            write("G2");
            kiosk.messages.clear();
            QFile::remove(kiosk.path("news/images/.zel-copies")); // every copy is made anew, not kept
            TestSession run({.fileFaults =
                                 [&](std::string_view operation, const std::string& target) {
                                     const QString path = QString::fromStdString(target);
                                     // Copies made in the background are written under a numbered temporary.
                                     const bool copy = row.target.endsWith(".jpg")
                                                       && path.endsWith(QString("/.zel-copy-%1-3.jpg").arg(getpid()));
                                     return operation == "write" && (path.endsWith(row.target) || copy) ? ENOSPC : 0;
                                 },
                             .messages = &kiosk.messages});
            const std::unique_ptr<KioskSystem> failing = openKioskSystemHeadless(run.session(), kiosk.folder(), false);
            maker.setKioskSystem(*failing);
            maker.setPictureRuns(runs);
            EXPECT_TRUE(endsProgram([&] { maker.makeAll(), maker.run(); }));
            EXPECT_TRUE(kiosk.messages.texts().value(0).contains("No space left on device"))
                << kiosk.messages.texts().join('\n').toStdString();
            for (int page = 1; page <= 4; ++page) {
                const QString made = page < 3 ? "G2" : "G1";
                EXPECT_EQ(pageState(kiosk, QString("news/p%1").arg(page)), QStringList({made, made, "-"})) << page;
                if (page < 3) {
                    EXPECT_TRUE(QFileInfo::exists(kiosk.path("news/images/p" + QString::number(page) + "00001.jpg")))
                        << page;
                }
            }
            EXPECT_EQ(leftovers(kiosk, "tmp-"), QStringList());
        }
    }
}

// Page sources have the suffix "zel" in any letter case; hidden files, folders
// named like pages and files outside the page folders are no page sources. A
// page source that is no regular file is reported and passed over.
TEST_F(MakerOnDisk, MakeAllVisitsPageFoldersAndFilesSortedByName)
{
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

// A host that makes every page and keeps what went wrong instead of ending.
struct MakeHost {
    Session& session;
    QStringList failures;

    bool makeAll(const QString& kioskFolder)
    {
        try {
            const auto system = openKioskSystemHeadless(session, kioskFolder);
            SessionProblems problems(session);
            PageMaker maker(*system, problems);
            maker.setPictureRuns(PageMaker::AutomaticRuns);
            maker.makeAll();
            maker.run();
            return true;
        } catch (const RuntimeError& error) {
            failures.append(QStringLiteral("%1 in %2.%3").arg(error.number()).arg(error.module(), error.label()));
            return false;
        }
    }
};

// The make engine inside a host other than the desktop program (a kiosk, the preview, a test): a make that
// fails fatally raises its located failure to the host, ends nothing, and the host goes on making in the same
// session.
TEST_F(MakerOnDisk, AFatalFailureOfAMakeReachesTheHostWhichKeepsRunning)
{
    makePicture(kiosk.path("walk/big.jpg"), 1600, 1200);
    writeTextFile(kiosk.path("walk/a.zel"), {"#leaf", "#image big.jpg centre 90%"});
    const QString fullDisk = writeExecutableScript(
        kiosk.path("full-disk"), "echo 'zel-resample: cannot write: No space left on device' >&2\nexit 4");

    Session& session = kiosk.session.session();
    MakeHost host{session};
    session.setImageTool(ImageToolChoice{fullDisk, 60 * 1000, true});
    EXPECT_FALSE(host.makeAll(kiosk.folder()));
    session.setImageTool(ImageToolChoice{ZEL_PROGRAM_DIR "/zel-resample", 60 * 1000, true});
    EXPECT_TRUE(host.makeAll(kiosk.folder()));

    EXPECT_EQ(host.failures, QStringList{"61 in dlgMakePage.scaleImage"});
    EXPECT_EQ(kiosk.session.endCount(), 0);
    EXPECT_FALSE(session.fatalReportInProgress());
    EXPECT_FALSE(kiosk.messages.texts().join('\n').contains("The System has encountered a problem"));
    EXPECT_TRUE(QFile::exists(kiosk.path("walk/a.htm")));
    EXPECT_TRUE(QFile::exists(kiosk.path("walk/images/a00001.jpg")));
}

} // namespace
