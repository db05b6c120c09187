#include "dialogs/dlg_select_folder.h"
#include "platform/session.h"
#include "support/program_run.h"
#include "support/window_fixture.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>

namespace {

const QString kFailure = QStringLiteral("Sorry an error occurred when exporting the folder\r\n"
                                        "The cab file has not been created");

// Runs a real cabinet reader; its output, or "" when it failed.
QString readCabinet(const QStringList& arguments, const QString& program = QStringLiteral("gcab"))
{
    const ProgramRun run = runProgram(program, arguments);
    return run.exitCode == 0 ? QString::fromUtf8(run.output) : QString();
}

// The file names in a cabinet as gcab lists them, sorted.
QStringList cabinetContents(const QString& cabinet)
{
    QStringList names = readCabinet({QStringLiteral("-t"), cabinet}).split(u'\n', Qt::SkipEmptyParts);
    names.sort();
    return names;
}

void makeExecutable(const QString& path, const QByteArray& script)
{
    writeBytes(path, script);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

class FolderExportTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        mainWindow();
    }
    void TearDown() override { WindowTest::TearDown(); }

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
    QString folderPath(const QString& name) const { return kiosk.path(name); }
};

TEST_F(FolderExportTest, CabinetHoldsExactlyThePageSourcesAndPicturesByteForByte)
{
    QByteArray picture;
    for (int i = 0; i < 70000; ++i)
        picture.append(char((i * 131) % 251));
    const QStringList exported = {"IMG_0042.JPG", "archive.zel", "harbour.jpg", "today.zel"};
    for (const QString& name : exported)
        writeBytes(folderPath("news/" + name), picture.left(1000 * name.size()));
    for (const char* other : {"today.htm", "cat.gif", "images/today00001.jpg"})
        writeBytes(folderPath(QStringLiteral("news/") + other), "not exported");

    exportFolder(QStringLiteral("news"));

    EXPECT_TRUE(kiosk.messages.entries().empty()) << kiosk.messages.texts().join('|').toStdString();
    const QString cabinet = folderPath("news/news1.cab");
    EXPECT_EQ(cabinetContents(cabinet), exported);
    EXPECT_TRUE(readCabinet({QStringLiteral("-l"), cabinet}, QStringLiteral("cabextract")).contains("harbour.jpg"));
    QTemporaryDir out;
    readCabinet({QStringLiteral("-q"), QStringLiteral("-d"), out.path(), cabinet}, QStringLiteral("cabextract"));
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files, QDir::Name), exported);
    for (const QString& name : exported)
        EXPECT_EQ(readBytes(out.filePath(name)), readBytes(folderPath("news/" + name))) << name.toStdString();
}

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
        // Page sources in any letter case; hidden files and a folder named like a page stay out.
        {"mixed",
         {"Intro.ZEL", "beta.zel", ".draft.zel", ".thumb.jpg", "old.zel/x", "D.JPG"},
         {"beta.zel", "Intro.ZEL", "D.JPG"}},
    };
    for (const Row& row : rows) {
        const QString folder = folderPath(row.folder);
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
    }
}

TEST_F(FolderExportTest, SecondExportAndFolderNamesWithBlanks)
{
    writeBytes(folderPath("news/today.zel"), "#leaf\r\n");
    exportFolder(QStringLiteral("news"));
    writeBytes(folderPath("news/later.zel"), "#leaf\r\n");
    exportFolder(QStringLiteral("news"));
    EXPECT_EQ(readLines(folderPath("news/makecab.ddf")).mid(8), (QStringList{"later.zel", "today.zel"}));
    EXPECT_EQ(cabinetContents(folderPath("news/news1.cab")), (QStringList{"later.zel", "today.zel"}));

    writeBytes(folderPath("shop window/front door.jpg"), "jpeg bytes");
    exportFolder(QStringLiteral("shop window"));
    EXPECT_EQ(cabinetContents(folderPath("shop window/shop window1.cab")), QStringList{"front door.jpg"});
    EXPECT_TRUE(kiosk.messages.entries().empty());
}

TEST_F(FolderExportTest, MissingMakerFailingRunAndCancel)
{
    QTemporaryDir programs;
    TestSession run({.programFolder = programs.path(), .messages = &kiosk.messages});
    writeBytes(folderPath("news/today.zel"), "#leaf\r\n");
    main->mnuExportFolder_Click(); // no cabinet maker beside the program
    EXPECT_EQ(kiosk.messages.texts(),
              QStringList{QStringLiteral("Unable to export folder - unable to find system utility Makecab.exe")});
    EXPECT_EQ(author.shown, 0);
    EXPECT_FALSE(QFile::exists(folderPath("news/makecab.ddf")));

    // The real maker refuses a directive file naming a page that vanished after listing.
    writeBytes(folderPath("news/gone.zel"), "#leaf\r\n");
    makeExecutable(programs.filePath("zel-makecab"),
                   QStringLiteral("#!/bin/sh\nrm -f '%1'\nexec '%2/zel-makecab' \"$@\"\n")
                       .arg(folderPath("news/gone.zel"), QStringLiteral(ZEL_PROGRAM_DIR))
                       .toUtf8());
    kiosk.messages.clear();
    exportFolder(QStringLiteral("news"));
    EXPECT_EQ(kiosk.messages.texts(), QStringList{kFailure});
    EXPECT_TRUE(QFile::exists(folderPath("news/makecab.ddf")));
    EXPECT_FALSE(QFile::exists(folderPath("news/news1.cab")));

    kiosk.messages.clear();
    QFile::remove(folderPath("news/makecab.ddf"));
    exportFolder(QString()); // Cancel in the folder dialog
    EXPECT_TRUE(kiosk.messages.entries().empty());
    EXPECT_FALSE(QFile::exists(folderPath("news/makecab.ddf")));
}

} // namespace
