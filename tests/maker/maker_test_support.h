#pragma once

#include "support/kiosk_fixture.h"

#include <QString>
#include <QStringList>

// The configuration every maker test uses: 1280 x 706, so navigationHeight is
// 700 and the eight button rows are 87, 87, 87, 87, 88, 88, 88, 88 high.
QStringList makerConfiguration();

// A real JPEG (or any type by extension) of the given size, made by ImageMagick.
void makePicture(const QString& path, int width, int height);

// A hand-written expected file from tests/maker/expected/<caseName>/<fileName>.
QString expectedFilePath(const QString& caseName, const QString& fileName);

// The whole file as the maker must write it: the expected lines, each ended by CR LF.
QByteArray expectedBytes(const QString& expectedPath);

// The message a faulty line draws.
QString lineMessage(const QString& message, const QString& line, const QString& sourcePath);
