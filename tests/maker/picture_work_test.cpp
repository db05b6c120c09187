// Picture copies made several at once and kept between makes: a make gives
// the same files, messages and message order as a make that makes every copy
// in place, and a copy is made again exactly when something that decides its
// bytes changed.
#include "maker_test_support.h"

#include "app/core/open_kiosk_system.h"
#include "imaging/copy_record.h"
#include "imaging/image_tool.h"
#include "maker/page_maker.h"
#include "pages/files.h"
#include "platform/session.h"
#include "runtime/error_handler.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QSettings>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString Resample = QStringLiteral(ZEL_PROGRAM_DIR "/zel-resample");

// Every file of a folder tree by relative path, except logs and copy records.
QMap<QString, QByteArray> filesUnder(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QFileInfo(path).fileName();
        if (name != Jpeg::CopyRecord::FileName && !name.startsWith("log") && !name.startsWith("runs"))
            files.insert(QDir(folder).relativeFilePath(path), readBytes(path));
    }
    return files;
}

// Messages, progress lines and page counts of a make, in the order they came.
class EventLog : public MessageBoxes {
public:
    void show(const QString& text, MessageIcon) override { events.append("message: " + text); }
    int askYesNo(const QString& text, int) override { return show(text, {}), Answer::No; }
    int askYesNoCancel(const QString& text) override { return show(text, {}), Answer::Cancel; }
    QStringList events;
};

class PictureWorkTest : public ::testing::Test {
public:
    PictureWorkTest() : kiosk(makerConfiguration())
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, kiosk.path("settings"));
        useTool("tool.sh");
        for (int i = 1; i <= 6; ++i)
            makePicture(kiosk.path(QString("walk/p%1.jpg").arg(i)), 300 + 40 * i, 200 + 30 * i);
        writeTextFile(kiosk.path("walk/a.zel"), {"#leaf", "#image p1.jpg left 40%", "#image p2.jpg centre 90%",
                                                 "#image p3.jpg right 30%"});
        writeTextFile(kiosk.path("walk/b.zel"), {"#leaf", "#image p4.jpg centre 60%", "#image p5.jpg left 20%"});
        writeTextFile(kiosk.path("walk/s.zel"), {"#selector", "#item p6.jpg a Six", "#item p1.jpg b One"});
        kiosk.openHeadless();
    }

    // A stand-in image tool that notes each run in runs-NAME.txt, then runs zel-resample.
    void useTool(const QString& name, const QString& before = {})
    {
        const QString path = kiosk.path(name);
        writeBytes(path, ("#!/bin/sh\necho \"$1\" >> '" + kiosk.path("runs-" + name + ".txt") + "'\n" + before
                          + "\nexec '" + Resample + "' \"$@\"\n")
                             .toUtf8());
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        tool = ImageToolChoice{path, 60 * 1000, true};
        toolName = name;
    }
    int toolRuns() const { return readLines(kiosk.path("runs-" + toolName + ".txt")).size(); }
    void clearToolRuns() const { QFile::remove(kiosk.path("runs-" + toolName + ".txt")); }

    // Makes all pages with the given picture runs and returns what it reported.
    QStringList makeAll(int runs)
    {
        EventLog log;
        // Each make is a run of its own: its messages, its image tool, a fresh program.
        Session run({.messages = &log, .endProgram = [] { throw ProgramEnded{}; }, .imageTool = tool});
        PageMaker maker;
        maker.setPictureRuns(runs);
        maker.setProgressHandler([&](const QString& text) { log.events.append("progress: " + text); });
        maker.setCountHandler([&](int made, int total) { log.events.append(QString("pages %1/%2").arg(made).arg(total)); });
        maker.makeAll();
        const bool ended = endsProgram([&] { maker.run(); });
        if (ended)
            log.events.append("program ended");
        return log.events;
    }

    // The page folder's files and the events of a make from scratch, every
    // copy made in place, of the kiosk as it is now.
    std::pair<QMap<QString, QByteArray>, QStringList> scratchMake()
    {
        QTemporaryDir scratch;
        const QString folder = QDir::toNativeSeparators(scratch.path() + "/");
        QFile::copy(kiosk.path("configuration.txt"), folder + "configuration.txt");
        QDir().mkpath(folder + "walk");
        Files::copyFolderContents(kiosk.path("walk"), folder + "walk");
        QDir(folder + "walk/images").removeRecursively();
        const auto scratchSystem = openKioskSystemHeadless(folder);
        QStringList events = makeAll(PageMaker::InPlace);
        events.replaceInStrings(folder, kiosk.folder());
        auto files = filesUnder(folder + "walk");
        kiosk.openHeadless();
        return {files, events};
    }

    TemporaryKiosk kiosk;
    QString toolName;
    ImageToolChoice tool;
};

TEST_F(PictureWorkTest, CopyIsMadeAgainExactlyWhenWhatDecidesItsBytesChanged)
{
    struct Row {
        const char* name;
        std::function<void(PictureWorkTest&)> change;
        int toolRuns; // on the make after the change
    };
    const Row rows[] = {
        {"nothing changed", [](auto&) {}, 0},
        {"page source touched", [](auto& t) { writeTextFile(t.kiosk.path("walk/b.zel"), readLines(t.kiosk.path("walk/b.zel"))); }, 0},
        {"picture replaced by another of the same size with an older time stamp",
         [](auto& t) {
             const QString picture = t.kiosk.path("walk/p2.jpg");
             QFile::remove(picture);
             makePicture(picture + ".jpg", 380, 260);
             QProcess::execute("convert", {picture + ".jpg", "-fill", "red", "-draw", "point 3,3", picture});
             QFile::remove(picture + ".jpg");
             QProcess::execute("touch", {"-d", "2001-02-03", picture});
         },
         1},
        {"copy deleted", [](auto& t) { QFile::remove(t.kiosk.path("walk/images/b00002.jpg")); }, 1},
        {"copy altered, size kept",
         [](auto& t) {
             QByteArray bytes = readBytes(t.kiosk.path("walk/images/a00001.jpg"));
             bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x55);
             writeBytes(t.kiosk.path("walk/images/a00001.jpg"), bytes);
         },
         1},
        {"copy record damaged", [](auto& t) { writeBytes(t.kiosk.path("walk/images/.zel-copies"), "zel-copies 1\r\nx\ty\r\n"); }, 7},
        {"boxes changed by a new configuration",
         [](auto& t) { writeTextFile(t.kiosk.path("configuration.txt"), {"screenheight 800", "screenwidth 1100"}); }, 7},
        {"another image tool set", [](auto& t) { t.useTool("other-tool.sh"); }, 7},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QDir(kiosk.path("walk/images")).removeRecursively();
        useTool("tool.sh");
        kiosk.openHeadless();
        clearToolRuns();
        makeAll(PageMaker::AutomaticRuns);
        EXPECT_EQ(toolRuns(), 7);

        row.change(*this);
        kiosk.openHeadless();
        clearToolRuns();
        const QStringList events = makeAll(3);

        EXPECT_EQ(toolRuns(), row.toolRuns);
        const auto [files, scratchEvents] = scratchMake();
        EXPECT_EQ(events, scratchEvents);
        EXPECT_TRUE(filesUnder(kiosk.path("walk")) == files);
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
        for (int i = 1; i <= 6; ++i)
            QFile::copy(kiosk.path(QString("walk/p%1.jpg").arg(i)), kiosk.path(QString("many/p%1.jpg").arg(i)));
    }
    writeBytes(kiosk.path("many/header.jpg"), QByteArray("\xFF\xD8\xFF\xE1 not a JFIF picture", 27));
    const QString source2 = kiosk.path("many/m2.zel");
    struct Row {
        const char* name;
        QString line; // put in the middle of the third page
        std::function<void()> prepare;
    };
    const Row rows[] = {
        {"missing picture", "#image gone.jpg centre 50%", [] {}},
        {"picture without a readable header", "#image header.jpg left 50%", [] {}},
        {"unsupported picture and a reference to a missing page", "#image m0.zel left 50%\r\n#button many\\none None", [] {}},
        {"copy that cannot be written (the make ends)", "#image p3.jpg left 50%",
         [&] { QDir().mkpath(kiosk.path("many/images/m200004.jpg")); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QStringList lines = readLines(source2);
        lines.insert(4, row.line);
        writeTextFile(source2, lines);
        useTool("slow-tool.sh", "case \"$1\" in */many/p1.jpg) sleep 0.3;; esac");

        QStringList events[2];
        QMap<QString, QByteArray> copies[2];
        for (int runs : {PageMaker::InPlace, 4}) {
            QDir(kiosk.path("many/images")).removeRecursively();
            row.prepare();
            kiosk.openHeadless();
            events[runs ? 1 : 0] = makeAll(runs);
            copies[runs ? 1 : 0] = filesUnder(kiosk.path("many/images"));
        }
        EXPECT_EQ(events[1].join(u'\n').toStdString(), events[0].join(u'\n').toStdString());
        // Also when the make ends: no copy after the one that could not be written.
        EXPECT_EQ(copies[1].keys(), copies[0].keys());
        EXPECT_TRUE(copies[1] == copies[0]);
        EXPECT_TRUE(events[0].join(u'|').contains("message: ")) << events[0].join(u'\n').toStdString();
        writeTextFile(source2, readLines(kiosk.path("many/m1.zel")));
    }
}

TEST_F(PictureWorkTest, MakeOfTheSampleKioskEqualsAMakeWithEveryCopyInPlace)
{
    QTemporaryDir inPlace, parallel;
    QMap<QString, QByteArray> files[2];
    QStringList events[2];
    for (QTemporaryDir* dir : {&inPlace, &parallel}) {
        const QString folder = QDir::toNativeSeparators(dir->path() + "/");
        copySampleKiosk(folder);
        const auto system = openKioskSystemHeadless(folder);
        const int index = dir == &parallel ? 1 : 0;
        // The parallel kiosk is made twice: the second make keeps its copies.
        for (int time = 0; time <= index; ++time)
            events[index] = makeAll(index ? 4 : PageMaker::InPlace).replaceInStrings(folder, "KIOSK/");
        files[index] = filesUnder(folder);
    }
    EXPECT_EQ(events[1], events[0]);
    EXPECT_EQ(files[1].keys(), files[0].keys());
    EXPECT_TRUE(files[1] == files[0]);
    EXPECT_GT(files[0].size(), 20);
}

} // namespace
