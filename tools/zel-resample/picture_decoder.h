// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "jpeg_decoder.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The colour transparent parts of a picture are laid on: the kiosk page's
// background, which the maker passes in ZEL_PICTURE_BACKGROUND ("#RRGGBB");
// the Template's when it is not set or not such a colour.
std::array<std::uint8_t, 3> pictureBackground();

// Decodes the picture at path, of any accepted format told by its content
// (JPEG, PNG, GIF, WebP, HEIC/AVIF, TIFF, BMP), for a copy of the given
// upright size, handing R, G, B (or grey) rows in sRGB to sink as
// decodeJpegForCopy does: transparency laid on the background, the
// orientation passed on. Throws UnreadablePictureError for a file of no
// accepted format or one that cannot be decoded.
// Files above this size are refused.
inline constexpr std::size_t maximumPictureFileSize = std::size_t(1) << 30;

void decodePictureForCopy(const std::string& path, int uprightWidth, int uprightHeight, DecodedRowSink& sink);
