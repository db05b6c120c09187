// Drives the zel-makecab program the way the folder export does: a real page
// folder, a directive file on disk, the program started with an argument list,
// and the cabinet read back with independent readers (cabextract and gcab).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

const QString makecabProgram = QStringLiteral(ZEL_PROGRAM_DIR "/zel-makecab");

struct ProgramRun {
    int exitCode = -1;
    QString standardOutput;
    QString standardError;
};

ProgramRun runProgram(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForStarted() || !process.waitForFinished(120000)) {
        run.standardError = "could not run " + program + ": " + process.errorString();
        return run;
    }
    if (process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.standardOutput = QString::fromUtf8(process.readAllStandardOutput());
    run.standardError = QString::fromUtf8(process.readAllStandardError());
    return run;
}

ProgramRun runMakecab(const QString& directiveFile)
{
    return runProgram(makecabProgram, {QStringLiteral("/f"), directiveFile});
}

struct SourceFile {
    QString name;
    QByteArray content;
};

// Every byte value, then a pseudo-random stretch long enough to span several
// cabinet data blocks.
QByteArray binaryContent()
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(static_cast<char>(i));
    quint32 state = 12345;
    for (int i = 0; i < 150000; ++i) {
        state = state * 1103515245u + 12345u;
        bytes.append(static_cast<char>(state >> 24));
    }
    return bytes;
}

QByteArray pageSource()
{
    QByteArray text;
    for (int i = 0; i < 2000; ++i)
        text.append("<p>Opening hours of the reading room, line " + QByteArray::number(i) + "</p>\r\n");
    return text;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

// The eight setting lines the folder export writes, D being the folder's path.
QStringList exportSettings(const QString& folderPath, const QString& folderName)
{
    return {".OPTION EXPLICIT",
            ".Set CabinetNameTemplate=" + folderName + "*.cab",
            ".set DiskDirectoryTemplate=" + folderPath,
            ".Set CompressionType = MSZIP",
            ".Set MaxDiskSize = CDROM",
            ".Set SourceDir=" + folderPath,
            ".Set Cabinet=on",
            ".Set Compress=on"};
}

QString writeDirectiveFile(const QString& folderPath, const QStringList& lines, const QString& lineEnd = "\r\n")
{
    const QString path = folderPath + "/makecab.ddf";
    QByteArray text;
    for (const QString& line : lines)
        text += (line + lineEnd).toUtf8();
    writeBytes(path, text);
    return path;
}

// Names listed by "cabextract -l", in cabinet order; empty list on failure.
QStringList cabextractNames(const QString& cabinet)
{
    const ProgramRun run = runProgram("cabextract", {"-l", cabinet});
    if (run.exitCode != 0)
        return {"<cabextract failed: " + run.standardOutput + run.standardError + ">"};
    QStringList names;
    bool inTable = false;
    for (const QString& line : run.standardOutput.split('\n')) {
        if (line.startsWith("-----------+")) {
            inTable = true;
            continue;
        }
        if (inTable && line.trimmed().isEmpty())
            break;
        if (inTable)
            names.append(line.section(" | ", 2));
    }
    return names;
}

// Names listed by "gcab -t", in cabinet order.
QStringList gcabNames(const QString& cabinet)
{
    const ProgramRun run = runProgram("gcab", {"-t", cabinet});
    if (run.exitCode != 0)
        return {"<gcab failed: " + run.standardError + ">"};
    return run.standardOutput.split('\n', Qt::SkipEmptyParts);
}

// The compression type of the cabinet's first folder, read from its header
// (no reserved areas: the folder entry follows the 36-byte header).
int folderCompressionType(const QString& cabinet)
{
    const QByteArray bytes = readBytes(cabinet);
    if (bytes.size() < 44 || !bytes.startsWith("MSCF"))
        return -1;
    return static_cast<quint8>(bytes[42]) | (static_cast<quint8>(bytes[43]) << 8);
}

int fileCountInHeader(const QString& cabinet)
{
    const QByteArray bytes = readBytes(cabinet);
    if (bytes.size() < 36 || !bytes.startsWith("MSCF"))
        return -1;
    return static_cast<quint8>(bytes[28]) | (static_cast<quint8>(bytes[29]) << 8);
}

QStringList entriesOf(const QString& folderPath)
{
    return QDir(folderPath).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

bool isRoot()
{
    return geteuid() == 0;
}

constexpr int msZip = 1;
constexpr int stored = 0;

class ZelMakecabTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QFileInfo(makecabProgram).isExecutable()) << makecabProgram.toStdString();
    }

    QString makeFolder(const QString& name)
    {
        const QString path = root.path() + "/" + name;
        QDir().mkpath(path);
        return path;
    }

    QString makePageFolder(const QString& name, const QList<SourceFile>& files)
    {
        const QString path = makeFolder(name);
        for (const SourceFile& file : files)
            writeBytes(path + "/" + file.name, file.content);
        return path;
    }

    QTemporaryDir root;
};

struct CabinetRow {
    const char* name;
    QString folderName;
    QList<SourceFile> files;
    QStringList settingsAfterExport; // appended after the export's own settings
    QStringList fileLines;           // as written into the directive file
    QString lineEnd;
    int compressionType;
};

TEST_F(ZelMakecabTest, WritesCabinetThatReadersListAndExtractIdentically)
{
    const QList<SourceFile> pageAndPhoto = {{"today.zel", pageSource()}, {"photo.jpg", binaryContent()}};
    const QList<CabinetRow> rows = {
        {"page source and photo, CR LF", "news", pageAndPhoto, {}, {"today.zel", "photo.jpg"}, "\r\n", msZip},
        {"LF line ends", "news", pageAndPhoto, {}, {"today.zel", "photo.jpg"}, "\n", msZip},
        {"CR line ends", "news", pageAndPhoto, {}, {"today.zel", "photo.jpg"}, "\r", msZip},
        {"empty file among others", "prices",
         {{"empty.zel", {}}, {"prices.zel", pageSource()}, {"prices00001.jpg", binaryContent()}}, {},
         {"empty.zel", "prices.zel", "prices00001.jpg"}, "\r\n", msZip},
        {"folder and file names with blanks", "special offers",
         {{"spring sale.zel", pageSource()}, {"shop window.jpg", binaryContent()}}, {},
         {"spring sale.zel", "shop window.jpg"}, "\r\n", msZip},
        {"CompressionType NONE stores", "news", pageAndPhoto, {".Set CompressionType=NONE"},
         {"today.zel", "photo.jpg"}, "\r\n", stored},
        {"Compress off stores", "news", pageAndPhoto, {".Set Compress=off"}, {"today.zel", "photo.jpg"}, "\r\n",
         stored},
        {"quoted names, comments, blank lines", "news", pageAndPhoto,
         {"; the files follow", ""}, {"\"today.zel\"", "", "; photo next", "  \"photo.jpg\"  "}, "\r\n", msZip},
        {"lower-case names and blanks around =", "news", pageAndPhoto,
         {".set compressiontype   =   mszip  ", ".SET MAXDISKSIZE=1457664", ".set cabinet = ON"},
         {"today.zel", "photo.jpg"}, "\r\n", msZip},
    };

    int rowNumber = 0;
    for (const CabinetRow& row : rows) {
        SCOPED_TRACE(row.name);
        const QString folderPath = makePageFolder(QString::number(++rowNumber) + "/" + row.folderName, row.files);
        const QString directiveFile = writeDirectiveFile(
            folderPath, exportSettings(folderPath, row.folderName) + row.settingsAfterExport + row.fileLines,
            row.lineEnd);

        const ProgramRun run = runMakecab(directiveFile);
        ASSERT_EQ(run.exitCode, 0) << run.standardError.toStdString();
        EXPECT_TRUE(run.standardError.isEmpty()) << run.standardError.toStdString();

        const QString cabinet = folderPath + "/" + row.folderName + "1.cab";
        QStringList expectedNames;
        qint64 totalSize = 0;
        for (const SourceFile& file : row.files) {
            expectedNames.append(file.name);
            totalSize += file.content.size();
        }
        EXPECT_EQ(cabextractNames(cabinet), expectedNames);
        EXPECT_EQ(gcabNames(cabinet), expectedNames);
        EXPECT_EQ(folderCompressionType(cabinet), row.compressionType);
        if (row.compressionType == stored)
            EXPECT_GT(QFileInfo(cabinet).size(), totalSize);
        else
            EXPECT_LT(QFileInfo(cabinet).size(), totalSize);

        const QString extracted = makeFolder(QString::number(rowNumber) + "/extracted");
        const ProgramRun extraction = runProgram("cabextract", {"-q", "-d", extracted, cabinet});
        ASSERT_EQ(extraction.exitCode, 0) << extraction.standardError.toStdString();
        for (const SourceFile& file : row.files)
            EXPECT_EQ(readBytes(extracted + "/" + file.name), file.content) << file.name.toStdString();

        QStringList expectedEntries = expectedNames;
        expectedEntries << "makecab.ddf" << row.folderName + "1.cab";
        expectedEntries.sort();
        EXPECT_EQ(entriesOf(folderPath), expectedEntries) << "no temporary file left behind";
    }
}

TEST_F(ZelMakecabTest, SecondRunReplacesTheCabinet)
{
    const QString folderPath =
        makePageFolder("news", {{"today.zel", pageSource()}, {"old.jpg", binaryContent()}});
    const QString cabinet = folderPath + "/news1.cab";
    writeDirectiveFile(folderPath, exportSettings(folderPath, "news") + QStringList{"today.zel", "old.jpg"});
    ASSERT_EQ(runMakecab(folderPath + "/makecab.ddf").exitCode, 0);
    ASSERT_EQ(gcabNames(cabinet), (QStringList{"today.zel", "old.jpg"}));

    const QByteArray newPage = "<p>changed</p>\r\n";
    writeBytes(folderPath + "/today.zel", newPage);
    writeBytes(folderPath + "/new.jpg", binaryContent().left(5000));
    writeDirectiveFile(folderPath, exportSettings(folderPath, "news") + QStringList{"today.zel", "new.jpg"});
    const ProgramRun run = runMakecab(folderPath + "/makecab.ddf");

    ASSERT_EQ(run.exitCode, 0) << run.standardError.toStdString();
    EXPECT_EQ(cabextractNames(cabinet), (QStringList{"today.zel", "new.jpg"}));
    const QString extracted = makeFolder("extracted");
    ASSERT_EQ(runProgram("cabextract", {"-q", "-d", extracted, cabinet}).exitCode, 0);
    EXPECT_EQ(readBytes(extracted + "/today.zel"), newPage);
    EXPECT_EQ(entriesOf(folderPath),
              (QStringList{"makecab.ddf", "new.jpg", "news1.cab", "old.jpg", "today.zel"}));
}

TEST_F(ZelMakecabTest, ListWithoutFilesGivesCabinetWithoutFiles)
{
    const QString folderPath = makeFolder("empty folder");
    writeDirectiveFile(folderPath, exportSettings(folderPath, "empty folder"));

    const ProgramRun run = runMakecab(folderPath + "/makecab.ddf");

    ASSERT_EQ(run.exitCode, 0) << run.standardError.toStdString();
    const QString cabinet = folderPath + "/empty folder1.cab";
    EXPECT_EQ(fileCountInHeader(cabinet), 0);
    EXPECT_EQ(gcabNames(cabinet), QStringList());
}

TEST_F(ZelMakecabTest, UndeclaredVariableIsIgnoredWithoutOptionExplicit)
{
    const QString folderPath = makePageFolder("news", {{"today.zel", pageSource()}});
    QStringList lines = exportSettings(folderPath, "news");
    lines.removeFirst();
    lines << ".Set ReportColour=blue" << "today.zel";
    writeDirectiveFile(folderPath, lines);

    const ProgramRun run = runMakecab(folderPath + "/makecab.ddf");

    ASSERT_EQ(run.exitCode, 0) << run.standardError.toStdString();
    EXPECT_EQ(gcabNames(folderPath + "/news1.cab"), QStringList{"today.zel"});
}

TEST_F(ZelMakecabTest, MissingOutputFolderIsCreated)
{
    const QString folderPath = makePageFolder("news", {{"today.zel", pageSource()}});
    const QString outputFolder = root.path() + "/export/new folder";
    QStringList lines = exportSettings(folderPath, "news");
    lines[2] = ".set DiskDirectoryTemplate=" + outputFolder;
    writeDirectiveFile(folderPath, lines + QStringList{"today.zel"});

    const ProgramRun run = runMakecab(folderPath + "/makecab.ddf");

    ASSERT_EQ(run.exitCode, 0) << run.standardError.toStdString();
    EXPECT_EQ(cabextractNames(outputFolder + "/news1.cab"), QStringList{"today.zel"});
}

struct FaultyDirectivesRow {
    const char* name;
    QStringList linesAfterSettings; // after the eight export settings (lines 1 to 8)
    QStringList expectedInMessage;
};

TEST_F(ZelMakecabTest, FaultyDirectivesFailNamingTheLineAndLeaveNoCabinet)
{
    const QList<FaultyDirectivesRow> rows = {
        {"unknown directive under .OPTION EXPLICIT", {"today.zel", ".Frobnicate all"},
         {"line 10", ".Frobnicate all"}},
        {"unknown variable under .OPTION EXPLICIT", {".Set ReportColour = blue", "today.zel"},
         {"line 9", ".Set ReportColour = blue"}},
        {"listed file missing", {"today.zel", "missing.jpg"}, {"line 10", "missing.jpg"}},
        {"missing file listed before existing ones", {"gone.zel", "today.zel"}, {"line 9", "gone.zel"}},
        {"unsupported compression type", {".Set CompressionType=LZX:21", "today.zel"}, {"line 9", "LZX:21"}},
        {"Set without equals sign", {".Set Compress on", "today.zel"}, {"line 9", ".Set Compress on"}},
        {"switch neither on nor off", {".Set Compress=maybe", "today.zel"}, {"line 9", "maybe"}},
        {"MaxDiskSize not a size", {".Set MaxDiskSize=huge", "today.zel"}, {"line 9", "huge"}},
        {"unknown option", {".OPTION LAX", "today.zel"}, {"line 9", ".OPTION LAX"}},
        {"file name without closing quote", {"\"today.zel"}, {"line 9", "\"today.zel"}},
        {"file listed twice", {"today.zel", "TODAY.ZEL"}, {"line 10", "TODAY.ZEL"}},
        {"Cabinet off", {".Set Cabinet=off", "today.zel"}, {"line 9", "Cabinet=off"}},
    };

    int rowNumber = 0;
    for (const FaultyDirectivesRow& row : rows) {
        SCOPED_TRACE(row.name);
        const QString folderPath = makePageFolder(QString::number(++rowNumber) + "/news", {{"today.zel", pageSource()}});
        writeDirectiveFile(folderPath, exportSettings(folderPath, "news") + row.linesAfterSettings);

        const ProgramRun run = runMakecab(folderPath + "/makecab.ddf");

        EXPECT_NE(run.exitCode, 0);
        EXPECT_EQ(run.standardError.count('\n'), 1) << run.standardError.toStdString();
        for (const QString& expected : row.expectedInMessage)
            EXPECT_TRUE(run.standardError.contains(expected))
                << run.standardError.toStdString() << " lacks " << expected.toStdString();
        EXPECT_EQ(entriesOf(folderPath), (QStringList{"makecab.ddf", "today.zel"}));
    }
}

TEST_F(ZelMakecabTest, FailedRunKeepsTheOlderCabinetUnchanged)
{
    const QString folderPath = makePageFolder("news", {{"today.zel", pageSource()}});
    const QString cabinet = folderPath + "/news1.cab";
    writeDirectiveFile(folderPath, exportSettings(folderPath, "news") + QStringList{"today.zel"});
    ASSERT_EQ(runMakecab(folderPath + "/makecab.ddf").exitCode, 0);
    const QByteArray before = readBytes(cabinet);

    writeDirectiveFile(folderPath, exportSettings(folderPath, "news") + QStringList{"today.zel", "missing.jpg"});
    const ProgramRun run = runMakecab(folderPath + "/makecab.ddf");

    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(readBytes(cabinet), before);
    EXPECT_EQ(entriesOf(folderPath), (QStringList{"makecab.ddf", "news1.cab", "today.zel"}));
}

TEST_F(ZelMakecabTest, UnwritableOutputFolderFails)
{
    const QString folderPath = makePageFolder("news", {{"today.zel", pageSource()}});
    const QString outputFolder = makeFolder("locked");
    QFile::setPermissions(outputFolder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile probe(outputFolder + "/probe");
    if (probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        QFile::setPermissions(outputFolder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        GTEST_SKIP() << "folder permissions do not stop this user" << (isRoot() ? " (root)" : "");
    }
    QStringList lines = exportSettings(folderPath, "news");
    lines[2] = ".set DiskDirectoryTemplate=" + outputFolder;
    writeDirectiveFile(folderPath, lines + QStringList{"today.zel"});

    const ProgramRun run = runMakecab(folderPath + "/makecab.ddf");
    QFile::setPermissions(outputFolder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.standardError.contains(outputFolder)) << run.standardError.toStdString();
    EXPECT_EQ(entriesOf(outputFolder), QStringList());
}

TEST_F(ZelMakecabTest, OutputFolderThatIsAFileFails)
{
    const QString folderPath = makePageFolder("news", {{"today.zel", pageSource()}});
    const QString notAFolder = root.path() + "/output.txt";
    writeBytes(notAFolder, "plain file");
    QStringList lines = exportSettings(folderPath, "news");
    lines[2] = ".set DiskDirectoryTemplate=" + notAFolder;
    writeDirectiveFile(folderPath, lines + QStringList{"today.zel"});

    const ProgramRun run = runMakecab(folderPath + "/makecab.ddf");

    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(run.standardError.count('\n'), 1) << run.standardError.toStdString();
    EXPECT_TRUE(run.standardError.contains(notAFolder)) << run.standardError.toStdString();
    EXPECT_EQ(readBytes(notAFolder), QByteArray("plain file"));
    EXPECT_EQ(entriesOf(root.path()), QStringList{"output.txt"});
}

struct ArgumentsRow {
    const char* name;
    QStringList arguments;
};

TEST_F(ZelMakecabTest, BadArgumentListFailsWithOneLine)
{
    const QString folderPath = makePageFolder("news", {{"today.zel", pageSource()}});
    const QString directiveFile =
        writeDirectiveFile(folderPath, exportSettings(folderPath, "news") + QStringList{"today.zel"});
    const QList<ArgumentsRow> rows = {
        {"no arguments", {}},
        {"switch without file", {"/f"}},
        {"file without switch", {directiveFile}},
        {"unknown switch", {"/x", directiveFile}},
        {"extra argument", {"/f", directiveFile, "more"}},
        {"directive file missing", {"/f", folderPath + "/absent.ddf"}},
        {"directive file is a folder", {"/f", folderPath}},
    };

    for (const ArgumentsRow& row : rows) {
        SCOPED_TRACE(row.name);
        const ProgramRun run = runProgram(makecabProgram, row.arguments);
        EXPECT_NE(run.exitCode, 0);
        EXPECT_EQ(run.standardError.count('\n'), 1) << run.standardError.toStdString();
        EXPECT_FALSE(QFileInfo::exists(folderPath + "/news1.cab"));
    }
}

} // namespace
