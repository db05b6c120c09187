// Drives the zel-makecab program the way the folder export does: a real page
// folder, a directive file on disk, the program started with an argument list,
// and the cabinet read back with independent readers (cabextract and gcab).
// Cabinet limits and files changing while they are read are tried on the
// program's parts directly, with small limits and a hook.
#include "cabinet_writer.h"
#include "makecab_error.h"
#include "support/check_kiosk.h"
#include "support/kiosk_fixture.h"
#include "support/program_run.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

ProgramRun makecab(const QString& folder)
{
    return runProgram(ZEL_PROGRAM_DIR "/zel-makecab", {"/f", folder + "/makecab.ddf"});
}

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
    const QStringList settings =
        QString(".OPTION EXPLICIT|.Set CabinetNameTemplate=%1*.cab|.set DiskDirectoryTemplate=%2|"
                ".Set CompressionType = MSZIP|.Set MaxDiskSize = CDROM|.Set SourceDir=%2|"
                ".Set Cabinet=on|.Set Compress=on")
            .arg(name, folder)
            .split('|');
    writeBytes(folder + "/makecab.ddf", ((settings + lines).join(end) + end).toUtf8());
}

// Names in the cabinet in their stored order, as gcab lists them.
QStringList gcabNames(const QString& cabinet)
{
    return QString::fromUtf8(runProgram("gcab", {"-t", cabinet}).output).split('\n', Qt::SkipEmptyParts);
}

QStringList entries(const QString& folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

// What the tests put in a file of this name: nothing for "empty...", the page for "*.zel", else the photo.
QByteArray contentOf(const QString& name)
{
    return name.startsWith("empty") ? QByteArray() : name.endsWith(".zel") ? page : photo;
}

// Files of these names ("|" between them), each with its contentOf().
QList<std::pair<QString, QByteArray>> named(const QString& names)
{
    QList<std::pair<QString, QByteArray>> files;
    for (const QString& name : names.split('|'))
        files.append({name, contentOf(name)});
    return files;
}

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

// Directive lines are "|" separated; without any, the files are listed.
TEST_F(ZelMakecab, ReadersListAndExtractTheFilesByteIdentical)
{
    const struct {
        const char* name;
        QString folder, files, lines, end;
        int compression;
    } rows[] = {
        {"LF", "news", "today.zel|photo.jpg", "", "\n", 1},
        {"CR", "news", "today.zel|photo.jpg", "", "\r", 1},
        {"empty file among others", "prices", "empty.zel|prices00001.jpg", "", "\r\n", 1},
        {"accented names with blanks", "caf\u00e9", "cr\u00e8me br\u00fbl\u00e9e.zel|\u00e9t\u00e9 1.jpg", "", "\r\n",
         1},
        {"NONE stores", "news", "today.zel|photo.jpg", ".Set CompressionType=NONE|today.zel|photo.jpg", "\r\n", 0},
        {"Compress off stores", "news", "today.zel|photo.jpg", ".Set Compress=off|today.zel|photo.jpg", "\r\n", 0},
        {"quotes, comments, blank lines", "news", "today.zel|photo.jpg", "; files||\"today.zel\"|  \"photo.jpg\"  ",
         "\r\n", 1},
        {"letter case and blanks around =", "news", "today.zel|photo.jpg",
         ".set compressiontype  =  mszip |.SET MAXDISKSIZE=1457664|today.zel|photo.jpg", "\r\n", 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString folder = pageFolder(row.folder, named(row.files)), cabinet = folder + "/" + row.folder + "1.cab";
        writeDirectives(folder, row.folder, (row.lines.isEmpty() ? row.files : row.lines).split('|'), row.end);
        const ProgramRun result = makecab(folder);
        ASSERT_EQ(result.exitCode, 0) << result.error.toStdString();
        ASSERT_EQ(runProgram("cabextract", {"-q", "-d", folder + "/out", cabinet}).exitCode, 0);
        const QStringList expected = row.files.split('|');
        for (const QString& file : expected)
            EXPECT_EQ(readBytes(folder + "/out/" + file), contentOf(file)) << file.toStdString();
        EXPECT_EQ(gcabNames(cabinet), expected);
        const QByteArray header = readBytes(cabinet); // the first folder's compression type follows the 36-byte header
        EXPECT_EQ(header.startsWith("MSCF") ? quint8(header[42]) | quint8(header[43]) << 8 : -1, row.compression);
    }
}

// Faulty directive files and a bad argument list: a non-zero exit, one line
// naming the fault, and the cabinet of the run before kept as it was.
TEST_F(ZelMakecab, FaultsFailWithOneLineNamingItAndKeepTheCabinet)
{
    const struct {
        const char* name;
        QString lines, named; // "|" between them
    } rows[] = {
        {"unknown directive", "today.zel|.Frobnicate all", "line 10|.Frobnicate all"},
        {"missing file listed first", "gone.zel|today.zel", "line 9|gone.zel"},
        {"output folder is a file", ".set DiskDirectoryTemplate=ROOT/output.txt|today.zel", "ROOT/output.txt"},
        {"no files listed", "; nothing to pack", "no files to pack"},
        {"listed name is a folder", "today.zel|\"..\"", "line 10|not a regular file"},
    };
    writeBytes(root.path() + "/output.txt", "plain file");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString folder = pageFolder("news", named("today.zel|news1.cab"));
        writeDirectives(folder, "news", QString(row.lines).replace("ROOT", root.path()).split('|'));
        const ProgramRun result = makecab(folder);
        EXPECT_NE(result.exitCode, 0);
        EXPECT_EQ(result.error.count('\n'), 1) << result.error.toStdString();
        for (const QString& part : QString(row.named).replace("ROOT", root.path()).split('|'))
            EXPECT_TRUE(result.error.contains(part)) << result.error.toStdString();
        EXPECT_EQ(entries(folder), (QStringList{"makecab.ddf", "news1.cab", "today.zel"}));
        EXPECT_EQ(readBytes(folder + "/news1.cab"), photo);
    }
    EXPECT_EQ(readBytes(root.path() + "/output.txt"), "plain file");
    const QString folder = pageFolder("news", named("today.zel")), ddf = folder + "/makecab.ddf";
    writeDirectives(folder, "news", {"today.zel"});
    const ProgramRun usage = runProgram(ZEL_PROGRAM_DIR "/zel-makecab", {"/x", ddf});
    EXPECT_TRUE(usage.exitCode != 0 && usage.error.count('\n') == 1) << usage.error.toStdString();
    QFile::remove(ddf);
    ASSERT_EQ(::mkfifo(QFile::encodeName(ddf).constData(), 0600), 0);
    const ProgramRun fifo = makecab(folder);
    EXPECT_TRUE(fifo.exitCode == 1 && fifo.error.contains(ddf + "\": not a regular file")) << fifo.error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder + "/news1.cab"));
}

// The program's parts on the folder's directive file, with the given limits and hook.
std::vector<std::filesystem::path> writeCabinetsOf(const QString& folder, const CabinetLimits& limits = {},
                                                   SourceOpenedHook hook = {})
{
    return writeCabinets(readDirectiveFile((folder + "/makecab.ddf").toStdString()),
                         CabinetOptions{limits, std::move(hook)});
}

std::string failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const MakecabError& error) {
        return error.what();
    }
    return "no failure";
}

// Beyond a cabinet's file count or size the files continue, whole and in order,
// into the next cabinet of the template; each cabinet stands on its own, and
// numbered cabinets of an older, larger run are removed.
TEST_F(ZelMakecab, FullCabinetsContinueIntoTheNextNumber)
{
    const struct {
        const char* name;
        CabinetLimits limits;
        QList<int> sizes;
        QString nameTemplate;
        QList<int> perCabinet;
        const char* failure;
    } rows[] = {
        {"file count", {3, 1000}, {10, 10, 10, 10, 10, 10, 10}, "news*.cab", {3, 3, 1}, nullptr},
        {"byte count", {100, 100}, {60, 40, 1, 99, 100}, "news*.cab", {2, 2, 1}, nullptr},
        {"exactly full", {5, 1000}, {200, 200, 200, 200, 200}, "news*.cab", {5}, nullptr},
        {"empty files", {2, 10}, {0, 0, 0}, "news*.cab", {2, 1}, nullptr},
        {"no star for a second cabinet", {3, 1000}, {1, 1, 1, 1}, "news1.cab", {}, "CabinetNameTemplate has no *"},
        {"file larger than a cabinet", {10, 100}, {50, 101}, "news*.cab", {}, "file1.jpg\": its 101 bytes exceed"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QList<std::pair<QString, QByteArray>> files;
        QStringList names;
        for (int i = 0; i < row.sizes.size(); ++i)
            files.append({names.emplace_back(QStringLiteral("file%1.jpg").arg(i)), photo.mid(1000 * i, row.sizes[i])});
        const QString folder = pageFolder("news", files);
        auto cabinetName = [&](int number) { return QString(row.nameTemplate).replace("*", QString::number(number)); };
        for (int number = 1; number <= 4; ++number)
            writeBytes(folder + "/" + cabinetName(number), "older cabinet");
        writeDirectives(folder, "news", QStringList{".Set CabinetNameTemplate=" + row.nameTemplate} + names);
        const std::string failure = failureOf([&] { writeCabinetsOf(folder, row.limits); });
        if (row.failure) {
            EXPECT_NE(failure.find(row.failure), std::string::npos) << failure;
            for (int number = 1; number <= 4; ++number)
                EXPECT_EQ(readBytes(folder + "/" + cabinetName(number)), "older cabinet");
            continue;
        }
        ASSERT_EQ(failure, "no failure");
        QStringList packed;
        for (int number = 1; number <= row.perCabinet.size(); ++number) {
            const QString cabinet = folder + "/" + cabinetName(number);
            EXPECT_EQ(gcabNames(cabinet).size(), row.perCabinet[number - 1]) << number;
            packed += gcabNames(cabinet);
            ASSERT_EQ(runProgram("cabextract", {"-q", "-d", folder + "/out", cabinet}).exitCode, 0);
        }
        EXPECT_EQ(packed, names);
        for (const auto& [file, content] : files)
            EXPECT_EQ(readBytes(folder + "/out/" + file), content) << file.toStdString();
        EXPECT_FALSE(QFileInfo::exists(folder + "/" + cabinetName(row.perCabinet.size() + 1))) << "older cabinet left";
    }
}

// A listed file that changes or goes while the cabinets are written fails the
// run naming it; the older cabinet stays and no temporary file is left.
TEST_F(ZelMakecab, FilesChangingWhileReadFailTheRunAndKeepTheOldCabinet)
{
    const auto resize = [](qint64 size) { return [size](const QString& file) { QFile(file).resize(size); }; };
    const struct {
        const char* name;
        std::function<void(const QString&)> change;
        QString file;
        const char* failure;
    } rows[] = {
        {"shrinks", resize(1000), "photo.jpg", "became shorter while it was read"},
        {"grows", resize(photo.size() + 1), "photo.jpg", "became longer while it was read"},
        {"rewritten, same size", [](const QString& file) { writeBytes(file, QByteArray(photo.size(), 'x')); },
         "photo.jpg", "changed while it was read"},
        {"next file removed", [](const QString& file) { QFile::remove(QFileInfo(file).path() + "/today.zel"); },
         "today.zel", "No such file or directory"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString folder = pageFolder("news", named("photo.jpg|today.zel")), cabinet = folder + "/news1.cab";
        writeDirectives(folder, "news", {"photo.jpg", "today.zel"});
        ASSERT_EQ(makecab(folder).exitCode, 0);
        const QByteArray before = readBytes(cabinet);
        QFile(folder + "/photo.jpg")
            .setFileTime(QDateTime(QDate(2020, 5, 1), QTime(9, 0)), QFileDevice::FileModificationTime);
        const std::string failure = failureOf([&] {
            writeCabinetsOf(folder, {}, [&](const std::filesystem::path& opened) {
                if (opened.filename() == "photo.jpg")
                    row.change(QString::fromStdString(opened.string()));
            });
        });
        EXPECT_NE(failure.find(row.failure), std::string::npos) << failure;
        EXPECT_NE(failure.find((folder + "/" + row.file).toStdString()), std::string::npos) << failure;
        EXPECT_EQ(readBytes(cabinet), before);
        EXPECT_TRUE(entries(folder).filter(".news1.cab.").isEmpty()) << entries(folder).join(' ').toStdString();
    }
}

// A full disk (here: a file size limit) names the cabinet and the system's reason.
TEST_F(ZelMakecab, WriteFailureNamesTheCabinetAndTheReason)
{
    const QString folder = pageFolder("news", named("photo.jpg"));
    writeDirectives(folder, "news", {"photo.jpg", ".Set Compress=off"});
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 20000;
    setrlimit(RLIMIT_FSIZE, &small);
    const std::string failure = failureOf([&] { writeCabinetsOf(folder); });
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(failure, "cannot write cabinet \"" + (folder + "/news1.cab").toStdString() + "\": File too large");
    EXPECT_EQ(entries(folder), (QStringList{"makecab.ddf", "photo.jpg"}));
}

// Temporary cabinets of runs that died are removed by the next run in the
// folder; a locked one (a run still working), a fresh one and other files stay.
TEST_F(ZelMakecab, NextRunRemovesTemporariesOfDeadRunsOnly)
{
    const QString folder = pageFolder("news", named("today.zel"));
    const QStringList dead{".news1.cab.a1B2c3", ".news2.cab.Zz9900", ".other.CAB.000000"};
    // ".news2.cab.FrEsH1" is written just now: its run may be about to lock it.
    const QStringList kept{".news1.cab.LiVe01",   ".notes.txt.a1B2c3", "news1.cab.a1B2c3", ".news1.cab.a1B2c",
                           ".news1.cab.a1B2c3.x", ".news1.cab.a1-2c3", ".news2.cab.FrEsH1"};
    for (const QString& name : dead + kept)
        writeBytes(folder + "/" + name, "partial cabinet");
    for (const QString& name : dead + QStringList{".news1.cab.LiVe01"})
        setModified(folder + "/" + name, QDateTime::currentDateTime().addSecs(-60));
    const int live = ::open(QFile::encodeName(folder + "/.news1.cab.LiVe01").constData(), O_RDONLY);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    writeDirectives(folder, "news", {"today.zel"});
    const ProgramRun result = makecab(folder);
    ::close(live);
    ASSERT_EQ(result.exitCode, 0) << result.error.toStdString();
    QStringList expected = kept + QStringList{"makecab.ddf", "news1.cab", "today.zel"};
    expected.sort();
    EXPECT_EQ(entries(folder), expected);
}

} // namespace
