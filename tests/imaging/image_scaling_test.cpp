// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Scales real pictures as the page maker does: the size computation, the copy
// made without an image tool, failing and recording stand-in tools, and the
// one-time tool lookup.
#include "support/executable_script.h"
#include "support/recording_problems.h"
#include "imaging/copy_job.h"
#include "imaging/image_scaling.h"
#include "imaging/image_tool.h"
#include "imaging/jpeg_size.h"

#include "platform/session.h"
#include "platform/user_settings.h"
#include "sample_pictures.h"
#include "support/kiosk_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>

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

} // namespace
