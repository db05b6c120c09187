#include "pages/files.h"
#include "platform/runtime_error.h"
#include "support/kiosk_fixture.h"

#include <QDir>
#include "fileio/atomic_file.h"

#include <QDir>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <gtest/gtest.h>

namespace {

class FilesOnDisk : public ::testing::Test {
protected:
    QString path(const QString& relative) const { return QDir::toNativeSeparators(m_dir.filePath(relative)); }
    QTemporaryDir m_dir;
};

// The error number the body throws, 0 when it throws nothing.
int errorNumberOf(const std::function<void()>& body)
{
    try {
        body();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST_F(FilesOnDisk, ExistenceAndCreateFolder)
{
    writeBytes(path("news/today.zel"), "#leaf\r\n");
    EXPECT_TRUE(Files::fileExists(path("news/today.zel")));
    EXPECT_FALSE(Files::fileExists(path("news")) || Files::fileExists(QString()));
    EXPECT_TRUE(Files::folderExists(path("news")));
    EXPECT_FALSE(Files::folderExists(path("news/today.zel")));
    Files::createFolder(path("sport"));
    EXPECT_TRUE(Files::folderExists(path("sport")));
    EXPECT_EQ(errorNumberOf([&] { Files::createFolder(path("sport")); }), 58);
    EXPECT_EQ(errorNumberOf([&] { Files::createFolder(path("a/b")); }), 76);
}

TEST_F(FilesOnDisk, CopyFileReplacesAndKeepsBytes)
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    writeBytes(path("a.jpg"), bytes);
    writeBytes(path("b.jpg"), "older");
    Files::copyFile(path("a.jpg"), path("b.jpg"));
    EXPECT_EQ(readBytes(path("b.jpg")), bytes);
    Files::copyFile(path("a.jpg"), path("a.jpg")); // onto itself: nothing is lost
    EXPECT_EQ(readBytes(path("a.jpg")), bytes);
    EXPECT_EQ(errorNumberOf([&] { Files::copyFile(path("none.jpg"), path("c.jpg")); }), 53);
    EXPECT_EQ(errorNumberOf([&] { Files::copyFile(path("a.jpg"), path("no/c.jpg")); }), 76);
    // A copy that fails on the way keeps the older destination whole.
    writeBytes(path("b.jpg"), "older");
    {
        TestSession failing({.fileFaults = [](std::string_view operation, const std::string&) { return operation == "sync" ? ENOSPC : 0; }});
        EXPECT_EQ(errorNumberOf([&] { Files::copyFile(path("a.jpg"), path("b.jpg")); }), 61);
    }
    EXPECT_EQ(readBytes(path("b.jpg")), "older");
    EXPECT_EQ(QDir(path("")).entryList(QDir::Files | QDir::Hidden), (QStringList{"a.jpg", "b.jpg"}));
}

TEST_F(FilesOnDisk, CopyFolderContentsMergesIntoTheDestination)
{
    writeBytes(path("template/configuration.txt"), "buttons 8\r\n");
    writeBytes(path("template/root/root.zel"), "#root\r\n");
    writeBytes(path("kiosk/configuration.txt"), "older");
    writeBytes(path("kiosk/news/today.zel"), "#leaf\r\n");
    writeBytes(path("kiosk/root/root.zel"), "#root\r\n#title Mine\r\n");
    Files::copyFolderContents(path("template"), path("kiosk"));
    EXPECT_EQ(readBytes(path("kiosk/configuration.txt")), "buttons 8\r\n");
    EXPECT_EQ(readBytes(path("kiosk/root/root.zel")), "#root\r\n");
    EXPECT_EQ(readBytes(path("kiosk/news/today.zel")), "#leaf\r\n"); // pages not in the template stay
    EXPECT_EQ(errorNumberOf([&] { Files::copyFolderContents(path("template"), path("missing")); }), 76);
}

TEST_F(FilesOnDisk, NamesAndFoldersOfPaths)
{
    writeBytes(path("photo.large.jpg"), "x");
    writeBytes(path("readme"), "x");
    EXPECT_EQ(Files::fileExtension(path("photo.large.jpg")), "jpg");
    EXPECT_EQ(Files::fileExtension(path("readme")), "readme");
    EXPECT_EQ(Files::fileNameOf(path("photo.large.jpg")), "photo.large.jpg");
    // Picture names, by text alone: the last extension, any letter case.
    for (const char* name : {"photo.jpg", "IMG_0042.JPG", "scan.Jpeg", "a.b.jpg", ".jpg"})
        EXPECT_TRUE(Files::hasJpegExtension(name)) << name;
    for (const char* name : {"photo.jpg.png", "jpg", "photo.jpgx", "photo.", "photo.jpe"})
        EXPECT_FALSE(Files::hasJpegExtension(name)) << name;
    EXPECT_EQ(errorNumberOf([&] { Files::fileNameOf(path("gone.jpg")); }), 53);
    // The parent and last folder are taken from the text alone.
    const QString sep = QDir::separator(), news = sep + "kiosk" + sep + "news";
    EXPECT_EQ(Files::parentFolderOf(news + sep + "photo.jpg"), news);
    EXPECT_EQ(Files::parentFolderOf(sep + "photo.jpg"), sep);
    EXPECT_EQ(Files::parentFolderOf("photo.jpg"), QString());
    EXPECT_EQ(Files::lastFolderName(news + sep + "photo.jpg"), "news");
    EXPECT_EQ(Files::lastFolderName(news + sep), "news");
    EXPECT_THROW(Files::lastFolderName("photo.jpg"), RuntimeError);
}

// The tools' way of staging: their own temporary name, locked until the
// rename, so that a cleaner never takes a working run's file for abandoned.
TEST_F(FilesOnDisk, LockedStagedFileHoldsItsLockUntilRenamed)
{
    const std::string target = path("news1.cab").toStdString();
    const auto lockedByOthers = [](const std::string& file) {
        const int descriptor = ::open(file.c_str(), O_RDONLY);
        const bool locked = descriptor >= 0 && ::flock(descriptor, LOCK_EX | LOCK_NB) != 0;
        ::close(descriptor);
        return locked;
    };
    {
        fileio::StagedFile file(target, {".news1.cab.", true});
        const std::string temporary = file.temporary();
        EXPECT_EQ(temporary.size(), path(".news1.cab.").toStdString().size() + 6) << temporary;
        fileio::writeAll(file.descriptor(), "MSCF", target);
        file.finish();
        EXPECT_TRUE(lockedByOthers(temporary));
        file.commit();
        EXPECT_FALSE(QFile::exists(QString::fromStdString(temporary)));
    }
    EXPECT_EQ(readBytes(path("news1.cab")), "MSCF");
    {
        fileio::StagedFile dropped(target, {".news1.cab.", true});
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"news1.cab"});
}

} // namespace
