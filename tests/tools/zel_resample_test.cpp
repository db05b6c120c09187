// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the zel-resample program as the page maker does: one run per picture,
// then reads the JPEG it wrote back with djpeg (size, colours, baseline coding)
// or checks that a failure left nothing behind. Test pictures come from
// ImageMagick's convert and libjpeg-turbo's cjpeg.
#include "support/exif_segment.h"
#include "support/kiosk_fixture.h"
#include "support/program_run.h"

#include <QDir>
#include <QEventLoop>
#include <QFileSystemWatcher>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <lcms2.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <zlib.h>

namespace {

ProgramRun resample(const QString& source, int width, int height, const QString& destination)
{
    const QString size = QString("/resample=(%1,%2)").arg(width).arg(height);
    return runProgram(ZEL_PROGRAM_DIR "/zel-resample", {source, size, "/convert=" + destination});
}

QByteArray helper(const QString& program, const QStringList& arguments)
{
    const ProgramRun result = runProgram(program, arguments);
    EXPECT_EQ(result.exitCode, 0) << program.toStdString() << ": " << result.error.toStdString();
    return result.output;
}

// A decoded picture as djpeg writes it (binary PPM or PGM).
struct Picture {
    int width = 0, height = 0, channels = 0;
    QByteArray pixels;
    int at(int x, int y, int c) const { return quint8(pixels[(qsizetype(y) * width + x) * channels + c % channels]); }
};

Picture decode(const QString& path)
{
    const QByteArray pnm = helper("djpeg", {"-pnm", path});
    const QList<QByteArray> fields = pnm.left(40).simplified().split(' ');
    Picture picture{fields.value(1).toInt(), fields.value(2).toInt(), fields.value(0) == "P6" ? 3 : 1, {}};
    picture.pixels = pnm.right(qsizetype(picture.width) * picture.height * picture.channels);
    return picture;
}

// A progressive picture of DC and three AC scans whose last scan is repeated
// until the picture has `scans` scans; each repeat decodes to the same picture.
QByteArray withScans(const QByteArray& fourScans, int scans)
{
    const qsizetype end = fourScans.lastIndexOf("\xFF\xD9"), last = fourScans.lastIndexOf("\xFF\xDA");
    const qsizetype tables = fourScans.indexOf("\xFF\xC4", fourScans.lastIndexOf("\xFF\xDA", last - 1));
    const qsizetype from = tables >= 0 && tables < last ? tables : last;
    return fourScans.left(end) + fourScans.mid(from, end - from).repeated(scans - 4) + fourScans.mid(end);
}

// ImageMagick's operation that turns an upright picture into the rows stored under each orientation tag (1 to 8).
const char* const kTurnStored[] = {"",           "-flop",       "-rotate 180", "-flip",
                                   "-transpose", "-rotate 270", "-transverse", "-rotate 90"};

class ZelResample : public ::testing::Test {
protected:
    void SetUp() override { QDir().mkpath(path("my pictures")); }
    QString path(const QString& name) const { return folder.filePath(name); }

    // The 80 x 60 test picture: red, lime / blue, yellow quadrants, turned by the ImageMagick operation.
    QString quadrants(const QString& turn = {})
    {
        helper("convert",
               QString("-size 40x30 xc:red xc:lime +append ( -size 40x30 xc:blue xc:yellow +append ) -append " + turn
                       + " " + path("q.ppm"))
                   .split(' ', Qt::SkipEmptyParts));
        return path("q.ppm");
    }
    QString cjpeg(const QStringList& options, const QString& name = "source.jpg", const QString& ppm = {})
    {
        const QString input = ppm.isEmpty() ? quadrants() : ppm;
        helper("cjpeg", options + QStringList{"-quality", "95", "-outfile", path(name), input});
        return path(name);
    }
    // Resamples to 60 x 45 and checks the colour well inside each quadrant; grey pictures hold the colours' luma.
    void expectUprightQuadrants(const std::string& name, const QString& source, int tolerance = 40, bool grey = false)
    {
        SCOPED_TRACE(name);
        // 60 x 45 resampled only; 20 x 15 shrunk by 2 x 2 blocks (or by the decoder) first.
        for (const QSize size : {QSize(60, 45), QSize(20, 15)}) {
            SCOPED_TRACE(size.width());
            const ProgramRun result = resample(source, size.width(), size.height(), destination);
            ASSERT_EQ(result.exitCode, 0) << result.error.toStdString();
            const Picture copy = decode(destination);
            ASSERT_EQ(QSize(copy.width, copy.height), size);
            EXPECT_TRUE(readBytes(destination).contains("\xFF\xC0")) << "not a baseline JPEG";
            const std::array<std::array<int, 3>, 4> colour{{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}}};
            const std::array<int, 4> luma{76, 150, 29, 226};
            for (int q = 0; q < 4; ++q)
                for (int c = 0; c < 3; ++c) {
                    const int x = copy.width * (q % 2 ? 5 : 1) / 6, y = copy.height * (q / 2 ? 5 : 1) / 6;
                    const bool lumaOnly = grey || copy.channels == 1;
                    EXPECT_NEAR(copy.at(x, y, c), lumaOnly ? luma[q] : colour[q][c], lumaOnly ? 12 : tolerance)
                        << "quadrant " << q << " channel " << c;
                }
            // A copy carries no metadata at all: no location, no camera.
            EXPECT_FALSE(readBytes(destination).contains("Exif")) << "metadata in the copy";
        }
    }

    // A gradient picture of the given size coded in `scans` scans.
    QString scanHeavy(int scans, const QString& size, const QString& name)
    {
        writeBytes(path("four scans"), "0 1 2: 0 0 0 0;\n0: 1 63 0 0;\n1: 1 63 0 0;\n2: 1 63 0 0;\n");
        helper("convert", {"-size", size, "gradient:orange-navy", path("gradient.ppm")});
        const QString four = cjpeg({"-scans", path("four scans")}, "four.jpg", path("gradient.ppm"));
        writeBytes(path(name), withScans(readBytes(four), scans));
        return path(name);
    }

    QTemporaryDir folder;
    const QString destination = path("my pictures/holiday copy 1.jpg"); // blanks taken whole
};

// A one-pixel checkerboard has nothing but detail finer than a smaller grid can
// hold: a proper filter gives even grey, a sloppy one stripes and moire.
TEST_F(ZelResample, FineCheckerboardShrinksToEvenGrey)
{
    helper("convert", {"-size", "800x600", "pattern:gray50", "-type", "TrueColor", path("board.ppm")});
    const QString source = cjpeg({"-sample", "1x1"}, "board.jpg", path("board.ppm"));
    for (const QSize size : {QSize(228, 171), QSize(333, 250)}) {
        ASSERT_EQ(resample(source, size.width(), size.height(), destination).exitCode, 0);
        const Picture copy = decode(destination);
        for (int i = 0; i < copy.width * copy.height; ++i)
            ASSERT_NEAR(copy.at(i % copy.width, i / copy.width, 1), 128, 24) << size.width() << " pixel " << i;
    }
}

// The PNG with its header chunk claiming width x height pixels (its checksum made right).
QByteArray withPngSize(QByteArray png, quint32 width, quint32 height)
{
    for (int i = 0; i < 8; ++i)
        png[16 + i] = char((i < 4 ? width : height) >> (24 - 8 * (i % 4)));
    const quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef*>(png.constData()) + 12, 17));
    for (int i = 0; i < 4; ++i)
        png[29 + i] = char(crc >> (24 - 8 * i));
    return png;
}

// A white 8-bit grey PNG of side x side pixels, a few kilobytes: its rows are alike.
QByteArray whitePng(const QByteArray& smallPng, quint32 side)
{
    z_stream deflater{};
    deflateInit(&deflater, 9);
    const QByteArray row = QByteArray(1, 0) + QByteArray(side, char(255));
    QByteArray data(int(side) * 8 + 1024, 0);
    deflater.next_out = reinterpret_cast<Bytef*>(data.data());
    deflater.avail_out = uInt(data.size());
    for (quint32 y = 0; y < side; ++y) {
        deflater.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(row.constData()));
        deflater.avail_in = uInt(row.size());
        deflate(&deflater, y + 1 == side ? Z_FINISH : Z_NO_FLUSH);
    }
    data.truncate(int(deflater.total_out));
    deflateEnd(&deflater);
    QByteArray png = withPngSize(smallPng.left(33), side, side).replace(24, 2, QByteArray::fromHex("0800"));
    const quint32 headerCrc = quint32(crc32(0, reinterpret_cast<const Bytef*>(png.constData()) + 12, 17));
    for (int i = 0; i < 4; ++i)
        png[29 + i] = char(headerCrc >> (24 - 8 * i));
    const QByteArray chunk = QByteArray("IDAT") + data;
    const quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef*>(chunk.constData()), uInt(chunk.size())));
    for (const quint32 word : {quint32(data.size()), crc})
        png.append(char(word >> 24)).append(char(word >> 16)).append(char(word >> 8)).append(char(word));
    png.insert(png.size() - 4, chunk);
    return png + QByteArray::fromHex("0000000049454e44ae426082");
}

// An RGB profile with D65 white, the given primaries and a gamma (0: the sRGB curve).
void writeProfile(const QString& path, cmsCIExyYTRIPLE primaries, double gamma)
{
    cmsCIExyY white;
    cmsWhitePointFromTemp(&white, 6504);
    const double srgbCurve[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    cmsToneCurve* curve =
        gamma > 0 ? cmsBuildGamma(nullptr, gamma) : cmsBuildParametricToneCurve(nullptr, 4, srgbCurve);
    cmsToneCurve* curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    ASSERT_TRUE(cmsSaveProfileToFile(profile, qPrintable(path)));
    cmsCloseProfile(profile);
    cmsFreeToneCurve(curve);
}

// A printer's CMYK profile (version 2: a table each way) as lcms2 builds it, whose inks differ from the
// plain formula (red and blue trade places), so that a copy that ignored it
// would show the wrong colours.
void writeCmykProfile(const QString& path)
{
    cmsHPROFILE srgb = cmsCreate_sRGBProfile(), lab = cmsCreateLab4Profile(nullptr);
    cmsHTRANSFORM toLab = cmsCreateTransform(srgb, TYPE_RGB_DBL, lab, TYPE_Lab_DBL, INTENT_PERCEPTUAL, 0);
    cmsHTRANSFORM fromLab = cmsCreateTransform(lab, TYPE_Lab_DBL, srgb, TYPE_RGB_DBL, INTENT_PERCEPTUAL, 0);
    // Inks to Lab: the plain formula, red and blue swapped.
    const auto inksToLab = [](const cmsUInt16Number in[], cmsUInt16Number out[], void* transform) {
        const double k = 1 - in[3] / 65535.0;
        const double rgb[3] = {(1 - in[2] / 65535.0) * k, (1 - in[1] / 65535.0) * k, (1 - in[0] / 65535.0) * k};
        cmsCIELab colour;
        cmsDoTransform(transform, rgb, &colour, 1);
        cmsFloat2LabEncodedV2(out, &colour);
        return 1;
    };
    const auto labToInks = [](const cmsUInt16Number in[], cmsUInt16Number out[], void* transform) {
        cmsCIELab colour;
        cmsLabEncoded2FloatV2(&colour, in);
        double rgb[3];
        cmsDoTransform(transform, &colour, rgb, 1);
        const double r = std::clamp(rgb[2], 0.0, 1.0), g = std::clamp(rgb[1], 0.0, 1.0),
                     b = std::clamp(rgb[0], 0.0, 1.0);
        const double k = 1 - std::max({r, g, b});
        const double inks[4] = {k < 1 ? (1 - r - k) / (1 - k) : 0, k < 1 ? (1 - g - k) / (1 - k) : 0,
                                k < 1 ? (1 - b - k) / (1 - k) : 0, k};
        for (int i = 0; i < 4; ++i)
            out[i] = cmsUInt16Number(std::lround(inks[i] * 65535));
        return 1;
    };
    cmsPipeline* toPcs = cmsPipelineAlloc(nullptr, 4, 3);
    cmsStage* forward = cmsStageAllocCLut16bit(nullptr, 9, 4, 3, nullptr);
    cmsStageSampleCLut16bit(forward, inksToLab, toLab, 0);
    cmsPipelineInsertStage(toPcs, cmsAT_END, forward);
    cmsPipeline* fromPcs = cmsPipelineAlloc(nullptr, 3, 4);
    cmsStage* backward = cmsStageAllocCLut16bit(nullptr, 33, 3, 4, nullptr);
    cmsStageSampleCLut16bit(backward, labToInks, fromLab, 0);
    cmsPipelineInsertStage(fromPcs, cmsAT_END, backward);
    cmsHPROFILE cmyk = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(cmyk, 2.1);
    cmsSetDeviceClass(cmyk, cmsSigOutputClass);
    cmsSetColorSpace(cmyk, cmsSigCmykData);
    cmsSetPCS(cmyk, cmsSigLabData);
    cmsWriteTag(cmyk, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsWriteTag(cmyk, cmsSigAToB0Tag, toPcs);
    cmsWriteTag(cmyk, cmsSigBToA0Tag, fromPcs);
    EXPECT_TRUE(cmsSaveProfileToFile(cmyk, qPrintable(path)));
    cmsCloseProfile(cmyk);
    cmsPipelineFree(toPcs);
    cmsPipelineFree(fromPcs);
    cmsDeleteTransform(toLab);
    cmsDeleteTransform(fromLab);
    cmsCloseProfile(srgb);
    cmsCloseProfile(lab);
}

// Every kind of JPEG and every other format an author brings gives the same upright copy: palettes, 16 bits, grey,
// the first frame of an animation, the orientation tag, colour profiles turned into sRGB, transparency laid on the
// page's background, a PNG named as a JPEG read by its content. (A progressive JPEG: the 1000-scan row of the
// failures.)
TEST_F(ZelResample, EveryPictureFormatGivesTheSameUprightCopy)
{
    const QString upright = quadrants();
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    ASSERT_TRUE(cmsSaveProfileToFile(srgb, qPrintable(path("srgb.icc"))));
    cmsCloseProfile(srgb);
    writeProfile(path("p3.icc"), {{0.680, 0.320, 1}, {0.265, 0.690, 1}, {0.150, 0.060, 1}}, 0);
    writeProfile(path("adobe.icc"), {{0.64, 0.33, 1}, {0.21, 0.71, 1}, {0.15, 0.06, 1}}, 2.19921875);
    const QString toP3 = "-profile " + path("srgb.icc") + " -profile " + path("p3.icc");
    const QString toAdobe = "-profile " + path("srgb.icc") + " -profile " + path("adobe.icc");
    writeCmykProfile(path("cmyk.icc"));
    const QString toCmyk = "-profile " + path("srgb.icc") + " -profile " + path("cmyk.icc");
    expectUprightQuadrants("baseline JFIF", cjpeg({}));
    expectUprightQuadrants("grayscale JPEG", cjpeg({"-grayscale"}));
    const struct {
        std::string name;
        QString output;     // convert's output
        QString after = {}; // its options after the input
        int tolerance = 40;
        bool grey = false;
    } rows[] = {
        {"CMYK JPEG with Adobe marker", "adobe-cmyk.jpg", "-colorspace CMYK"},
        {"PNG", "q.png"},
        {"PNG 16-bit", "q16.png", "-depth 16"},
        {"PNG palette", "PNG8:q8.png"},
        {"PNG grey", "grey.png", "-grayscale Rec601Luma", 40, true},
        {"PNG named .jpg", "PNG:png.jpg"},
        {"PNG interlaced", "qi.png", "-interlace PNG"},
        {"GIF", "q.gif"},
        {"GIF interlaced", "qi.gif", "-interlace GIF"},
        {"WebP", "q.webp", "-define webp:lossless=true"},
        {"HEIC", "q.heic", "-quality 95"},
        {"AVIF", "q.avif", "-quality 95"},
        {"TIFF", "q.tif"},
        {"TIFF tiled", "qt.tif", "-define tiff:tile-geometry=32x32"},
        {"TIFF 16-bit", "q16.tif", "-depth 16"},
        {"BMP", "BMP3:q.bmp"},
        {"BMP palette", "BMP3:qp.bmp", "-type palette"},
        {"Display P3 PNG", "p3.png", toP3, 12},
        {"Adobe RGB TIFF", "adobe.tif", toAdobe, 12},
        {"Adobe RGB JPEG", "adobe.jpg", toAdobe + " -quality 98", 12},
        // The profile's coarse tables cost some precision; ignoring it would swap red and blue.
        {"CMYK JPEG with its profile", "cmyk.jpg", toCmyk + " -quality 98", 28},
        {"GIF animation", "anim.gif", "( -size 80x60 xc:black ) -loop 0"},
        {"WebP animation", "anim.webp", "( -size 80x60 xc:black ) -loop 0 -define webp:lossless=true"},
    };
    for (const auto& row : rows) {
        // "PNG8:name": the format ImageMagick writes, before the path.
        const QString file = path(row.output.section(':', -1));
        const QString format = row.output.contains(':') ? row.output.section(':', 0, 0) + ':' : QString();
        helper("convert", (upright + " " + row.after + " " + format + file).split(' ', Qt::SkipEmptyParts));
        if (row.name.find("animation") != std::string::npos) {
            ASSERT_TRUE(readBytes(file).contains(row.output.endsWith("webp") ? "ANMF" : "NETSCAPE")) << row.name;
        }
        expectUprightQuadrants(row.name, file, row.tolerance, row.grey);
    }
    // The top left quadrant transparent: on the Template's page background, or the one the maker passes.
    helper("convert", QString("%1 ( -size 40x30 xc:black xc:white +append ( -size 80x30 xc:white ) -append ) -alpha "
                              "off -compose CopyOpacity -composite %2")
                          .arg(upright, path("clear.png"))
                          .split(' '));
    for (const auto& [background, expected] :
         {std::pair{QByteArray(), std::array{251, 248, 240}}, {QByteArray("#000080"), std::array{0, 0, 128}}}) {
        qputenv("ZEL_PICTURE_BACKGROUND", background);
        ASSERT_EQ(resample(path("clear.png"), 60, 45, destination).exitCode, 0);
        const Picture copy = decode(destination);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(copy.at(5, 5, c), expected[std::size_t(c)], 6) << background.toStdString();
        EXPECT_NEAR(copy.at(55, 5, 1), 255, 12) << "the opaque quadrant stays";
    }
    qunsetenv("ZEL_PICTURE_BACKGROUND");
    // The orientation tag of an Exif segment before the JFIF one (in either byte order) and of a TIFF: the stored
    // rows are the upright picture turned against what the tag tells a viewer to do.
    const char* const tags[] = {"TopLeft", "TopRight", "BottomRight", "BottomLeft",
                                "LeftTop", "RightTop", "RightBottom", "LeftBottom"};
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const QString turned = quadrants(kTurnStored[orientation - 1]);
        helper("convert", {turned, "-orient", tags[orientation - 1], path("oriented.tif")});
        expectUprightQuadrants("TIFF orientation " + std::to_string(orientation), path("oriented.tif"));
        const QByteArray plain = readBytes(cjpeg({}, "plain.jpg", turned));
        writeBytes(path("oriented.jpg"), QByteArray(plain).insert(2, exifSegment(orientation, orientation % 2)));
        expectUprightQuadrants("Exif orientation " + std::to_string(orientation), path("oriented.jpg"));
    }
}

// A PNG's pixels are widened by the program's own code, an interlaced PNG's by libpng: every kind of pixel stored
// both ways gives the same copy, byte for byte, shrunk by blocks or not.
TEST_F(ZelResample, EveryKindOfPngPixelGivesTheSameCopyInterlacedOrNot)
{
    helper("convert", {"-size", "67x45", "xc:", "+noise", "Random", "-blur", "0x1", "-depth", "16", path("noise.png")});
    const QString alpha = "-alpha set -channel A -fx 0.5+0.5*r +channel ";
    const QString kinds[] = {
        "-type Bilevel -define png:bit-depth=1 -define png:color-type=0",
        "-colorspace Gray -define png:bit-depth=2 -define png:color-type=0",
        "-colorspace Gray -define png:bit-depth=4 -define png:color-type=0",
        "-colorspace Gray -depth 16 -define png:color-type=0",
        "-colors 3 -define png:color-type=3 -define png:bit-depth=2",
        "-colors 12 -define png:color-type=3 -define png:bit-depth=4",
        "-alpha set -channel A -fx r>0.5 +channel -colors 8 PNG8:", // palette with tRNS
        "-depth 8 -define png:color-type=2",
        "-depth 16 -define png:color-type=2",
        alpha + "-depth 8 -define png:color-type=6",
        alpha + "-depth 16 -define png:color-type=6",
        "-colorspace Gray " + alpha + "-depth 8 -define png:color-type=4",
        "-colorspace Gray " + alpha + "-depth 16 -define png:color-type=4",
    };
    for (const QString& kind : kinds) {
        QList<QByteArray> copies;
        for (const QString interlace : {"none", "PNG"}) {
            QStringList options = kind.split(' ', Qt::SkipEmptyParts);
            const QString format = options.last().endsWith(':') ? options.takeLast() : QString();
            helper("convert", QStringList{path("noise.png")} + options
                                  + QStringList{"-interlace", interlace, format + path(interlace + ".png")});
            for (const QSize size : {QSize(60, 40), QSize(20, 13)}) {
                ASSERT_EQ(resample(path(interlace + ".png"), size.width(), size.height(), destination).exitCode, 0)
                    << kind.toStdString();
                copies.append(readBytes(destination));
            }
        }
        EXPECT_EQ(copies[0], copies[2]) << kind.toStdString();
        EXPECT_EQ(copies[1], copies[3]) << kind.toStdString();
    }
}

// Damaged and unreadable pictures, cut at many lengths, with flipped bytes:
// exit 3 with one line on standard error, never a partial copy; exit 1 when
// the destination cannot be written.
TEST_F(ZelResample, FailuresGiveOneLineAndLeaveNoPartialCopy)
{
    const QByteArray good = readBytes(cjpeg({"-progressive"}));
    const QByteArray baseline = readBytes(cjpeg({"-baseline"}, "baseline.jpg"));
    const qsizetype frame = good.indexOf("\xFF\xC2"), scan = good.indexOf("\xFF\xDA");
    const qsizetype baselineFrame = baseline.indexOf("\xFF\xC0");
    QList<std::pair<std::string, QByteArray>> damaged = {
        {"end marker missing", good.left(good.size() - 2)},
        {"zero width", QByteArray(good).replace(frame + 7, 2, QByteArray(2, 0))},
        {"segment length past the end", QByteArray(good).replace(4, 2, "\xFF\xF0")},
        {"scan data all FF", good.left(scan + 20) + QByteArray(good.size() - scan - 22, '\xFF') + good.right(2)},
        {"declares 20000 x 12501 (too large)", QByteArray(good).replace(frame + 5, 4, "\x30\xD5\x4E\x20")},
        {"12-bit", QByteArray(baseline).replace(baselineFrame + 1, 1, "\xC1").replace(baselineFrame + 4, 1, "\x0C")},
        {"lossless", QByteArray(baseline).replace(baselineFrame, 2, "\xFF\xC3")},
        {"1001 scans (too slow)", readBytes(scanHeavy(1001, "64x48", "scans.jpg"))},
    };
    // Other formats cut short, and a PNG declaring 50,000 x 50,000 pixels in a few hundred bytes.
    for (const QString format : {"png", "gif", "webp", "heic", "tif", "bmp"}) {
        helper("convert", {quadrants(), path("whole." + format)});
        const QByteArray whole = readBytes(path("whole." + format));
        damaged.append({format.toStdString() + " cut short", whole.left(whole.size() / 2)});
    }
    damaged.append({"PNG declares 50000 x 50000 (too large)", withPngSize(readBytes(path("whole.png")), 50000, 50000)});
    damaged.append({"PNG declares 70000 x 2 (too large a side)", withPngSize(readBytes(path("whole.png")), 70000, 2)});
    // Every image item of a HEIC (its coded tile too) claiming 50,000 x 50,000 pixels.
    QByteArray hugeHeic = readBytes(path("whole.heic"));
    for (qsizetype at = hugeHeic.indexOf("ispe"); at >= 0; at = hugeHeic.indexOf("ispe", at + 4))
        hugeHeic.replace(at + 8, 8, QByteArray::fromHex("0000c3500000c350"));
    ASSERT_TRUE(hugeHeic.contains(QByteArray::fromHex("6973706500000000"
                                                      "0000c350")));
    damaged.append({"HEIC declares 50000 x 50000 (too large)", hugeHeic});
    // Cut at many lengths, or one byte flipped: a flipped byte may leave a picture that still decodes.
    for (const QByteArray& whole : {baseline, good})
        for (qsizetype at = 0; at < whole.size(); at += std::max<qsizetype>(1, whole.size() / 40)) {
            damaged.append({"cut to " + std::to_string(at), whole.left(at)});
            damaged.append({"flipped byte " + std::to_string(at),
                            QByteArray(whole).replace(at, 1, QByteArray(1, char(whole[at] ^ 0x5A)))});
        }
    for (const auto& [name, bytes] : damaged) {
        writeBytes(path("damaged.jpg"), bytes);
        writeBytes(destination, "previous copy");
        const ProgramRun result = resample(path("damaged.jpg"), 200, 150, destination);
        if (name.starts_with("flipped") && result.exitCode == 0) {
            EXPECT_EQ(decode(destination).width, 200) << name;
            continue;
        }
        EXPECT_EQ(result.exitCode, 3) << name;
        EXPECT_TRUE(result.error.startsWith("zel-resample: ") && result.error.count('\n') == 1)
            << name << result.error.toStdString();
        for (const auto& [kind, reason] : {std::pair{"too large", "too large"},
                                           {"too slow", "too slow"},
                                           {"12-bit", "precision 12"},
                                           {"lossless", "SOF type 0xc3"}})
            EXPECT_EQ(name.find(kind) != std::string::npos, result.error.contains(reason))
                << name << ": " << result.error.toStdString();
        EXPECT_EQ(readBytes(destination), "previous copy") << name;
    }
    ASSERT_EQ(resample(scanHeavy(1000, "64x48", "scans.jpg"), 20, 15, destination).exitCode, 0)
        << "1000 scans are still accepted";
    EXPECT_EQ(decode(destination).width, 20);
    // 6,200 x 6,200 white pixels summed into one stay white.
    writeBytes(path("white.png"), whitePng(readBytes(path("whole.png")), 6200));
    ASSERT_EQ(resample(path("white.png"), 1, 1, destination).exitCode, 0);
    EXPECT_GE(decode(destination).at(0, 0, 0), 250);

    // A source that is not there, or no regular file (never waited on): 3; a destination that cannot be
    // written: 1 (a bad command line: command_line_test.cpp).
    const QString to = "/convert=" + destination, source = path("source.jpg");
    ASSERT_EQ(::mkfifo(qPrintable(path("fifo.jpg")), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", path("zero.jpg")));
    const struct {
        QStringList arguments;
        int exitCode;
        QString said;
    } runs[] = {
        {{path("absent.jpg"), "/resample=(10,10)", to}, 3, "absent.jpg: No such file"},
        {{path("fifo.jpg"), "/resample=(10,10)", to}, 3, "fifo.jpg: is not a regular file"},
        {{path("zero.jpg"), "/resample=(10,10)", to}, 3, "zero.jpg: is not a regular file"},
        {{source, "/resample=(10,10)", "/convert=" + path("no such folder/copy.jpg")}, 1, "copy.jpg: No such file"},
    };
    for (const auto& run : runs) {
        QFile::remove(destination);
        const ProgramRun result = runProgram(ZEL_PROGRAM_DIR "/zel-resample", run.arguments);
        EXPECT_EQ(result.exitCode, run.exitCode) << run.arguments.join(' ').toStdString();
        EXPECT_TRUE(result.error.contains(run.said) && result.error.count('\n') == 1) << result.error.toStdString();
        EXPECT_EQ(QDir(path("my pictures")).entryList(QDir::Files | QDir::Hidden), QStringList{});
    }
}

// A run ended by SIGTERM in the middle of its work (SIGINT and SIGHUP share
// its handler) removes its temporary file, leaves the previous copy and dies
// of the signal.
TEST_F(ZelResample, TerminationSignalLeavesNoTemporaryFile)
{
    const QString source = scanHeavy(1000, "3000x2000", "slow.jpg");
    writeBytes(destination, "previous copy");
    // The folder's first change is the run's temporary file.
    QFileSystemWatcher watcher({path("my pictures")});
    QEventLoop loop;
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    QProcess process;
    process.start(ZEL_PROGRAM_DIR "/zel-resample", {source, "/resample=(400,300)", "/convert=" + destination});
    loop.exec();
    ASSERT_FALSE(QDir(path("my pictures")).entryList({".zel-resample-*"}, QDir::Files | QDir::Hidden).isEmpty());
    ASSERT_EQ(process.state(), QProcess::Running) << "the run ended before its temporary file was seen";
    ::kill(pid_t(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(QDir(path("my pictures")).entryList(QDir::Files | QDir::Hidden), QStringList{"holiday copy 1.jpg"});
    EXPECT_EQ(readBytes(destination), "previous copy");
}

// A full disk, by bytes or by inodes: exit 4 with one line naming the
// destination and the system's reason (never the run's temporary file), the
// previous copy kept and nothing left behind.
TEST_F(ZelResample, FullDiskByBytesOrInodesGivesItsOwnExitStatus)
{
    const QString source = cjpeg({});
    const struct {
        const char* name;
        const char* options;
        const char* fill; // shell lines that use up the disk's bytes or inodes
        const char* said; // DEST: the destination
    } rows[] = {
        {"no bytes left", "size=64k", "cat /dev/zero > filler",
         "zel-resample: cannot write DEST: No space left on device\n"},
        {"no inodes left", "size=1m,nr_inodes=8", "i=0\nwhile touch $i; do i=$((i + 1)); done",
         "zel-resample: cannot create a file beside DEST: No space left on device\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir disk;
        if (::mount("tmpfs", qPrintable(disk.path()), "tmpfs", 0, row.options) != 0)
            GTEST_SKIP() << "tmpfs cannot be mounted here";
        const auto unmount = qScopeGuard([&] { ::umount(qPrintable(disk.path())); });
        const QString copy = disk.filePath("copy.jpg");
        writeBytes(copy, "previous copy");
        runProgram("sh", {"-c", "cd \"$0\" || exit\n" + QString(row.fill), disk.path()});
        const ProgramRun result = resample(source, 60, 45, copy);
        EXPECT_EQ(result.exitCode, 4);
        EXPECT_EQ(result.error.toStdString(), QString(row.said).replace("DEST", copy).toStdString());
        EXPECT_EQ(readBytes(copy), "previous copy");
        EXPECT_EQ(QDir(disk.path()).entryList({".zel-*"}, QDir::Files | QDir::Hidden), QStringList());
    }
}

} // namespace
