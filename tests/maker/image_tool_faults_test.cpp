// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Image tools that fail in ways a make must not take for success: a tool that
// cannot be started, a tool whose copy is not the JPEG asked for or is cut
// short, and a tool that finds its disk full. Every page is made as a make with or without
// copies in the background makes it.
#include "support/executable_script.h"
#include "support/recording_problems.h"
#include "maker_test_support.h"

#include "imaging/copy_record.h"
#include "imaging/jpeg_size.h"
#include "maker/page_maker.h"
#include "system/open_kiosk_system.h"

#include <QDir>
#include <QMap>
#include <gtest/gtest.h>

namespace {

class ImageToolFaults : public ::testing::Test {
public:
    ImageToolFaults() : kiosk(makerConfiguration())
    {
        makePicture(kiosk.path("walk/big.jpg"), 1600, 1200);
        makePicture(kiosk.path("walk/wide.jpg"), 2000, 500);
        writeTextFile(kiosk.path("walk/a.zel"), {"#leaf", "#image big.jpg centre 90%", "#image wide.jpg left 40%"});
        writeTextFile(kiosk.path("walk/b.zel"), {"#leaf", "#image big.jpg right 30%"});
    }

    // A stand-in image tool: a shell script with this body, executable unless told otherwise.
    QString writeTool(const QString& name, const QString& body, bool executable = true)
    {
        return writeExecutableScript(kiosk.path("tools/" + name), body, executable);
    }
    QString realTool() { return writeTool("real", "exec '" ZEL_PROGRAM_DIR "/zel-resample' \"$@\""); }

    // Makes all pages `makes` times in one run of the program with this tool;
    // gives the messages, the kiosk folder written "KIOSK/", and "program ended"
    // when a make ended the program.
    QStringList make(const QString& program, int runs, int makes = 1)
    {
        RecordingMessages messages;
        TestSession run({.imageTool = ImageToolChoice{program, 60 * 1000, true}, .messages = &messages});
        const auto system = openKioskSystemHeadless(run.session(), kiosk.folder());
        SessionProblems problems(system->session());
        PageMaker maker(*system, problems);
        maker.setPictureRuns(runs);
        QStringList said;
        for (int i = 0; i < makes; ++i) {
            maker.makeAll();
            if (endsProgram([&] { maker.run(); }))
                said.append("program ended");
        }
        return messages.texts().replaceInStrings(kiosk.folder(), "KIOSK/") + said;
    }
    QByteArray copyBytes(const QString& name) const { return readBytes(kiosk.path("walk/images/" + name)); }
    QStringList leftovers() const
    {
        return QDir(kiosk.path("walk/images"))
            .entryList({".zel-tmp-*", ".zel-copy-*", ".zel-resample-*"}, QDir::Files | QDir::Hidden);
    }

    TemporaryKiosk kiosk;
};

// The copies the pages ask for, with their pictures and image lines.
struct Copy {
    QString name, picture, line, source;
    QString context() const { return "\r\nIn line - " + line + "\r\nIn file - KIOSK/walk/" + source; }
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
        Jpeg::GetSize(kiosk.path("walk/images/" + copy.name), height, width, problems, {});
        asked[copy.name] = QString("%1 x %2").arg(width).arg(height);
        turned[copy.name] = QString("%1 x %2").arg(height).arg(width);
    }
    QDir().mkpath(kiosk.path("tools/a folder"));
    // The real tool's copy cut to the length the shell gives (the copy is $f):
    // its header whole, so that its size reads right.
    const auto cutCopy = [&](const QString& name, const QString& length) {
        return writeTool(name, "'" ZEL_PROGRAM_DIR "/zel-resample' \"$@\" || exit\nf=${3#/convert=}\ntruncate -s "
                                   + length + " \"$f\"");
    };
    const QString cutShort = "the image tool wrote a damaged JPEG picture (Premature end of JPEG file)";
    const struct {
        const char* name;
        QString program;
        QString cannotStart; // the reason of a tool that cannot be started; or
        QString wrongCopy;   // what is wrong with each copy ("ASKED", "TURNED" the size asked for, turned)
    } rows[] = {
        {"tool missing", kiosk.path("tools/no such tool"), "No such file or directory", {}},
        {"bare name not on PATH", "zel-no-such-image-tool", "No such file or directory in the folders of PATH", {}},
        {"tool is a folder", kiosk.path("tools/a folder"), "Is a directory", {}},
        {"tool not executable", writeTool("plain", "exit 0", false), "Permission denied", {}},
        {"writes a 10 x 10 JPEG",
         writeTool("tiny", "convert -size 10x10 xc:red \"${3#/convert=}\""),
         {},
         "the image tool wrote a picture of 10 x 10 pixels, not ASKED"},
        {"writes the JPEG turned",
         writeTool("turned", "size=${2#/resample=(}; size=${size%)}\n"
                             "convert -size \"${size#*,}x${size%,*}\" xc:red \"${3#/convert=}\""),
         {},
         "the image tool wrote a picture of TURNED pixels, not ASKED"},
        {"writes no JPEG",
         writeTool("text", "echo not a picture > \"${3#/convert=}\""),
         {},
         "the image tool wrote no JPEG picture"},
        {"exits 0 without writing", writeTool("idle", "exit 0"), {}, "the image tool wrote no picture"},
        {"writes the copy cut to 60 %", cutCopy("sixty", "$(($(stat -c %s \"$f\") * 6 / 10))"), {}, cutShort},
        {"writes the copy one byte short", cutCopy("short", "-1"), {}, cutShort},
        {"writes the copy's headers only", // up to the end of the scan header (three components)
         cutCopy("headers", "$(($(LC_ALL=C grep -obUaP '\\xFF\\xDA' \"$f\" | head -1 | cut -d: -f1) + 14))"),
         {},
         cutShort},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        for (const int runs : {PageMaker::InPlace, PageMaker::AutomaticRuns}) {
            SCOPED_TRACE(runs);
            QDir(kiosk.path("walk/images")).removeRecursively();
            // Two makes in one run of the program: each reports the tool anew.
            QStringList expected;
            for (int make = 0; make < 2; ++make) {
                if (!row.cannotStart.isEmpty())
                    expected.append("Image tool " + row.program + " cannot be started: " + row.cannotStart
                                    + " - pictures are copied unchanged");
                else
                    for (const Copy& copy : copies)
                        expected.append("Picture KIOSK/walk/" + copy.picture + " could not be resampled: "
                                        + QString(row.wrongCopy)
                                              .replace("ASKED", asked[copy.name])
                                              .replace("TURNED", turned[copy.name])
                                        + ", copied unchanged" + copy.context());
            }
            EXPECT_EQ(make(row.program, runs, 2).join('\n').toStdString(),
                      expected.join('\n').replace(kiosk.folder(), "KIOSK/").toStdString());
            const Jpeg::CopyRecord record = Jpeg::CopyRecord::load(kiosk.path("walk/images"));
            for (const Copy& copy : copies) {
                EXPECT_EQ(copyBytes(copy.name), readBytes(kiosk.path("walk/" + copy.picture)))
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
            QDir(kiosk.path("walk/images")).removeRecursively();
            ASSERT_EQ(make(realTool(), runs), QStringList());
            const QByteArray good = copyBytes("a00001.jpg");
            const QString full =
                writeTool("full", QString("echo \"%1\" | sed \"s|DEST|${3#/convert=}|\" >&2\nexit 4").arg(row.said));
            const QStringList said = make(full, runs);
            ASSERT_FALSE(said.isEmpty());
            EXPECT_EQ(said.last(), "program ended");
            const QString report = said.join('\n');
            EXPECT_TRUE(report.contains("Runtime error 61")
                        && report.contains("Disk full: KIOSK/walk/images/a00001.jpg (" + QString(row.reason) + ")"
                                           + copies[0].context()))
                << report.toStdString();
            EXPECT_FALSE(report.contains(".zel-")) << report.toStdString();
            EXPECT_EQ(copyBytes("a00001.jpg"), good);
            EXPECT_EQ(leftovers(), QStringList());
        }
    }
}

} // namespace
