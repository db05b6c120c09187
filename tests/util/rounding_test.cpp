// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/rounding.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

namespace {

// A half goes to the even neighbour (both signs, from an even and an odd floor);
// anything off a half to the nearest; in every floating-point rounding mode.
TEST(RoundHalfToEven, RowsInEveryRoundingMode)
{
    const std::pair<double, double> rows[] = {{2.5, 2.0},          {3.5, 4.0},          {-2.5, -2.0},
                                              {-3.5, -4.0},        {2.4999999999, 2.0}, {2.5000000001, 3.0},
                                              {INFINITY, INFINITY}};
    const int previous = std::fegetround();
    for (const int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        std::fesetround(mode);
        for (const auto& [value, rounded] : rows)
            EXPECT_EQ(util::roundHalfToEven(value), rounded) << value << " in mode " << mode;
    }
    std::fesetround(previous);
    EXPECT_TRUE(std::isnan(util::roundHalfToEven(NAN)));
}

} // namespace
