// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_limits.h"

#include "resample_error.h"

#include <cstdlib>
#include <string>

unsigned long long maximumPicturePixels()
{
    const char* set = std::getenv("ZEL_MAX_PICTURE_PIXELS");
    if (set == nullptr || *set == '\0')
        return defaultMaximumPicturePixels;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(set, &end, 10);
    return *end == '\0' && value > 0 ? value : defaultMaximumPicturePixels;
}

void refuseOversizedPicture(const char* path, long long width, long long height)
{
    if (width < 1 || height < 1)
        throw UnreadablePictureError(std::string("cannot decode ") + path + ": it declares no pixels");
    if (width > maximumPictureSide || height > maximumPictureSide)
        throw UnreadablePictureError(std::string("cannot decode ") + path + ": " + std::to_string(width) + " x "
                                     + std::to_string(height) + " pixels is too large (a side longer than "
                                     + std::to_string(maximumPictureSide) + " pixels)");
    const unsigned long long limit = maximumPicturePixels();
    if (static_cast<unsigned long long>(width) > limit / static_cast<unsigned long long>(height))
        throw UnreadablePictureError(std::string("cannot decode ") + path + ": " + std::to_string(width) + " x "
                                     + std::to_string(height) + " pixels is too large (more than "
                                     + std::to_string(limit) + " pixels)");
}
