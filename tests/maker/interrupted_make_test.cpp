// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A make that stops while it puts pages in place: killed between the renames
// of a page's three files, or ended by a runtime error at a later page.
#include "support/recording_problems.h"
#include "maker_test_support.h"

#include "maker/page_maker.h"
#include "support/check_kiosk.h"
#include "system/open_kiosk_system.h"

#include <QDir>
#include <QRegularExpression>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

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

class InterruptedMake : public ::testing::Test {
protected:
    InterruptedMake() : kiosk(makerConfiguration()) { makePicture(kiosk.path("news/cat.jpg"), 40, 30); }
    TemporaryKiosk kiosk;
};

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
TEST_F(InterruptedMake, AStopAtEveryRenameLeavesOnlyConsistentPagesAfterTheNextOpenOrMake)
{
    KioskSystem& system = kiosk.openHeadless();
    int stop = 1;
    for (;; ++stop) {
        SCOPED_TRACE("stopped at rename " + std::to_string(stop));
        writeGeneration(kiosk, "G1");
        SessionProblems problems(system.session());
        PageMaker maker(system, problems);
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
            SessionProblems problems(system.session());
            PageMaker one(system, problems);
            one.makeOne(kiosk.path("root/root.zel"));
            one.run();
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
TEST_F(InterruptedMake, ARuntimeErrorAtAPageKeepsThePagesMadeBeforeIt)
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
            {
                SessionProblems problems(system.session());
                PageMaker maker(system, problems);
                maker.makeAll(), maker.run();
            }
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
            SessionProblems problems(failing->session());
            PageMaker maker(*failing, problems);
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

} // namespace
