#include "util/rounding.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

namespace {

struct RoundingRow {
    const char* name;
    double value;
    double rounded;
};

const RoundingRow kRows[] = {
    {"half below an even number goes down", 2.5, 2.0},
    {"half below an odd number goes up", 3.5, 4.0},
    {"negative half goes to the even neighbour", -2.5, -2.0},
    {"negative half towards odd goes down", -3.5, -4.0},
    {"just under a half goes down", 2.4999999999, 2.0},
    {"just over a half goes up", 2.5000000001, 3.0},
    {"a whole number stays", 7.0, 7.0},
    {"beyond every fraction stays", 9007199254740993.0, 9007199254740993.0},
};

TEST(RoundHalfToEven, RowsInEveryRoundingMode)
{
    const int previous = std::fegetround();
    for (const int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        std::fesetround(mode);
        for (const RoundingRow& row : kRows)
            EXPECT_EQ(util::roundHalfToEven(row.value), row.rounded) << row.name << " in mode " << mode;
    }
    std::fesetround(previous);
    EXPECT_TRUE(std::isnan(util::roundHalfToEven(NAN)));
    EXPECT_EQ(util::roundHalfToEven(INFINITY), INFINITY);
}

} // namespace
