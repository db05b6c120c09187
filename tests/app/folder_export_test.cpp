// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/select_folder_dialog.h"
#include "support/window_fixture.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>

namespace {

class FolderExportTest : public WindowTest {
protected:
    void SetUp() override { WindowTest::SetUp(), mainWindow(); }

    // Tools, Export Folder, choosing the folder in the folder dialog (or Cancel for "").
    void exportFolder(const QString& name)
    {
        author.whenShown<SelectFolderDialog>([name](SelectFolderDialog& dialog) {
            const auto found = dialog.folderList()->findItems(name, Qt::MatchExactly);
            if (found.isEmpty())
                return dialog.cancelButton()->click();
            dialog.folderList()->setCurrentItem(found.first());
            dialog.okButton()->click();
        });
        main->exportFolder();
    }
};

// What the cabinet holds is zel-makecab's own test.
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
        // Pictures in any letter case; hidden ones and those in sub-folders stay out.
        {"mixed", {"Intro.ZEL", ".thumb.jpg", "images/a00001.jpg", "D.JPG"}, {"Intro.ZEL", "D.JPG"}},
    };
    for (const Row& row : rows) {
        const QString folder = kiosk.path(row.folder);
        for (const QString& file : row.files)
            writeBytes(folder + QDir::separator() + file, "x");
        exportFolder(QString::fromLatin1(row.folder));
        const QStringList settings =
            QString(".OPTION EXPLICIT|.Set CabinetNameTemplate=%1*.cab|.set DiskDirectoryTemplate=%2|"
                    ".Set CompressionType = MSZIP|.Set MaxDiskSize = CDROM|.Set SourceDir=%2|"
                    ".Set Cabinet=on|.Set Compress=on")
                .arg(row.folder, folder)
                .split('|');
        EXPECT_EQ(readLines(folder + "/makecab.ddf"), settings + row.listed) << row.folder;
        EXPECT_EQ(QFile::exists(folder + "/" + row.folder + "1.cab"), !row.listed.isEmpty());
        // A folder with nothing to pack makes the real maker fail.
        const QString failed = "Sorry an error occurred when exporting the folder\r\nThe cab file has not been created";
        EXPECT_EQ(kiosk.messages.texts(), row.listed.isEmpty() ? QStringList{failed} : QStringList{});
        kiosk.messages.clear();
    }
}

TEST_F(FolderExportTest, CancelAndMissingMakerWriteNothing)
{
    writeBytes(kiosk.path("news/today.zel"), "#leaf\r\n");
    exportFolder(QString()); // Cancel in the folder dialog
    EXPECT_TRUE(kiosk.messages.entries().empty());
    EXPECT_FALSE(QFile::exists(kiosk.path("news/makecab.ddf")));

    QTemporaryDir programs;
    kiosk.session.session().setProgramFolder(programs.path());
    author.shown = 0;
    main->exportFolder(); // no cabinet maker beside the program
    EXPECT_EQ(kiosk.messages.texts(),
              QStringList{QStringLiteral("Unable to export folder - unable to find system utility Makecab.exe")});
    EXPECT_EQ(author.shown, 0);
    EXPECT_FALSE(QFile::exists(kiosk.path("news/makecab.ddf")));
}

} // namespace
