// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Larger pictures are refused by their declared size, before any decoding:
// a file of a few kilobytes may claim 50,000 x 50,000 pixels. The default
// lies above the largest camera pictures (200 megapixels); the environment
// variable ZEL_MAX_PICTURE_PIXELS sets another limit (a positive number).
inline constexpr unsigned long long defaultMaximumPicturePixels = 250'000'000ULL;
// No side may be longer than JPEG, WebP's and HEIF's own limit either: a picture
// is decoded row by row, and a row of a billion pixels would hold gigabytes.
inline constexpr long long maximumPictureSide = 65535;

unsigned long long maximumPicturePixels();

// Throws UnreadablePictureError naming path when width x height is above the
// limit, a side is longer than maximumPictureSide, or either is not positive.
void refuseOversizedPicture(const char* path, long long width, long long height);
