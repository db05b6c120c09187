// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "picture_file.h"
#include "picture_row_feeder.h"

// The decoders of the formats other than JPEG. Each hands the picture's rows
// to feeder (begin() with its size, orientation - Exif/TIFF, 1 when upright or
// none - and embedded ICC profile, then the rows in the stored orientation),
// refuses a picture above the pixel limit by its declared size before it
// decodes, and throws UnreadablePictureError naming path with the reason for
// anything it cannot read.

// PNG, GIF and TIFF read from the file as they decode; WebP, HEIC/AVIF and
// BMP from its bytes in memory.
void decodePng(PictureFile& file, PictureRowFeeder& feeder);
void decodeGif(PictureFile& file, PictureRowFeeder& feeder);
void decodeWebP(PictureFile& file, PictureRowFeeder& feeder);
void decodeHeif(PictureFile& file, PictureRowFeeder& feeder);
void decodeBmp(PictureFile& file, PictureRowFeeder& feeder);
void decodeTiff(PictureFile& file, PictureRowFeeder& feeder);
