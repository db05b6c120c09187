// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sample_pictures.h"

#include "support/kiosk_fixture.h"

#include <QProcess>
#include <gtest/gtest.h>

QByteArray encodedPicture(const QString& folder, int width, int height, const QStringList& options)
{
    const QString size = QStringLiteral("%1x%2").arg(width).arg(height);
    EXPECT_EQ(QProcess::execute("convert", {"-size", size, "gradient:yellow-green", folder + "/pixels.ppm"}), 0);
    EXPECT_EQ(
        QProcess::execute("cjpeg", options + QStringList{"-outfile", folder + "/encoded.jpg", folder + "/pixels.ppm"}),
        0);
    return readBytes(folder + "/encoded.jpg");
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
