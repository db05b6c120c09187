// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "image.h"

#include <cstdio>
#include <string>

// JPEG quality of every copy: visually clean, still compact.
inline constexpr int copyQuality = 88;

// Writes image (1 or 3 channels) to file as a baseline JFIF JPEG at
// copyQuality, colour with 2x2 chroma subsampling. Throws ResampleError when
// libjpeg fails; a failed write names destinationLabel and the system's reason.
void encodeJpeg(const Image& image, std::FILE* file, const std::string& destinationLabel);
