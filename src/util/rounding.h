// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace util {

// Rounds to the nearest whole number, a half to the even neighbour (2.5 to 2,
// 3.5 to 4, -2.5 to -2), whatever the floating-point rounding mode. NaN and
// infinities come back unchanged; callers check the range they need.
double roundHalfToEven(double value);

} // namespace util
