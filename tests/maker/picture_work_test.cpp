// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Picture copies made several at once and kept between makes: a make gives
// the same files, messages and message order as a make that makes every copy
// in place, and a copy is made again exactly when something that decides its
// bytes changed.
#include "support/executable_script.h"
#include "support/folder_state.h"
#include "support/recording_problems.h"
#include "maker_test_support.h"

#include "imaging/copy_record.h"
#include "maker/page_maker.h"
#include "system/open_kiosk_system.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <functional>
#include <gtest/gtest.h>

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
};

class PictureWorkTest : public ::testing::Test {
public:
    PictureWorkTest() : kiosk(makerConfiguration())
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

    // Makes all pages of the kiosk system, a run of the program of its own, with the given picture runs;
    // gives the files under filesOf but the copy record.
    Made make(int runs, const QString& filesOf = "walk")
    {
        const QString folder = kiosk.folder();
        QFile::remove(kiosk.path("runs.txt"));
        EventLog log;
        Session run({.messages = &log, .endProgram = [] { throw ProgramEnded{}; }, .imageTool = tool});
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
        maker.makeAll();
        if (endsProgram(run, [&] { maker.run(); }))
            log.events.append("program ended");
        made.files = folderState(folder + filesOf);
        std::erase_if(made.files,
                      [](const auto& file) { return file.first.ends_with(Jpeg::CopyRecord::FileName.toStdString()); });
        made.events = log.events.replaceInStrings(folder, "KIOSK/");
        return made;
    }

    TemporaryKiosk kiosk;
    ImageToolChoice tool;
};

TEST_F(PictureWorkTest, CopyIsMadeAgainExactlyWhenWhatDecidesItsBytesChanged)
{
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

TEST_F(PictureWorkTest, MessagesComeInPictureOrderWithManyPicturesAndAFailingOneInTheMiddle)
{
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

} // namespace
