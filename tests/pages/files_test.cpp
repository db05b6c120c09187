// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The file helpers on a real folder: what they answer, what they copy, the
// error numbers they raise.
#include "fileio/atomic_file.h"
#include "pages/files.h"
#include "base/runtime_error.h"
#include "support/kiosk_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <gtest/gtest.h>

namespace {

class FilesOnDisk : public ::testing::Test {
protected:
    QString path(const QString& relative) const { return QDir::toNativeSeparators(m_dir.filePath(relative)); }
    QStringList entries() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden); }
    QTemporaryDir m_dir;
};

TEST_F(FilesOnDisk, ExistenceCreateFolderAndCopyIntoAMissingFolder)
{
    writeBytes(path("news/today.zel"), "#leaf\r\n");
    EXPECT_TRUE(Files::fileExists(path("news/today.zel")) && Files::folderExists(path("news")));
    EXPECT_FALSE(Files::fileExists(path("news")) || Files::fileExists(QString())
                 || Files::folderExists(path("news/today.zel")));
    Files::createFolder(path("sport"));
    EXPECT_TRUE(Files::folderExists(path("sport")));
    EXPECT_EQ(raisedNumber([&] { Files::createFolder(path("sport")); }), 58);
    EXPECT_EQ(raisedNumber([&] { Files::createFolder(path("a/b")); }), 76);
    EXPECT_EQ(raisedNumber([&] { Files::copyFolderContents(path("news"), path("missing")); }), 76);
}

// A failed write keeping the old copy: the maker's table in safe_output_test.cpp.
TEST_F(FilesOnDisk, CopyFileReplacesAndKeepsBytes)
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    writeBytes(path("a.jpg"), bytes);
    writeBytes(path("b.jpg"), "older");
    EXPECT_EQ(raisedNumber([&] { Files::copyFile(path("none.jpg"), path("c.jpg"), nullptr); }), 53);
    EXPECT_EQ(raisedNumber([&] { Files::copyFile(path("a.jpg"), path("no/c.jpg"), nullptr); }), 76);
    Files::copyFile(path("a.jpg"), path("b.jpg"), nullptr);
    EXPECT_EQ(readBytes(path("b.jpg")), bytes);
    Files::copyFile(path("a.jpg"), path("a.jpg"), nullptr); // onto itself: nothing is lost
    EXPECT_EQ(readBytes(path("a.jpg")), bytes);
}

// A file (a page, a picture copy) whose temporary cannot be made beside it, or a link at it that leads to no file
// to replace (or any link, for the program's own records): the failure names the file the author knows, with the
// reason, never the temporary, and leaves the link as it was.
TEST_F(FilesOnDisk, AFailureToStartAReplacementNamesItsTargetNotItsTemporary)
{
    writeBytes(path("file"), "not a folder");
    const QMap<QString, QString> links = {{"dangling.htm", "gone.htm"},
                                          {"loop.htm", "loop.htm"},
                                          {"device.htm", "/dev/null"},
                                          {"folder.htm", "/"},
                                          {"record", "file"}};
    for (const auto& [link, target] : links.asKeyValueRange())
        QFile::link(target, path(link));
    const struct Row {
        const char* name;
        const char* target;
        int number;
        const char* reason;
        fileio::LinkAtTarget links = fileio::LinkAtTarget::Follow;
    } rows[] = {
        {"missing folder", "news/today.htm", 76, "No such file or directory"},
        {"a file where the folder should be", "file/today.htm", 75, "Not a directory"},
        {"a link to a missing file", "dangling.htm", 76, "is a symbolic link to a missing file"},
        {"a link in a loop", "loop.htm", 75, "is a symbolic link in a loop"},
        {"a link to a device", "device.htm", 75, "is a symbolic link to something that is not a regular file"},
        {"a link to a folder", "folder.htm", 75, "is a symbolic link to something that is not a regular file"},
        {"a link at a record of the program's own", "record", 75, "is a symbolic link", fileio::LinkAtTarget::Refuse},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        try {
            Errors::translatingFileErrors(
                [&] { fileio::replaceFile(path(row.target).toStdString(), "<html>", nullptr, row.links); });
            ADD_FAILURE() << "no failure";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number(), row.number);
            EXPECT_EQ(error.description(),
                      Errors::standardDescription(row.number) + ": " + path(row.target) + " (" + row.reason + ")");
        }
    }
    for (const QString& link : links.keys())
        EXPECT_TRUE(QFileInfo(path(link)).isSymLink()) << link.toStdString();
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              (QStringList{"dangling.htm", "device.htm", "file", "folder.htm", "loop.htm", "record"}))
        << "no temporary left";
    EXPECT_EQ(readBytes(path("file")), "not a folder");
}

TEST_F(FilesOnDisk, NamesAndFoldersOfPaths)
{
    writeBytes(path("photo.large.jpg"), "x");
    writeBytes(path("readme"), "x");
    EXPECT_EQ(Files::fileExtension(path("photo.large.jpg")) + Files::fileExtension(path("readme")), "jpgreadme");
    EXPECT_EQ(raisedNumber([&] { Files::fileNameOf(path("gone.jpg")); }), 53);
    // Picture names, by text alone: only the last extension counts.
    EXPECT_TRUE(Files::hasJpegExtension("a.b.jpg"));
    for (const char* name : {"photo.jpg.png", "jpg", "photo.jpgx", "photo.", "photo.jpe"})
        EXPECT_FALSE(Files::hasJpegExtension(name)) << name;
    // The parent and last folder are taken from the text alone.
    const QString sep = QDir::separator(), news = sep + "kiosk" + sep + "news";
    EXPECT_EQ(Files::parentFolderOf(sep + "photo.jpg"), sep);
    EXPECT_EQ(Files::parentFolderOf("photo.jpg"), QString());
    EXPECT_EQ(Files::lastFolderName(news + sep + "photo.jpg") + Files::lastFolderName(news + sep), "newsnews");
    EXPECT_THROW(Files::lastFolderName("photo.jpg"), RuntimeError);
}

// The tools' way of staging: their own temporary name, locked until the
// rename, so that a cleaner never takes a working run's file for abandoned.
TEST_F(FilesOnDisk, LockedStagedFileHoldsItsLockUntilRenamed)
{
    const std::string target = path("news1.cab").toStdString();
    {
        fileio::StagedFile file(target, {".news1.cab.", true});
        fileio::writeAll(file.descriptor(), "MSCF", target);
        file.finish();
        EXPECT_TRUE(fileio::heldLocked(file.temporary()));
        file.commit();
        fileio::StagedFile dropped(target, {".news1.cab.", true});
    }
    EXPECT_EQ(readBytes(path("news1.cab")), "MSCF");
    EXPECT_EQ(entries(), QStringList{"news1.cab"});
}

} // namespace
