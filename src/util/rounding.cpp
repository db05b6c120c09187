// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/rounding.h"

#include <cmath>

namespace util {

double roundHalfToEven(double value)
{
    // value - floor(value) is exact for every double.
    const double down = std::floor(value);
    const double fraction = value - down;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(down, 2.0) != 0.0))
        return down + 1.0;
    return down;
}

} // namespace util
