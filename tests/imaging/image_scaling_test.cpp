// Scales real pictures as the page maker does: the size computation, the copy
// made without an image tool, failing and recording stand-in tools, the
// one-time tool lookup, and the real zel-resample when it is built.
#include "imaging/image_scaling.h"
#include "imaging/image_tool.h"
#include "imaging/jpeg_size.h"

#include "platform/program_folder.h"
#include "platform/runtime_error.h"
#include "platform/user_settings.h"
#include "sample_pictures.h"
#include "support/kiosk_fixture.h"
#include "support/recording_messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

namespace {

const QString ScalingErrorMessage = QStringLiteral("Scaling error in Jpeg.scaleImage");

struct ScaledSize {
    std::int32_t height = -1;
    std::int32_t width = -1;
};

class ImageScaling : public ::testing::Test {
protected:
    ImageScaling()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path("settings"));
        QDir().mkpath(path("program"));
        QDir().mkpath(path("page/images"));
        setProgramFolderOverride(path("program")); // nothing beside the program
        Jpeg::resetImageToolLookupForTesting();
    }
    ~ImageScaling() override
    {
        Jpeg::resetImageToolLookupForTesting();
        setProgramFolderOverride({});
    }

    QString path(const QString& relative) const { return m_dir.path() + "/" + relative; }

    void setToolSetting(const QString& program)
    {
        const auto settings = openUserSettings();
        settings->setValue(QStringLiteral("ImageTool/program"), program);
        settings->sync();
    }

    // A shell script standing in for the image tool.
    QString writeScript(const QString& relative, const QString& body, bool executable = true)
    {
        const QString file = path(relative);
        writeBytes(file, ("#!/bin/sh\n" + body + "\n").toUtf8());
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
        if (executable)
            permissions |= QFile::ExeOwner;
        QFile::setPermissions(file, permissions);
        return file;
    }

    // Writes its arguments, one a line, to tool-arguments.txt, then copies the
    // source to the destination named by its /convert= switch.
    QString writeRecordingTool(const QString& relative)
    {
        return writeScript(relative, "printf '%s\\n' \"$@\" > '" + path("tool-arguments.txt")
                                         + "'\ncp \"$1\" \"${3#/convert=}\"");
    }
    bool toolRan() const { return QFileInfo::exists(path("tool-arguments.txt")); }

    QString picture(int width, int height)
    {
        const QString file = path(QStringLiteral("page/picture-%1x%2.jpg").arg(width).arg(height));
        writeBytes(file, cjpegPicture(m_dir.path(), width, height));
        return file;
    }

    ScaledSize scale(const QString& source, std::int32_t requiredHeight, std::int32_t requiredWidth,
                     bool noScaleUp = false)
    {
        ScaledSize size;
        Jpeg::scaleImage(source, destination(), requiredHeight, requiredWidth, size.height, size.width, noScaleUp);
        return size;
    }
    QString destination() const { return path("page/images/prices00001.jpg"); }

    QTemporaryDir m_dir;
    RecordingMessages messages;
};

// --- size computation, copied without a tool --------------------------------

struct SizeCase {
    const char* name;
    int width;
    int height;
    int requiredHeight;
    int requiredWidth;
    bool noScaleUp;
    int scaledHeight;
    int scaledWidth;
    bool scalingError;
};

class ScaledSizes : public ImageScaling, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(ScaledSizes, WithoutToolCopyUnchangedAndReportTheFittedSize)
{
    const SizeCase& row = GetParam();
    const QString source = picture(row.width, row.height);
    const ScaledSize size = scale(source, row.requiredHeight, row.requiredWidth, row.noScaleUp);
    EXPECT_EQ(size.height, row.scaledHeight);
    EXPECT_EQ(size.width, row.scaledWidth);
    EXPECT_EQ(readBytes(destination()), readBytes(source));
    EXPECT_EQ(messages.texts(), row.scalingError ? QStringList{ScalingErrorMessage} : QStringList{});
    EXPECT_FALSE(Jpeg::IrfanViewAvailable());
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, ScaledSizes,
    ::testing::Values(SizeCase{"leaf_image_width_500", 800, 600, 0, 500, false, 375, 500, false},
                      SizeCase{"selector_thumbnail", 400, 300, 171, 228, true, 171, 228, false},
                      SizeCase{"small_thumbnail_kept", 100, 100, 171, 228, true, 100, 100, false},
                      SizeCase{"enlarged_by_the_page", 100, 100, 0, 500, false, 500, 500, false},
                      SizeCase{"height_only", 800, 600, 300, 0, false, 300, 400, false},
                      SizeCase{"height_limits_in_box", 600, 800, 500, 500, false, 500, 375, false},
                      SizeCase{"exact_fit_is_not_scaling_up", 228, 171, 171, 228, true, 171, 228, false},
                      SizeCase{"half_rounds_up_to_even", 4, 6, 0, 1, false, 2, 1, false},
                      SizeCase{"half_rounds_down_to_even", 4, 10, 0, 1, false, 2, 1, false},
                      SizeCase{"no_box_keeps_own_size", 640, 480, 0, -3, false, 480, 640, true}),
    [](const auto& info) { return std::string(info.param.name); });

struct RoundingCase {
    const char* name;
    float scale;
    int size;
    int expected;
};

class Rounding : public ::testing::TestWithParam<RoundingCase> {};

TEST_P(Rounding, ProductIsRoundedHalfToEven)
{
    EXPECT_EQ(Jpeg::scaledDimension(GetParam().scale, GetParam().size), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Products, Rounding,
    ::testing::Values(RoundingCase{"half_of_one", 0.5f, 1, 0}, RoundingCase{"three_halves", 0.5f, 3, 2},
                      RoundingCase{"five_halves", 0.5f, 5, 2}, RoundingCase{"just_below_half", 0.4999f, 1, 0},
                      RoundingCase{"single_precision_0_57_of_300", Jpeg::scaleFactor(228, 400), 300, 171},
                      RoundingCase{"single_precision_0_57_of_400", Jpeg::scaleFactor(171, 300), 400, 228},
                      RoundingCase{"five_eighths", Jpeg::scaleFactor(500, 800), 600, 375}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScaleFactor, FreeSideIsThreeTimesTenToThe38)
{
    EXPECT_EQ(Jpeg::scaleFactor(0, 100), 3E+38f);
    EXPECT_EQ(Jpeg::scaleFactor(-1, 100), 3E+38f);
    EXPECT_EQ(Jpeg::scaleFactor(500, 800), 0.625f);
}

TEST(ScaleFactor, SizeBeyond32BitsIsAnOverflow)
{
    try {
        Jpeg::scaledDimension(Jpeg::scaleFactor(std::numeric_limits<std::int32_t>::max(), 1), 65535);
        FAIL() << "no overflow";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), Errors::Overflow);
    }
}

TEST_F(ImageScaling, TurnedPictureIsFittedByItsDisplayedSize)
{
    const QString source = path("page/turned.jpg");
    writeBytes(source, withFirstSegment(cjpegPicture(m_dir.path(), 200, 100), exifSegment(6, true)));
    const ScaledSize size = scale(source, 0, 50);
    EXPECT_EQ(size.height, 100);
    EXPECT_EQ(size.width, 50);
}

TEST_F(ImageScaling, UnreadablePictureGivesZeroSizesAndNoCopy)
{
    const QString source = path("page/notes.jpg");
    writeBytes(source, "not a picture");
    const ScaledSize size = scale(source, 171, 228, true);
    EXPECT_EQ(size.height, 0);
    EXPECT_EQ(size.width, 0);
    EXPECT_FALSE(QFileInfo::exists(destination()));
    EXPECT_EQ(messages.texts(),
              (QStringList{"Jpeg.GetSize - File " + source + " does not have valid JPEG header",
                           "Jpeg.scaleImage - Unable get height and width from file " + source + "\r\n"
                               + "So unable to scale image"}));
}

TEST_F(ImageScaling, CopyIntoMissingFolderRaisesForTheCaller)
{
    const QString source = picture(800, 600);
    std::int32_t height = 0;
    std::int32_t width = 0;
    try {
        Jpeg::scaleImage(source, path("page/nowhere/prices00001.jpg"), 0, 500, height, width, false);
        FAIL() << "copy into a missing folder succeeded";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), Errors::PathNotFound);
    }
}

// --- stand-in tools ---------------------------------------------------------

TEST_F(ImageScaling, ToolGetsSourceResampleAndConvertAsThreeArguments)
{
    setToolSetting(writeRecordingTool("tools/recording tool"));
    QDir().mkpath(path("my pictures"));
    const QString source = path("my pictures/cat photo.jpg");
    QFile::copy(picture(800, 600), source);

    const ScaledSize size = scale(source, 0, 500);
    EXPECT_EQ(size.height, 375);
    EXPECT_EQ(size.width, 500);
    EXPECT_EQ(readLines(path("tool-arguments.txt")),
              (QStringList{source, "/resample=(500,375)", "/convert=" + destination()}));
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(ImageScaling, ToolRunsAtOwnSizeWhenScaleIsExactlyOne)
{
    setToolSetting(writeRecordingTool("tools/recorder"));
    const ScaledSize size = scale(picture(228, 171), 171, 228, true);
    EXPECT_EQ(size.height, 171);
    EXPECT_TRUE(toolRan());
}

struct FailingToolCase {
    const char* name;
    const char* body;
    bool executable;
};

class FailingTools : public ImageScaling, public ::testing::WithParamInterface<FailingToolCase> {};

TEST_P(FailingTools, FallBackToAnUnchangedCopy)
{
    setToolSetting(writeScript("tools/tool", GetParam().body, GetParam().executable));
    const QString source = picture(800, 600);
    writeBytes(destination(), "copy left by an earlier make");

    const ScaledSize size = scale(source, 0, 500);
    EXPECT_EQ(size.height, 375);
    EXPECT_EQ(size.width, 500);
    EXPECT_EQ(readBytes(destination()), readBytes(source));
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_TRUE(Jpeg::IrfanViewAvailable());
}

INSTANTIATE_TEST_SUITE_P(
    Tools, FailingTools,
    ::testing::Values(FailingToolCase{"exits_1", "exit 1", true},
                      FailingToolCase{"exits_0_without_output", "exit 0", true},
                      FailingToolCase{"writes_then_fails", "echo partial > \"${3#/convert=}\"; exit 2", true},
                      FailingToolCase{"killed", "kill -9 $$", true},
                      FailingToolCase{"not_executable", "exit 0", false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- the one lookup per run -------------------------------------------------

TEST_F(ImageScaling, MissingConfiguredToolIsLookedUpOnce)
{
    const QString tool = path("tools/later");
    setToolSetting(tool);
    const QString source = picture(800, 600);
    scale(source, 0, 500);
    EXPECT_EQ(readBytes(destination()), readBytes(source));

    writeRecordingTool("tools/later"); // installed while the program runs
    scale(source, 0, 400);
    EXPECT_FALSE(toolRan()) << "the lookup was made again";
    EXPECT_EQ(readBytes(destination()), readBytes(source));

    Jpeg::resetImageToolLookupForTesting(); // a new run of the program
    scale(source, 0, 400);
    EXPECT_TRUE(toolRan());
    EXPECT_EQ(Jpeg::imageToolProgram(), tool);
}

TEST_F(ImageScaling, ToolBesideTheProgramIsLookedUpOnce)
{
    const QString source = picture(800, 600);
    scale(source, 0, 500);
    EXPECT_EQ(readBytes(destination()), readBytes(source));

    writeRecordingTool("program/zel-resample");
    scale(source, 0, 500);
    EXPECT_FALSE(toolRan());

    Jpeg::resetImageToolLookupForTesting();
    scale(source, 0, 500);
    EXPECT_TRUE(toolRan());
}

TEST_F(ImageScaling, EmptySettingMeansNoToolEvenBesideTheProgram)
{
    writeRecordingTool("program/zel-resample");
    setToolSetting(QString());
    const QString source = picture(100, 100);
    const ScaledSize size = scale(source, 0, 500);
    EXPECT_EQ(size.width, 500);
    EXPECT_FALSE(toolRan());
    EXPECT_FALSE(Jpeg::IrfanViewAvailable());
    EXPECT_EQ(readBytes(destination()), readBytes(source));
}

TEST_F(ImageScaling, SettingThatIsNotAPathIsReportedAndCountsAsNoTool)
{
    writeRecordingTool("program/zel-resample");
    writeBytes(path("settings/ZEL_Editor.ini"), "[ImageTool]\nprogram=first, second\n");
    const QString source = picture(800, 600);
    scale(source, 0, 500);
    scale(source, 0, 500);
    EXPECT_EQ(messages.texts(), QStringList{"JPEG.IrfanViewAvailable - Error 13\r\nType mismatch"});
    EXPECT_FALSE(toolRan());
    EXPECT_EQ(readBytes(destination()), readBytes(source));
}

// --- the real zel-resample --------------------------------------------------

struct RealToolCase {
    const char* name;
    int width;
    int height;
    int exifOrientation; // 0: none
    int requiredHeight;
    int requiredWidth;
    bool noScaleUp;
    int scaledHeight;
    int scaledWidth;
};

class RealTool : public ImageScaling, public ::testing::WithParamInterface<RealToolCase> {};

TEST_P(RealTool, WritesAnUprightCopyOfExactlyTheScaledSize)
{
    const QString tool = QStringLiteral(ZEL_PROGRAM_DIR "/zel-resample");
    if (!QFileInfo(tool).isFile())
        GTEST_SKIP() << "zel-resample is not built in " << ZEL_PROGRAM_DIR;
    setProgramFolderOverride(QStringLiteral(ZEL_PROGRAM_DIR));

    const RealToolCase& row = GetParam();
    const QString source = path("page/source.jpg");
    QByteArray bytes = cjpegPicture(m_dir.path(), row.width, row.height);
    if (row.exifOrientation != 0)
        bytes = withFirstSegment(bytes, exifSegment(row.exifOrientation, false));
    writeBytes(source, bytes);

    const ScaledSize size = scale(source, row.requiredHeight, row.requiredWidth, row.noScaleUp);
    EXPECT_TRUE(Jpeg::IrfanViewAvailable());
    EXPECT_EQ(Jpeg::imageToolProgram(), QDir::toNativeSeparators(tool));
    EXPECT_EQ(size.height, row.scaledHeight);
    EXPECT_EQ(size.width, row.scaledWidth);

    const QByteArray written = readBytes(destination());
    EXPECT_EQ(written[frameMarkerOffset(written)], '\xC0') << "not a baseline JPEG";
    ScaledSize copy;
    Jpeg::GetSize(destination(), copy.height, copy.width);
    EXPECT_EQ(copy.height, row.scaledHeight);
    EXPECT_EQ(copy.width, row.scaledWidth);
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join("|").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, RealTool,
    ::testing::Values(RealToolCase{"reduced_to_width_500", 800, 600, 0, 0, 500, false, 375, 500},
                      RealToolCase{"enlarged_to_500", 100, 100, 0, 0, 500, false, 500, 500},
                      RealToolCase{"selector_thumbnail", 400, 300, 0, 171, 228, true, 171, 228},
                      RealToolCase{"turned_picture_made_upright", 200, 100, 6, 0, 50, false, 100, 50}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
