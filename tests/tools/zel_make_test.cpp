// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// zel-make as a script calls it: exit status, messages on standard error,
// progress on standard output.
#include "support/check_kiosk.h"
#include "support/kiosk_fixture.h"
#include "support/program_run.h"
#include "support/qt_printing.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <iostream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// The temporaries of a make left below the folder.
QStringList temporariesIn(const QString& folder)
{
    return folderSnapshot(folder).keys().filter(QRegularExpression(R"((^|/)\.zel-(tmp|copy)-)"));
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

// A fatal report (exit 2) ends the make; messages alone give exit 1.
TEST(ZelMake, EachRunGivesItsExitStatusProgressAndMessages)
{
    const struct {
        const char* name;
        QString puts; // as NewsKiosk writes them
        QString arguments;
        int exitCode;
        QString err; // standard error contains this; empty: nothing on standard error
        QString out; // exactly this on standard output
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
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const NewsKiosk news(row.puts);
        const MakeRun run = news.make(row.arguments);
        EXPECT_EQ(run.exitCode, row.exitCode);
        EXPECT_EQ(run.out, news.here(row.out));
        const QString err = news.here(row.err);
        EXPECT_TRUE(err.isEmpty() ? run.err.isEmpty() : run.err.contains(err) && run.err.endsWith("\n\n"))
            << run.err.toStdString();
        // Even a make that ends at a fatal report leaves none of its temporaries.
        EXPECT_EQ(temporariesIn(news.kiosk.folder()), QStringList());
        if (row.exitCode == 0) {
            EXPECT_EQ(news.kiosk.logLines().last(), "log file closed");
            EXPECT_FALSE(readBytes(news.kiosk.path("root/root.htm")).contains("log file"));
        }
    }
}

// kill -9 at several points of a make of a kiosk with pages and pictures: every page file is the old or the new
// one, whole, never cut. Then two makes at once both finish, each with its own log, finish the pages and clear
// what the killed runs left.
TEST(ZelMakeRuns, KilledMakesLeaveEveryPageOldOrNewWholeAndTwoMakesAtOnceFinish)
{
    TemporaryKiosk kiosk({"screenheight 706"});
    QString latest;
    // Each page shows its picture `pictures` times: a later version links to copies no make has made yet.
    const auto writePages = [&](const QString& title, int pictures) {
        latest = ">" + title + "<";
        for (int page = 0; page < 24; ++page) {
            const QString name = QString("f%1/p%2").arg(page / 8).arg(page % 8);
            writeTextFile(kiosk.path(name + ".zel"),
                          QStringList{"#leaf", "#title " + title}
                              + QStringList(pictures, "#image p" + QString::number(page % 8) + ".jpg"));
            QFile::copy(kiosk.path("picture.jpg"), kiosk.path(name + ".jpg"));
        }
    };
    // Fails the test for a file that is not whole; counts the new pages. title: what every page shows after a
    // whole make (which leaves no temporary); empty after a killed one.
    const auto checkWholePages = [&](const QString& title = {}) {
        static const QRegularExpression temporary(R"(/\.zel-(tmp|resample|copy)-[^/]*$)"),
            source(R"re(src="images\\([^"]+)")re");
        int fresh = 0;
        for (QDirIterator it(kiosk.folder(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = it.next();
            const QByteArray bytes = readBytes(path);
            if (path.contains(temporary)) {
                EXPECT_TRUE(title.isEmpty()) << path.toStdString();
            } else if (path.endsWith(".htm")) {
                EXPECT_TRUE(bytes.endsWith("</html>\r\n")) << path.toStdString();
                if (!path.endsWith("_con.htm") || path.contains("root"))
                    continue;
                EXPECT_TRUE((bytes.contains(">Old<") || bytes.contains(">New")) && bytes.contains(title.toLatin1()))
                    << path.toStdString();
                fresh += bytes.contains(latest.toLatin1());
                for (auto match = source.globalMatch(QString::fromLatin1(bytes)); match.hasNext();)
                    EXPECT_TRUE(QFileInfo::exists(QFileInfo(path).path() + "/images/" + match.next().captured(1)))
                        << path.toStdString();
            } else if (path.contains("/images/") && !path.endsWith("/.zel-copies")) {
                EXPECT_TRUE(bytes.startsWith("\xFF\xD8") && bytes.endsWith("\xFF\xD9")) << path.toStdString();
            }
        }
        return fresh;
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

    // Killed after some progress lines, or some milliseconds into the make; each time the pages gain a picture.
    const std::pair<int, int> kills[] = {{1, 0}, {4, 0}, {9, 0}, {17, 0}, {1, 150}, {1, 400}};
    int version = 0;
    for (const auto& [progressLines, milliseconds] : kills) {
        SCOPED_TRACE(QString("%1 lines, %2 ms").arg(progressLines).arg(milliseconds).toStdString());
        ++version;
        writePages("New" + QString::number(version), version + 1);
        QProcess process;
        process.start(ZEL_PROGRAM_DIR "/zel-make", {kiosk.folder()});
        for (QByteArray out; out.count('\n') < progressLines && process.waitForReadyRead(60000);)
            out += process.readAllStandardOutput();
        if (milliseconds)
            process.waitForFinished(milliseconds);
        process.kill();
        process.waitForFinished();
        EXPECT_LT(checkWholePages(), 24); // killed before the make ended
    }
    const qsizetype logs = QDir(kiosk.folder()).entryList({"log*.txt"}).size();
    QProcess first, second;
    first.start(ZEL_PROGRAM_DIR "/zel-make", {kiosk.folder()});
    second.start(ZEL_PROGRAM_DIR "/zel-make", {kiosk.folder()});
    for (QProcess* process : {&first, &second}) {
        ASSERT_TRUE(process->waitForFinished(120000));
        EXPECT_EQ(process->exitCode(), 0);
        EXPECT_EQ(process->readAllStandardError().toStdString(), "");
    }
    EXPECT_EQ(checkWholePages(latest), 24);
    EXPECT_EQ(QDir(kiosk.folder()).entryList({"log*.txt"}).size(), logs + 2);
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

// What the make will not make as asked (a configuration that sends it to another folder, two pages that would
// write the same file, a page source that cannot be read), and what the check (zel-make --check, which writes
// nothing) finds after the make and a change: what a make would change now and what strands a visitor.
// "path=text" in holds means the file holds the text ("path!=text": it does not), a path in absent that it does
// not exist; each of the findings is a line of the check's output.
TEST(ZelMakeCheck, FindsWhatTheMakeRefusedAndWhatAMakeWouldChange)
{
    const QString pageA = "news/a.zel=#leaf\n#para\nPage A";
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
        QString err;           // standard error contains this
        QString holds, absent; // "|" between paths
        QString findings = {}; // "|" between lines
        std::function<void(const NewsKiosk&)> afterMake = {};
        bool needsFileModes = false; // skipped as root, whom file modes do not stop
    } rows[] = {
        {"configuration moves the folder", "configuration.txt=screenheight 706\nkioskSystemFolder @/", "~/", 1,
         "Kiosk System Folder - ~/ is moved to @/ by configuration.txt", "@/root/root.htm=<frameset", "~/root/root.htm",
         "~/configuration.txt:2: faulty line: Kiosk System Folder - ~/ is moved to @/ by configuration.txt"},
        {"a and a_con in one folder", pageA + "; news/a_con.zel=#leaf\n#para\nPage B", "~/", 1,
         "Page source - ~/news/a_con.zel would overwrite a_con.htm of page source ~/news/a.zel - the page was not made",
         "~/news/a.htm=<frameset|~/news/a_con.htm=Page A|~/news/a_con.htm!=<frameset",
         "~/news/a_con_con.htm|~/news/a_con_nav.htm",
         "~/news/a_con.zel:1: faulty line: Page source - ~/news/a_con.zel would overwrite a_con.htm of page source "
         "~/news/a.zel - the page was not made"},
        {"a and a_nav in one folder", pageA + "; news/a_nav.zel=#leaf\n#para\nPage B", "~/", 1,
         "Page source - ~/news/a_nav.zel would overwrite a_nav.htm of page source ~/news/a.zel - the page was not made",
         "~/news/a_nav.htm=<table|~/news/a_nav.htm!=<frameset", "~/news/a_nav_con.htm|~/news/a_nav_nav.htm",
         "~/news/a_nav.zel:1: faulty line: Page source - ~/news/a_nav.zel would overwrite a_nav.htm of page source "
         "~/news/a.zel - the page was not made"},
        {"a_con made on its own beside a", pageA + "; news/a_con.zel=#leaf\n#para\nPage B", "~/ ~/news/a_con.zel", 1,
         "Page source - ~/news/a_con.zel would overwrite a_con.htm of page source ~/news/a.zel - the page was not made",
         "", "~/news/a_con.htm|~/news/a_con_con.htm"},
        {"page source that cannot be read", "news/bad.zel=->/proc/self/mem", "~/", 1,
         "Page source - ~/news/bad.zel cannot be read (Input/output error) - the page was not made",
         "~/news/today.htm=<frameset", "~/news/bad.htm",
         "~/news/bad.zel:1: faulty line: Page source - ~/news/bad.zel cannot be read (Input/output error) - the page "
         "was not made"},
        {"page source of mode 000", pageA + "; news/a.zel=mode 000", "~/", 1,
         "Page source - ~/news/a.zel cannot be read (Permission denied) - the page was not made", "", "~/news/a.htm",
         "", nullptr, true},
        {"screenwidth changed after the make", "", "~/", 0, "", "", "",
         "~/news/today.zel:1: out of date: Page would change if made now (today.htm, today_con.htm, today_nav.htm)|"
         "~/news/today.zel:4: out of date: Picture copy images\\today00001.jpg would be made again|"
         "~/root/root.zel:1: out of date: Page would change if made now (root.htm, root_nav.htm)",
         [](const NewsKiosk& news) {
             writeTextFile(news.kiosk.path("configuration.txt"), {"screenheight 706", "screenwidth 1024"});
         }},
        {"picture replaced by another of an older time stamp", "", "~/", 0, "", "", "",
         "~/news/today.zel:4: out of date: Picture copy images\\today00001.jpg would be made again",
         replacePictureWithOlderStamp},
        {"a page name too long for its made files: that page alone is not made",
         "news/" + QString(251, u'a') + ".zel=#leaf\n#para\nLong", "~/", 1,
         "Page source - ~/news/" + QString(251, u'a') + ".zel has a name too long for its made file "
             + QString(251, u'a') + "_con.htm - the page was not made",
         "~/news/today.htm=<frameset|~/root/root.htm=<frameset", "~/news/" + QString(251, u'a') + ".htm",
         "~/news/" + QString(251, u'a') + ".zel:1: faulty line: Page source - ~/news/" + QString(251, u'a')
             + ".zel has a name too long for its made file " + QString(251, u'a') + "_con.htm - the page was not made|"
             + "~/news/" + QString(251, u'a') + ".zel:1: bad name: " + QString(251, u'a')
             + " is not a valid page name: A valid page name may be at most 246 characters long"},
        {"a page name too long for its picture copies: the page is made without them",
         "news/" + QString(247, u'b') + ".zel=#leaf\n#image town.jpg", "~/", 1,
         "Picture copy ~/news/images/" + QString(247, u'b')
             + "00001.jpg would have a name too long for the file system - it is not made",
         "~/news/" + QString(247, u'b') + ".htm=<frameset|~/news/today.htm=<frameset", "",
         "~/news/" + QString(247, u'b') + ".zel:2: faulty line: Picture copy ~/news/images/" + QString(247, u'b')
             + "00001.jpg would have a name too long for the file system - it is not made"},
        {"names against the name rule: made as before, each a finding",
         "My News/Caf\u00e9 page.zel=#leaf\n#para\nHello; news/x..zel=#leaf\n#para\nX", "~/", 0, "",
         "~/My News/Caf\u00e9 page.htm=<frameset|~/My News/Caf\u00e9 page_con.htm=Hello|~/news/x..htm=<frameset", "",
         "~/My News:1: bad name: My News is not a valid folder name: A valid folder name may only contain lower case "
         "letters, digits, underscores(_) and dashes(-)|"
         "~/My News/Caf\u00e9 page.zel:1: bad name: Caf\u00e9 page is not a valid page name: A valid page name may "
         "only contain lower case letters, digits, underscores(_) and dashes(-)|"
         "~/news/x..zel:1: bad name: x. is not a valid page name: A valid page name may only contain lower case "
         "letters, digits, underscores(_) and dashes(-)"},
        {"dead end", "root/root.zel=#root\n#title Start\n#button news\\today Today\n#button info\\ghost Ghost", "~/", 1,
         "In line - #button info\\ghost Ghost", "", "",
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
        EXPECT_TRUE(run.err.contains(news.here(row.err))) << run.err.toStdString();
        for (const QString& holds : row.holds.split('|', Qt::SkipEmptyParts)) {
            const bool not_ = holds.section('=', 0, 0).endsWith('!');
            const QString path = news.here(holds.section('=', 0, 0).remove('!'));
            EXPECT_EQ(readBytes(path).contains(holds.section('=', 1).toUtf8()), !not_) << holds.toStdString();
        }
        for (const QString& absent : row.absent.split('|', Qt::SkipEmptyParts))
            EXPECT_FALSE(QFileInfo::exists(news.here(absent))) << news.here(absent).toStdString();
        if (row.err.startsWith("Kiosk System Folder")) {
            EXPECT_TRUE(news.kiosk.logLines().contains(news.here(row.err)));
        }
        EXPECT_EQ(temporariesIn(news.kiosk.folder()), QStringList());
        if (row.findings.isEmpty())
            continue;
        if (row.afterMake)
            row.afterMake(news);
        const auto before = folderSnapshot(news.kiosk.folder());
        const MakeRun check = news.make("--check ~/");
        EXPECT_EQ(check.exitCode, 1);
        for (const QString& finding : row.findings.split('|'))
            EXPECT_TRUE(check.out.split('\n').contains(news.here(finding))) << news.here(finding).toStdString() << "\n"
                                                                            << check.out.toStdString();
        EXPECT_TRUE(folderSnapshot(news.kiosk.folder()) == before) << "the check writes nothing";
    }
}

// zel-make K | head: a reader that stops early (before reading anything, or after the first line; SIGPIPE at
// its default, as a shell starts the pipeline) ends nothing but the progress; the make completes.
TEST(ZelMakeWrongOutput, ReaderThatClosesEarlyEndsOnlyTheProgress)
{
    for (const char* head : {"-c0", "-n1"}) {
        SCOPED_TRACE(head);
        TemporaryKiosk kiosk({"screenheight 706"});
        writeTextFile(kiosk.path("root/root.zel"), {"#root", "#title Start"});
        for (int page = 0; page < 40; ++page) {
            writeTextFile(kiosk.path(QString("f%1/p%2.zel").arg(page % 4).arg(page)), {"#leaf", "#image p.jpg"});
            QFile::copy(ZEL_SOURCE_DIR "/examples/sample/root/town.jpg",
                        kiosk.path(QString("f%1/p.jpg").arg(page % 4)));
        }
        QProcess make, reader;
        make.setStandardOutputProcess(&reader);
        make.setChildProcessModifier([] { ::signal(SIGPIPE, SIG_DFL); });
        reader.start("head", {head});
        make.start(ZEL_PROGRAM_DIR "/zel-make", {kiosk.folder()});
        ASSERT_TRUE(make.waitForFinished(120000) && reader.waitForFinished());
        EXPECT_TRUE(make.exitStatus() == QProcess::NormalExit && make.exitCode() == 0);
        for (int page = 0; page < 40; ++page)
            EXPECT_TRUE(readBytes(kiosk.path(QString("f%1/p%2.htm").arg(page % 4).arg(page))).contains("<frameset"))
                << page;
        EXPECT_EQ(temporariesIn(kiosk.folder()), QStringList());
        EXPECT_EQ(kiosk.logLines().last(), "log file closed");
    }
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

} // namespace
