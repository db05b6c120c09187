// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/exif_segment.h"

#include <QStringList>

// Real JPEG files made at test time by real encoders, plus byte-level edits of them.

// A baseline JFIF gradient picture of this size from cjpeg (given these further options).
QByteArray encodedPicture(const QString& folder, int width, int height, const QStringList& options = {});
// The picture with its leading JFIF APP0 segment replaced by the given segment.
QByteArray withFirstSegment(const QByteArray& jfifPicture, const QByteArray& segment);
// The offset of the frame header's marker byte (the byte after its FF).
qsizetype frameMarkerOffset(const QByteArray& picture);
