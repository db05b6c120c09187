#include "sample_pictures.h"

#include "support/kiosk_fixture.h"

#include <QProcess>
#include <gtest/gtest.h>

QByteArray encodedPicture(const QString& folder, int width, int height, const QStringList& switches)
{
    const QString size = QStringLiteral("%1x%2").arg(width).arg(height);
    const QString path = folder + "/encoded.jpg";
    if (switches.value(0) == "convert") {
        EXPECT_EQ(QProcess::execute("convert", QStringList{"-size", size, "gradient:red-blue"} + switches.mid(1)
                                                   + QStringList{path}),
                  0);
    } else {
        EXPECT_EQ(QProcess::execute("convert", {"-size", size, "gradient:yellow-green", folder + "/pixels.ppm"}), 0);
        EXPECT_EQ(QProcess::execute("cjpeg", switches + QStringList{"-outfile", path, folder + "/pixels.ppm"}), 0);
    }
    return readBytes(path);
}

QByteArray withFirstSegment(const QByteArray& jfifPicture, const QByteArray& segment)
{
    return jfifPicture.left(2) + segment
           + jfifPicture.mid(4 + ((quint8(jfifPicture[4]) << 8) | quint8(jfifPicture[5]))); // past the APP0 segment
}

qsizetype frameMarkerOffset(const QByteArray& picture)
{
    for (const char marker : {'\xC0', '\xC2', '\xC9'})
        if (const qsizetype at = picture.indexOf(QByteArray("\xFF") + marker); at >= 0)
            return at + 1;
    return -1;
}
