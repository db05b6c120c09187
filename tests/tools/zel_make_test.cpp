// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// zel-make as a script calls it: exit status, messages on standard error,
// progress on standard output.
#include "support/check_kiosk.h"
#include "support/kiosk_fixture.h"
#include "support/program_run.h"
#include "support/qt_printing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <iostream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The temporaries of a make left below the folder.
QStringList temporariesIn(const QString& folder)
{
    return folderSnapshot(folder).keys().filter(QRegularExpression(R"((^|/)\.zel-(tmp|copy|resample)-)"));
}

// A kiosk for a 706-pixel screen whose root page leads to the leaf page news\today (a paragraph and a picture),
// and another kiosk folder beside it (holding root/root.zel). In texts "~/" stands for the kiosk folder and "@/"
// for the other one.
struct NewsKiosk {
    // puts: files written over the news kiosk's ("path=lines", "; " between files, "\n" between lines;
    // "path=->target" links to the target, "path=mode 000" takes every permission away).
    explicit NewsKiosk(const QString& puts = {})
    {
        writeTextFile(other() + "configuration.txt", {"screenheight 706"});
        writeTextFile(other() + "root/root.zel", {"#root", "#title Elsewhere"});
        writeTextFile(kiosk.path("root/root.zel"), {"#root", "#title Start", "#button news\\today Today"});
        writeTextFile(kiosk.path("news/today.zel"), {"#leaf", "#para", "Hello", "#image town.jpg"});
        QFile::copy(ZEL_SOURCE_DIR "/examples/sample/root/town.jpg", kiosk.path("news/town.jpg"));
        for (const QString& put : puts.split("; ", Qt::SkipEmptyParts)) {
            const QString path = kiosk.path(put.section('=', 0, 0)), text = here(put.section('=', 1));
            if (text.startsWith("->"))
                QFile::link(text.mid(2), path);
            else if (text == "mode 000")
                QFile::setPermissions(path, {});
            else
                writeTextFile(path, text.split('\n'));
        }
    }
    QString other() const { return otherDir.path() + "/"; }
    QString here(const QString& text) const
    {
        return QString(text).replace("~/", kiosk.folder()).replace("@/", other());
    }
    MakeRun make(const QString& arguments) const { return runZelMake(here(arguments).split(' ', Qt::SkipEmptyParts)); }

    TemporaryKiosk kiosk{QStringList{"screenheight 706"}};
    QTemporaryDir otherDir;
};

// Each run of zel-make on the news kiosk (with files put over it): its exit status (a fatal report, exit 2, ends
// the make; messages alone give exit 1), standard output and error, no temporaries left, and the files it made.
// What the make will not make as asked (a configuration that sends it to another folder, two pages that would
// write the same file, a page source that cannot be read), and what the check (zel-make --check, which writes
// nothing) finds after the make and a change: what a make would change now and what strands a visitor.
// "path=text" in holds means the file holds the text ("path!=text": it does not), a path in absent that it does
// not exist; each of the findings is a line of the check's output; faulty names the place ("~/file:line") of a
// "faulty line" finding that repeats the make's message.
TEST(ZelMake, EachRunGivesItsExitStatusOutputFilesAndFindings)
{
    const QString pageA = "news/a.zel=#leaf\n#para\nPage A", a251(251, u'a'), b247(247, u'b');
    const QString nameRule = " may only contain lower case letters, digits, underscores(_) and dashes(-)";
    const auto replacePictureWithOlderStamp = [](const NewsKiosk& news) {
        // Another picture of the same size: a comment segment after the start marker.
        QByteArray bytes = readBytes(news.kiosk.path("news/town.jpg"));
        bytes.insert(2, QByteArray("\xFF\xFE\x00\x0A"
                                   "changed!",
                                   12));
        writeBytes(news.kiosk.path("news/town.jpg"), bytes);
        setModified(news.kiosk.path("news/town.jpg"), QDateTime::currentDateTime().addDays(-30));
    };
    const struct {
        const char* name;
        QString puts; // as NewsKiosk writes them
        QString arguments;
        int exitCode;
        QString err;                        // standard error contains this; empty: nothing on standard error
        QString out = "-";                  // exactly this on standard output; "-": not looked at
        QString holds = {}, absent = {};    // "|" between paths
        QString faulty = {}, findings = {}; // "|" between lines
        std::function<void(const NewsKiosk&)> afterMake = {};
        bool needsFileModes = false; // skipped as root, whom file modes do not stop
    } rows[] = {
        {"clean kiosk", "", "~/", 0, "", "Making page today in folder news\nMaking page root in folder root\n"},
        {"Make All counts the dead references", "root/root.zel=#root\n#button news\\gone Gone\n#button lost Lost", "~/",
         1, "Reference to non-existent page",
         "Making page today in folder news\nMaking page root in folder root\n"
         "Dead references: 2 (buttons or items to pages that do not exist strand the visitor)\n"},
        {"a named page source with a dead reference: no count", "root/root.zel=#root\n#button lost Lost",
         "~/ ~/root/root.zel", 1, "Reference to non-existent page", "Making page root in folder root\n"},
        {"named page sources only, in the given order", "news/other.zel=#leaf\njunk",
         "~/ ~/root/root.zel ~/news/today.zel", 0, "",
         "Making page root in folder root\nMaking page today in folder news\n"},
        {"problems as records: the check's first, then the make's in line order",
         "root/root.zel=#root\n#button lost Lost\n#bogus\n#button news\\today " + QString(300, u'W'),
         "--problems ~/ ~/root/root.zel", 1, "",
         "~/root/root.zel\t4\tmay not fit\tButton text may not fit: " + QString(300, u'W')
             + "\n~/root/root.zel\t2\tdead end\tReference to non-existent page\n"
               "~/root/root.zel\t3\tfaulty line\tExpected valid directive\n"},
        {"problems as records: none", "news/today.zel=#leaf\n#para\nHello", "--problems ~/ ~/news/today.zel", 0, "",
         ""},
        {"page source is a folder", "", "~/ ~/news/today.zel ~/news", 2, "Page source - ~/news does NOT exist", ""},
        {"page source outside the page folders", "news/sub/deep.zel=#leaf; top.zel=#leaf",
         "~/ ~/news/today.zel ~/news/sub/deep.zel", 2,
         "Page source - ~/news/sub/deep.zel is NOT in a page folder of ~/", ""},
        {"page source in the kiosk folder itself", "top.zel=#leaf", "~/ ~/top.zel", 2,
         "Page source - ~/top.zel is NOT in a page folder of ~/", ""},
        {"kioskSystemFolder names a missing folder", "configuration.txt=kioskSystemFolder /nowhere/zel/", "~/", 1,
         "Kiosk System Folder - /nowhere/zel/ does NOT exist - no pages were made", ""},
        {"images is a file in Make All, after a page made", "news/images=x; a/first.zel=#leaf", "~/", 2,
         "Runtime error 75 in dlgMakePage.scaleImage\nPath/File access error: ",
         "Making page first in folder a\nMaking page today in folder news\n"},
        {"configuration moves the folder", "configuration.txt=screenheight 706\nkioskSystemFolder @/", "~/", 1,
         "Kiosk System Folder - ~/ is moved to @/ by configuration.txt", "-", "@/root/root.htm=<frameset",
         "~/root/root.htm", "~/configuration.txt:2"},
        {"a and a_con in one folder", pageA + "; news/a_con.zel=#leaf\n#para\nPage B", "~/", 1,
         "Page source - ~/news/a_con.zel would overwrite a_con.htm of page source ~/news/a.zel - the page was not made",
         "-", "~/news/a.htm=<frameset|~/news/a_con.htm=Page A|~/news/a_con.htm!=<frameset",
         "~/news/a_con_con.htm|~/news/a_con_nav.htm", "~/news/a_con.zel:1"},
        {"a and a_nav in one folder", pageA + "; news/a_nav.zel=#leaf\n#para\nPage B", "~/", 1,
         "Page source - ~/news/a_nav.zel would overwrite a_nav.htm of page source ~/news/a.zel - the page was not made",
         "-", "~/news/a_nav.htm=<table|~/news/a_nav.htm!=<frameset", "~/news/a_nav_con.htm|~/news/a_nav_nav.htm",
         "~/news/a_nav.zel:1"},
        {"a_con made on its own beside a", pageA + "; news/a_con.zel=#leaf\n#para\nPage B", "~/ ~/news/a_con.zel", 1,
         "Page source - ~/news/a_con.zel would overwrite a_con.htm of page source ~/news/a.zel - the page was not made",
         "-", "", "~/news/a_con.htm|~/news/a_con_con.htm"},
        {"page source that cannot be read", "news/bad.zel=->/proc/self/mem", "~/", 1,
         "Page source - ~/news/bad.zel cannot be read (Input/output error) - the page was not made", "-",
         "~/news/today.htm=<frameset", "~/news/bad.htm", "~/news/bad.zel:1"},
        {"page source of mode 000", pageA + "; news/a.zel=mode 000", "~/", 1,
         "Page source - ~/news/a.zel cannot be read (Permission denied) - the page was not made", "-", "",
         "~/news/a.htm", "", "", nullptr, true},
        {"screenwidth changed after the make", "", "~/", 0, "", "-", "", "", "",
         "~/news/today.zel:1: out of date: Page would change if made now (today.htm, today_con.htm, today_nav.htm)|"
         "~/news/today.zel:4: out of date: Picture copy images\\today00001.jpg would be made again|"
         "~/root/root.zel:1: out of date: Page would change if made now (root.htm, root_nav.htm)",
         [](const NewsKiosk& news) {
             writeTextFile(news.kiosk.path("configuration.txt"), {"screenheight 706", "screenwidth 1024"});
         }},
        {"picture replaced by another of an older time stamp", "", "~/", 0, "", "-", "", "", "",
         "~/news/today.zel:4: out of date: Picture copy images\\today00001.jpg would be made again",
         replacePictureWithOlderStamp},
        {"a page name too long for its made files: that page alone is not made",
         "news/" + a251 + ".zel=#leaf\n#para\nLong", "~/", 1,
         "Page source - ~/news/" + a251 + ".zel has a name too long for its made file " + a251
             + "_con.htm - the page was not made",
         "-", "~/news/today.htm=<frameset|~/root/root.htm=<frameset", "~/news/" + a251 + ".htm",
         "~/news/" + a251 + ".zel:1",
         "~/news/" + a251 + ".zel:1: bad name: " + a251
             + " is not a valid page name: A valid page name may be at most 246 characters long"},
        {"a page name too long for its picture copies: the page is made without them",
         "news/" + b247 + ".zel=#leaf\n#image town.jpg", "~/", 1,
         "Picture copy ~/news/images/" + b247
             + "00001.jpg would have a name too long for the file system - it is not made",
         "-", "~/news/" + b247 + ".htm=<frameset|~/news/today.htm=<frameset", "", "~/news/" + b247 + ".zel:2"},
        {"names against the name rule: made as before, each a finding",
         "My News/Caf\u00e9 page.zel=#leaf\n#para\nHello; news/x..zel=#leaf\n#para\nX", "~/", 0, "", "-",
         "~/My News/Caf\u00e9 page.htm=<frameset|~/My News/Caf\u00e9 page_con.htm=Hello|~/news/x..htm=<frameset", "",
         "",
         "~/My News:1: bad name: My News is not a valid folder name: A valid folder name" + nameRule
             + "|~/My News/Caf\u00e9 page.zel:1: bad name: Caf\u00e9 page is not a valid page name: A valid page name"
             + nameRule + "|~/news/x..zel:1: bad name: x. is not a valid page name: A valid page name" + nameRule},
        {"dead end", "root/root.zel=#root\n#title Start\n#button news\\today Today\n#button info\\ghost Ghost", "~/", 1,
         "In line - #button info\\ghost Ghost", "-", "", "", "",
         "~/root/root.zel:4: dead end: Reference to non-existent page: info\\ghost"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.needsFileModes && ::geteuid() == 0) {
            std::cout << "skipped as root: " << row.name << "\n";
            continue;
        }
        const NewsKiosk news(row.puts);
        const MakeRun run = news.make(row.arguments);
        EXPECT_EQ(run.exitCode, row.exitCode);
        EXPECT_EQ(row.out == "-" ? "-" : run.out, news.here(row.out));
        const QString err = news.here(row.err);
        EXPECT_TRUE(err.isEmpty() ? run.err.isEmpty() : run.err.contains(err) && run.err.endsWith("\n\n"))
            << run.err.toStdString();
        // Even a make that ends at a fatal report leaves none of its temporaries.
        EXPECT_EQ(temporariesIn(news.kiosk.folder()), QStringList());
        if (row.exitCode == 0) {
            EXPECT_EQ(news.kiosk.logLines().last(), "log file closed");
            EXPECT_FALSE(readBytes(news.kiosk.path("root/root.htm")).contains("log file"));
        }
        for (const QString& holds : row.holds.split('|', Qt::SkipEmptyParts)) {
            const bool not_ = holds.section('=', 0, 0).endsWith('!');
            const QString path = news.here(holds.section('=', 0, 0).remove('!'));
            EXPECT_EQ(readBytes(path).contains(holds.section('=', 1).toUtf8()), !not_) << holds.toStdString();
        }
        for (const QString& absent : row.absent.split('|', Qt::SkipEmptyParts))
            EXPECT_FALSE(QFileInfo::exists(news.here(absent))) << news.here(absent).toStdString();
        QStringList findings = row.findings.split('|', Qt::SkipEmptyParts);
        if (!row.faulty.isEmpty())
            findings.prepend(row.faulty + ": faulty line: " + row.err);
        if (findings.isEmpty())
            continue;
        if (row.afterMake)
            row.afterMake(news);
        const auto before = folderSnapshot(news.kiosk.folder());
        const MakeRun check = news.make("--check ~/");
        EXPECT_EQ(check.exitCode, 1);
        for (const QString& finding : findings)
            EXPECT_TRUE(check.out.split('\n').contains(news.here(finding))) << news.here(finding).toStdString() << "\n"
                                                                            << check.out.toStdString();
        EXPECT_TRUE(folderSnapshot(news.kiosk.folder()) == before) << "the check writes nothing";
    }
}

// zel-make killed during a make (a stop at every rename of a make: page_maker_test.cpp), then two makes at
// once whose readers stop early: both finish, each with its own log, every page is new and whole with the copies
// it links to, and nothing of the killed run is left.
TEST(ZelMakeRuns, KilledMakeIsClearedAndTwoMakesAtOnceFinishPastReadersThatStopEarly)
{
    TemporaryKiosk kiosk({"screenheight 706"});
    // Each page shows its picture `pictures` times: the new pages link to copies no make has made yet.
    const auto writePages = [&](const QString& title, int pictures) {
        for (int page = 0; page < 24; ++page) {
            const QString name = QString("f%1/p%2").arg(page / 8).arg(page % 8);
            writeTextFile(kiosk.path(name + ".zel"),
                          QStringList{"#leaf", "#title " + title}
                              + QStringList(pictures, "#image p" + QString::number(page % 8) + ".jpg"));
            QFile::copy(kiosk.path("picture.jpg"), kiosk.path(name + ".jpg"));
        }
    };
    QProcess::execute("convert", {"-size", "1200x900", "plasma:", kiosk.path("picture.jpg")});
    writeTextFile(kiosk.path("root/root.zel"), {"#root"});
    writePages("Old", 1);
    // The first make runs through a link, as installed programs are reached from /usr/bin: the image tool is
    // still found beside the link's target, and the copy resampled to the leaf page's picture width.
    QTemporaryDir bin;
    ASSERT_TRUE(QFile::link(ZEL_PROGRAM_DIR "/zel-make", bin.filePath("zel-make")));
    ASSERT_EQ(runZelMake({kiosk.folder()}, bin.filePath("zel-make")).exitCode, 0);
    EXPECT_EQ(runProgram("identify", {"-format", "%w", kiosk.path("f0/images/p000001.jpg")}).output, "1093");

    writePages("New", 3);
    QProcess killed;
    killed.start(ZEL_PROGRAM_DIR "/zel-make", {kiosk.folder()});
    for (QByteArray out; out.count('\n') < 4 && killed.waitForReadyRead(60000);)
        out += killed.readAllStandardOutput();
    killed.kill();
    killed.waitForFinished();
    // Its image tools end at their parent's death, a copy they were putting in place at that moment still put
    // there under the dead make's temporary name: the next make clears it.
    ASSERT_TRUE(waitUntilNoProgramNames(kiosk.folder()));
    // The logs that a whole make closed.
    const auto closedLogs = [&] {
        int closed = 0;
        for (const QString& log : QDir(kiosk.folder()).entryList({"log*.txt"}))
            closed += readLines(kiosk.path(log)).endsWith("log file closed");
        return closed;
    };
    const int closed = closedLogs();
    // Each make read by a reader that stops early (zel-make K | head -c0, or head -n1; SIGPIPE at its default, as
    // a shell starts the pipeline): that ends nothing but the progress.
    QProcess makes[2], readers[2];
    for (int i : {0, 1}) {
        makes[i].setStandardOutputProcess(&readers[i]);
        makes[i].setChildProcessModifier([] { ::signal(SIGPIPE, SIG_DFL); });
        readers[i].start("head", {i ? "-n1" : "-c0"});
        makes[i].start(ZEL_PROGRAM_DIR "/zel-make", {kiosk.folder()});
    }
    for (int i : {0, 1}) {
        ASSERT_TRUE(makes[i].waitForFinished(120000) && readers[i].waitForFinished());
        EXPECT_TRUE(makes[i].exitStatus() == QProcess::NormalExit && makes[i].exitCode() == 0);
        EXPECT_EQ(makes[i].readAllStandardError().toStdString(), "");
    }
    static const QRegularExpression source(R"re(src="images\\([^"]+)")re");
    for (int page = 0; page < 24; ++page) {
        const QString folder = kiosk.path(QString("f%1/").arg(page / 8));
        const QString content = QString::fromLatin1(readBytes(folder + QString("p%1_con.htm").arg(page % 8)));
        EXPECT_TRUE(content.contains(">New<") && content.endsWith("</html>\r\n")) << page;
        for (auto match = source.globalMatch(content); match.hasNext();) {
            const QByteArray copy = readBytes(folder + "images/" + match.next().captured(1));
            EXPECT_TRUE(copy.startsWith("\xFF\xD8") && copy.endsWith("\xFF\xD9")) << page;
        }
    }
    EXPECT_EQ(temporariesIn(kiosk.folder()), QStringList());
    EXPECT_EQ(closedLogs(), closed + 2);
}

// The kiosk check (zel-make --check): a line per finding and the count on
// standard output, exit 1 with findings and 0 without, and nothing written.
// Each kind of finding, in its order: check_window_test.cpp.
TEST(ZelMakeCheck, SampleKioskHasNoFindingsOnceMade)
{
    TemporaryKiosk kiosk;
    copySampleKiosk(kiosk.folder());
    const auto check = [&](const QStringList& arguments, int exitCode) {
        const auto before = folderSnapshot(kiosk.folder());
        const MakeRun run = runZelMake(arguments);
        EXPECT_EQ(run.exitCode, exitCode);
        EXPECT_EQ(run.err.toStdString(), "");
        EXPECT_TRUE(folderSnapshot(kiosk.folder()) == before) << "no log, no HTML";
        return run.out.toStdString();
    };
    const std::string unmade = check({"--check", kiosk.folder()}, 1);
    EXPECT_TRUE(unmade.starts_with(
        (kiosk.folder() + "news/news.zel:1: out of date: Page has never been made\n").toStdString()));
    EXPECT_TRUE(unmade.ends_with("Checked 19 pages: 19 findings (19 out of date)\n")) << unmade;
    EXPECT_EQ(check({kiosk.folder(), "--check"}, 1), unmade) << "the option may stand after the folder";
    ASSERT_EQ(runZelMake({kiosk.folder()}).exitCode, 0);
    EXPECT_EQ(check({"--check", kiosk.folder()}, 0), "Checked 19 pages: no findings\n");
}

// Root and branch content taller than the screen is a "may not fit" finding at a line where it passes the
// screen's height; a leaf page scrolls, so its length is no finding.
TEST(ZelMakeCheck, TallRootAndBranchContentMayNotFit)
{
    QStringList tall{"#para"};
    for (int i = 0; i < 60; ++i)
        tall << QString("Line %1 of a page much taller than the screen.").arg(i);
    const struct {
        const char* name;
        QStringList source;
        int first, last; // lines the one finding may be on (0, 0: no finding)
    } rows[] = {
        {"short branch", {"#branch", "#title Short", "#para", "One line."}, 0, 0},
        {"tall branch", QStringList{"#branch", "#title Tall"} + tall, 10, 40},
        {"tall root page", QStringList{"#root", "#title Tall"} + tall, 10, 40},
        {"tall leaf scrolls", QStringList{"#leaf", "#title Tall"} + tall, 0, 0},
        {"a picture three times as high as wide", {"#branch", "#image tall.jpg", "#para", "Below."}, 2, 2},
    };
    static const QRegularExpression finding(
        "news/page.zel:(\\d+): may not fit: Content may not fit the screen: it is shown smaller or scrolls\n");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TemporaryKiosk kiosk({"screenwidth 800", "screenheight 600"});
        writeTextFile(kiosk.path("root/root.zel"), {"#root", "#button news\\page Page"});
        writeTextFile(kiosk.path("news/page.zel"), row.source);
        ASSERT_EQ(QProcess::execute("convert", {"-size", "300x900", "xc:gray", kiosk.path("news/tall.jpg")}), 0);
        ASSERT_EQ(runZelMake({kiosk.folder()}).exitCode, 0);
        const QString out = runZelMake({"--check", kiosk.folder()}).out;
        QList<int> lines;
        for (auto it = finding.globalMatch(out); it.hasNext();)
            lines << it.next().captured(1).toInt();
        EXPECT_EQ(lines.size(), row.first ? 1 : 0) << out.toStdString();
        EXPECT_TRUE(lines.isEmpty() || (lines[0] >= row.first && lines[0] <= row.last)) << out.toStdString();
    }
}

// The pages' #show lines in the check: over, never on show, invalid times and a page whose buttons all lead to
// pages off show, judged at the moment --at gives (2026-12-07 is a Monday) or from now on; a wrong --at.
TEST(ZelMakeCheck, SchedulesAreJudgedAtTheMomentGiven)
{
    const NewsKiosk news(
        "root/root.zel=#root\n#button news\\fair Fair\n#button news\\gone Gone\n#button news\\never "
        "Never\n#button news\\bad Bad; "
        "news/fair.zel=#branch\n#show from 2026-12-01 until 2099-12-24 18:00\n#button lunch Lunch; "
        "news/lunch.zel=#leaf\n#show Mon-Fri 11:30-14:00; news/gone.zel=#leaf\n#show until 2020-01-01; "
        "news/never.zel=#leaf\n#show from 2030-01-06 10:00 until 2030-01-06 12:00\n#show Tue 9:00-17:00; "
        "news/bad.zel=#leaf\n#show Mon-Fry 10:00-12:00");
    ASSERT_EQ(news.make("~/").exitCode, 1) << "the invalid time is a message";
    const QString over = "~/news/gone.zel:2: over: Page is over: it was on show until 2020-01-02 00:00",
                  never = "~/news/never.zel:2: never on show: Page is never on show: its #show lines leave no time",
                  bad =
                      "~/news/bad.zel:2: invalid time: Invalid show directive - \"Mon-Fry 10:00-12:00\" is not of the "
                      "form [Mon-Fri] 08:00-18:00 - the page is always on show",
                  stranded = "~/news/fair.zel:3: stranded: Every button and item leads to a page off show at ";
    const struct {
        const char* name;
        const char* at; // "" none
        QStringList lines, absent;
    } rows[] = {
        {"at lunchtime", "2026-12-07 12:00", {over, never, bad}, {stranded}},
        {"in the afternoon", "2026-12-07T15:00", {stranded + "2026-12-07 15:00: a visitor finds no way on"}, {}},
        {"before the fair", "2026-11-30 15:00", {}, {stranded}},
        {"from now on", "", {over, never, bad, stranded}, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QStringList arguments{"--check", news.kiosk.folder()};
        if (*row.at)
            arguments << "--at" << row.at;
        const MakeRun run = runZelMake(arguments);
        EXPECT_EQ(run.exitCode, 1);
        for (const QString& line : row.lines)
            EXPECT_TRUE(run.out.contains(news.here(line))) << news.here(line).toStdString() << run.out.toStdString();
        for (const QString& line : row.absent)
            EXPECT_FALSE(run.out.contains(news.here(line))) << run.out.toStdString();
    }
    EXPECT_EQ(runZelMake({"--check", "--at", "2026-02-31 10:00", news.kiosk.folder()}).exitCode, 2);
    EXPECT_EQ(runZelMake({"--at", "2026-12-07 10:00", news.kiosk.folder()}).exitCode, 2);
}

// Special files where zel-make expects a regular file or a folder of its own: the copy record of an images
// folder, the kiosk's stylesheet.css (read by the check) and a page folder's images folder. zel-make runs with
// its address space limited, so that a make that waits on a FIFO or reads without end fails the row instead of
// the test run. A huge file is larger than the program's address space.
struct SpecialFile {
    const char* name;
    std::function<void(const QString&)> put;
    const char* asStyleSheet = ""; // the check's reason when it stands at stylesheet.css
};
const auto linkTo = [](const QString& target) {
    return [target](const QString& path) { ASSERT_TRUE(QFile::link(target == "~" ? path + ".gone" : target, path)); };
};
const SpecialFile kDevZero{"link to /dev/zero", linkTo("/dev/zero"), "is not a regular file"};
const SpecialFile kDangling{"dangling link", linkTo("~"), "cannot be read (No such file or directory)"};
const SpecialFile kSpecialFiles[] = {
    {"FIFO", [](const QString& path) { ASSERT_EQ(::mkfifo(qPrintable(path), 0666), 0); }, "is not a regular file"},
    kDevZero,
    {"folder", [](const QString& path) { writeBytes(path + "/inside", "x"); }, "is a folder"},
    {"huge sparse file",
     [](const QString& path) {
         QFile file(path);
         ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(3LL * 1024 * 1024 * 1024));
     },
     "is larger than 64 MB"},
    kDangling,
};

// Puts the special file at the news kiosk's path and runs zel-make with at most 2 GB of address space.
MakeRun runWithSpecialFile(const NewsKiosk& news, const SpecialFile& special, const QString& at,
                           const QString& arguments)
{
    QDir().mkpath(QFileInfo(news.kiosk.path(at)).path());
    special.put(news.kiosk.path(at));
    return runZelMake(QStringList{"--as=2147483648", "--", ZEL_PROGRAM_DIR "/zel-make"}
                          + news.here(arguments).split(' ', Qt::SkipEmptyParts),
                      "/usr/bin/prlimit");
}

const QString kMadeOut = "Making page today in folder news\nMaking page root in folder root\n";

// The copy record is our own file: whatever else stands at its name is no record, never waited on or read
// whole, and is replaced by a new record (a folder stays, and the record is then not kept). The check goes on
// with the default fonts past a style sheet that is no regular file of a sane size, a finding naming it.
TEST(ZelMakeSpecialFiles, CopyRecordIsRebuiltAndStyleSheetIsAFinding)
{
    for (const auto& row : kSpecialFiles) {
        SCOPED_TRACE(row.name);
        const NewsKiosk news, checked;
        const MakeRun run = runWithSpecialFile(news, row, "news/images/.zel-copies", "~/");
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err.toStdString(), "");
        EXPECT_EQ(run.out, kMadeOut);
        EXPECT_TRUE(readBytes(news.kiosk.path("news/images/today00001.jpg")).startsWith("\xFF\xD8"));
        const QFileInfo after(news.kiosk.path("news/images/.zel-copies"));
        EXPECT_TRUE(row.name == std::string_view("folder")
                        ? after.isDir()
                        : after.isFile() && !after.isSymLink() && after.size() < 4096);

        const MakeRun check = runWithSpecialFile(checked, row, "stylesheet.css", "--check ~/");
        EXPECT_EQ(check.exitCode, 1);
        EXPECT_EQ(check.err.toStdString(), "");
        const QString sheet = checked.kiosk.path("stylesheet.css");
        EXPECT_TRUE(check.out.contains(sheet + ":1: unreadable: Style sheet " + sheet + " " + row.asStyleSheet
                                       + " - texts were checked with the default fonts\n"))
            << check.out.toStdString();
        EXPECT_TRUE(check.out.endsWith("1 unreadable, 1 no text alternative)\n")) << check.out.toStdString();
    }
}

// A page folder's images folder that is a symbolic link is never written through: the make says so, naming it,
// and makes the page as it would otherwise (the same HTML), its pictures not copied.
TEST(ZelMakeSpecialFiles, ImagesFolderThatIsALinkIsRefused)
{
    const NewsKiosk plain;
    ASSERT_EQ(plain.make("~/").exitCode, 0);
    const QByteArray plainPage = readBytes(plain.kiosk.path("news/today_con.htm"));
    ASSERT_TRUE(plainPage.contains("images\\today00001.jpg"));
    const SpecialFile toFolder{"link to a folder", [](const QString& path) {
                                   QDir().mkpath(path + ".elsewhere");
                                   ASSERT_TRUE(QFile::link(path + ".elsewhere", path));
                               }};
    for (const auto& row : {toFolder, kDevZero, kDangling}) {
        SCOPED_TRACE(row.name);
        const NewsKiosk news;
        const MakeRun run = runWithSpecialFile(news, row, "news/images", "~/");
        const QString images = news.kiosk.path("news/images");
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, kMadeOut);
        EXPECT_TRUE(run.err.contains("Images folder " + images + " is a symbolic link - no picture is copied into it"))
            << run.err.toStdString();
        EXPECT_EQ(run.err.count("Images folder "), 1) << run.err.toStdString();
        EXPECT_EQ(readBytes(news.kiosk.path("news/today_con.htm")), plainPage);
        EXPECT_TRUE(QFileInfo(images).isSymLink());
        EXPECT_EQ(QDir(images + ".elsewhere").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList());
    }
}

} // namespace
