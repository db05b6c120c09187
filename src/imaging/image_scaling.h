// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>

class ProblemSink;
struct ProblemPlace;

namespace Jpeg {

class CopySink;

// Writes a copy of the JPEG picture at sourcePath to destinationPath, sized to
// fit the box requiredHeight x requiredWidth (a value below 1 leaves that side
// free), and returns the copy's size in scaledHeight and scaledWidth.
//  - A picture whose size cannot be read: message "Jpeg.scaleImage - Unable
//    get height and width from file <path>", CR LF, "So unable to scale
//    image"; sizes 0, no copy.
//  - Neither side given: message "Scaling error in Jpeg.scaleImage"; the
//    picture keeps its own size and is copied unchanged.
//  - noScaleUp and a picture smaller than the box: its own size, copied unchanged.
//  - Otherwise the size times the smaller of the two ratios (single
//    precision), rounded half to even; the image tool writes the copy at that
//    size, or, when there is no tool, the picture is copied unchanged (the
//    page then scales it by the sizes returned).
//  - The tool failed on the picture (crashed, timed out, other failure): the
//    picture is copied unchanged and a message says why (makeCopy).
//  - The tool could not read the picture: a message, no copy, an older file
//    at destinationPath is removed. The sizes are the computed ones.
// Messages are problems reported to problems (those about the copy through
// the copies' own sink), placed at place: the page source line of the picture.
// The copy is submitted to copies: made now, or later by the make's picture work.
// copies nullptr computes the sizes only and writes or removes nothing.
// Failures to copy and sizes beyond 32 bits raise RuntimeError for the caller.
void scaleImage(const QString& sourcePath, const QString& destinationPath, std::int32_t requiredHeight,
                std::int32_t requiredWidth, std::int32_t& scaledHeight, std::int32_t& scaledWidth, bool noScaleUp,
                CopySink* copies, ProblemSink& problems, const ProblemPlace& place);

// The ratio that fits a side of the picture into a required size, as a single
// precision number; 3E+38 for a free side (required below 1).
float scaleFactor(std::int32_t required, std::int32_t actual);

// size times scale in double precision, rounded to the nearest integer with
// halves to the even neighbour. Overflow (6) beyond 32 bits.
std::int32_t scaledDimension(float scale, std::int32_t size);

} // namespace Jpeg
