// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Scales real pictures as the page maker does: the size computation, the copy
// made without an image tool, failing and recording stand-in tools, and the
// one-time tool lookup. Reads the size of real JPEG files, made by real
// encoders and then cut and patched, the way the page maker meets an author's
// pictures, and the copy record of an images folder.
#include "support/executable_script.h"
#include "support/recording_problems.h"
#include "imaging/copy_job.h"
#include "imaging/copy_record.h"
#include "imaging/jpeg_decode_check.h"
#include "imaging/image_scaling.h"
#include "imaging/image_tool.h"
#include "imaging/jpeg_size.h"
#include "imaging/picture_size.h"

#include "platform/session.h"
#include "platform/user_settings.h"
#include "sample_pictures.h"
#include "support/kiosk_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class ImageScaling : public ::testing::Test {
protected:
    ImageScaling()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path("settings"));
        QDir().mkpath(path("page/images"));
    }
    // A new run of the program with this image tool.
    void runWith(const QString& program, int timeLimitMs = 60 * 1000)
    {
        session.reset();
        session.emplace(TestSession::Options{.imageTool = ImageToolChoice{program, timeLimitMs, true}});
    }
    QString path(const QString& relative) const { return dir.path() + "/" + relative; }

    // A stand-in image tool: a shell script with this body; by default it writes its
    // arguments, one a line, to tool-arguments.txt and copies the source.
    QString writeTool(const QString& relative, const QString& body = {}, bool executable = true)
    {
        const QString recording =
            "printf '%s\\n' \"$@\" > '" + path("tool-arguments.txt") + "'\ncp \"$1\" \"${3#/convert=}\"";
        return writeExecutableScript(path(relative), body.isEmpty() ? recording : body, executable);
    }
    bool toolRan() const { return QFileInfo::exists(path("tool-arguments.txt")); }

    QString picture(int width, int height, int orientation = 0, const QString& name = "page/source.jpg")
    {
        const QByteArray bytes = encodedPicture(dir.path(), width, height);
        writeBytes(path(name), orientation ? withFirstSegment(bytes, exifSegment(orientation, false)) : bytes);
        return path(name);
    }
    // "height x width" as scaleImage reports it.
    std::string scale(const QString& source, int boxHeight, int boxWidth, bool noScaleUp = false)
    {
        std::int32_t height = -1, width = -1;
        ProblemBoxes problems(session->messages);
        Jpeg::CopiesInPlace copies(run ? *run : session->session(), problems);
        Jpeg::scaleImage(source, destination, boxHeight, boxWidth, height, width, noScaleUp, &copies, problems,
                         {"page.zel", 7, "#image source.jpg"});
        return std::to_string(height) + "x" + std::to_string(width);
    }

    // "height x width" of a picture of these bytes, or "0x0 (n messages)" when it gave messages.
    std::string measure(const QByteArray& bytes)
    {
        writeBytes(path("odd.jpg"), bytes), messages().clear();
        std::int32_t height = -1, width = -1;
        ProblemBoxes problems(session->messages);
        Jpeg::GetSize(path("odd.jpg"), height, width, problems, {});
        const int count = int(messages().texts().size());
        return std::to_string(height) + "x" + std::to_string(width)
               + (count ? " (" + std::to_string(count) + " messages)" : "");
    }

    QTemporaryDir dir;
    const QString destination = path("page/images/prices00001.jpg");
    std::optional<TestSession> session{std::in_place};
    Session* run = nullptr; // another run's session, when a test builds one
    RecordingMessages& messages() { return session->messages; }
};

// Picture boxes the made pages do not show: a box limited by its height, rounding
// half to even, a turned picture's displayed size, and no box at all.
TEST_F(ImageScaling, BoxesGiveTheFittedSize)
{
    const struct {
        const char* name;
        int width, height, orientation, boxHeight, boxWidth;
        const char* scaled;
    } rows[] = {
        {"height limits in box", 600, 800, 0, 500, 500, "500x375"},
        {"half up to even", 4, 6, 0, 0, 1, "2x1"},
        {"turned, displayed size", 200, 100, 6, 0, 50, "100x50"},
        {"no box keeps own size", 640, 480, 0, 0, -3, "480x640"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        messages().clear();
        const QString source = picture(row.width, row.height, row.orientation);
        EXPECT_EQ(scale(source, row.boxHeight, row.boxWidth), row.scaled);
        EXPECT_EQ(messages().texts(), row.boxWidth < 1 && row.boxHeight < 1
                                          ? QStringList{"Scaling error in Jpeg.scaleImage"}
                                          : QStringList{});
    }
}

// The configured tool gets the three arguments (even at scale one). When it fails
// the picture is copied unchanged and a message says why; when it cannot read
// the picture (exit status 3) there is no copy and an older one is removed. The
// old copy stays in place until it is replaced.
TEST_F(ImageScaling, ToolGetsThreeArgumentsAndFailingToolsFallBackToAnUnchangedCopy)
{
    runWith(writeTool("tools/recording tool"));
    const QString cat = picture(800, 600, 0, "my pictures/cat photo.jpg");
    EXPECT_EQ(scale(cat, 0, 500), "375x500");
    EXPECT_EQ(readLines(path("tool-arguments.txt")),
              (QStringList{cat, "/resample=(500,375)", "/convert=" + destination}));
    QFile::remove(path("tool-arguments.txt"));
    EXPECT_EQ(scale(picture(228, 171), 171, 228, true), "171x228");
    EXPECT_TRUE(toolRan());

    runWith(path("tools/recording tool"), 300);
    const struct {
        const char* name;
        const char* body;
        const char* problem;
    } rows[] = {
        {"cannot read the picture", "echo 'zel-resample: bad data' >&2; exit 3", "bad data"},
        {"other tool failure", "echo 'zel-resample: disk full' >&2; exit 1",
         "the image tool failed (exit status 1) disk full, copied unchanged"},
        {"killed", "kill -9 $$", "the image tool crashed, copied unchanged"},
        {"hangs", "exec sleep 30", "the image tool did not finish within 0.3 s, copied unchanged"},
    };
    for (const auto& row : rows) {
        writeTool("tools/recording tool", row.body);
        writeBytes(destination, "copy left by an earlier make");
        messages().clear();
        EXPECT_EQ(scale(cat, 0, 500), "375x500") << row.name;
        const QString said = messages().texts().join("|");
        EXPECT_TRUE(said.startsWith("Picture " + cat + " could not be resampled: " + row.problem)
                    && said.endsWith("\r\nIn line - #image source.jpg\r\nIn file - page.zel"))
            << row.name << " " << said.toStdString();
        if (row.problem == std::string_view("bad data"))
            EXPECT_FALSE(QFileInfo::exists(destination)) << row.name;
        else
            EXPECT_EQ(readBytes(destination), readBytes(cat)) << row.name;
    }
}

// The tool gets the kiosk system's page background (its style sheet's body
// colour) for transparent pictures, read again whenever the sheet changes.
TEST_F(ImageScaling, ToolGetsThePageBackgroundOfTheCurrentStyleSheet)
{
    runWith(writeTool("tools/recording tool", "printf '%s' \"$ZEL_PICTURE_BACKGROUND\" > '" + path("background.txt")
                                                  + "'\ncp \"$1\" \"${3#/convert=}\""));
    const QString cat = picture(80, 60);
    const struct {
        const char* name;
        const char* sheet; // nullptr: no style sheet
        const char* background;
    } rows[] = {
        {"no style sheet", nullptr, ""},
        {"body colour", "h1 { color: #000000 }\nbody { margin: 0; background: #112233 }", "#112233"},
        {"same sheet again", "h1 { color: #000000 }\nbody { margin: 0; background: #112233 }", "#112233"},
        {"colour changed", "body { background-color: #445566 }", "#445566"},
        {"no body colour", "body { margin: 0 }", ""},
        {"sheet removed", nullptr, ""},
    };
    for (const auto& row : rows) {
        QFile::remove(path("stylesheet.css"));
        if (row.sheet != nullptr)
            writeBytes(path("stylesheet.css"), row.sheet);
        EXPECT_EQ(scale(cat, 60, 80), "60x80") << row.name;
        EXPECT_EQ(readBytes(path("background.txt")), QByteArray(row.background)) << row.name;
    }
}

// A session given no image tool looks it up in the settings once, on first use.
TEST_F(ImageScaling, NoToolMeansUnchangedCopiesAndOneLookupPerRun)
{
    const QString source = picture(100, 100);
    const QString programFolder = QDir::toNativeSeparators(path("program")) + QDir::separator();
    // No key (the tool beside the program appears after the lookup), an empty value, a value that is no path.
    for (const char* value : {"", "program=", "program=first, second"}) {
        writeBytes(path("settings/ZEL_Editor.ini"), QByteArray("[ImageTool]\n") + value + "\n");
        QFile::remove(path("program/zel-resample"));
        if (*value)
            writeTool("program/zel-resample");
        Session thisRun({.messages = &messages(), .programFolder = programFolder});
        run = &thisRun;
        scale(source, 0, 500);
        writeTool("program/zel-resample"); // installed while the program runs
        EXPECT_EQ(scale(source, 0, 500), "500x500") << value;
        EXPECT_FALSE(toolRan()) << value;
        EXPECT_EQ(readBytes(destination), readBytes(source)) << value;
    }
    EXPECT_EQ(messages().texts(), QStringList{"JPEG.IrfanViewAvailable - Error 13\r\nType mismatch"});
    QFile::remove(path("settings/ZEL_Editor.ini"));
    Session nextRun({.messages = &messages(), .programFolder = programFolder}); // a new run finds the tool
    run = &nextRun;
    scale(source, 0, 500);
    run = nullptr;
    EXPECT_TRUE(toolRan());
}

// Every picture format an author brings gives its displayed size from its
// header, by its content whatever its name; without a working image tool it
// gets no copy, since only a JPEG may be copied unchanged.
TEST_F(ImageScaling, EveryPictureFormatGivesItsDisplayedSizeAndWithoutAToolNoCopy)
{
    const QString plain = path("plain.ppm");
    ASSERT_EQ(QProcess::execute("convert", {"-size", "200x100", "gradient:yellow-green", plain}), 0);
    const struct {
        const char* name;
        QStringList options; // convert's, after the input
        const char* size;
    } rows[] = {
        {"page/a.png", {}, "100x200"},
        {"page/a.gif", {}, "100x200"},
        {"page/lossy.webp", {}, "100x200"},
        {"page/lossless.webp", {"-define", "webp:lossless=true"}, "100x200"},
        {"page/animated.webp", {"(", "-size", "200x100", "xc:red", ")", "-loop", "0"}, "100x200"},
        {"page/a.heic", {}, "100x200"},
        {"page/a.avif", {}, "100x200"},
        {"page/a.tif", {}, "100x200"},
        {"page/turned.tif", {"-orient", "RightTop"}, "200x100"},
        {"page/a.bmp", {}, "100x200"},
        {"page/png-named.jpg", {}, "100x200"},
    };
    for (const auto& row : rows) {
        const QString format = QString(row.name).contains("png-named") ? "PNG:" : "";
        ASSERT_EQ(QProcess::execute("convert", QStringList{plain} + row.options + QStringList{format + path(row.name)}),
                  0);
        std::int32_t height = -1, width = -1;
        util::PictureFormat kind;
        ProblemBoxes problems(session->messages);
        Pictures::GetSize(path(row.name), height, width, kind, problems, {});
        EXPECT_EQ(std::to_string(height) + "x" + std::to_string(width), row.size) << row.name;
        EXPECT_TRUE(messages().texts().isEmpty()) << row.name;
    }
    // Cut inside its header: no size, one message naming the picture and why.
    writeBytes(path("page/cut.png"), readBytes(path("page/a.png")).left(20));
    std::int32_t height = -1, width = -1;
    util::PictureFormat kind;
    ProblemBoxes problems(session->messages);
    Pictures::GetSize(path("page/cut.png"), height, width, kind, problems, {});
    EXPECT_EQ(messages().texts(),
              QStringList{"Pictures.GetSize - Problem reading " + path("page/cut.png") + ": the file is cut short"});
    messages().clear();

    // No tool, or a tool that leaves the PNG as it is: no copy, and an older one goes.
    for (const QString& tool : {QString(), writeTool("copying-tool")}) {
        runWith(tool);
        writeBytes(destination, "older copy");
        EXPECT_EQ(scale(path("page/a.png"), 50, 100), "50x100");
        EXPECT_FALSE(QFile::exists(destination)) << tool.toStdString();
        ASSERT_EQ(messages().texts().size(), 1) << tool.toStdString();
        EXPECT_TRUE(messages().texts().front().contains(tool.isEmpty() ? "is a PNG picture - without an image tool"
                                                                       : "only JPEG pictures can be copied unchanged"))
            << messages().texts().front().toStdString();
        messages().clear();
    }
}

TEST_F(ImageScaling, EveryFrameMarkerIncludingC1GivesTheSizeAndOthersAreSkipped)
{
    const QByteArray baseline = encodedPicture(dir.path(), 90, 60);
    // DHT, JPG and DAC are walked over as segments, landing in scan data.
    for (int marker = 0xC0; marker <= 0xCF; ++marker)
        EXPECT_EQ(measure(QByteArray(baseline).replace(frameMarkerOffset(baseline), 1, QByteArray(1, char(marker)))),
                  marker == 0xC4 || marker == 0xC8 || marker == 0xCC ? "0x0 (1 messages)" : "60x90")
            << std::hex << marker;
}

TEST_F(ImageScaling, ExifOrientationGivesTheDisplayedSize)
{
    const struct {
        int orientation;
        bool intel, afterJfif;
        const char* size;
    } rows[] = {
        {1, true, false, "100x200"}, {4, false, false, "100x200"}, {5, false, false, "200x100"},
        {8, true, false, "200x100"}, {9, false, false, "100x200"}, {6, true, true, "200x100"},
    };
    const QByteArray jfif = encodedPicture(dir.path(), 200, 100);
    for (const auto& row : rows) {
        const QByteArray exif = exifSegment(row.orientation, row.intel);
        const QByteArray picture = row.afterJfif ? jfif.left(20) + exif + jfif.mid(20) : withFirstSegment(jfif, exif);
        EXPECT_EQ(measure(picture), row.size) << row.orientation << (row.intel ? " II" : " MM") << row.afterJfif;
    }
}

TEST_F(ImageScaling, OddBytesGiveTheirSizeOrNoneWithTheMessage)
{
    const QString header = "Jpeg.GetSize - File " + path("odd.jpg") + " does not have valid JPEG header",
                  problem = "Jpeg.GetSize - Problem reading " + path("odd.jpg");
    const QString flag = "Jpeg.GetSize - Expected Flag &HFF - got %1 in file " + path("odd.jpg");
    const struct {
        const char* name;
        QByteArray bytes;
        QString message;
        const char* size;
    } rows[] = {
        {"text file", "Opening hours\r\n", header, "0x0"},
        {"walk lands on D9", QByteArray("\xFF\xD8\xFF\xE0\x00\x04\x00\x00\xD9", 9), flag.arg("D9"), "0x0"},
        {"walk lands on 0", QByteArray("\xFF\xD8\xFF\xE0\x00\x04\x00\x00\x00\xFF", 10), flag.arg("0"), "0x0"},
        {"segment length 1", QByteArray("\xFF\xD8\xFF\xFE\x00\x01\xFF\xC0", 8), problem, "0x0"},
        {"end of image first", QByteArray("\xFF\xD8\xFF\xD9\xFF\xC0\x00\x11\x08\x00\x10\x00\x10", 13), problem, "0x0"},
        {"fill bytes to the end", "\xFF\xD8\xFF\xFF\xFF\xFF", problem, "0x0"},
        {"fill bytes and standalone markers",
         QByteArray("\xFF\xD8\xFF\xD0\xFF\x01\xFF\xFF\xFF\xC0\x00\x11\x08\x00\x11\x00\x1F", 17),
         {},
         "17x31"},
        {"sizes above 32767 are unsigned",
         QByteArray("\xFF\xD8\xFF\xC2\x00\x11\x08\xFF\xFF\x80\x00", 11),
         {},
         "65535x32768"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(measure(row.bytes).substr(0, strlen(row.size)), row.size) << row.name;
        EXPECT_EQ(messages().texts(), row.message.isEmpty() ? QStringList{} : QStringList{row.message}) << row.name;
    }
}

TEST_F(ImageScaling, CutAtEveryLengthGivesNoSizeUntilTheFrameHeaderIsWhole)
{
    const QByteArray jfif = encodedPicture(dir.path(), 40, 30);
    for (const QByteArray& picture : {jfif, withFirstSegment(jfif, exifSegment(6, true))}) {
        const qsizetype complete = frameMarkerOffset(picture) + 8;     // marker, length, precision, height, width
        for (qsizetype length = 0; length <= picture.size(); ++length) // the Exif copy is turned (orientation 6)
            ASSERT_EQ(measure(picture.left(length)), length < complete      ? "0x0 (1 messages)"
                                                     : picture[3] == '\xE1' ? "40x30"
                                                                            : "30x40")
                << length;
    }
}

// A picture the image tool leaves cut short at any length, or with its
// compressed data broken, is told from a whole one, though its header gives
// its size; a FIFO or a folder at its name is refused without a wait.
TEST_F(ImageScaling, OnlyAWholePictureDecodesToItsEnd)
{
    const QString file = path("copy.jpg");
    const auto problem = [&](const QByteArray& bytes) {
        writeBytes(file, bytes);
        return Jpeg::decodeProblem(file);
    };
    for (const QStringList& options : {QStringList(), QStringList{"-progressive"}}) {
        SCOPED_TRACE(options.join(' ').toStdString());
        const QByteArray whole = encodedPicture(dir.path(), 120, 90, options);
        EXPECT_EQ(problem(whole), "");
        for (qsizetype length = 0; length < whole.size(); ++length)
            ASSERT_NE(problem(whole.left(length)), "") << length;
        const qsizetype data = whole.indexOf("\xFF\xDA") + 20;
        EXPECT_EQ(problem(QByteArray(whole).replace(data, 2, "\xFF\xD5")).left(19), "Corrupt JPEG data: ");
    }
    QFile::remove(file);
    ASSERT_EQ(::mkfifo(qPrintable(file), 0600), 0);
    EXPECT_EQ(Jpeg::decodeProblem(file), "is not a regular file");
    EXPECT_EQ(Jpeg::decodeProblem(dir.path()), "is a folder");
}

// The copy record of an images folder: copy-record.txt holds one as a make
// writes it, every field of its entries distinct, so that a field written to
// or read from another column shows. It reads back whole and is written again
// byte for byte; cut or damaged anywhere it is not trusted at all.
TEST(CopyRecord, StoredRecordReadsBackAndDamageAnywhereIsNeverTrustedInPart)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/" + Jpeg::CopyRecord::FileName;
    const QByteArray whole = readBytes(ZEL_SOURCE_DIR "/tests/imaging/copy-record.txt");
    writeBytes(path, whole);
    Jpeg::CopyRecord record = Jpeg::CopyRecord::load(dir.path());
    record.put("tab\tname.jpg", record.find("a00001.jpg").value()); // cannot be written on one line: not recorded
    EXPECT_EQ(record.size(), 3);
    EXPECT_FALSE(record.changed());
    ASSERT_TRUE(record.save(nullptr));
    EXPECT_EQ(readBytes(path).toStdString(), whole.toStdString());

    for (qsizetype length = 0; length < whole.size(); ++length) {
        writeBytes(path, whole.left(length));
        EXPECT_EQ(Jpeg::CopyRecord::load(dir.path()).size(), 0) << length;
    }
    for (qsizetype at = 0; at < whole.size(); at += 5) {
        QByteArray damaged = whole;
        damaged[at] = char(damaged[at] ^ 0x01);
        writeBytes(path, damaged);
        EXPECT_EQ(Jpeg::CopyRecord::load(dir.path()).size(), 0) << at;
    }
}

} // namespace
