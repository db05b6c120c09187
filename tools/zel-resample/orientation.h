// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "image.h"
#include "util/exif_orientation.h"

// Exif orientation: how the stored pixel rows must be turned to show the
// picture upright. 1 is upright; 5..8 swap width and height
// (util::orientationSwapsSides).

// Returns the upright picture of a stored picture with the given orientation
// (1..8; anything else is treated as 1).
Image applyOrientation(const Image& stored, int orientation);
