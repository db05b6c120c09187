// Drives the zel-makecab program the way the folder export does: a real page
// folder, a directive file on disk, the program started with an argument list,
// and the cabinet read back with independent readers (cabextract and gcab).
#include "support/kiosk_fixture.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ProgramRun { int exitCode = -1; QString output, error; };

ProgramRun run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, {}, "could not run " + program};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

ProgramRun makecab(const QString& folder) { return run(ZEL_PROGRAM_DIR "/zel-makecab", {"/f", folder + "/makecab.ddf"}); }

// A page source, and every byte value followed by a pseudo-random stretch spanning several data blocks.
const QByteArray page = QByteArray("<p>Opening hours of the reading room</p>\r\n").repeated(2000);
const QByteArray photo = [] {
    QByteArray bytes;
    for (quint32 i = 0, state = 12345; i < 150256; ++i, state = state * 1103515245u + 12345u)
        bytes.append(char(i < 256 ? i : state >> 24));
    return bytes;
}();

// Writes makecab.ddf: the export's eight setting lines, then the given lines.
void writeDirectives(const QString& folder, const QString& name, const QStringList& lines, const QString& end = "\r\n")
{
    const QStringList settings{".OPTION EXPLICIT", ".Set CabinetNameTemplate=" + name + "*.cab", ".set DiskDirectoryTemplate=" + folder,
                               ".Set CompressionType = MSZIP", ".Set MaxDiskSize = CDROM", ".Set SourceDir=" + folder, ".Set Cabinet=on", ".Set Compress=on"};
    writeBytes(folder + "/makecab.ddf", ((settings + lines).join(end) + end).toUtf8());
}

// Names in the cabinet as "cabextract -l" lists them (the table's last column).
QStringList cabextractNames(const QString& cabinet)
{
    const QStringList lines = run("cabextract", {"-l", cabinet}).output.split('\n');
    QStringList names;
    for (qsizetype i = lines.indexOf(QRegularExpression("^-+\\+.*")) + 1; i > 0 && i < lines.size() && !lines[i].isEmpty(); ++i)
        names += lines[i].section(" | ", 2);
    return names;
}

QStringList gcabNames(const QString& cabinet) { return run("gcab", {"-t", cabinet}).output.split('\n', Qt::SkipEmptyParts); }

QStringList entries(const QString& folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

class ZelMakecab : public ::testing::Test {
protected:
    QString pageFolder(const QString& name, const QList<std::pair<QString, QByteArray>>& files)
    {
        const QString folder = root.path() + "/" + QString::number(++folders) + "/" + name;
        QDir().mkpath(folder);
        for (const auto& [file, content] : files)
            writeBytes(folder + "/" + file, content);
        return folder;
    }
    QTemporaryDir root;
    int folders = 0;
};

TEST_F(ZelMakecab, ReadersListAndExtractTheFilesByteIdentical)
{
    const QList<std::pair<QString, QByteArray>> pageAndPhoto{{"today.zel", page}, {"photo.jpg", photo}};
    const QStringList names{"today.zel", "photo.jpg"};
    const struct { const char* name; QString folder; QList<std::pair<QString, QByteArray>> files; QStringList lines; QString end; int compression; } rows[] = {
        {"CR LF", "news", pageAndPhoto, names, "\r\n", 1}, {"LF", "news", pageAndPhoto, names, "\n", 1}, {"CR", "news", pageAndPhoto, names, "\r", 1},
        {"empty file among others", "prices", {{"empty.zel", {}}, {"prices00001.jpg", photo}}, {"empty.zel", "prices00001.jpg"}, "\r\n", 1},
        {"blanks in names", "special offers", {{"spring sale.zel", page}, {"shop window.jpg", photo}}, {"spring sale.zel", "shop window.jpg"}, "\r\n", 1},
        {"NONE stores", "news", pageAndPhoto, QStringList{".Set CompressionType=NONE"} + names, "\r\n", 0},
        {"Compress off stores", "news", pageAndPhoto, QStringList{".Set Compress=off"} + names, "\r\n", 0},
        {"quotes, comments, blank lines", "news", pageAndPhoto, {"; files", "", "\"today.zel\"", "  \"photo.jpg\"  "}, "\r\n", 1},
        {"letter case and blanks around =", "news", pageAndPhoto, {".set compressiontype  =  mszip ", ".SET MAXDISKSIZE=1457664", "today.zel", "photo.jpg"}, "\r\n", 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString folder = pageFolder(row.folder, row.files), cabinet = folder + "/" + row.folder + "1.cab";
        writeDirectives(folder, row.folder, row.lines, row.end);
        const ProgramRun result = makecab(folder);
        ASSERT_EQ(result.exitCode, 0) << result.error.toStdString();
        ASSERT_EQ(run("cabextract", {"-q", "-d", folder + "/out", cabinet}).exitCode, 0);
        QStringList expected;
        for (const auto& [file, content] : row.files)
            EXPECT_EQ(readBytes(folder + "/out/" + (expected << file).last()), content) << file.toStdString();
        EXPECT_EQ(cabextractNames(cabinet), expected);
        EXPECT_EQ(gcabNames(cabinet), expected);
        const QByteArray header = readBytes(cabinet); // the first folder's compression type follows the 36-byte header
        EXPECT_EQ(header.startsWith("MSCF") ? quint8(header[42]) | quint8(header[43]) << 8 : -1, row.compression);
        EXPECT_EQ(QFileInfo(cabinet).size() > page.size() + photo.size(), row.compression == 0);
        QStringList all = expected + QStringList{"makecab.ddf", row.folder + "1.cab"};
        all.sort();
        EXPECT_EQ(entries(folder), all) << "leftovers";
    }
}

TEST_F(ZelMakecab, SecondRunReplacesTheCabinetAndAFailedRunKeepsIt)
{
    const QString folder = pageFolder("news", {{"today.zel", page}, {"old.jpg", photo}}), cabinet = folder + "/news1.cab";
    writeDirectives(folder, "news", {"today.zel", "old.jpg"});
    ASSERT_EQ(makecab(folder).exitCode, 0);
    writeBytes(folder + "/today.zel", "<p>changed</p>\r\n");
    writeBytes(folder + "/new.jpg", photo.left(5000));
    writeDirectives(folder, "news", {"today.zel", "new.jpg"});
    ASSERT_EQ(makecab(folder).exitCode, 0);
    EXPECT_EQ(cabextractNames(cabinet), (QStringList{"today.zel", "new.jpg"}));
    ASSERT_EQ(run("cabextract", {"-q", "-d", root.path() + "/out", cabinet}).exitCode, 0);
    EXPECT_EQ(readBytes(root.path() + "/out/today.zel"), "<p>changed</p>\r\n");
    const QByteArray before = readBytes(cabinet);
    writeDirectives(folder, "news", {"today.zel", "missing.jpg"});
    EXPECT_NE(makecab(folder).exitCode, 0);
    EXPECT_EQ(readBytes(cabinet), before);
}

TEST_F(ZelMakecab, FolderWithNoFilesGivesAnEmptyCabinet)
{
    const QString empty = pageFolder("empty folder", {});
    writeDirectives(empty, "empty folder", {});
    ASSERT_EQ(makecab(empty).exitCode, 0);
    EXPECT_EQ(readBytes(empty + "/empty folder1.cab").mid(28, 2), QByteArray(2, 0)) << "file count";
}

// Faulty directive files and a bad argument list: a non-zero exit, one line naming the fault, no cabinet.
TEST_F(ZelMakecab, FaultsFailWithOneLineNamingItAndLeaveNoCabinet)
{
    const struct { const char* name; QStringList lines; QStringList named; } rows[] = {
        {"unknown directive", {"today.zel", ".Frobnicate all"}, {"line 10", ".Frobnicate all"}},
        {"listed file missing", {"today.zel", "missing.jpg"}, {"line 10", "missing.jpg"}}, {"missing file listed first", {"gone.zel", "today.zel"}, {"line 9", "gone.zel"}},
        {"output folder is a file", {".set DiskDirectoryTemplate=ROOT/output.txt", "today.zel"}, {"ROOT/output.txt"}},
    };
    writeBytes(root.path() + "/output.txt", "plain file");
    for (const auto& row : rows) {
        const QString folder = pageFolder("news", {{"today.zel", page}});
        writeDirectives(folder, "news", QStringList(row.lines).replaceInStrings("ROOT", root.path()));
        const ProgramRun result = makecab(folder);
        EXPECT_NE(result.exitCode, 0) << row.name;
        EXPECT_EQ(result.error.count('\n'), 1) << row.name << ": " << result.error.toStdString();
        for (QString named : row.named)
            EXPECT_TRUE(result.error.contains(named.replace("ROOT", root.path()))) << row.name << ": " << result.error.toStdString();
        EXPECT_EQ(entries(folder), (QStringList{"makecab.ddf", "today.zel"})) << row.name;
    }
    EXPECT_EQ(readBytes(root.path() + "/output.txt"), "plain file");
    const QString folder = pageFolder("news", {{"today.zel", page}}), ddf = folder + "/makecab.ddf";
    writeDirectives(folder, "news", {"today.zel"});
    const ProgramRun usage = run(ZEL_PROGRAM_DIR "/zel-makecab", {"/x", ddf});
    EXPECT_TRUE(usage.exitCode != 0 && usage.error.count('\n') == 1) << usage.error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder + "/news1.cab"));
}

} // namespace
