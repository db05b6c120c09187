#include "app/frm_kiosk_system.h"
#include "dialogs/dlg_select_folder.h"
#include "platform/program_folder.h"
#include "support/kiosk_fixture.h"
#include "../dialogs/chooser_fixture.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kFailure = QStringLiteral("Sorry an error occurred when exporting the folder\r\n"
                                        "The cab file has not been created");

struct ToolRun {
    int exitCode;
    QString output;
};

ToolRun runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.waitForFinished(-1);
    return {process.exitCode(), QString::fromLocal8Bit(process.readAll())};
}

// The file names a real cabinet reader lists (gcab -t: names only), sorted.
QStringList cabinetContents(const QString& cabinet)
{
    const ToolRun listing = runTool(QStringLiteral("gcab"), {QStringLiteral("-t"), cabinet});
    EXPECT_EQ(listing.exitCode, 0) << listing.output.toStdString();
    QStringList names = listing.output.split(u'\n', Qt::SkipEmptyParts);
    for (QString& name : names)
        name = name.trimmed();
    names.sort();
    return names;
}

class FolderExportTest : public ChooserTest {
protected:
    void SetUp() override
    {
        ChooserTest::SetUp();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
        window = new frmKioskSystem;
    }

    void TearDown() override
    {
        setProgramFolderOverride(QString());
        delete window;
        ChooserTest::TearDown();
    }

    // Exports the folder through Tools, Export Folder, choosing it in the folder dialog.
    void exportFolder(const QString& name)
    {
        whenShown<dlgSelectFolder>([name](dlgSelectFolder& dialog) {
            const auto found = dialog.folderList()->findItems(name, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1);
            dialog.folderList()->setCurrentItem(found.first());
            dialog.okButton()->click();
        });
        window->mnuExportFolder_Click();
    }

    QString folderPath(const QString& name) const { return kiosk.path(name); }

    frmKioskSystem* window = nullptr;
    QTemporaryDir m_settings;
};

TEST_F(FolderExportTest, CabinetHoldsExactlyThePageSourcesAndPictures)
{
    QByteArray picture;
    for (int i = 0; i < 70000; ++i)
        picture.append(char((i * 131) % 251));
    writeBytes(folderPath("news/today.zel"), "#leaf\r\n#title Today\r\n");
    writeBytes(folderPath("news/archive.zel"), "#branch\r\n");
    writeBytes(folderPath("news/harbour.jpg"), picture);
    writeBytes(folderPath("news/IMG_0042.JPG"), picture.left(1000));
    writeBytes(folderPath("news/today.htm"), "<html>");
    writeBytes(folderPath("news/cat.gif"), "GIF89a");
    writeBytes(folderPath("news/images/today00001.jpg"), "scaled");

    exportFolder(QStringLiteral("news"));

    EXPECT_TRUE(kiosk.messages.entries().empty()) << kiosk.messages.texts().join('|').toStdString();
    const QString cabinet = folderPath("news/news1.cab");
    ASSERT_TRUE(QFile::exists(cabinet));
    EXPECT_EQ(cabinetContents(cabinet),
              (QStringList{"IMG_0042.JPG", "archive.zel", "harbour.jpg", "today.zel"}));

    QTemporaryDir out;
    const ToolRun extract = runTool(QStringLiteral("cabextract"), {QStringLiteral("-q"), QStringLiteral("-d"), out.path(), cabinet});
    ASSERT_EQ(extract.exitCode, 0) << extract.output.toStdString();
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{"IMG_0042.JPG", "archive.zel", "harbour.jpg", "today.zel"}));
    for (const char* name : {"today.zel", "archive.zel", "harbour.jpg", "IMG_0042.JPG"})
        EXPECT_EQ(readBytes(QDir(out.path()).filePath(name)), readBytes(folderPath(QStringLiteral("news/") + name))) << name;
    const ToolRun listing = runTool(QStringLiteral("cabextract"), {QStringLiteral("-l"), cabinet});
    EXPECT_EQ(listing.exitCode, 0);
    EXPECT_TRUE(listing.output.contains(QStringLiteral("harbour.jpg")));
}

TEST_F(FolderExportTest, DirectiveFileHasTheSettingsThenPagesThenPicturesSortedByName)
{
    struct Row {
        const char* folder;
        QStringList files;
        QStringList listed;
    } rows[] = {
        {"empty", {"notes.txt"}, {}},
        {"shop", {"zoo.zel", "alpha.zel", "b.jpg", "a.jpg", "a.htm", "c.jpeg"},
         {"alpha.zel", "zoo.zel", "a.jpg", "b.jpg", "c.jpeg"}},
    };
    for (const Row& row : rows) {
        const QString folder = folderPath(row.folder);
        for (const QString& file : row.files)
            writeBytes(folder + QDir::separator() + file, "x");
        exportFolder(QString::fromLatin1(row.folder));
        const QStringList settings = {".OPTION EXPLICIT", ".Set CabinetNameTemplate=" + QString(row.folder) + "*.cab",
                                      ".set DiskDirectoryTemplate=" + folder, ".Set CompressionType = MSZIP",
                                      ".Set MaxDiskSize = CDROM", ".Set SourceDir=" + folder, ".Set Cabinet=on",
                                      ".Set Compress=on"};
        EXPECT_EQ(readLines(folder + "/makecab.ddf"), settings + row.listed) << row.folder;
        EXPECT_EQ(readBytes(folder + "/makecab.ddf").count("\r\n"), settings.size() + row.listed.size());
    }
}

TEST_F(FolderExportTest, SecondExportReplacesDirectiveFileAndCabinet)
{
    writeBytes(folderPath("news/today.zel"), "#leaf\r\n");
    exportFolder(QStringLiteral("news"));
    writeBytes(folderPath("news/later.zel"), "#leaf\r\n");
    exportFolder(QStringLiteral("news"));
    EXPECT_TRUE(kiosk.messages.entries().empty());
    EXPECT_EQ(readLines(folderPath("news/makecab.ddf")).mid(8), (QStringList{"later.zel", "today.zel"}));
    EXPECT_EQ(cabinetContents(folderPath("news/news1.cab")), (QStringList{"later.zel", "today.zel"}));
}

TEST_F(FolderExportTest, FolderNameWithBlanksNeedsNoQuoting)
{
    writeBytes(folderPath("shop window/display.zel"), "#leaf\r\n");
    writeBytes(folderPath("shop window/front door.jpg"), "jpeg bytes");
    exportFolder(QStringLiteral("shop window"));
    EXPECT_TRUE(kiosk.messages.entries().empty()) << kiosk.messages.texts().join('|').toStdString();
    EXPECT_EQ(cabinetContents(folderPath("shop window/shop window1.cab")),
              (QStringList{"display.zel", "front door.jpg"}));
}

TEST_F(FolderExportTest, MissingCabinetMakerIsReportedBeforeAnything)
{
    QTemporaryDir emptyProgramFolder;
    setProgramFolderOverride(emptyProgramFolder.path());
    writeBytes(folderPath("news/today.zel"), "#leaf\r\n");
    window->mnuExportFolder_Click();
    EXPECT_EQ(kiosk.messages.texts(),
              QStringList{QStringLiteral("Unable to export folder - unable to find system utility Makecab.exe")});
    EXPECT_EQ(shownCount, 0);
    EXPECT_FALSE(QFile::exists(folderPath("news/makecab.ddf")));
}

TEST_F(FolderExportTest, RealCabinetMakerFailureLeavesNoCabinet)
{
    // A page source that vanishes between listing and packing: the real
    // cabinet maker refuses the directive file and writes nothing.
    QTemporaryDir programs;
    setProgramFolderOverride(programs.path());
    const QString wrapper = programs.filePath(QStringLiteral("zel-makecab"));
    writeBytes(wrapper, QStringLiteral("#!/bin/sh\nrm -f '%1'\nexec '%2/zel-makecab' \"$@\"\n")
                            .arg(folderPath("news/gone.zel"), QStringLiteral(ZEL_PROGRAM_DIR))
                            .toUtf8());
    QFile::setPermissions(wrapper, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeBytes(folderPath("news/today.zel"), "#leaf\r\n");
    writeBytes(folderPath("news/gone.zel"), "#leaf\r\n");
    exportFolder(QStringLiteral("news"));
    EXPECT_EQ(kiosk.messages.texts(), QStringList{kFailure});
    EXPECT_FALSE(QFile::exists(folderPath("news/news1.cab")));
}

TEST_F(FolderExportTest, CancelledFolderChoiceWritesNothing)
{
    writeBytes(folderPath("news/today.zel"), "#leaf\r\n");
    whenShown<dlgSelectFolder>([](dlgSelectFolder& dialog) { dialog.cancelButton()->click(); });
    window->mnuExportFolder_Click();
    EXPECT_TRUE(kiosk.messages.entries().empty());
    EXPECT_FALSE(QFile::exists(folderPath("news/makecab.ddf")));
}

} // namespace
