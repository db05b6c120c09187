// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Special files where zel-make expects a file or a folder of its own: the
// copy record of an images folder, the kiosk's stylesheet.css (read by the
// check) and a page folder's images folder. Each row runs zel-make as a
// program of its own, its address space limited, so that a make that waits
// on a FIFO or reads without end fails the row instead of the test run.
#include "support/check_kiosk.h"
#include "support/kiosk_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// What stands at a path instead of a regular file (a huge file is larger than the program's address space).
struct SpecialFile {
    const char* name;
    std::function<void(const QString&)> put;
    const char* asStyleSheet = ""; // the check's reason when it stands at stylesheet.css
};
const auto linkTo = [](const QString& target) {
    return [target](const QString& path) { ASSERT_TRUE(QFile::link(target == "~" ? path + ".gone" : target, path)); };
};
const SpecialFile kFifo{"FIFO", [](const QString& path) { ASSERT_EQ(::mkfifo(qPrintable(path), 0666), 0); },
                        "is not a regular file"};
const SpecialFile kDevZero{"link to /dev/zero", linkTo("/dev/zero"), "is not a regular file"};
const SpecialFile kFolder{"folder", [](const QString& path) { writeBytes(path + "/inside", "x"); }, "is a folder"};
const SpecialFile kHuge{"huge sparse file",
                        [](const QString& path) {
                            QFile file(path);
                            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(3LL * 1024 * 1024 * 1024));
                        },
                        "is larger than 64 MB"};
const SpecialFile kDangling{"dangling link", linkTo("~"), "cannot be read (No such file or directory)"};
const SpecialFile kSpecialFiles[] = {kFifo, kDevZero, kFolder, kHuge, kDangling};

void put(const SpecialFile& special, const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    special.put(path);
}

// zel-make with at most 2 GB of address space (a read without end fails soon).
MakeRun runLimited(const QStringList& arguments)
{
    return runZelMake(QStringList{"--as=2147483648", "--", ZEL_PROGRAM_DIR "/zel-make"} + arguments,
                      "/usr/bin/prlimit");
}

// A kiosk whose root page leads to a leaf page with a picture.
struct NewsKiosk : TemporaryKiosk {
    NewsKiosk() : TemporaryKiosk({"screenheight 706"})
    {
        writeTextFile(path("root/root.zel"), {"#root", "#title Start", "#button news\\today Today"});
        writeTextFile(path("news/today.zel"), {"#leaf", "#para", "Hello", "#image town.jpg"});
        QFile::copy(ZEL_SOURCE_DIR "/examples/sample/root/town.jpg", path("news/town.jpg"));
    }
};

const QString kMadeOut = "Making page today in folder news\nMaking page root in folder root\n";

// The copy record is our own file: whatever else stands at its name is no
// record, never waited on or read whole, and is replaced by a new record
// (a folder stays, and the record is then not kept).
TEST(ZelMakeSpecialFiles, CopyRecordThatIsNotARegularFileIsRebuilt)
{
    for (const auto& row : kSpecialFiles) {
        SCOPED_TRACE(row.name);
        NewsKiosk kiosk;
        const QString record = kiosk.path("news/images/.zel-copies");
        put(row, record);
        const MakeRun run = runLimited({kiosk.folder()});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err.toStdString(), "");
        EXPECT_EQ(run.out, kMadeOut);
        EXPECT_TRUE(readBytes(kiosk.path("news/images/today00001.jpg")).startsWith("\xFF\xD8"));
        const QFileInfo after(record);
        if (row.name == kFolder.name)
            EXPECT_TRUE(after.isDir());
        else
            EXPECT_TRUE(after.isFile() && !after.isSymLink() && after.size() < 4096);
    }
}

// The check reads stylesheet.css for its text-fit estimate: anything but a
// regular file of a sane size is a finding naming the file and the reason,
// and the check goes on with the default fonts.
TEST(ZelMakeSpecialFiles, StyleSheetThatIsNotARegularFileIsAFinding)
{
    for (const auto& row : kSpecialFiles) {
        SCOPED_TRACE(row.name);
        NewsKiosk kiosk;
        const QString sheet = kiosk.path("stylesheet.css");
        put(row, sheet);
        const MakeRun run = runLimited({"--check", kiosk.folder()});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err.toStdString(), "");
        const QString finding = sheet + ":1: unreadable: Style sheet " + sheet + " " + row.asStyleSheet
                                + " - texts were checked with the default fonts\n";
        EXPECT_TRUE(run.out.contains(finding)) << run.out.toStdString();
        EXPECT_TRUE(run.out.endsWith("1 unreadable)\n")) << run.out.toStdString();
    }
}

// A page folder's images folder that is a symbolic link is never written
// through: the make says so, naming it, and makes the page as it would
// otherwise (the same HTML), its pictures not copied.
TEST(ZelMakeSpecialFiles, ImagesFolderThatIsALinkIsRefused)
{
    NewsKiosk plain;
    ASSERT_EQ(runZelMake({plain.folder()}).exitCode, 0);
    const QByteArray plainPage = readBytes(plain.path("news/today_con.htm"));
    ASSERT_TRUE(plainPage.contains("images\\today00001.jpg"));

    const SpecialFile toFolder{"link to a folder", [](const QString& path) {
                                   QDir().mkpath(path + ".elsewhere");
                                   ASSERT_TRUE(QFile::link(path + ".elsewhere", path));
                               }};
    const SpecialFile rows[] = {toFolder, kDevZero, kDangling};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        NewsKiosk kiosk;
        const QString images = kiosk.path("news/images");
        put(row, images);
        const MakeRun run = runLimited({kiosk.folder()});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, kMadeOut);
        EXPECT_TRUE(run.err.contains("Images folder " + images + " is a symbolic link - no picture is copied into it"))
            << run.err.toStdString();
        EXPECT_EQ(run.err.count("Images folder "), 1) << run.err.toStdString();
        EXPECT_EQ(readBytes(kiosk.path("news/today_con.htm")), plainPage);
        EXPECT_TRUE(QFileInfo(images).isSymLink());
        EXPECT_EQ(QDir(images + ".elsewhere").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList());
    }
}

} // namespace
