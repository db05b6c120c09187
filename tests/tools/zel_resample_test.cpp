// Drives the zel-resample program as the page maker does: one run per picture,
// then inspects the JPEG it wrote (size, colours, baseline coding) or checks
// that a failure left nothing behind. Test pictures are made with ImageMagick's
// convert and libjpeg-turbo's cjpeg; results are read back with djpeg.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

const QString resampleProgram = QStringLiteral(ZEL_PROGRAM_DIR "/zel-resample");
constexpr int processTimeoutMs = 60000; // guards against a hang, never reached normally

struct RunResult
{
    bool finished = false;
    bool crashed = false;
    int exitCode = -1;
    QByteArray standardOutput;
    QByteArray standardError;
};

RunResult runProgram(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    RunResult result;
    result.finished = process.waitForFinished(processTimeoutMs);
    if (!result.finished) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.crashed = process.exitStatus() != QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.standardOutput = process.readAllStandardOutput();
    result.standardError = process.readAllStandardError();
    return result;
}

RunResult runResample(const QString& source, int width, int height, const QString& destination)
{
    return runProgram(resampleProgram, {source, QStringLiteral("/resample=(%1,%2)").arg(width).arg(height),
                                        QStringLiteral("/convert=") + destination});
}

// Runs a helper program that must succeed; returns its standard output.
QByteArray runHelper(const QString& program, const QStringList& arguments)
{
    const RunResult result = runProgram(program, arguments);
    EXPECT_TRUE(result.finished && !result.crashed && result.exitCode == 0)
        << program.toStdString() << " failed: " << result.standardError.toStdString();
    return result.standardOutput;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// A decoded picture as djpeg writes it (PPM or PGM).
struct Picture
{
    int width = 0;
    int height = 0;
    int channels = 0;
    QByteArray pixels;

    std::array<int, 3> at(int x, int y) const
    {
        const auto* p = reinterpret_cast<const std::uint8_t*>(pixels.constData())
                        + (static_cast<qsizetype>(y) * width + x) * channels;
        if (channels == 1)
            return {p[0], p[0], p[0]};
        return {p[0], p[1], p[2]};
    }
};

Picture decodeWithDjpeg(const QString& path)
{
    const QByteArray pnm = runHelper(QStringLiteral("djpeg"), {QStringLiteral("-pnm"), path});
    Picture picture;
    // Header: magic, width, height, maxval, one whitespace byte, then samples.
    qsizetype pos = 0;
    auto token = [&]() {
        while (pos < pnm.size() && QChar(pnm[pos]).isSpace())
            ++pos;
        const qsizetype begin = pos;
        while (pos < pnm.size() && !QChar(pnm[pos]).isSpace())
            ++pos;
        return pnm.mid(begin, pos - begin);
    };
    const QByteArray magic = token();
    picture.channels = magic == "P6" ? 3 : (magic == "P5" ? 1 : 0);
    picture.width = token().toInt();
    picture.height = token().toInt();
    token();
    picture.pixels = pnm.mid(pos + 1);
    return picture;
}

// Marker bytes (the byte after FF) of every segment before the entropy data.
std::vector<int> markersOf(const QByteArray& jpeg)
{
    std::vector<int> markers;
    qsizetype pos = 2;
    while (pos + 4 <= jpeg.size() && static_cast<std::uint8_t>(jpeg[pos]) == 0xFF) {
        const int marker = static_cast<std::uint8_t>(jpeg[pos + 1]);
        markers.push_back(marker);
        if (marker == 0xDA)
            break;
        const int length = static_cast<std::uint8_t>(jpeg[pos + 2]) << 8 | static_cast<std::uint8_t>(jpeg[pos + 3]);
        pos += 2 + length;
    }
    return markers;
}

bool hasMarker(const QByteArray& jpeg, int marker)
{
    const std::vector<int> markers = markersOf(jpeg);
    return std::find(markers.begin(), markers.end(), marker) != markers.end();
}

// Removes every segment with the given marker that precedes the scan.
QByteArray withoutSegments(const QByteArray& jpeg, int marker)
{
    QByteArray result = jpeg.left(2);
    qsizetype pos = 2;
    while (pos + 4 <= jpeg.size() && static_cast<std::uint8_t>(jpeg[pos]) == 0xFF) {
        const int current = static_cast<std::uint8_t>(jpeg[pos + 1]);
        if (current == 0xDA)
            break;
        const int length = static_cast<std::uint8_t>(jpeg[pos + 2]) << 8 | static_cast<std::uint8_t>(jpeg[pos + 3]);
        if (current != marker)
            result += jpeg.mid(pos, 2 + length);
        pos += 2 + length;
    }
    return result + jpeg.mid(pos);
}

// An APP1 Exif segment whose TIFF structure holds one IFD with one entry:
// Orientation (0x0112), type SHORT, count 1.
QByteArray exifSegment(int orientation, bool bigEndian)
{
    QByteArray tiff;
    auto word = [&](int value) {
        if (bigEndian) {
            tiff += char(value >> 8 & 0xFF);
            tiff += char(value & 0xFF);
        } else {
            tiff += char(value & 0xFF);
            tiff += char(value >> 8 & 0xFF);
        }
    };
    auto longWord = [&](int value) {
        if (bigEndian) {
            word(value >> 16 & 0xFFFF);
            word(value & 0xFFFF);
        } else {
            word(value & 0xFFFF);
            word(value >> 16 & 0xFFFF);
        }
    };
    tiff += bigEndian ? "MM" : "II";
    word(42);
    longWord(8);        // first IFD right after the header
    word(1);            // one entry
    word(0x0112);
    word(3);
    longWord(1);
    word(orientation);
    word(0);            // rest of the 4-byte value field
    longWord(0);        // no next IFD
    const QByteArray data = QByteArray("Exif", 4) + QByteArray(2, '\0') + tiff;
    QByteArray segment("\xFF\xE1", 2);
    const int length = static_cast<int>(data.size()) + 2;
    segment += char(length >> 8);
    segment += char(length & 0xFF);
    return segment + data;
}

// Puts the segment right after the start-of-image marker.
QByteArray withSegmentAfterStart(const QByteArray& jpeg, const QByteArray& segment)
{
    return jpeg.left(2) + segment + jpeg.mid(2);
}

// Colours of the four quadrants of the test picture, upright.
constexpr std::array<int, 3> red{255, 0, 0};
constexpr std::array<int, 3> lime{0, 255, 0};
constexpr std::array<int, 3> blue{0, 0, 255};
constexpr std::array<int, 3> yellow{255, 255, 0};

bool near(const std::array<int, 3>& actual, const std::array<int, 3>& expected, int tolerance)
{
    for (int c = 0; c < 3; ++c)
        if (std::abs(actual[c] - expected[c]) > tolerance)
            return false;
    return true;
}

std::string describe(const std::array<int, 3>& colour)
{
    return "(" + std::to_string(colour[0]) + "," + std::to_string(colour[1]) + "," + std::to_string(colour[2]) + ")";
}

// Checks the quadrant colours well inside each quadrant of an upright picture.
void expectQuadrants(const Picture& picture, const std::array<std::array<int, 3>, 4>& expected, int tolerance)
{
    const int left = picture.width / 6;
    const int right = picture.width - 1 - picture.width / 6;
    const int top = picture.height / 6;
    const int bottom = picture.height - 1 - picture.height / 6;
    const std::array<std::array<int, 2>, 4> points{{{left, top}, {right, top}, {left, bottom}, {right, bottom}}};
    const char* names[4] = {"top left", "top right", "bottom left", "bottom right"};
    for (int i = 0; i < 4; ++i) {
        const auto actual = picture.at(points[i][0], points[i][1]);
        EXPECT_TRUE(near(actual, expected[i], tolerance))
            << names[i] << " is " << describe(actual) << ", expected " << describe(expected[i]);
    }
}

class ZelResampleTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }

    QString path(const QString& name) const { return m_folder.filePath(name); }

    // The 80 x 60 test picture as PPM: red, lime / blue, yellow quadrants,
    // turned by the ImageMagick operation (empty: upright).
    QString quadrantPicture(const QString& turn = {})
    {
        const QString name = path(QStringLiteral("quadrants%1.ppm").arg(m_counter++));
        QStringList arguments{"-size", "40x30", "xc:red", "-size", "40x30", "xc:lime", "+append",
                              "(", "-size", "40x30", "xc:blue", "-size", "40x30", "xc:yellow", "+append", ")",
                              "-append"};
        if (!turn.isEmpty())
            arguments += turn.split(' ');
        arguments += name;
        runHelper(QStringLiteral("convert"), arguments);
        return name;
    }

    // A JPEG made by cjpeg from a PPM with the given extra cjpeg options.
    QString cjpegPicture(const QString& ppm, const QStringList& options, const QString& name)
    {
        const QString jpeg = path(name);
        runHelper(QStringLiteral("cjpeg"), options + QStringList{"-quality", "95", "-outfile", jpeg, ppm});
        return jpeg;
    }

    // A photo-like JPEG of the given size (a smooth gradient with some texture).
    QString gradientPicture(int width, int height, const QString& name)
    {
        const QString jpeg = path(name);
        runHelper(QStringLiteral("convert"),
                  {"-size", QStringLiteral("%1x%2").arg(width).arg(height), "gradient:orange-navy",
                   "-quality", "90", jpeg});
        return jpeg;
    }

    // Names left in the folder other than the given ones (leftover temporary files).
    QStringList filesBesides(const QStringList& expected) const
    {
        QStringList names = QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QString& name : expected)
            names.removeAll(name);
        return names;
    }

    QTemporaryDir m_folder;
    int m_counter = 0;
};

// ---------------------------------------------------------------- sizes

struct SizeCase
{
    const char* name;
    int sourceWidth;
    int sourceHeight;
    int width;
    int height;
};

const SizeCase sizeCases[] = {
    {"photo shrunk to a leaf width", 800, 600, 500, 375},
    {"large photo shrunk to a thumbnail", 2400, 1800, 228, 171},
    {"square enlarged five times", 100, 100, 500, 500},
    {"same size", 320, 240, 320, 240},
    {"aspect changed", 300, 200, 37, 91},
    {"shrunk to one pixel", 64, 48, 1, 1},
    {"one pixel enlarged", 1, 1, 7, 5},
    {"very thin strip", 640, 8, 33, 1},
    {"odd sizes not multiples of eight", 1001, 757, 613, 419},
};

class ResampleSize : public ZelResampleTest, public ::testing::WithParamInterface<SizeCase>
{
};

TEST_P(ResampleSize, WritesBaselineJpegOfExactlyTheRequestedSize)
{
    const SizeCase& row = GetParam();
    const QString source = gradientPicture(row.sourceWidth, row.sourceHeight, QStringLiteral("source.jpg"));
    const QString destination = path(QStringLiteral("copy.jpg"));

    const RunResult run = runResample(source, row.width, row.height, destination);
    ASSERT_TRUE(run.finished && !run.crashed);
    ASSERT_EQ(run.exitCode, 0) << run.standardError.toStdString();

    const Picture copy = decodeWithDjpeg(destination);
    EXPECT_EQ(copy.width, row.width);
    EXPECT_EQ(copy.height, row.height);
    const QByteArray bytes = readAll(destination);
    EXPECT_TRUE(hasMarker(bytes, 0xC0)) << "no baseline frame header";
    EXPECT_FALSE(hasMarker(bytes, 0xC2)) << "progressive frame header";
    EXPECT_EQ(filesBesides({"source.jpg", "copy.jpg"}), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Sizes, ResampleSize, ::testing::ValuesIn(sizeCases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

struct AliasCase
{
    const char* name;
    int width;
    int height;
};

// A one-pixel checkerboard has nothing but detail finer than any smaller
// pixel grid can hold: a proper filter turns it into even grey, a sloppy one
// (point sampling, a too-narrow kernel) into stripes and moire.
const AliasCase aliasCases[] = {
    {"to_a_leaf_width", 500, 375},
    {"to_a_thumbnail", 228, 171},
    {"by_an_odd_factor", 333, 250},
    {"by_a_fifth", 640, 480},
};

class ResampleAliasing : public ZelResampleTest, public ::testing::WithParamInterface<AliasCase>
{
};

TEST_P(ResampleAliasing, FineCheckerboardShrinksToEvenGrey)
{
    const QString ppm = path(QStringLiteral("checkerboard.ppm"));
    runHelper(QStringLiteral("convert"), {"-size", "800x600", "pattern:gray50", "-type", "TrueColor", ppm});
    const QString source = cjpegPicture(ppm, {"-sample", "1x1"}, QStringLiteral("checkerboard.jpg"));
    const QString destination = path(QStringLiteral("copy.jpg"));

    const RunResult run = runResample(source, GetParam().width, GetParam().height, destination);
    ASSERT_EQ(run.exitCode, 0) << run.standardError.toStdString();

    const Picture copy = decodeWithDjpeg(destination);
    ASSERT_EQ(copy.width, GetParam().width);
    int darkest = 255;
    int lightest = 0;
    for (int y = 0; y < copy.height; ++y)
        for (int x = 0; x < copy.width; ++x) {
            darkest = std::min(darkest, copy.at(x, y)[1]);
            lightest = std::max(lightest, copy.at(x, y)[1]);
        }
    EXPECT_GE(darkest, 128 - 24);
    EXPECT_LE(lightest, 128 + 24);
}

INSTANTIATE_TEST_SUITE_P(Aliasing, ResampleAliasing, ::testing::ValuesIn(aliasCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- kinds of input

enum class Kind { Baseline, Progressive, Grayscale, CmykAdobe, CmykPlain, ExifWithoutJfif, RestartMarkers };

struct KindCase
{
    const char* name;
    Kind kind;
};

const KindCase kindCases[] = {
    {"baseline_JFIF", Kind::Baseline},
    {"progressive", Kind::Progressive},
    {"grayscale", Kind::Grayscale},
    {"CMYK_with_Adobe_marker_inverted", Kind::CmykAdobe},
    {"CMYK_without_Adobe_marker", Kind::CmykPlain},
    {"Exif_header_without_JFIF", Kind::ExifWithoutJfif},
    {"restart_markers", Kind::RestartMarkers},
};

class ResampleInputKind : public ZelResampleTest, public ::testing::WithParamInterface<KindCase>
{
protected:
    QString makeSource(Kind kind)
    {
        const QString ppm = quadrantPicture();
        switch (kind) {
        case Kind::Baseline:
            return cjpegPicture(ppm, {}, QStringLiteral("baseline.jpg"));
        case Kind::Progressive:
            return cjpegPicture(ppm, {"-progressive"}, QStringLiteral("progressive.jpg"));
        case Kind::Grayscale:
            return cjpegPicture(ppm, {"-grayscale"}, QStringLiteral("grey.jpg"));
        case Kind::RestartMarkers:
            return cjpegPicture(ppm, {"-restart", "1"}, QStringLiteral("restart.jpg"));
        case Kind::CmykAdobe: {
            // ImageMagick stores CMYK inverted, as Adobe applications do, and marks it with APP14.
            const QString jpeg = path(QStringLiteral("cmyk.jpg"));
            runHelper(QStringLiteral("convert"), {ppm, "-colorspace", "CMYK", "-quality", "95", jpeg});
            EXPECT_TRUE(hasMarker(readAll(jpeg), 0xEE));
            return jpeg;
        }
        case Kind::CmykPlain: {
            // libvips writes CMYK inverted with the Adobe marker but without the
            // YCCK transform. Feeding it negated inks and then dropping the marker
            // leaves plain samples (0 = no ink) of the true colours.
            const QString negated = path(QStringLiteral("cmyk-negated.tif"));
            runHelper(QStringLiteral("convert"),
                      {ppm, "-colorspace", "CMYK", "-channel", "CMYK", "-negate", "+channel", negated});
            const QString marked = path(QStringLiteral("cmyk-marked.jpg"));
            runHelper(QStringLiteral("vips"), {"copy", negated, marked + "[Q=95]"});
            const QString plain = path(QStringLiteral("cmyk-plain.jpg"));
            writeAll(plain, withoutSegments(readAll(marked), 0xEE));
            EXPECT_FALSE(hasMarker(readAll(plain), 0xEE));
            return plain;
        }
        case Kind::ExifWithoutJfif: {
            const QString jfif = cjpegPicture(ppm, {}, QStringLiteral("jfif.jpg"));
            const QString exif = path(QStringLiteral("exif.jpg"));
            writeAll(exif, withSegmentAfterStart(withoutSegments(readAll(jfif), 0xE0), exifSegment(1, true)));
            return exif;
        }
        }
        return {};
    }
};

TEST_P(ResampleInputKind, KeepsTheColoursOfEachQuadrant)
{
    const KindCase& row = GetParam();
    const QString source = makeSource(row.kind);
    const QString destination = path(QStringLiteral("copy.jpg"));

    const RunResult run = runResample(source, 60, 45, destination);
    ASSERT_TRUE(run.finished && !run.crashed);
    ASSERT_EQ(run.exitCode, 0) << run.standardError.toStdString();

    const Picture copy = decodeWithDjpeg(destination);
    ASSERT_EQ(copy.width, 60);
    ASSERT_EQ(copy.height, 45);
    if (row.kind == Kind::Grayscale) {
        EXPECT_EQ(copy.channels, 1);
        // Luma of red, lime, blue and yellow.
        expectQuadrants(copy, {{{76, 76, 76}, {150, 150, 150}, {29, 29, 29}, {226, 226, 226}}}, 12);
    } else {
        expectQuadrants(copy, {red, lime, blue, yellow}, 40);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ResampleInputKind, ::testing::ValuesIn(kindCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- Exif orientation

struct OrientationCase
{
    const char* name;
    int orientation;
    const char* turnStored; // ImageMagick operation that gives the stored rows
    bool bigEndian;
};

// The stored picture is the upright one turned the opposite way to what the
// orientation tells a viewer to do.
const OrientationCase orientationCases[] = {
    {"1_upright", 1, "", true},
    {"2_mirrored", 2, "-flop", false},
    {"3_upside_down", 3, "-rotate 180", true},
    {"4_flipped", 4, "-flip", false},
    {"5_transposed", 5, "-transpose", true},
    {"6_turn_clockwise", 6, "-rotate 270", false},
    {"6_turn_clockwise_Motorola_order", 6, "-rotate 270", true},
    {"7_transversed", 7, "-transverse", false},
    {"8_turn_anticlockwise", 8, "-rotate 90", true},
    {"8_turn_anticlockwise_Intel_order", 8, "-rotate 90", false},
};

class ResampleOrientation : public ZelResampleTest, public ::testing::WithParamInterface<OrientationCase>
{
};

TEST_P(ResampleOrientation, CopyIsUprightAtTheRequestedSize)
{
    const OrientationCase& row = GetParam();
    const QString stored = quadrantPicture(QString::fromLatin1(row.turnStored));
    const QString plain = cjpegPicture(stored, {}, QStringLiteral("plain.jpg"));
    const QString source = path(QStringLiteral("oriented.jpg"));
    writeAll(source, withSegmentAfterStart(readAll(plain), exifSegment(row.orientation, row.bigEndian)));
    const QString destination = path(QStringLiteral("copy.jpg"));

    // The upright picture is 80 x 60 whatever the stored rows are.
    const RunResult run = runResample(source, 40, 30, destination);
    ASSERT_TRUE(run.finished && !run.crashed);
    ASSERT_EQ(run.exitCode, 0) << run.standardError.toStdString();

    const Picture copy = decodeWithDjpeg(destination);
    ASSERT_EQ(copy.width, 40);
    ASSERT_EQ(copy.height, 30);
    expectQuadrants(copy, {red, lime, blue, yellow}, 40);
}

INSTANTIATE_TEST_SUITE_P(Orientations, ResampleOrientation, ::testing::ValuesIn(orientationCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ZelResampleTest, MalformedExifIsIgnoredAndThePictureKeptAsStored)
{
    const QString plain = cjpegPicture(quadrantPicture(), {}, QStringLiteral("plain.jpg"));
    QByteArray exif = exifSegment(6, true);
    exif.truncate(exif.size() - 8); // IFD entry cut short
    exif[2] = 0;
    exif[3] = char(exif.size() - 2);
    const QString source = path(QStringLiteral("bad-exif.jpg"));
    writeAll(source, withSegmentAfterStart(readAll(plain), exif));
    const QString destination = path(QStringLiteral("copy.jpg"));

    const RunResult run = runResample(source, 40, 30, destination);
    ASSERT_EQ(run.exitCode, 0) << run.standardError.toStdString();
    expectQuadrants(decodeWithDjpeg(destination), {red, lime, blue, yellow}, 40);
}

// ---------------------------------------------------------------- damaged input

struct DamageCase
{
    const char* name;
    QByteArray (*damage)(const QByteArray& good);
};

const DamageCase damageCases[] = {
    {"empty_file", [](const QByteArray&) { return QByteArray(); }},
    {"text_file", [](const QByteArray&) { return QByteArray("just some text\r\n"); }},
    {"only_start_of_image", [](const QByteArray&) { return QByteArray("\xFF\xD8", 2); }},
    {"cut_after_headers", [](const QByteArray& good) { return good.left(good.indexOf("\xFF\xDA") + 12); }},
    {"cut_in_the_middle", [](const QByteArray& good) { return good.left(good.size() / 2); }},
    {"end_marker_missing", [](const QByteArray& good) { return good.left(good.size() - 2); }},
    {"zero_width_in_frame_header",
     [](const QByteArray& good) {
         QByteArray bad = good;
         const qsizetype sof = bad.indexOf("\xFF\xC0");
         bad[sof + 7] = 0;
         bad[sof + 8] = 0;
         return bad;
     }},
    {"segment_length_past_the_end",
     [](const QByteArray& good) {
         QByteArray bad = good;
         bad[4] = char(0xFF);
         bad[5] = char(0xF0);
         return bad;
     }},
    {"scan_data_replaced_by_zero_bytes",
     [](const QByteArray& good) {
         QByteArray bad = good;
         const qsizetype scan = bad.indexOf("\xFF\xDA");
         for (qsizetype i = scan + 20; i < bad.size() - 2; ++i)
             bad[i] = char(0xFF);
         return bad;
     }},
};

class ResampleDamagedInput : public ZelResampleTest, public ::testing::WithParamInterface<DamageCase>
{
};

TEST_P(ResampleDamagedInput, FailsWithOneLineAndWritesNothing)
{
    const QString good = gradientPicture(640, 480, QStringLiteral("good.jpg"));
    const QString source = path(QStringLiteral("damaged.jpg"));
    writeAll(source, GetParam().damage(readAll(good)));
    const QString destination = path(QStringLiteral("copy.jpg"));

    const RunResult run = runResample(source, 200, 150, destination);
    ASSERT_TRUE(run.finished);
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.standardError.startsWith("zel-resample: "));
    EXPECT_EQ(run.standardError.count('\n'), 1) << run.standardError.toStdString();
    EXPECT_FALSE(QFileInfo::exists(destination));
    EXPECT_EQ(filesBesides({"good.jpg", "damaged.jpg"}), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Damage, ResampleDamagedInput, ::testing::ValuesIn(damageCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ZelResampleTest, MissingSourceFailsAndWritesNothing)
{
    const QString destination = path(QStringLiteral("copy.jpg"));
    const RunResult run = runResample(path(QStringLiteral("absent.jpg")), 10, 10, destination);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.standardError.contains("absent.jpg"));
    EXPECT_FALSE(QFileInfo::exists(destination));
}

TEST_F(ZelResampleTest, FailureLeavesAnExistingDestinationUntouched)
{
    const QString destination = path(QStringLiteral("copy.jpg"));
    writeAll(destination, "previous copy");
    const QString source = path(QStringLiteral("damaged.jpg"));
    const QByteArray good = readAll(gradientPicture(320, 240, QStringLiteral("good.jpg")));
    writeAll(source, good.left(good.size() / 3));

    const RunResult run = runResample(source, 100, 75, destination);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(readAll(destination), QByteArray("previous copy"));
}

TEST_F(ZelResampleTest, SuccessReplacesAnExistingDestination)
{
    const QString destination = path(QStringLiteral("copy.jpg"));
    writeAll(destination, "previous copy");
    const QString source = gradientPicture(320, 240, QStringLiteral("good.jpg"));

    const RunResult run = runResample(source, 100, 75, destination);
    ASSERT_EQ(run.exitCode, 0) << run.standardError.toStdString();
    EXPECT_EQ(decodeWithDjpeg(destination).width, 100);
    EXPECT_EQ(filesBesides({"good.jpg", "copy.jpg"}), QStringList());
}

TEST_F(ZelResampleTest, HugeDeclaredSizeFailsInsteadOfExhaustingMemory)
{
    // A progressive decoder must hold every coefficient of the picture; a
    // frame header claiming 65000 x 65000 pixels would need gigabytes.
    QByteArray bytes = readAll(cjpegPicture(quadrantPicture(), {"-progressive"}, QStringLiteral("small.jpg")));
    const qsizetype frame = bytes.indexOf("\xFF\xC2");
    ASSERT_GT(frame, 0);
    for (int i : {5, 7}) {
        bytes[frame + i] = char(65000 >> 8);
        bytes[frame + i + 1] = char(65000 & 0xFF);
    }
    const QString source = path(QStringLiteral("huge.jpg"));
    writeAll(source, bytes);
    const QString destination = path(QStringLiteral("copy.jpg"));

    const RunResult run = runResample(source, 200, 200, destination);
    ASSERT_TRUE(run.finished);
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.standardError.contains("too large")) << run.standardError.toStdString();
    EXPECT_FALSE(QFileInfo::exists(destination));
}

TEST_F(ZelResampleTest, EveryTruncationFailsCleanly)
{
    const QString progressive = cjpegPicture(quadrantPicture(), {"-progressive"}, QStringLiteral("good.jpg"));
    const QByteArray good = readAll(progressive);
    const QString source = path(QStringLiteral("cut.jpg"));
    const QString destination = path(QStringLiteral("copy.jpg"));
    const qsizetype step = std::max<qsizetype>(1, good.size() / 40);
    for (qsizetype length = 0; length < good.size(); length += step) {
        writeAll(source, good.left(length));
        const RunResult run = runResample(source, 30, 20, destination);
        ASSERT_TRUE(run.finished) << "hangs when cut to " << length << " bytes";
        EXPECT_FALSE(run.crashed) << "crashes when cut to " << length << " bytes";
        EXPECT_EQ(run.exitCode, 1) << "cut to " << length << " bytes";
        EXPECT_FALSE(QFileInfo::exists(destination)) << "cut to " << length << " bytes";
    }
}

TEST_F(ZelResampleTest, FlippedBytesNeverCrash)
{
    const QByteArray good = readAll(cjpegPicture(quadrantPicture(), {}, QStringLiteral("good.jpg")));
    const QString source = path(QStringLiteral("flipped.jpg"));
    const QString destination = path(QStringLiteral("copy.jpg"));
    const qsizetype step = std::max<qsizetype>(1, good.size() / 60);
    for (qsizetype at = 2; at < good.size(); at += step) {
        QByteArray bad = good;
        bad[at] = char(bad[at] ^ 0x5A);
        writeAll(source, bad);
        QFile::remove(destination);
        const RunResult run = runResample(source, 30, 20, destination);
        ASSERT_TRUE(run.finished) << "hangs with byte " << at << " flipped";
        EXPECT_FALSE(run.crashed) << "crashes with byte " << at << " flipped";
        ASSERT_TRUE(run.exitCode == 0 || run.exitCode == 1) << "byte " << at;
        if (run.exitCode == 0) {
            const Picture copy = decodeWithDjpeg(destination);
            EXPECT_EQ(copy.width, 30);
            EXPECT_EQ(copy.height, 20);
        } else {
            EXPECT_FALSE(QFileInfo::exists(destination)) << "byte " << at;
        }
    }
}

// ---------------------------------------------------------------- command line

TEST_F(ZelResampleTest, PathsWithBlanksAreTakenWhole)
{
    ASSERT_TRUE(QDir(m_folder.path()).mkdir(QStringLiteral("my pictures")));
    const QString source = gradientPicture(400, 300, QStringLiteral("my pictures/holiday photo.jpg"));
    const QString destination = path(QStringLiteral("my pictures/holiday copy 1.jpg"));

    const RunResult run = runResample(source, 228, 171, destination);
    ASSERT_EQ(run.exitCode, 0) << run.standardError.toStdString();
    EXPECT_EQ(decodeWithDjpeg(destination).width, 228);
}

TEST_F(ZelResampleTest, UnwritableDestinationFolderFails)
{
    const QString source = gradientPicture(100, 100, QStringLiteral("good.jpg"));
    const RunResult run = runResample(source, 50, 50, path(QStringLiteral("no such folder/copy.jpg")));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.standardError.count('\n'), 1);
}

struct ArgumentCase
{
    const char* name;
    QStringList arguments; // SOURCE and DEST stand for the real paths
};

const ArgumentCase argumentCases[] = {
    {"no_arguments", {}},
    {"source_only", {"SOURCE"}},
    {"no_convert_switch", {"SOURCE", "/resample=(10,10)"}},
    {"one_argument_too_many", {"SOURCE", "/resample=(10,10)", "/convert=DEST", "extra"}},
    {"switches_swapped", {"SOURCE", "/convert=DEST", "/resample=(10,10)"}},
    {"zero_width", {"SOURCE", "/resample=(0,10)", "/convert=DEST"}},
    {"zero_height", {"SOURCE", "/resample=(10,0)", "/convert=DEST"}},
    {"negative_width", {"SOURCE", "/resample=(-5,10)", "/convert=DEST"}},
    {"x_instead_of_comma", {"SOURCE", "/resample=(10x10)", "/convert=DEST"}},
    {"no_parentheses", {"SOURCE", "/resample=10,10", "/convert=DEST"}},
    {"closing_parenthesis_missing", {"SOURCE", "/resample=(10,10", "/convert=DEST"}},
    {"text_after_parenthesis", {"SOURCE", "/resample=(10,10)x", "/convert=DEST"}},
    {"blank_inside", {"SOURCE", "/resample=(10, 10)", "/convert=DEST"}},
    {"absurd_width", {"SOURCE", "/resample=(1000000,10)", "/convert=DEST"}},
    {"absurd_area", {"SOURCE", "/resample=(20000,20000)", "/convert=DEST"}},
    {"number_overflowing", {"SOURCE", "/resample=(99999999999,10)", "/convert=DEST"}},
    {"empty_destination", {"SOURCE", "/resample=(10,10)", "/convert="}},
    {"convert_without_equals", {"SOURCE", "/resample=(10,10)", "/convertDEST"}},
    {"empty_source", {"", "/resample=(10,10)", "/convert=DEST"}},
};

class ResampleArgumentsTest : public ZelResampleTest, public ::testing::WithParamInterface<ArgumentCase>
{
};

TEST_P(ResampleArgumentsTest, IsRefusedWithUsageAndNoOutput)
{
    const QString source = gradientPicture(64, 48, QStringLiteral("good.jpg"));
    const QString destination = path(QStringLiteral("copy.jpg"));
    QStringList arguments = GetParam().arguments;
    for (QString& argument : arguments) {
        argument.replace(QStringLiteral("SOURCE"), source);
        argument.replace(QStringLiteral("DEST"), destination);
    }

    const RunResult run = runProgram(resampleProgram, arguments);
    ASSERT_TRUE(run.finished && !run.crashed);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.standardError.contains("usage: zel-resample")) << run.standardError.toStdString();
    EXPECT_EQ(run.standardError.count('\n'), 1);
    EXPECT_FALSE(QFileInfo::exists(destination));
}

INSTANTIATE_TEST_SUITE_P(CommandLine, ResampleArgumentsTest, ::testing::ValuesIn(argumentCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
