// Reads the size of real JPEG files, made by real encoders and then cut,
// patched and corrupted, the way the page maker meets an author's pictures.
#include "imaging/jpeg_size.h"

#include "sample_pictures.h"
#include "support/kiosk_fixture.h"
#include "support/recording_messages.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct MeasuredSize {
    std::int32_t height = -1;
    std::int32_t width = -1;
};

class JpegSize : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.path() + "/" + name; }
    QString folder() const { return m_dir.path(); }

    MeasuredSize measure(const QString& file)
    {
        MeasuredSize size;
        Jpeg::GetSize(file, size.height, size.width);
        return size;
    }

    MeasuredSize measureBytes(const QByteArray& bytes, const QString& name = QStringLiteral("picture.jpg"))
    {
        writeBytes(path(name), bytes);
        return measure(path(name));
    }

    QString headerMessage(const QString& file) const
    {
        return "Jpeg.GetSize - File " + file + " does not have valid JPEG header";
    }
    QString problemMessage(const QString& file) const { return "Jpeg.GetSize - Problem reading " + file; }

    QTemporaryDir m_dir;
    RecordingMessages messages;
};

// --- pictures written by encoders -------------------------------------------

struct EncodedCase {
    const char* name;
    int width;
    int height;
    bool useCjpeg;
    QStringList switches; // cjpeg switches, or {"progressive"} for convert
    char frameMarker;
};

class EncodedPictures : public JpegSize, public ::testing::WithParamInterface<EncodedCase> {};

TEST_P(EncodedPictures, GiveTheirSizeWithoutMessage)
{
    const EncodedCase& row = GetParam();
    const QByteArray picture = row.useCjpeg
        ? cjpegPicture(folder(), row.width, row.height, row.switches)
        : convertedPicture(folder(), row.width, row.height, row.switches.contains("progressive"));
    ASSERT_FALSE(picture.isEmpty());
    ASSERT_EQ(picture[frameMarkerOffset(picture)], row.frameMarker) << "encoder wrote another frame type";

    const MeasuredSize size = measureBytes(picture);
    EXPECT_EQ(size.height, row.height);
    EXPECT_EQ(size.width, row.width);
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join("|").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Encoders, EncodedPictures,
    ::testing::Values(
        EncodedCase{"baseline_jfif_640x480", 640, 480, false, {}, '\xC0'},
        EncodedCase{"progressive_jfif", 300, 200, false, {"progressive"}, '\xC2'},
        EncodedCase{"cjpeg_baseline", 123, 45, true, {}, '\xC0'},
        EncodedCase{"cjpeg_progressive", 45, 123, true, {"-progressive"}, '\xC2'},
        EncodedCase{"cjpeg_arithmetic_c9", 77, 66, true, {"-arithmetic"}, '\xC9'},
        EncodedCase{"grayscale", 64, 32, true, {"-grayscale"}, '\xC0'},
        EncodedCase{"one_pixel", 1, 1, true, {}, '\xC0'}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(JpegSize, ExtendedSequentialFrameC1IsRecognised)
{
    QByteArray picture = cjpegPicture(folder(), 90, 60);
    picture[frameMarkerOffset(picture)] = '\xC1';
    const MeasuredSize size = measureBytes(picture);
    EXPECT_EQ(size.height, 60);
    EXPECT_EQ(size.width, 90);
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(JpegSize, EveryFrameMarkerGivesTheSizeAndOthersAreSkipped)
{
    const QByteArray baseline = cjpegPicture(folder(), 90, 60);
    const qsizetype at = frameMarkerOffset(baseline);
    for (int marker = 0xC0; marker <= 0xCF; ++marker) {
        SCOPED_TRACE(marker);
        messages.clear();
        QByteArray picture = baseline;
        picture[at] = char(marker);
        const MeasuredSize size = measureBytes(picture);
        if (marker == 0xC4 || marker == 0xC8 || marker == 0xCC) {
            // Skipped as an ordinary segment: the walk then lands in scan data.
            EXPECT_EQ(size.height, 0);
            EXPECT_EQ(size.width, 0);
            EXPECT_EQ(messages.texts().size(), 1);
        } else {
            EXPECT_EQ(size.height, 60);
            EXPECT_EQ(size.width, 90);
            EXPECT_TRUE(messages.texts().isEmpty());
        }
    }
}

// --- Exif orientation -------------------------------------------------------

struct OrientationCase {
    const char* name;
    int orientation;
    bool littleEndian;
    int displayedHeight;
    int displayedWidth;
};

class ExifPictures : public JpegSize, public ::testing::WithParamInterface<OrientationCase> {};

TEST_P(ExifPictures, GiveTheDisplayedSize)
{
    const OrientationCase& row = GetParam();
    const QByteArray jfif = cjpegPicture(folder(), 200, 100);
    const QByteArray picture = withFirstSegment(jfif, exifSegment(row.orientation, row.littleEndian));
    ASSERT_EQ(picture.mid(0, 4), QByteArray("\xFF\xD8\xFF\xE1"));

    const MeasuredSize size = measureBytes(picture);
    EXPECT_EQ(size.height, row.displayedHeight);
    EXPECT_EQ(size.width, row.displayedWidth);
    EXPECT_TRUE(messages.texts().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Orientations, ExifPictures,
    ::testing::Values(OrientationCase{"upright_motorola", 1, false, 100, 200},
                      OrientationCase{"upright_intel", 1, true, 100, 200},
                      OrientationCase{"upside_down", 3, false, 100, 200},
                      OrientationCase{"turned_right_motorola", 6, false, 200, 100},
                      OrientationCase{"turned_right_intel", 6, true, 200, 100},
                      OrientationCase{"turned_left", 8, true, 200, 100},
                      OrientationCase{"transposed", 5, false, 200, 100},
                      OrientationCase{"transverse", 7, true, 200, 100},
                      OrientationCase{"out_of_range_value", 9, false, 100, 200}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(JpegSize, ExifAfterJfifIsReadToo)
{
    const QByteArray jfif = cjpegPicture(folder(), 200, 100);
    const QByteArray picture = jfif.left(20) + exifSegment(6, true) + jfif.mid(20);
    const MeasuredSize size = measureBytes(picture);
    EXPECT_EQ(size.height, 200);
    EXPECT_EQ(size.width, 100);
}

TEST_F(JpegSize, DamagedExifNeverLeavesItsSegment)
{
    const QByteArray jfif = cjpegPicture(folder(), 200, 100);
    const QByteArray exif = exifSegment(6, false);
    // Every byte after the segment length, set to each extreme in turn.
    for (qsizetype at = 4; at < exif.size(); ++at) {
        for (const char value : {'\x00', '\x01', '\x7F', '\xFF'}) {
            QByteArray damaged = exif;
            damaged[at] = value;
            messages.clear();
            const MeasuredSize size = measureBytes(withFirstSegment(jfif, damaged));
            EXPECT_TRUE((size.height == 100 && size.width == 200) || (size.height == 200 && size.width == 100))
                << "byte " << at;
            EXPECT_TRUE(messages.texts().isEmpty());
        }
    }
}

// --- files that are not (whole) JPEG pictures -------------------------------

struct MalformedCase {
    const char* name;
    QByteArray bytes;
    const char* message; // "header", "problem" or an exact "Expected Flag" text ending
};

class MalformedFiles : public JpegSize, public ::testing::WithParamInterface<MalformedCase> {};

TEST_P(MalformedFiles, GiveNoSizeAndOneMessage)
{
    const MalformedCase& row = GetParam();
    const QString file = path("odd.jpg");
    const MeasuredSize size = measureBytes(row.bytes, "odd.jpg");
    EXPECT_EQ(size.height, 0);
    EXPECT_EQ(size.width, 0);
    const QString expected = QString(row.message) == "header" ? headerMessage(file)
        : QString(row.message) == "problem"                   ? problemMessage(file)
                                : "Jpeg.GetSize - Expected Flag &HFF - got " + QString(row.message) + " in file " + file;
    EXPECT_EQ(messages.texts(), QStringList{expected});
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, MalformedFiles,
    ::testing::Values(
        MalformedCase{"empty_file", QByteArray(), "header"},
        MalformedCase{"single_ff", QByteArray("\xFF"), "header"},
        MalformedCase{"text_file", QByteArray("Opening hours\r\n"), "header"},
        MalformedCase{"png_named_jpg", QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), "header"},
        MalformedCase{"start_of_image_only", QByteArray("\xFF\xD8"), "problem"},
        MalformedCase{"lands_on_d9", QByteArray("\xFF\xD8\xFF\xE0\x00\x04\x00\x00\xD9", 9), "D9"},
        MalformedCase{"lands_on_zero", QByteArray("\xFF\xD8\xFF\xE0\x00\x04\x00\x00\x00\xFF", 10), "0"},
        MalformedCase{"lands_on_0a", QByteArray("\xFF\xD8\x0A", 3), "A"},
        MalformedCase{"segment_length_zero", QByteArray("\xFF\xD8\xFF\xE0\x00\x00\xFF\xC0", 8), "problem"},
        MalformedCase{"segment_length_one", QByteArray("\xFF\xD8\xFF\xFE\x00\x01\xFF\xC0", 8), "problem"},
        MalformedCase{"segment_past_end", QByteArray("\xFF\xD8\xFF\xE0\xFF\xF0\x00\x00", 8), "problem"},
        MalformedCase{"end_of_image_before_frame", QByteArray("\xFF\xD8\xFF\xD9\xFF\xC0\x00\x11\x08\x00\x10\x00\x10", 13),
                      "problem"},
        MalformedCase{"fill_bytes_to_end", QByteArray("\xFF\xD8\xFF\xFF\xFF\xFF", 6), "problem"},
        MalformedCase{"frame_header_cut_in_width", QByteArray("\xFF\xD8\xFF\xC0\x00\x11\x08\x01\x00\x02", 10),
                      "problem"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(JpegSize, MissingFileIsAProblemReading)
{
    const MeasuredSize size = measure(path("absent.jpg"));
    EXPECT_EQ(size.height, 0);
    EXPECT_EQ(size.width, 0);
    EXPECT_EQ(messages.texts(), QStringList{problemMessage(path("absent.jpg"))});
}

TEST_F(JpegSize, FolderNamedLikeAPictureGivesNoSize)
{
    const QString folderPath = path("album.jpg");
    ASSERT_TRUE(QDir().mkpath(folderPath));
    const MeasuredSize size = measure(folderPath);
    EXPECT_EQ(size.height, 0);
    EXPECT_EQ(size.width, 0);
    EXPECT_EQ(messages.texts().size(), 1);
}

TEST_F(JpegSize, FillBytesAndStandaloneMarkersBeforeTheFrameAreWalkedOver)
{
    QByteArray picture = cjpegPicture(folder(), 31, 17);
    const qsizetype flag = frameMarkerOffset(picture) - 1;
    picture.insert(flag, QByteArray("\xFF\xD0\xFF\x01\xFF\xD7\xFF\xFF\xFF", 9));
    const MeasuredSize size = measureBytes(picture);
    EXPECT_EQ(size.height, 17);
    EXPECT_EQ(size.width, 31);
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(JpegSize, WidthBeyond32767IsReadUnsigned)
{
    QByteArray picture = cjpegPicture(folder(), 64, 16);
    const qsizetype width = frameMarkerOffset(picture) + 6;
    picture[width] = '\x9C'; // 40000
    picture[width + 1] = '\x40';
    const MeasuredSize size = measureBytes(picture);
    EXPECT_EQ(size.height, 16);
    EXPECT_EQ(size.width, 40000);
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(JpegSize, LargestSixteenBitSizeIsReadUnsigned)
{
    const QByteArray picture("\xFF\xD8\xFF\xC2\x00\x11\x08\xFF\xFF\x80\x00", 11);
    const MeasuredSize size = measureBytes(picture);
    EXPECT_EQ(size.height, 65535);
    EXPECT_EQ(size.width, 32768);
    EXPECT_TRUE(messages.texts().isEmpty());
}

TEST_F(JpegSize, FileCutOffAtEveryLengthGivesNoSizeUntilTheFrameHeaderIsWhole)
{
    for (const bool exifFirst : {false, true}) {
        QByteArray picture = cjpegPicture(folder(), 40, 30);
        if (exifFirst)
            picture = withFirstSegment(picture, exifSegment(6, true));
        const qsizetype complete = frameHeaderEnd(picture);
        for (qsizetype length = 0; length <= picture.size(); ++length) {
            SCOPED_TRACE(length);
            messages.clear();
            const MeasuredSize size = measureBytes(picture.left(length));
            if (length < complete) {
                EXPECT_EQ(size.height, 0);
                EXPECT_EQ(size.width, 0);
                EXPECT_EQ(messages.texts().size(), 1);
            } else {
                EXPECT_EQ(size.height, exifFirst ? 40 : 30);
                EXPECT_EQ(size.width, exifFirst ? 30 : 40);
                EXPECT_TRUE(messages.texts().isEmpty());
            }
        }
    }
}

TEST_F(JpegSize, EveryFlippedByteEndsInASizeOrOneMessage)
{
    const QByteArray original = withFirstSegment(cjpegPicture(folder(), 40, 30), exifSegment(8, false));
    const qsizetype complete = frameHeaderEnd(original);
    for (qsizetype at = 0; at < complete; ++at) {
        for (const int mask : {0xFF, 0x80, 0x01}) {
            QByteArray damaged = original;
            damaged[at] = char(damaged[at] ^ mask);
            messages.clear();
            const MeasuredSize size = measureBytes(damaged);
            ASSERT_LE(messages.texts().size(), 1) << "byte " << at;
            if (!messages.texts().isEmpty()) {
                EXPECT_EQ(size.height, 0);
                EXPECT_EQ(size.width, 0);
            }
        }
    }
}

} // namespace
