// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// An Exif APP1 segment whose one directory holds only the orientation tag,
// in Intel (little-endian) or Motorola byte order.
QByteArray exifSegment(int orientation, bool intel);
