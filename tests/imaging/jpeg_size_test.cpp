// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the size of real JPEG files, made by real encoders and then cut and
// patched, the way the page maker meets an author's pictures.
#include "support/recording_problems.h"
#include "imaging/jpeg_decode_check.h"
#include "imaging/jpeg_size.h"

#include "sample_pictures.h"
#include "support/kiosk_fixture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class JpegSize : public ::testing::Test {
protected:
    // "height x width", or "0x0 (n messages)" when it gave messages.
    std::string measure(const QByteArray& bytes)
    {
        writeBytes(path("odd.jpg"), bytes), messages.clear();
        std::int32_t height = -1, width = -1;
        ProblemBoxes problems(session.messages);
        Jpeg::GetSize(path("odd.jpg"), height, width, problems, {});
        const int count = int(messages.texts().size());
        return std::to_string(height) + "x" + std::to_string(width)
               + (count ? " (" + std::to_string(count) + " messages)" : "");
    }
    QString path(const QString& name) const { return dir.path() + "/" + name; }

    QTemporaryDir dir;
    TestSession session;
    RecordingMessages& messages = session.messages;
};

TEST_F(JpegSize, EveryFrameMarkerIncludingC1GivesTheSizeAndOthersAreSkipped)
{
    const QByteArray baseline = encodedPicture(dir.path(), 90, 60);
    // DHT, JPG and DAC are walked over as segments, landing in scan data.
    for (int marker = 0xC0; marker <= 0xCF; ++marker)
        EXPECT_EQ(measure(QByteArray(baseline).replace(frameMarkerOffset(baseline), 1, QByteArray(1, char(marker)))),
                  marker == 0xC4 || marker == 0xC8 || marker == 0xCC ? "0x0 (1 messages)" : "60x90")
            << std::hex << marker;
}

TEST_F(JpegSize, ExifOrientationGivesTheDisplayedSize)
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

TEST_F(JpegSize, OddBytesGiveTheirSizeOrNoneWithTheMessage)
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
        EXPECT_EQ(messages.texts(), row.message.isEmpty() ? QStringList{} : QStringList{row.message}) << row.name;
    }
}

TEST_F(JpegSize, CutAtEveryLengthGivesNoSizeUntilTheFrameHeaderIsWhole)
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
TEST_F(JpegSize, OnlyAWholePictureDecodesToItsEnd)
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

} // namespace
