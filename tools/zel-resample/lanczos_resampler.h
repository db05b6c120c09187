#pragma once

#include "image.h"

// Resizes source (1 or 3 channels) to width x height with a separable
// Lanczos3 filter. When shrinking, the filter is widened by the reduction
// factor so that detail finer than the new pixel spacing is averaged away
// instead of aliasing. Weights are precomputed once per output column and row
// in 14-bit fixed point; the intermediate picture is 8-bit.
// width and height must be at least 1.
Image resampleLanczos3(const Image& source, int width, int height);
