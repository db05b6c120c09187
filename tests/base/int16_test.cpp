// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/int16.h"
#include "base/runtime_error.h"

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

// Text converts to the nearest value, a half to the even one; what is no number
// raises Type mismatch (13), what is outside sixteen bits Overflow (6), also
// for sums, differences and products.
TEST(Int16, TextAndArithmeticGiveTheValueOrRaise)
{
    const std::pair<const char*, int> rows[] = {{"1024", 1024},   {"  77  ", 77},   {"+5", 5},      {"-32768", -32768},
                                                {"32767", 32767}, {"1024.5", 1024}, {"1.5e2", 150}, {".5", 0},
                                                {"32768", -6},    {"-32769", -6},   {"1e999", -6},  {"abc", -13},
                                                {"12 34", -13}};
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(outcome([&] { return int(Int16::fromText(QString::fromUtf8(text))); }), expected) << text;
    EXPECT_EQ(outcome([] { return int(Int16::subtract(-32767, 1)); }), -32768);
    EXPECT_EQ(outcome([] { return int(Int16::subtract(-32768, 1)); }), -6);
    EXPECT_EQ(outcome([] { return int(Int16::add(32767, 1)); }), -6);
    EXPECT_EQ(outcome([] { return int(Int16::multiply(26, 1280)); }), -6);
}

} // namespace
