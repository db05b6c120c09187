#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Real JPEG files made at test time by real encoders (ImageMagick's convert,
// libjpeg-turbo's cjpeg), plus byte-level edits of them.

// Runs convert with the arguments; the last one is the output file. Fails the test on error.
void runConvert(const QStringList& arguments);
// A picture of this size from convert: baseline JFIF, or progressive with interlace.
QByteArray convertedPicture(const QString& folder, int width, int height, bool progressive = false);
// A picture of this size from cjpeg, with extra switches (-progressive, -arithmetic, -grayscale).
QByteArray cjpegPicture(const QString& folder, int width, int height, const QStringList& switches = {});

// An Exif APP1 segment (marker, length and data) whose first directory holds
// only the orientation tag, in Intel ("II") or Motorola ("MM") byte order.
QByteArray exifSegment(int orientation, bool littleEndian);
// The picture with its JFIF APP0 segment replaced by the given segment, so
// that the file starts FF D8 followed by that segment.
QByteArray withFirstSegment(const QByteArray& jfifPicture, const QByteArray& segment);
// The offset just past the frame header's width field (where the size is complete).
qsizetype frameHeaderEnd(const QByteArray& picture);
// The offset of the frame header's marker byte (the byte after its FF).
qsizetype frameMarkerOffset(const QByteArray& picture);
