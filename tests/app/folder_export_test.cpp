#include "dialogs/dlg_select_folder.h"
#include "platform/session.h"
#include "support/program_run.h"
#include "support/window_fixture.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>

namespace {

// The file names in a cabinet as gcab lists them, sorted.
QStringList cabinetContents(const QString& cabinet)
{
    QStringList names = QString::fromUtf8(runProgram("gcab", {"-t", cabinet}).output).split(u'\n', Qt::SkipEmptyParts);
    names.sort();
    return names;
}

class FolderExportTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        mainWindow();
    }

    // Tools, Export Folder, choosing the folder in the folder dialog (or Cancel for "").
    void exportFolder(const QString& name)
    {
        author.whenShown<dlgSelectFolder>([name](dlgSelectFolder& dialog) {
            const auto found = dialog.folderList()->findItems(name, Qt::MatchExactly);
            if (found.isEmpty())
                return dialog.cancelButton()->click();
            dialog.folderList()->setCurrentItem(found.first());
            dialog.okButton()->click();
        });
        main->mnuExportFolder_Click();
    }
};

TEST_F(FolderExportTest, DirectiveFileHasTheSettingsThenPagesThenPicturesSortedByName)
{
    struct Row {
        const char* folder;
        QStringList files, listed;
    } rows[] = {
        {"empty", {"notes.txt"}, {}},
        {"shop",
         {"zoo.zel", "alpha.zel", "b.jpg", "a.jpg", "a.htm", "c.jpeg"},
         {"alpha.zel", "zoo.zel", "a.jpg", "b.jpg", "c.jpeg"}},
        // Page sources in any letter case; hidden files, sub-folders and a folder named like a page stay out.
        {"mixed",
         {"Intro.ZEL", "beta.zel", ".draft.zel", ".thumb.jpg", "old.zel/x", "images/a00001.jpg", "D.JPG"},
         {"beta.zel", "Intro.ZEL", "D.JPG"}},
        {"shop window", {"front door.jpg"}, {"front door.jpg"}},
    };
    for (const Row& row : rows) {
        const QString folder = kiosk.path(row.folder);
        for (const QString& file : row.files)
            writeBytes(folder + QDir::separator() + file, "x");
        exportFolder(QString::fromLatin1(row.folder));
        const QStringList settings = {".OPTION EXPLICIT",
                                      ".Set CabinetNameTemplate=" + QString(row.folder) + "*.cab",
                                      ".set DiskDirectoryTemplate=" + folder,
                                      ".Set CompressionType = MSZIP",
                                      ".Set MaxDiskSize = CDROM",
                                      ".Set SourceDir=" + folder,
                                      ".Set Cabinet=on",
                                      ".Set Compress=on"};
        EXPECT_EQ(readLines(folder + "/makecab.ddf"), settings + row.listed) << row.folder;
        EXPECT_EQ(readBytes(folder + "/makecab.ddf").count("\r\n"), settings.size() + row.listed.size());
        QStringList cabinet = row.listed;
        cabinet.sort();
        EXPECT_EQ(cabinetContents(folder + "/" + row.folder + "1.cab"), cabinet);
    }
}

TEST_F(FolderExportTest, SecondExportListsThePagesAddedSince)
{
    writeBytes(kiosk.path("news/today.zel"), "#leaf\r\n");
    exportFolder(QStringLiteral("news"));
    writeBytes(kiosk.path("news/later.zel"), "#leaf\r\n");
    exportFolder(QStringLiteral("news"));
    EXPECT_EQ(readLines(kiosk.path("news/makecab.ddf")).mid(8), (QStringList{"later.zel", "today.zel"}));
    EXPECT_EQ(cabinetContents(kiosk.path("news/news1.cab")), (QStringList{"later.zel", "today.zel"}));
    EXPECT_TRUE(kiosk.messages.entries().empty());
}

TEST_F(FolderExportTest, MissingMakerFailingRunAndCancel)
{
    QTemporaryDir programs;
    TestSession run({.programFolder = programs.path(), .messages = &kiosk.messages});
    writeBytes(kiosk.path("news/today.zel"), "#leaf\r\n");
    main->mnuExportFolder_Click(); // no cabinet maker beside the program
    EXPECT_EQ(kiosk.messages.texts(),
              QStringList{QStringLiteral("Unable to export folder - unable to find system utility Makecab.exe")});
    EXPECT_EQ(author.shown, 0);
    EXPECT_FALSE(QFile::exists(kiosk.path("news/makecab.ddf")));

    // The real maker refuses a directive file naming a page that vanished after listing.
    writeBytes(kiosk.path("news/gone.zel"), "#leaf\r\n");
    const QString maker = programs.filePath("zel-makecab");
    writeBytes(maker, QStringLiteral("#!/bin/sh\nrm -f '%1'\nexec '%2/zel-makecab' \"$@\"\n")
                          .arg(kiosk.path("news/gone.zel"), QStringLiteral(ZEL_PROGRAM_DIR))
                          .toUtf8());
    QFile::setPermissions(maker, QFile::ReadOwner | QFile::ExeOwner);
    kiosk.messages.clear();
    exportFolder(QStringLiteral("news"));
    EXPECT_EQ(kiosk.messages.texts(), QStringList{"Sorry an error occurred when exporting the folder\r\n"
                                                  "The cab file has not been created"});
    EXPECT_TRUE(QFile::exists(kiosk.path("news/makecab.ddf")));
    EXPECT_FALSE(QFile::exists(kiosk.path("news/news1.cab")));

    kiosk.messages.clear();
    QFile::remove(kiosk.path("news/makecab.ddf"));
    exportFolder(QString()); // Cancel in the folder dialog
    EXPECT_TRUE(kiosk.messages.entries().empty());
    EXPECT_FALSE(QFile::exists(kiosk.path("news/makecab.ddf")));
}

} // namespace
