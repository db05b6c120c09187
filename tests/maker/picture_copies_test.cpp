// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Picture copies made several at once and kept between makes: a make gives
// the same files, messages and message order as a make that makes every copy
// in place, and a copy is made again exactly when something that decides its
// bytes changed. Image tools that fail in ways a make must not take for
// success: a tool that cannot be started, a tool whose copy is not the JPEG
// asked for or is cut short, and a tool that finds its disk full; every page
// is made as a make with or without copies in the background makes it.
// Pictures that change while a make reads them, and a make that a fatal
// report ends while copies are still held: what the make says and what it
// leaves in the images folder.
#include "support/executable_script.h"
#include "support/folder_state.h"
#include "support/recording_problems.h"
#include "maker_test_support.h"

#include "imaging/copy_record.h"
#include "imaging/jpeg_size.h"
#include "maker/page_maker.h"
#include "system/open_kiosk_system.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <unistd.h>

namespace {

// Messages, progress lines and page counts of a make, in the order they came.
class EventLog : public MessageBoxes {
public:
    void show(const QString& text, MessageIcon) override { events.append("message: " + text); }
    Answer askYesNo(const QString& text, Answer) override { return show(text, {}), Answer::No; }
    Answer askYesNoCancel(const QString& text) override { return show(text, {}), Answer::Cancel; }
    QStringList events;
};

// What a make left: the files of a folder and the events, the kiosk folder written "KIOSK/"; the picture totals
// told with the pictures done, and the last count told.
struct Made {
    std::map<std::string, std::string> files;
    QStringList events;
    QSet<int> pictureTotals;
    QString lastPictureCount;
    // The messages, and "program ended" for each make that ended the program.
    QStringList said() const
    {
        QStringList said;
        for (const QString& event : events)
            if (event.startsWith("message: ") || event == "program ended")
                said.append(event.startsWith("message: ") ? event.mid(9) : event);
        return said;
    }
};

class PictureCopies : public ::testing::Test {
public:
    PictureCopies() : kiosk(makerConfiguration()) {}

    // Six pictures on two leaf pages and a selector page in walk/, and the tool that notes its runs.
    void writeWalk()
    {
        useTool("tool.sh");
        for (int i = 1; i <= 6; ++i)
            makePicture(kiosk.path(QString("walk/p%1.jpg").arg(i)), 300 + 40 * i, 200 + 30 * i);
        writeTextFile(kiosk.path("walk/a.zel"),
                      {"#leaf", "#image p1.jpg left 40%", "#image p2.jpg centre 90%", "#image p3.jpg right 30%"});
        writeTextFile(kiosk.path("walk/b.zel"), {"#leaf", "#image p4.jpg centre 60%", "#image p5.jpg left 20%"});
        writeTextFile(kiosk.path("walk/s.zel"), {"#selector", "#item p6.jpg a Six", "#item p1.jpg b One"});
    }

    // A stand-in image tool that notes each run in runs.txt, then runs zel-resample.
    void useTool(const QString& name, const QString& before = {})
    {
        const QString path =
            writeExecutableScript(kiosk.path(name), "echo \"$1\" >> '" + kiosk.path("runs.txt") + "'\n" + before
                                                        + "\nexec '" ZEL_PROGRAM_DIR "/zel-resample' \"$@\"");
        tool = ImageToolChoice{path, 60 * 1000, true};
    }
    int toolRuns() const { return int(readLines(kiosk.path("runs.txt")).size()); }

    // Makes all pages of the kiosk system `makes` times, in a run of the program of its own, with the given
    // picture runs, tool and file faults; gives the files under filesOf but the copy record.
    Made make(int runs, const QString& filesOf = "walk", int makes = 1)
    {
        const QString folder = kiosk.folder();
        QFile::remove(kiosk.path("runs.txt"));
        EventLog log;
        Session run({.messages = &log,
                     .endProgram =
                         [this] {
                             if (atEnd)
                                 atEnd();
                             throw ProgramEnded{};
                         },
                     .imageTool = tool,
                     .fileFaults = faults});
        const auto system = openKioskSystemHeadless(run, folder);
        SessionProblems problems(system->session());
        PageMaker maker(*system, problems);
        maker.setPictureRuns(runs);
        maker.setProgressHandler([&](const QString& text) { log.events.append("progress: " + text); });
        maker.setCountHandler(
            [&](int made, int total) { log.events.append(QString("pages %1/%2").arg(made).arg(total)); });
        Made made;
        maker.setPictureCountHandler([&](int done, int total) {
            made.pictureTotals.insert(total);
            made.lastPictureCount = QString("%1 of %2").arg(done).arg(total);
        });
        for (int i = 0; i < makes; ++i) {
            maker.makeAll();
            if (endsProgram(run, [&] { maker.run(); }))
                log.events.append("program ended");
        }
        made.files = folderState(folder + filesOf);
        std::erase_if(made.files,
                      [](const auto& file) { return file.first.ends_with(Jpeg::CopyRecord::FileName.toStdString()); });
        made.events = log.events.replaceInStrings(folder, "KIOSK/");
        return made;
    }

    TemporaryKiosk kiosk;
    ImageToolChoice tool;
    fileio::FailureHook faults;  // the file faults of the makes
    std::function<void()> atEnd; // run as the program ends
};

TEST_F(PictureCopies, CopyIsMadeAgainExactlyWhenWhatDecidesItsBytesChanged)
{
    writeWalk();
    const QString p2 = kiosk.path("walk/p2.jpg"), a1 = kiosk.path("walk/images/a00001.jpg");
    const struct {
        const char* name;
        std::function<void()> change;
        int toolRuns;
    } rows[] = {
        {"nothing changed", [] {}, 0},
        {"picture replaced by another of the same size with an older time stamp",
         [&] {
             QFile::rename(p2, p2 + ".jpg");
             QProcess::execute("convert", {p2 + ".jpg", "-fill", "red", "-draw", "point 3,3", p2});
             QFile::remove(p2 + ".jpg");
             QProcess::execute("touch", {"-d", "2001-02-03", p2});
         },
         1},
        {"copy deleted", [&] { QFile::remove(kiosk.path("walk/images/b00002.jpg")); }, 1},
        {"copy altered, size kept", [&] { writeBytes(a1, readBytes(a1).chopped(1) + 'x'); }, 1},
        {"boxes changed by a new configuration",
         [&] {
             writeTextFile(kiosk.path("configuration.txt"), {"screenheight 800", "screenwidth 1100"});
         },
         7},
        {"another image tool set", [&] { useTool("other-tool.sh"); }, 7},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QDir(kiosk.path("walk/images")).removeRecursively();
        useTool("tool.sh");
        make(PageMaker::AutomaticRuns);
        EXPECT_EQ(toolRuns(), 7);
        row.change();
        const Made made = make(3);
        EXPECT_EQ(toolRuns(), row.toolRuns);
        // The same kiosk made from scratch, every copy made in place.
        QDir(kiosk.path("walk/images")).removeRecursively();
        const Made scratch = make(PageMaker::InPlace);
        EXPECT_EQ(made.files.size(), 26) << "6 pictures, 3 page sources, 9 page files, the images folder, 7 copies";
        EXPECT_EQ(made.pictureTotals, QSet<int>{7}) << "the total is known from the start";
        EXPECT_EQ(made.lastPictureCount, "7 of 7");
        EXPECT_EQ(made.events, scratch.events);
        EXPECT_TRUE(made.files == scratch.files);
    }
}

TEST_F(PictureCopies, MessagesComeInPictureOrderWithManyPicturesAndAFailingOneInTheMiddle)
{
    writeWalk();
    // Many pictures on several pages; the first picture's tool run is slow, so
    // later copies are done first.
    for (int page = 0; page < 4; ++page) {
        QStringList lines{"#leaf", "#title Page " + QString::number(page)};
        for (int i = 0; i < 6; ++i)
            lines.append(QString("#image p%1.jpg centre %2%").arg((page + i) % 6 + 1).arg(30 + 10 * i));
        writeTextFile(kiosk.path(QString("many/m%1.zel").arg(page)), lines);
    }
    for (int i = 1; i <= 6; ++i)
        QFile::copy(kiosk.path(QString("walk/p%1.jpg").arg(i)), kiosk.path(QString("many/p%1.jpg").arg(i)));
    writeBytes(kiosk.path("many/cut.jpg"), readBytes(kiosk.path("walk/p1.jpg")).left(300));
    const QString source2 = kiosk.path("many/m2.zel");
    const QStringList page2 = readLines(source2);
    const struct {
        const char* name;
        QString line;
        QString folderInTheWay;
    } rows[] = {
        {"picture the tool cannot read (reported from the copy's thread)", "#image cut.jpg left 50%", {}},
        {"missing and unsupported pictures and a reference to a missing page",
         "#image gone.jpg centre 50%\r\n#image m0.zel left 50%\r\n#button many\\none None",
         {}},
        {"copy that cannot be written (the make ends)", "#image p3.jpg left 50%", "many/images/m200004.jpg"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        writeTextFile(source2, QStringList(page2).mid(0, 4) + QStringList{row.line} + page2.mid(4));
        useTool("slow-tool.sh", "case \"$1\" in */many/p1.jpg) sleep 0.3;; esac");
        Made made[2];
        for (int runs : {PageMaker::InPlace, 4}) {
            QDir(kiosk.path("many/images")).removeRecursively();
            if (!row.folderInTheWay.isEmpty())
                QDir().mkpath(kiosk.path(row.folderInTheWay));
            made[runs ? 1 : 0] = make(runs, "many/images");
        }
        EXPECT_EQ(made[1].events.join(u'\n').toStdString(), made[0].events.join(u'\n').toStdString());
        // Also when the make ends: no copy after the one that could not be written.
        EXPECT_TRUE(made[1].files == made[0].files);
        EXPECT_TRUE(made[0].events.join(u'|').contains("message: ")) << made[0].events.join(u'\n').toStdString();
    }
}

// The picture changes while the make reads it (hashes it; each kind of change: base_test.cpp): the
// make says so naming it, the copy made before stays as it was and is not recorded, so that the next make makes
// it anew; the page is made.
TEST_F(PictureCopies, PictureThatChangesWhileReadIsReportedAndItsCopyNotRecorded)
{
    makePicture(kiosk.path("news/cat.jpg"), 40, 30);
    makePicture(kiosk.path("news/dog.jpg"), 40, 30);
    writeTextFile(kiosk.path("news/today.zel"), {"#leaf", "#image cat.jpg", "#image dog.jpg"});
    EXPECT_EQ(make(3, "news").said(), QStringList());
    const QString dog = kiosk.path("news/dog.jpg"), copy = kiosk.path("news/images/today00002.jpg");
    const QByteArray oldCopy = readBytes(copy), oldPage = readBytes(kiosk.path("news/today_con.htm"));
    makePicture(dog, 40, 30); // a new picture: the copy is made again
    faults = [&](std::string_view operation, const std::string& target) {
        if (QFile file(dog);
            operation == "read" && QString::fromStdString(target) == dog && file.open(QIODevice::Append))
            file.write("x"); // grown in place
        return 0;
    };
    const QStringList said = make(3, "news").said();
    ASSERT_EQ(said.size(), 1) << said.join('\n').toStdString();
    EXPECT_TRUE(said[0].startsWith("Picture KIOSK/news/dog.jpg changed while it was read - it was not copied"))
        << said[0].toStdString();
    EXPECT_EQ(readBytes(copy), oldCopy);
    EXPECT_EQ(readBytes(kiosk.path("news/today_con.htm")), oldPage);
    const Jpeg::CopyRecord record = Jpeg::CopyRecord::load(kiosk.path("news/images"));
    EXPECT_TRUE(!record.find("today00002.jpg") && record.find("today00001.jpg"));
    EXPECT_EQ(QDir(kiosk.path("news/images")).entryList(QDir::Hidden | QDir::Files).filter(".zel-"),
              QStringList{".zel-copies"});
    // Once it holds still, the next make copies it.
    faults = {};
    EXPECT_EQ(make(3, "news").said(), QStringList());
    EXPECT_EQ(readBytes(copy), readBytes(dog));
}

// A copy that cannot be put in place ends the make with a fatal report while
// a later copy is done and held: by the time the program ends (it does not
// unwind then), no temporary of a copy (nor of its writing) is left.
TEST_F(PictureCopies, FatalReportLeavesNoCopyTemporaries)
{
    for (const char* name : {"a", "b", "c"})
        makePicture(kiosk.path(QString("news/%1.jpg").arg(name)), 40, 30);
    writeTextFile(kiosk.path("news/today.zel"), {"#leaf", "#image a.jpg", "#image b.jpg", "#image c.jpg"});
    QDir().mkpath(kiosk.path("news/images/today00001.jpg/in-the-way"));
    // The first copy waits until the second has been written under its
    // temporary name, so that one is held when the first fails.
    const QString pid = QString::number(::getpid());
    std::mutex mutex;
    std::condition_variable written;
    bool secondWritten = false;
    faults = [&](std::string_view operation, const std::string& target) {
        const QString path = QString::fromStdString(target);
        std::unique_lock lock(mutex);
        if (operation == "rename" && path.endsWith("/.zel-copy-" + pid + "-2.jpg")) {
            secondWritten = true;
            written.notify_all();
        } else if (operation == "rename" && path.endsWith("/.zel-copy-" + pid + "-1.jpg")) {
            EXPECT_TRUE(written.wait_for(lock, std::chrono::minutes(1), [&] { return secondWritten; }));
        }
        return 0;
    };
    QStringList leftAtEnd{"not ended"};
    atEnd = [&] {
        leftAtEnd = QDir(kiosk.path("news/images")).entryList(QDir::Hidden | QDir::Files).filter(".zel-");
        leftAtEnd.removeAll(Jpeg::CopyRecord::FileName);
    };
    const QStringList said = make(3, "news").said();
    ASSERT_EQ(said.size(), 2);
    EXPECT_TRUE(said[0].contains("Runtime error 75 in dlgMakePage.scaleImage")) << said[0].toStdString();
    EXPECT_EQ(said[1], "program ended");
    EXPECT_TRUE(secondWritten);
    EXPECT_EQ(leftAtEnd, QStringList());
}

// Two leaf pages in tool/ whose pictures the image tool must shrink, and the tool in tools/.
class ImageToolFaults : public PictureCopies {
public:
    ImageToolFaults()
    {
        makePicture(kiosk.path("tool/big.jpg"), 1600, 1200);
        makePicture(kiosk.path("tool/wide.jpg"), 2000, 500);
        writeTextFile(kiosk.path("tool/a.zel"), {"#leaf", "#image big.jpg centre 90%", "#image wide.jpg left 40%"});
        writeTextFile(kiosk.path("tool/b.zel"), {"#leaf", "#image big.jpg right 30%"});
    }
    QString writeTool(const QString& name, const QString& body, bool executable = true)
    {
        return writeExecutableScript(kiosk.path("tools/" + name), body, executable);
    }
    QString realTool() { return writeTool("real", "exec '" ZEL_PROGRAM_DIR "/zel-resample' \"$@\""); }
    // The messages of `makes` makes in one run of the program with this tool ("program ended": see Made).
    QStringList make(const QString& program, int runs, int makes = 1)
    {
        tool = ImageToolChoice{program, 60 * 1000, true};
        return PictureCopies::make(runs, "tool", makes).said();
    }
    QByteArray copyBytes(const QString& name) const { return readBytes(kiosk.path("tool/images/" + name)); }
    QStringList leftovers() const
    {
        return QDir(kiosk.path("tool/images"))
            .entryList({".zel-tmp-*", ".zel-copy-*", ".zel-resample-*"}, QDir::Files | QDir::Hidden);
    }
};

// The copies the pages ask for, with their pictures and image lines.
struct Copy {
    QString name, picture, line, source;
    QString context() const { return "\r\nIn line - " + line + "\r\nIn file - KIOSK/tool/" + source; }
};
const Copy copies[] = {
    {"a00001.jpg", "big.jpg", "#image big.jpg centre 90%", "a.zel"},
    {"a00002.jpg", "wide.jpg", "#image wide.jpg left 40%", "a.zel"},
    {"b00001.jpg", "big.jpg", "#image big.jpg right 30%", "b.zel"},
};

// Wrong output reported as success before: every such tool is reported, the
// make counts it (a message), and each copy is its picture unchanged, never
// recorded as a resampled copy. A tool that cannot be started is reported once
// per make; a copy that is not what was asked for, once per copy.
TEST_F(ImageToolFaults, ToolThatCannotStartOrWritesTheWrongCopyIsReportedAndItsPicturesCopiedUnchanged)
{
    // The size each copy is asked for, as the real tool makes it: "W x H".
    ASSERT_EQ(make(realTool(), PageMaker::InPlace), QStringList());
    QMap<QString, QString> asked, turned;
    for (const Copy& copy : copies) {
        std::int32_t height = 0, width = 0;
        SessionProblems problems(kiosk.session.session());
        Jpeg::GetSize(kiosk.path("tool/images/" + copy.name), height, width, problems, {});
        asked[copy.name] = QString("%1 x %2").arg(width).arg(height);
        turned[copy.name] = QString("%1 x %2").arg(height).arg(width);
    }
    QDir().mkpath(kiosk.path("tools/a folder"));
    // What is said: why the tool cannot be started, or (from "the image tool") what is wrong with each copy
    // ("ASKED", "TURNED": the size asked for, turned).
    const struct {
        const char *name, *said;
        QString program;
    } rows[] = {
        {"tool missing", "No such file or directory", kiosk.path("tools/no such tool")},
        {"bare name not on PATH", "No such file or directory in the folders of PATH", "zel-no-such-image-tool"},
        {"tool is a folder", "Is a directory", kiosk.path("tools/a folder")},
        {"tool not executable", "Permission denied", writeTool("plain", "exit 0", false)},
        {"writes a 10 x 10 JPEG", "the image tool wrote a picture of 10 x 10 pixels, not ASKED",
         writeTool("tiny", "convert -size 10x10 xc:red \"${3#/convert=}\"")},
        {"writes the JPEG turned", "the image tool wrote a picture of TURNED pixels, not ASKED",
         writeTool("turned", "size=${2#/resample=(}; size=${size%)}\n"
                             "convert -size \"${size#*,}x${size%,*}\" xc:red \"${3#/convert=}\"")},
        {"writes no JPEG", "the image tool wrote no JPEG picture",
         writeTool("text", "echo not a picture > \"${3#/convert=}\"")},
        {"exits 0 without writing", "the image tool wrote no picture", writeTool("idle", "exit 0")},
        // Cut at every length: image_scaling_test.cpp.
        {"writes the copy one byte short", "the image tool wrote a damaged JPEG picture (Premature end of JPEG file)",
         writeTool("short", "'" ZEL_PROGRAM_DIR "/zel-resample' \"$@\" || exit\ntruncate -s -1 \"${3#/convert=}\"")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        for (const int runs : {PageMaker::InPlace, PageMaker::AutomaticRuns}) {
            SCOPED_TRACE(runs);
            QDir(kiosk.path("tool/images")).removeRecursively();
            // Two makes in one run of the program: each reports the tool anew.
            QStringList expected;
            for (int make = 0; make < 2; ++make) {
                if (!QString(row.said).startsWith("the image tool"))
                    expected.append("Image tool " + row.program + " cannot be started: " + row.said
                                    + " - pictures are copied unchanged");
                else
                    for (const Copy& copy : copies)
                        expected.append(
                            "Picture KIOSK/tool/" + copy.picture + " could not be resampled: "
                            + QString(row.said).replace("ASKED", asked[copy.name]).replace("TURNED", turned[copy.name])
                            + ", copied unchanged" + copy.context());
            }
            EXPECT_EQ(make(row.program, runs, 2).join('\n').toStdString(),
                      expected.join('\n').replace(kiosk.folder(), "KIOSK/").toStdString());
            const Jpeg::CopyRecord record = Jpeg::CopyRecord::load(kiosk.path("tool/images"));
            for (const Copy& copy : copies) {
                EXPECT_EQ(copyBytes(copy.name), readBytes(kiosk.path("tool/" + copy.picture)))
                    << copy.name.toStdString();
                EXPECT_TRUE(!record.find(copy.name) || record.find(copy.name)->method == "copy")
                    << copy.name.toStdString();
            }
            EXPECT_EQ(leftovers(), QStringList());
        }
    }
}

// A tool that says its disk is full (exit status 4), by bytes or by quota (a
// real full disk: zel_resample_test.cpp): the make ends as at any full disk, naming the copy (never a
// temporary) and the system's reason, and the good copy made before stays.
TEST_F(ImageToolFaults, ToolFindingItsDiskFullEndsTheMakeAndKeepsTheGoodCopy)
{
    const struct {
        const char* name;
        const char* said; // on the tool's standard error; DEST its destination
        const char* reason;
    } rows[] = {
        {"no bytes left", "zel-resample: cannot write DEST: No space left on device", "No space left on device"},
        {"quota exceeded", "zel-resample: cannot write DEST: Disk quota exceeded", "Disk quota exceeded"},
        {"nothing said", "", "No space left on device"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        for (const int runs : {PageMaker::InPlace, PageMaker::AutomaticRuns}) {
            SCOPED_TRACE(runs);
            QDir(kiosk.path("tool/images")).removeRecursively();
            ASSERT_EQ(make(realTool(), runs), QStringList());
            const QByteArray good = copyBytes("a00001.jpg");
            const QString full =
                writeTool("full", QString("echo \"%1\" | sed \"s|DEST|${3#/convert=}|\" >&2\nexit 4").arg(row.said));
            const QStringList said = make(full, runs);
            ASSERT_FALSE(said.isEmpty());
            EXPECT_EQ(said.last(), "program ended");
            const QString report = said.join('\n');
            EXPECT_TRUE(report.contains("Runtime error 61")
                        && report.contains("Disk full: KIOSK/tool/images/a00001.jpg (" + QString(row.reason) + ")"
                                           + copies[0].context()))
                << report.toStdString();
            EXPECT_FALSE(report.contains(".zel-")) << report.toStdString();
            EXPECT_EQ(copyBytes("a00001.jpg"), good);
            EXPECT_EQ(leftovers(), QStringList());
        }
    }
}

} // namespace
