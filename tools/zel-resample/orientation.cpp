// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "orientation.h"

#include <cstring>

Image applyOrientation(const Image& stored, int orientation)
{
    if (orientation < 2 || orientation > 8)
        return stored;
    const bool swap = util::orientationSwapsSides(orientation);
    const int width = swap ? stored.height : stored.width;
    const int height = swap ? stored.width : stored.height;
    const int channels = stored.channels;
    Image upright(width, height, channels);

    for (int y = 0; y < height; ++y) {
        std::uint8_t* out = upright.row(y);
        for (int x = 0; x < width; ++x) {
            // Position in the stored picture of the upright pixel (x, y).
            int sx = x;
            int sy = y;
            switch (orientation) {
            case 2:
                sx = width - 1 - x;
                break;
            case 3:
                sx = width - 1 - x;
                sy = height - 1 - y;
                break;
            case 4:
                sy = height - 1 - y;
                break;
            case 5:
                sx = y;
                sy = x;
                break;
            case 6:
                sx = y;
                sy = width - 1 - x;
                break;
            case 7:
                sx = height - 1 - y;
                sy = width - 1 - x;
                break;
            case 8:
                sx = height - 1 - y;
                sy = x;
                break;
            default:
                break;
            }
            std::memcpy(out + static_cast<std::size_t>(x) * channels,
                        stored.row(sy) + static_cast<std::size_t>(sx) * channels, channels);
        }
    }
    return upright;
}
