#include "platform/int16.h"
#include "platform/runtime_error.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

// The value, or -number of the error raised.
int outcome(const std::function<int()>& body)
{
    try {
        return body();
    } catch (const RuntimeError& e) {
        return -e.number();
    }
}

TEST(Int16, TextConvertsToTheNearestValueOrRaises)
{
    const struct {
        const char* text;
        int expected;
    } rows[] = {{"1024", 1024},  {"  77  ", 77}, {"+5", 5},     {"-32768", -32768}, {"32767", 32767}, {"1024.5", 1024},
                {"1.5e2", 150},  {".5", 0},      {"32768", -6}, {"-32769", -6},     {"1e300", -6},   // Overflow
                {"= 1024", -13}, {"abc", -13},   {"", -13},     {"1,024", -13},     {"12 34", -13}}; // Type mismatch
    for (const auto& row : rows)
        EXPECT_EQ(outcome([&] { return int(Int16::fromText(QString::fromUtf8(row.text))); }), row.expected) << row.text;
}

TEST(Int16, ArithmeticRaisesOverflowOutsideSixteenBits)
{
    EXPECT_EQ(outcome([] { return int(Int16::multiply(2, 16383)); }), 32766);
    EXPECT_EQ(outcome([] { return int(Int16::subtract(-32767, 1)); }), -32768);
    EXPECT_EQ(outcome([] { return int(Int16::multiply(26, 1280)); }), -6);
    EXPECT_EQ(outcome([] { return int(Int16::add(32767, 1)); }), -6);
    EXPECT_EQ(outcome([] { return int(Int16::subtract(-32768, 1)); }), -6);
}

} // namespace
