#include "sample_pictures.h"

#include "support/kiosk_fixture.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QString runProgram(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(-1))
        return program + " could not be started: " + process.errorString();
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return program + " failed: " + QString::fromLocal8Bit(process.readAllStandardError());
    return {};
}

void appendWord(QByteArray& bytes, int value, bool littleEndian)
{
    if (littleEndian) {
        bytes.append(char(value & 0xFF));
        bytes.append(char((value >> 8) & 0xFF));
    } else {
        bytes.append(char((value >> 8) & 0xFF));
        bytes.append(char(value & 0xFF));
    }
}

void appendLong(QByteArray& bytes, quint32 value, bool littleEndian)
{
    if (littleEndian) {
        appendWord(bytes, int(value & 0xFFFF), true);
        appendWord(bytes, int(value >> 16), true);
    } else {
        appendWord(bytes, int(value >> 16), false);
        appendWord(bytes, int(value & 0xFFFF), false);
    }
}

} // namespace

void runConvert(const QStringList& arguments)
{
    const QString problem = runProgram(QStringLiteral("convert"), arguments);
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
}

QByteArray convertedPicture(const QString& folder, int width, int height, bool progressive)
{
    const QString path = folder + "/converted.jpg";
    QStringList arguments{QStringLiteral("-size"), QStringLiteral("%1x%2").arg(width).arg(height),
                          QStringLiteral("gradient:red-blue"), QStringLiteral("-interlace"),
                          progressive ? QStringLiteral("JPEG") : QStringLiteral("none"), path};
    runConvert(arguments);
    return readBytes(path);
}

QByteArray cjpegPicture(const QString& folder, int width, int height, const QStringList& switches)
{
    const QString pixels = folder + "/pixels.ppm";
    const QString path = folder + "/cjpeg.jpg";
    runConvert({QStringLiteral("-size"), QStringLiteral("%1x%2").arg(width).arg(height),
                QStringLiteral("gradient:yellow-green"), pixels});
    const QString problem = runProgram(QStringLiteral("cjpeg"),
                                       switches + QStringList{QStringLiteral("-outfile"), path, pixels});
    EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
    return readBytes(path);
}

QByteArray exifSegment(int orientation, bool littleEndian)
{
    QByteArray tiff = littleEndian ? QByteArrayLiteral("II") : QByteArrayLiteral("MM");
    appendWord(tiff, 42, littleEndian);
    appendLong(tiff, 8, littleEndian); // first directory right after the header
    appendWord(tiff, 1, littleEndian); // one entry
    appendWord(tiff, 0x0112, littleEndian);
    appendWord(tiff, 3, littleEndian); // SHORT
    appendLong(tiff, 1, littleEndian);
    appendWord(tiff, orientation, littleEndian);
    appendWord(tiff, 0, littleEndian);
    appendLong(tiff, 0, littleEndian); // no next directory

    const QByteArray data = QByteArrayLiteral("Exif\0\0") + tiff;
    QByteArray segment = QByteArrayLiteral("\xFF\xE1");
    appendWord(segment, int(data.size()) + 2, false);
    return segment + data;
}

QByteArray withFirstSegment(const QByteArray& jfifPicture, const QByteArray& segment)
{
    // FF D8, then FF E0 with its big-endian length.
    const int app0Length = (quint8(jfifPicture[4]) << 8) | quint8(jfifPicture[5]);
    return jfifPicture.left(2) + segment + jfifPicture.mid(4 + app0Length);
}

qsizetype frameMarkerOffset(const QByteArray& picture)
{
    for (const char marker : {'\xC0', '\xC1', '\xC2', '\xC9'}) {
        const qsizetype at = picture.indexOf(QByteArray("\xFF") + marker);
        if (at >= 0)
            return at + 1;
    }
    return -1;
}

qsizetype frameHeaderEnd(const QByteArray& picture)
{
    // marker, length (2), precision (1), height (2), width (2)
    return frameMarkerOffset(picture) + 8;
}
