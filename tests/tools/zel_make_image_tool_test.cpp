// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// zel-make with the image tool the author set in the settings: a tool that
// fails is reported and counted (exit 1), and a tool that finds its disk full
// on a real disk ends the make as any full disk does (exit 2).
#include "support/check_kiosk.h"
#include "support/kiosk_fixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/mount.h>

namespace {

class ZelMakeImageTool : public ::testing::Test {
protected:
    ZelMakeImageTool() : kiosk({"screenheight 706"})
    {
        m_previousConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
        for (const char* picture : {"one", "two"})
            convert({"-size", "1600x1200", "plasma:", kiosk.path(QString("walk/%1.jpg").arg(picture))});
        writeTextFile(kiosk.path("root/root.zel"), {"#root"});
        writeTextFile(kiosk.path("walk/a.zel"), {"#leaf", "#image one.jpg centre 90%", "#image two.jpg left 40%"});
        writeTextFile(kiosk.path("walk/b.zel"), {"#leaf", "#image one.jpg right 30%"});
    }
    ~ZelMakeImageTool() override { qputenv("XDG_CONFIG_HOME", m_previousConfig); }

    static void convert(const QStringList& arguments)
    {
        QDir().mkpath(QFileInfo(arguments.last()).path());
        ASSERT_EQ(QProcess::execute("convert", arguments), 0);
    }
    // Sets the image tool in the settings zel-make reads.
    void useTool(const QString& program)
    {
        writeBytes(settings.filePath("ZEL_Editor.ini"), ("[ImageTool]\nprogram=" + program + "\n").toUtf8());
    }
    // A shell script as the image tool.
    QString writeTool(const QString& name, const QString& body)
    {
        const QString path = tools.filePath(name);
        writeBytes(path, ("#!/bin/sh\n" + body + "\n").toUtf8());
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    QTemporaryDir settings, tools;
    TemporaryKiosk kiosk;

private:
    QByteArray m_previousConfig;
};

// A tool that cannot be started is named once per make with the system's
// reason, a tool that writes the wrong copy once per copy; either way the
// make goes on with unchanged copies and exits 1.
TEST_F(ZelMakeImageTool, ToolThatFailsIsReportedAndCounted)
{
    const struct {
        const char* name;
        QString program;
        QString said;
        qsizetype times;
    } rows[] = {
        {"tool missing", "/nonexistent/tool",
         "Image tool /nonexistent/tool cannot be started: No such file or directory - pictures are copied unchanged",
         1},
        {"tool writes a 10 x 10 JPEG", writeTool("tiny", "convert -size 10x10 xc:red \"${3#/convert=}\""),
         "could not be resampled: the image tool wrote a picture of 10 x 10 pixels, not ", 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        useTool(row.program);
        const MakeRun run = runZelMake({kiosk.folder()});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err.count(row.said), row.times) << run.err.toStdString();
        EXPECT_EQ(readBytes(kiosk.path("walk/images/a00001.jpg")), readBytes(kiosk.path("walk/one.jpg")));
    }
    useTool("");
    EXPECT_EQ(runZelMake({kiosk.folder()}).exitCode, 0) << "no tool, as set, copies unchanged silently";
}

// The disk of the copies is full, in bytes or in inodes, while the tool runs
// (it frees the disk again before it ends, as another program may): the make
// ends with exit 2 and "Disk full" naming the copy and the system's reason,
// never a temporary, and the good copy of the make before stays.
TEST_F(ZelMakeImageTool, ToolFindingItsDiskFullEndsTheMakeAndKeepsTheGoodCopy)
{
    const QString images = kiosk.path("walk/images");
    QDir().mkpath(images);
    if (::mount("tmpfs", qPrintable(images), "tmpfs", 0, "size=1m,nr_inodes=64") != 0)
        GTEST_SKIP() << "tmpfs cannot be mounted here";
    const auto unmount = qScopeGuard([&] { ::umount(qPrintable(images)); });
    // One copy, so that one tool run meets the full disk.
    QFile::remove(kiosk.path("walk/b.zel"));
    writeTextFile(kiosk.path("walk/a.zel"), {"#leaf", "#image one.jpg centre 90%"});
    const QString resample = "'" ZEL_PROGRAM_DIR "/zel-resample' \"$@\"";
    const struct {
        const char* name;
        QString fill; // shell lines that use up the disk's bytes or inodes in "$fill"
    } rows[] = {
        {"no bytes left", "head -c 2000000 /dev/zero > \"$fill/bytes\" 2>/dev/null"},
        {"no inodes left", "i=0\nwhile touch \"$fill/$i\" 2>/dev/null; do i=$((i + 1)); done"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        useTool(writeTool("good " + QString(row.name), resample));
        ASSERT_EQ(runZelMake({kiosk.folder()}).exitCode, 0);
        const QByteArray good = readBytes(images + "/a00001.jpg");
        useTool(writeTool(row.name, "fill='" + images + "/fill'\nmkdir \"$fill\"\n" + row.fill + "\n" + resample
                                        + "\nstatus=$?\nrm -rf \"$fill\"\nexit $status"));
        const MakeRun run = runZelMake({kiosk.folder()});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains("Runtime error 61 in dlgMakePage.scaleImage")
                    && run.err.contains("Disk full: " + images + "/a00001.jpg (No space left on device)"))
            << run.err.toStdString();
        EXPECT_FALSE(run.err.contains(".zel-")) << run.err.toStdString();
        EXPECT_EQ(readBytes(images + "/a00001.jpg"), good);
        EXPECT_EQ(QDir(images).entryList({".zel-tmp-*", ".zel-copy-*", ".zel-resample-*"}, QDir::Files | QDir::Hidden),
                  QStringList());
    }
}

} // namespace
