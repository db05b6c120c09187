// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
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

// A page source, and every byte value followed by a pseudo-random stretch spanning several data blocks.
const QByteArray page = QByteArray("<p>Opening hours of the reading room</p>\r\n").repeated(2000);
const QByteArray photo = [] {
    QByteArray bytes;
    for (quint32 i = 0, state = 12345; i < 150256; ++i, state = state * 1103515245u + 12345u)
        bytes.append(char(i < 256 ? i : state >> 24));
    return bytes;
}();

// What the tests put in a file of this name: N bytes of the photo for "N-...", the page for "*.zel", else
// the whole photo.
QByteArray contentOf(const QString& name)
{
    bool sized = false;
    const int size = name.section('-', 0, 0).toInt(&sized);
    return sized ? photo.mid(size, size) : name.endsWith(".zel") ? page : photo;
}

// Names in the cabinet in their stored order, as gcab lists them.
QStringList gcabNames(const QString& cabinet)
{
    return QString::fromUtf8(runProgram("gcab", {"-t", cabinet}).output).split('\n', Qt::SkipEmptyParts);
}

QStringList entries(const QString& folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

// A run on the folder's directive file: "" when it succeeds, else its failure. With the program's own
// limits and no hook the program itself runs: exit 0 and nothing on standard error, or exit 1 and one line.
// Otherwise the program's parts run, with these limits and this hook.
QString failureOf(const QString& folder, const CabinetLimits& limits = {}, SourceOpenedHook hook = {})
{
    if (limits.maximumFiles == CabinetLimits{}.maximumFiles && !hook) {
        const ProgramRun run = runProgram(ZEL_PROGRAM_DIR "/zel-makecab", {"/f", folder + "/makecab.ddf"});
        EXPECT_EQ(run.exitCode, run.error.isEmpty() ? 0 : 1);
        EXPECT_EQ(run.error.count('\n'), run.error.isEmpty() ? 0 : 1) << run.error.toStdString();
        return run.error;
    }
    try {
        writeCabinets(readDirectiveFile((folder + "/makecab.ddf").toStdString()), {limits, std::move(hook)});
    } catch (const MakecabError& error) {
        return QString::fromStdString(error.what());
    }
    return {};
}

class ZelMakecab : public ::testing::Test {
protected:
    // A new folder with these files ("|" between them, each with its contentOf()) and makecab.ddf: the
    // export's eight setting lines, then the given lines (by default the files).
    QString pageFolder(const QString& name, const QString& files, const QString& lines = {},
                       const QString& end = "\r\n")
    {
        const QString folder = root.path() + "/" + QString::number(++folders) + "/" + name;
        QDir().mkpath(folder);
        for (const QString& file : files.split('|'))
            writeBytes(folder + "/" + file, contentOf(file));
        const QStringList settings =
            QString(".OPTION EXPLICIT|.Set CabinetNameTemplate=%1*.cab|.set DiskDirectoryTemplate=%2|"
                    ".Set CompressionType = MSZIP|.Set MaxDiskSize = CDROM|.Set SourceDir=%2|"
                    ".Set Cabinet=on|.Set Compress=on|%3")
                .arg(name, folder, lines.isEmpty() ? files : lines)
                .split('|');
        writeBytes(folder + "/makecab.ddf", (settings.join(end) + end).toUtf8());
        return folder;
    }
    QTemporaryDir root;
    int folders = 0;
};

// Directive lines are "|" separated. The cabinets are read back with cabextract and gcab. Beyond a
// cabinet's file count or size (small limits, tried on the program's parts) the files continue, whole and
// in order, into the next cabinet of the template; each cabinet stands on its own. Files named like further
// cabinets that no run wrote stay. A fault fails the run naming it (a listed name that is absolute or
// climbs out of SourceDir with ".." by its line; a directive file that is no regular file), and the older
// cabinets stay as they were (a bad argument list: command_line_test.cpp).
TEST_F(ZelMakecab, CabinetsHoldTheListedFilesInOrderOrAFaultKeepsTheOlderOnes)
{
    const QString both = "today.zel|photo.jpg", outputFile = root.path() + "/output.txt";
    writeBytes(outputFile, "plain file");
    const struct {
        const char* name;
        QString files, lines = {}; // lines: by default the files
        QString failure = {};      // the failure contains this; empty: the run succeeds
        CabinetLimits limits = {};
        QList<int> perCabinet = {}; // none: all files in one cabinet
        int compression = 1;
        QString end = "\r\n", folder = "news";
    } rows[] = {
        {"LF", both, "", "", {}, {}, 1, "\n"},
        {"CR", both, "", "", {}, {}, 1, "\r"},
        {"empty file among others", "0-empty.zel|prices00001.jpg"},
        {"accents and blanks", "cr\u00e8me 1.zel|\u00e9t\u00e9 1.jpg", "", "", {}, {}, 1, "\r\n", "caf\u00e9"},
        {"NONE stores", both, ".Set CompressionType=NONE|" + both, "", {}, {}, 0},
        {"Compress off stores", both, ".Set Compress=off|" + both, "", {}, {}, 0},
        {"quotes, comments, blank lines", both, "; files||\"today.zel\"|  \"photo.jpg\"  "},
        {"letter case and blanks around =", both, ".set compressiontype  =  mszip |.SET MAXDISKSIZE=1457664|" + both},
        {"file count", "10-a|10-b|10-c|10-d|10-e|10-f|10-g", "", "", {3, 1000}, {3, 3, 1}},
        {"byte count", "60-a|40-b|1-c|99-d|100-e", "", "", {100, 100}, {2, 2, 1}},
        {"cabinet name with a folder", "1-a", ".Set CabinetNameTemplate=sub\\news*.cab|1-a",
         "must be a plain file name"},
        {"no star for a second cabinet", "1-a|1-b", ".Set CabinetNameTemplate=news1.cab|1-a|1-b", "has no *", {1, 9}},
        {"file larger than a cabinet", "50-a|101-b", "", "101-b\": its 101 bytes exceed", {10, 100}},
        {"unknown directive", "today.zel", "today.zel|.Frobnicate all", "line 10: unknown directive \".Frobnicate\""},
        {"missing file listed first", "today.zel", "gone.zel|today.zel", "gone.zel\" (listed on line 9): No such"},
        {"output folder is a file", "today.zel", ".set DiskDirectoryTemplate=" + outputFile + "|today.zel",
         "cannot create output folder \"" + outputFile},
        {"no files listed", "today.zel", "; nothing to pack", "no files to pack"},
        {"listed name is a folder", "today.zel", "today.zel|\".\"", "(listed on line 10): not a regular file"},
        {"absolute listed name", "today.zel", "today.zel|/etc/hostname", "line 10: absolute file name"},
        {"absolute listed name, backslash", "today.zel", "today.zel|\\etc\\hostname", "line 10: absolute file name"},
        {"listed name with a drive", "today.zel", "today.zel|C:today.zel", "line 10: absolute file name"},
        {"listed name climbing up", "today.zel", "today.zel|\"..\\news\\today.zel\"", "line 10: file name with \"..\""},
        {"listed name climbing up inside", "today.zel", "today.zel|sub/../../news/today.zel",
         "line 10: file name with \"..\""},
        {"one file under both separators", "sub/s.zel", "sub\\s.zel|SUB/S.zel",
         "line 10: file listed twice (first on line 9)"},
        {"directive file is a FIFO", "today.zel", "FIFO", "makecab.ddf\": not a regular file"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString folder = pageFolder(row.folder, row.files, row.lines, row.end);
        if (row.lines == "FIFO") {
            QFile::remove(folder + "/makecab.ddf");
            ASSERT_EQ(::mkfifo(QFile::encodeName(folder + "/makecab.ddf").constData(), 0600), 0);
        }
        const auto cabinet = [&](int number) { return folder + "/" + row.folder + QString::number(number) + ".cab"; };
        for (int number = 1; number <= 4; ++number)
            writeBytes(cabinet(number), "older cabinet");
        const QString failure = failureOf(folder, row.limits);
        if (!row.failure.isEmpty()) {
            EXPECT_TRUE(failure.contains(row.failure)) << failure.toStdString();
            for (int number = 1; number <= 4; ++number)
                EXPECT_EQ(readBytes(cabinet(number)), "older cabinet");
            EXPECT_TRUE(entries(folder).filter(".cab.").isEmpty()) << "temporary cabinet left";
            continue;
        }
        ASSERT_EQ(failure, "");
        const QStringList names = row.files.split('|');
        const QList<int> perCabinet = row.perCabinet.isEmpty() ? QList<int>{int(names.size())} : row.perCabinet;
        QStringList packed;
        for (int number = 1; number <= perCabinet.size(); ++number) {
            EXPECT_EQ(gcabNames(cabinet(number)).size(), perCabinet[number - 1]) << number;
            packed += gcabNames(cabinet(number));
            ASSERT_EQ(runProgram("cabextract", {"-q", "-d", folder + "/out", cabinet(number)}).exitCode, 0);
        }
        EXPECT_EQ(packed, names);
        for (const QString& file : names)
            EXPECT_EQ(readBytes(folder + "/out/" + file), contentOf(file)) << file.toStdString();
        EXPECT_EQ(readBytes(cabinet(perCabinet.size() + 1)), "older cabinet") << "a file no run wrote stays";
        // The first folder's compression type follows the 36-byte header.
        const QByteArray header = readBytes(cabinet(1));
        EXPECT_EQ(header.startsWith("MSCF") ? quint8(header[42]) | quint8(header[43]) << 8 : -1, row.compression);
    }
    EXPECT_EQ(readBytes(outputFile), "plain file");
}

// A listed file that changes or goes while the cabinets are written, or a full
// disk (here: a file size limit), fails the run naming the file and the
// reason; the older cabinet stays and no temporary file is left.
TEST_F(ZelMakecab, FilesChangingWhileReadOrAFullDiskFailTheRunAndKeepTheOldCabinet)
{
    rlimit noLimit{};
    getrlimit(RLIMIT_FSIZE, &noLimit);
    const rlimit small{20000, noLimit.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
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
        {"disk full", [&](const QString&) { setrlimit(RLIMIT_FSIZE, &small); }, "news1.cab\": File too large",
         "cannot write cabinet"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString folder = pageFolder("news", "photo.jpg|today.zel"), cabinet = folder + "/news1.cab";
        ASSERT_EQ(failureOf(folder), "");
        const QByteArray before = readBytes(cabinet);
        QFile(folder + "/photo.jpg")
            .setFileTime(QDateTime(QDate(2020, 5, 1), QTime(9, 0)), QFileDevice::FileModificationTime);
        const QString failure = failureOf(folder, {}, [&](const std::filesystem::path& opened) {
            if (opened.filename() == "photo.jpg")
                row.change(QString::fromStdString(opened.string()));
        });
        setrlimit(RLIMIT_FSIZE, &noLimit);
        EXPECT_TRUE(failure.contains(row.failure) && failure.contains(folder + "/" + row.file))
            << failure.toStdString();
        EXPECT_EQ(readBytes(cabinet), before);
        EXPECT_TRUE(entries(folder).filter(".news1.cab.").isEmpty()) << entries(folder).join(' ').toStdString();
    }
    std::signal(SIGXFSZ, oldHandler);
}

// A run that writes fewer cabinets than the run before removes the earlier run's higher-numbered cabinets,
// but not a file of such a name that no run wrote or that was replaced by hand since.
TEST_F(ZelMakecab, OnlyCabinetsOfEarlierRunsBeyondTheLastAreRemoved)
{
    const struct {
        const char* name;
        int earlierCabinets;        // written by the run before, with small limits
        QString ownCabinets;        // "|" separated numbers of files the user put there afterwards
        QString removed, kept = {}; // cabinet numbers after the second run, which writes one cabinet
    } rows[] = {
        {"earlier run's cabinets beyond the last", 3, "", "2|3"},
        {"user's own next cabinet", 1, "2", "", "2"},
        {"user's own cabinet beyond an earlier run's", 2, "3", "2", "3"},
        {"earlier run's cabinet replaced by hand", 3, "2", "3", "2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString folder = pageFolder("news", "10-a|10-b|10-c");
        const auto cabinet = [&](const QString& number) { return folder + "/news" + number + ".cab"; };
        ASSERT_EQ(failureOf(folder, {std::size_t((3 + row.earlierCabinets - 1) / row.earlierCabinets), 1000}), "");
        for (const QString& number : row.ownCabinets.split('|', Qt::SkipEmptyParts))
            writeBytes(cabinet(number), "the user's own cabinet");
        ASSERT_EQ(failureOf(folder), "");
        EXPECT_EQ(gcabNames(cabinet("1")), QStringList({"10-a", "10-b", "10-c"}));
        for (const QString& number : row.removed.split('|', Qt::SkipEmptyParts))
            EXPECT_FALSE(QFileInfo::exists(cabinet(number))) << number.toStdString();
        for (const QString& number : row.kept.split('|', Qt::SkipEmptyParts))
            EXPECT_EQ(readBytes(cabinet(number)), "the user's own cabinet") << number.toStdString();
    }
}

// Temporary cabinets of runs that died are removed by the next run in the
// folder; a locked one (a run still working), a fresh one and other files stay.
TEST_F(ZelMakecab, NextRunRemovesTemporariesOfDeadRunsOnly)
{
    const QString folder = pageFolder("news", "today.zel");
    const QStringList dead{".news1.cab.a1B2c3", ".news2.cab.Zz9900", ".other.CAB.000000"};
    // ".news2.cab.FrEsH1" is written just now: its run may be about to lock it.
    const QStringList kept{".news1.cab.LiVe01", ".notes.txt.a1B2c3", "news1.cab.a1B2c3",
                           ".news1.cab.a1B2c",  ".news1.cab.a1-2c3", ".news2.cab.FrEsH1"};
    for (const QString& name : dead + kept)
        writeBytes(folder + "/" + name, "partial cabinet");
    for (const QString& name : dead + QStringList{".news1.cab.LiVe01"})
        setModified(folder + "/" + name, QDateTime::currentDateTime().addSecs(-60));
    const int live = ::open(QFile::encodeName(folder + "/.news1.cab.LiVe01").constData(), O_RDONLY);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    ASSERT_EQ(failureOf(folder), "");
    ::close(live);
    QStringList expected = kept + QStringList{".news*.cab.written", "makecab.ddf", "news1.cab", "today.zel"};
    expected.sort();
    EXPECT_EQ(entries(folder), expected);
}

} // namespace
