#pragma once

#include "image.h"

#include <cstdio>

// JPEG quality of every copy: visually clean, still compact.
inline constexpr int copyQuality = 88;

// Writes image (1 or 3 channels) to file as a baseline JFIF JPEG at
// copyQuality, colour with 2x2 chroma subsampling. Throws ResampleError when
// libjpeg fails (for instance on a write error).
void encodeJpeg(const Image& image, std::FILE* file);
